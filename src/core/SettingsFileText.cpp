#include "SettingsFileText.h"

#include <QStringDecoder>
#include <QStringList>

#include <algorithm>
#include <utility>

namespace glintbox {

namespace {

bool isHexDigit(char16_t ch)
{
    return (ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'f') || (ch >= 'A' && ch <= 'F');
}

int hexValue(char ch)
{
    return ch <= '9' ? ch - '0' : (ch | 0x20) - 'a' + 10;
}

// C's escapes for control characters, as letter and character.
constexpr std::pair<char, char> NamedEscapes[] = {
    {'a', '\a'}, {'b', '\b'}, {'f', '\f'}, {'n', '\n'}, {'r', '\r'}, {'t', '\t'}, {'v', '\v'}};

// ---- Reading

// One logical line: a value may run on over an escaped line break or inside
// quotes. `equals` is the first '=' outside quotes, or -1.
struct Line {
    qsizetype start = 0;
    qsizetype length = 0;
    qsizetype equals = -1;
};

bool nextLine(QByteArrayView data, qsizetype &pos, Line &line)
{
    const qsizetype size = data.size();
    qsizetype start = pos;
    while (start < size && (data[start] == ' ' || data[start] == '\t' || data[start] == '\n' ||
                            data[start] == '\r'))
        ++start;
    qsizetype equals = -1;
    bool inQuotes = false;
    qsizetype i = start;
    bool ended = false;
    while (i < size && !ended) {
        const char ch = data[i++];
        switch (ch) {
        case '=':
            if (!inQuotes && equals < 0)
                equals = i - 1;
            break;
        case '\n':
        case '\r':
            if (i == start + 1)
                ++start; // the break after a comment
            else if (!inQuotes)
                ended = true;
            break;
        case '\\':
            if (i < size) {
                const char escaped = data[i++];
                if (i < size &&
                    ((escaped == '\n' && data[i] == '\r') || (escaped == '\r' && data[i] == '\n')))
                    ++i;
            }
            break;
        case '"':
            inQuotes = !inQuotes;
            break;
        case ';':
            if (i == start + 1) {
                while (i < size && data[i] != '\n' && data[i] != '\r')
                    ++i;
                start = i;
            } else if (!inQuotes) {
                ended = true; // the comment is a line of its own
            }
            break;
        default:
            break;
        }
    }
    if (ended)
        --i;
    pos = i;
    line = {start, i - start, equals};
    return line.length > 0;
}

// '\' stands for '/', "%XX" and "%UXXXX" for a character.
QString unescapedKey(QByteArrayView bytes)
{
    const QString text = QString::fromUtf8(bytes);
    QString key;
    key.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const QChar ch = text.at(i);
        if (ch == u'\\') {
            key += u'/';
            ++i;
            continue;
        }
        if (ch == u'%' && i + 1 < text.size()) {
            const bool wide = text.at(i + 1) == u'U';
            const qsizetype first = i + (wide ? 2 : 1);
            const qsizetype digits = wide ? 4 : 2;
            bool ok = false;
            const ushort code = first + digits <= text.size()
                                    ? QStringView(text).mid(first, digits).toUShort(&ok, 16)
                                    : 0;
            if (ok) {
                key += QChar(code);
                i = first + digits;
                continue;
            }
        }
        key += ch;
        ++i;
    }
    return key;
}

void chopTrailingBlanks(QString &text, qsizetype limit)
{
    qsizetype end = text.size();
    while (end > limit && (text.at(end - 1) == u' ' || text.at(end - 1) == u'\t'))
        --end;
    text.truncate(end);
}

// The character a backslash and a letter stand for, or 0.
char namedEscape(char letter)
{
    if (letter == '"' || letter == '?' || letter == '\'' || letter == '\\')
        return letter;
    for (const auto &[name, ch] : NamedEscapes) {
        if (name == letter)
            return ch;
    }
    return 0;
}

// A value: quotes keep blanks and commas, backslash escapes as in C, and
// commas outside quotes make a list whose items lose their outer blanks.
class ValueReader {
public:
    explicit ValueReader(QByteArrayView bytes)
        : m_bytes(bytes)
    {
    }

    QVariant read()
    {
        skipBlanks();
        while (m_pos < m_bytes.size()) {
            const char ch = m_bytes[m_pos];
            if (ch == '\\') {
                if (!readEscape())
                    return result();
            } else if (ch == '"') {
                ++m_pos;
                m_quoted = true;
                m_inQuotes = !m_inQuotes;
                if (!m_inQuotes)
                    skipBlanks();
            } else if (ch == ',' && !m_inQuotes) {
                if (!m_quoted)
                    chopTrailingBlanks(m_current, m_chopLimit);
                m_items.append(m_current);
                m_current.clear();
                m_isList = true;
                m_quoted = false;
                ++m_pos;
                skipBlanks();
            } else {
                readPlain();
            }
        }
        if (!m_quoted)
            chopTrailingBlanks(m_current, m_chopLimit);
        return result();
    }

private:
    void skipBlanks()
    {
        while (m_pos < m_bytes.size() && (m_bytes[m_pos] == ' ' || m_bytes[m_pos] == '\t'))
            ++m_pos;
        m_chopLimit = m_current.size();
    }

