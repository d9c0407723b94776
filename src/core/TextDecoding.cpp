#include "TextDecoding.h"

#include "LargeBuffers.h"

#include <QStringDecoder>

namespace glintbox {

namespace {

// The characters of the bytes 0x80 to 0x9F, where Windows-1252 departs from Latin-1.
constexpr char16_t Windows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

std::optional<char> windows1252Byte(char16_t code)
{
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF))
        return char(code);
    for (int i = 0; i < 32; ++i) {
        if (Windows1252High[i] == code)
            return char(0x80 + i);
    }
    return std::nullopt;
}

} // namespace

QString decodeWindows1252(const QByteArray &bytes)
{
    QString text = uninitializedText(bytes.size());
    QChar *out = text.data();
    for (const char byte : bytes) {
        const auto code = char16_t(static_cast<unsigned char>(byte));
        *out++ = QChar(code >= 0x80 && code <= 0x9F ? Windows1252High[code - 0x80] : code);
    }
    return text;
}

std::optional<QByteArray> encodeWindows1252(const QString &text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const std::optional<char> byte = windows1252Byte(text.at(i).unicode());
        if (!byte)
            return std::nullopt;
        bytes[i] = *byte;
    }
    return bytes;
}

DecodedText decodeTextFile(const QByteArray &bytes)
{
    // The default flags drop a leading byte-order mark and flag invalid input.
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = uninitializedText(utf8.requiredSpace(bytes.size()));
    text.truncate(utf8.appendToBuffer(text.data(), bytes) - text.constData());
    if (!utf8.hasError())
        return {std::move(text), TextEncoding::Utf8, bytes.startsWith("\xEF\xBB\xBF")};
    return {decodeWindows1252(bytes), TextEncoding::Windows1252, false};
}

QString decodeText(const QByteArray &bytes)
{
    return decodeTextFile(bytes).text;
}

} // namespace glintbox
