#include "TextFileForm.h"

namespace glintbox {

namespace {

QString lineBreakText(LineBreak lineBreak)
{
    switch (lineBreak) {
    case LineBreak::CrLf:
        return QStringLiteral("\r\n");
    case LineBreak::Cr:
        return QStringLiteral("\r");
    case LineBreak::Lf:
        break;
    }
    return QStringLiteral("\n");
}

} // namespace

LineBreak lineBreakOf(QByteArrayView bytes)
{
    const qsizetype crLf = bytes.count("\r\n");
    const qsizetype lf = bytes.count('\n') - crLf;
    const qsizetype cr = bytes.count('\r') - crLf;
    if (crLf > lf && crLf >= cr)
        return LineBreak::CrLf;
    if (cr > lf && cr > crLf)
        return LineBreak::Cr;
    return LineBreak::Lf;
}

QByteArray textFileBytes(const QString &text, const TextFileForm &form)
{
    QString lines = text;
    // The text as shown need not end in a line break; the file does.
    if (!lines.endsWith(u'\n'))
        lines += u'\n';
    if (form.lineBreak != LineBreak::Lf)
        lines.replace(u'\n', lineBreakText(form.lineBreak));
    if (form.encoding == TextEncoding::Windows1252) {
        if (std::optional<QByteArray> bytes = encodeWindows1252(lines))
            return *bytes;
        return lines.toUtf8();
    }
    return form.byteOrderMark ? "\xEF\xBB\xBF" + lines.toUtf8() : lines.toUtf8();
}

} // namespace glintbox