    void readPlain()
    {
        qsizetype end = m_pos + 1;
        while (end < m_bytes.size() && m_bytes[end] != '\\' && m_bytes[end] != '"' &&
               m_bytes[end] != ',')
            ++end;
        // QString::fromUtf8 would drop a byte-order mark that begins the
        // piece; inside a value it is text.
        m_current += QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom)
                         .decode(m_bytes.sliced(m_pos, end - m_pos));
        m_pos = end;
    }

    // False when the text ends inside the escape: nothing more is read and
    // trailing blanks stay.
    bool readEscape()
    {
        if (++m_pos >= m_bytes.size())
            return false;
        const char ch = m_bytes[m_pos++];
        if (const char named = namedEscape(ch)) {
            m_current += QLatin1Char(named);
        } else if (ch == 'x' || (ch >= '0' && ch <= '7')) {
            if (ch == 'x' && m_pos >= m_bytes.size())
                return false;
            if (ch != 'x' || isHexDigit(uchar(m_bytes[m_pos])))
                return readNumber(ch == 'x' ? 16 : 8, ch == 'x' ? 0 : ch - '0');
        } else if ((ch == '\n' || ch == '\r') && m_pos < m_bytes.size()) {
            const char next = m_bytes[m_pos];
            if ((next == '\n' || next == '\r') && next != ch)
                ++m_pos;
        }
        // Any other escaped character is dropped.
        m_chopLimit = m_current.size();
        return true;
    }

    bool readNumber(int base, uint value)
    {
        for (;;) {
            if (m_pos >= m_bytes.size()) {
                m_current += QChar(char16_t(value));
                return false;
            }
            const char ch = m_bytes[m_pos];
            const bool digit = base == 16 ? isHexDigit(uchar(ch)) : (ch >= '0' && ch <= '7');
            if (!digit)
                break;
            value = value * uint(base) + uint(hexValue(ch));
            ++m_pos;
        }
        m_current += QChar(char16_t(value));
        m_chopLimit = m_current.size();
        return true;
    }

    QVariant result()
    {
        if (!m_isList)
            return storedText(m_current);
        m_items.append(m_current);
        // An item in a typed form ("@String()", "@Invalid()") makes the value
        // a list of typed values, kept as such so that it is written back as
        // it was read; as text it reads as nothing.
        const bool typed = std::any_of(m_items.cbegin(), m_items.cend(), [](const QString &item) {
            return item.startsWith(u'@') && !item.startsWith(QLatin1String("@@"));
        });
        if (typed) {
            QVariantList values;
            for (const QString &item : std::as_const(m_items))
                values.append(storedText(item));
            return values;
        }
        for (QString &item : m_items) {
            if (item.startsWith(QLatin1String("@@")))
                item.remove(0, 1);
        }
        return m_items;
    }

    // A text beginning with '@' is written with a second one, a text holding
    // a nul inside "@String()"; "@Invalid()" stands for no value.
    static QVariant storedText(const QString &text)
    {
        if (text == QLatin1String("@Invalid()"))
            return {};
        if (text.startsWith(QLatin1String("@String(")) && text.endsWith(u')'))
            return text.sliced(8, text.size() - 9);
        if (text.startsWith(QLatin1String("@@")))
            return text.mid(1);
        return text;
    }

    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
    QString m_current;
    QStringList m_items;
    qsizetype m_chopLimit = 0;
    bool m_isList = false;
    bool m_inQuotes = false;
    bool m_quoted = false;
};

QString sectionPrefix(QByteArrayView line, qsizetype lineEnd)
{
    const qsizetype close = line.indexOf(']');
    QByteArray name = line.sliced(1, (close < 0 ? lineEnd : close) - 1).toByteArray().trimmed();
    if (qstricmp(name.constData(), "general") == 0)
        return {};
    if (qstricmp(name.constData(), "%general") == 0)
        return QString::fromLatin1(name.mid(1)) + u'/';
    return unescapedKey(name) + u'/';
}

// ---- Writing

void appendEscapedKey(const QString &key, QByteArray &out)
{
    static const char hexDigits[] = "0123456789ABCDEF";
    for (const QChar qch : key) {
        const char16_t ch = qch.unicode();
        if (ch == '/') {
            out += '\\';
        } else if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') ||
                   (ch >= '0' && ch <= '9') || ch == '_' || ch == '-' || ch == '.') {
            out += char(ch);
        } else if (ch <= 0xFF) {
            out += '%';
            out += hexDigits[ch >> 4];
            out += hexDigits[ch & 0xF];
        } else {
            out += "%U";
            for (int shift = 12; shift >= 0; shift -= 4)
                out += hexDigits[(ch >> shift) & 0xF];
        }
    }
}

void appendEscapedText(const QString &text, QByteArray &out)
{
    const qsizetype start = out.size();
    bool needsQuotes = false;
    // After a numeric escape a hex digit would be taken as part of it.
    bool escapeNextDigit = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t ch = text.at(i).unicode();
        if (ch == ';' || ch == ',' || ch == '=')
            needsQuotes = true;
        if (escapeNextDigit && isHexDigit(ch)) {
            out += "\\x" + QByteArray::number(ch, 16);
            continue;
        }
        escapeNextDigit = false;
        switch (ch) {
        case '\0':
            out += "\\0";
            escapeNextDigit = true;
            break;
        case '"':
        case '\\':
            out += '\\';
            out += char(ch);
            break;
        default:
            if (const auto named =
                    std::find_if(std::begin(NamedEscapes), std::end(NamedEscapes),
                                 [ch](const auto &escape) { return escape.second == ch; });
                named != std::end(NamedEscapes)) {
                out += '\\';
                out += named->first;
            } else if (QChar::isHighSurrogate(ch) && i + 1 < text.size() &&
                       text.at(i + 1).isLowSurrogate()) {
                out += text.sliced(i, 2).toUtf8();
                ++i;
            } else if (ch <= 0x1F || QChar::isSurrogate(ch) || ch == QChar::ByteOrderMark) {
                // A lone surrogate is how a file name that is not UTF-8
                // keeps its bytes: written as a number, it reads back whole.
                // A byte-order mark as a number survives readers that drop it.
                out += "\\x" + QByteArray::number(ch, 16);
                escapeNextDigit = true;
            } else {
                out += QStringView(text).sliced(i, 1).toUtf8();
            }
        }
    }
    if (needsQuotes ||
        (start < out.size() && (out.at(start) == ' ' || out.at(out.size() - 1) == ' '))) {
        out.insert(start, '"');
        out += '"';
    }
}

void appendStoredText(const QString &text, QByteArray &out)
{
    if (text.contains(QChar::Null))
        appendEscapedText(QStringLiteral("@String(") + text + u')', out);
    else
        appendEscapedText(text.startsWith(u'@') ? u'@' + text : text, out);
}

void appendValue(const QVariant &value, QByteArray &out)
{
    if (!value.isValid()) {
        out += "@Invalid()";
    } else if (value.userType() == QMetaType::QStringList ||
               value.userType() == QMetaType::QVariantList) {
        const QVariantList items = value.toList();
        if (items.isEmpty())
            out += "@Invalid()";
        for (qsizetype i = 0; i < items.size(); ++i) {
            if (i != 0)
                out += ", ";
            if (items.at(i).isValid())
                appendStoredText(items.at(i).toString(), out);
            else
                out += "@Invalid()";
        }
    } else {
        appendStoredText(value.toString(), out);
    }
}

} // namespace

StoredSettings parseSettingsFile(QByteArrayView text)
{
    StoredSettings settings;
    QString prefix;
    qsizetype pos = text.startsWith("\xef\xbb\xbf") ? 3 : 0;
    Line line;
    while (nextLine(text, pos, line)) {
        const QByteArrayView content = text.sliced(line.start, line.length);
        if (content.front() == '[') {
            prefix = sectionPrefix(content, line.length);
            continue;
        }
        if (line.equals < 0)
            continue;
        qsizetype keyEnd = line.equals;
        while (keyEnd > line.start && (text[keyEnd - 1] == ' ' || text[keyEnd - 1] == '\t'))
            --keyEnd;
        const QString key = prefix + unescapedKey(text.sliced(line.start, keyEnd - line.start));
        const qsizetype valueStart = line.equals + 1;
        settings.insert(
            key,
            ValueReader(text.sliced(valueStart, line.start + line.length - valueStart)).read());
    }
    return settings;
}

QByteArray settingsFileText(const StoredSettings &settings)
{
    QMap<QString, StoredSettings> sections;
    for (auto entry = settings.cbegin(); entry != settings.cend(); ++entry) {
        const qsizetype slash = entry.key().indexOf(u'/');
        const QString section = slash < 0 ? QString() : entry.key().left(slash);
        sections[section].insert(entry.key().mid(slash + 1), entry.value());
    }
    QByteArray text;
    for (auto section = sections.cbegin(); section != sections.cend(); ++section) {
        if (!text.isEmpty())
            text += '\n';
        QByteArray name;
        appendEscapedKey(section.key(), name);
        if (name.isEmpty())
            name = "General";
        else if (qstricmp(name.constData(), "general") == 0)
            name = "%General";
        text += '[' + name + "]\n";
        for (auto entry = section->cbegin(); entry != section->cend(); ++entry) {
            appendEscapedKey(entry.key(), text);
            text += '=';
            appendValue(entry.value(), text);
            text += '\n';
        }
    }
    return text;
}

} // namespace glintbox
