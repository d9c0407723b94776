#include "RtfTokenizer.h"

#include <limits>

namespace glintbox::rtf {

namespace {

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

RtfToken RtfTokenizer::next()
{
    RtfToken token;
    const char *data = m_input.data();
    const qsizetype size = m_input.size();
    while (m_pos < size) {
        const char c = data[m_pos];
        if (c == '{') {
            ++m_pos;
            token.kind = RtfToken::Kind::GroupStart;
            return token;
        }
        if (c == '}') {
            ++m_pos;
            token.kind = RtfToken::Kind::GroupEnd;
            return token;
        }
        if (c == '\\') {
            ++m_pos;
            if (m_pos >= size)
                return token;
            const char s = data[m_pos];
            if (isLetter(s)) {
                const qsizetype start = m_pos;
                while (m_pos < size && isLetter(data[m_pos]))
                    ++m_pos;
                token.kind = RtfToken::Kind::ControlWord;
                token.word = m_input.sliced(start, m_pos - start);
                bool negative = false;
                if (m_pos + 1 < size && data[m_pos] == '-' && isDigit(data[m_pos + 1])) {
                    negative = true;
                    ++m_pos;
                }
                if (m_pos < size && isDigit(data[m_pos])) {
                    qint64 value = 0;
                    while (m_pos < size && isDigit(data[m_pos])) {
                        // Saturate: an absurd parameter must not wrap into a plausible one.
                        if (value < std::numeric_limits<int>::max())
                            value = value * 10 + (data[m_pos] - '0');
                        ++m_pos;
                    }
                    value = qMin<qint64>(value, std::numeric_limits<int>::max());
                    token.hasParameter = true;
                    token.parameter = int(negative ? -value : value);
                }
                if (m_pos < size && data[m_pos] == ' ')
                    ++m_pos;
                return token;
            }
            ++m_pos;
            if (s == '\'') {
                const int high = m_pos < size ? hexDigitValue(data[m_pos]) : -1;
                const int low = m_pos + 1 < size ? hexDigitValue(data[m_pos + 1]) : -1;
                if (high < 0 || low < 0) {
                    m_pos += high < 0 ? 0 : 1; // a broken escape carries no character
                    continue;
                }
                m_pos += 2;
                token.kind = RtfToken::Kind::HexByte;
                token.byte = static_cast<unsigned char>(high * 16 + low);
                return token;
            }
            token.kind = RtfToken::Kind::ControlSymbol;
            token.symbol = (s == '\r' || s == '\n') ? '\n' : s;
            return token;
        }
        if (c == '\r' || c == '\n' || c == '\0') {
            ++m_pos;
            continue;
        }
        const qsizetype start = m_pos;
        while (m_pos < size) {
            const char t = data[m_pos];
            if (t == '{' || t == '}' || t == '\\' || t == '\r' || t == '\n' || t == '\0')
                break;
            ++m_pos;
        }
        token.kind = RtfToken::Kind::Text;
        token.word = m_input.sliced(start, m_pos - start);
        return token;
    }
    return token;
}

bool RtfTokenizer::takeBinary(qsizetype count, QByteArrayView *data)
{
    if (count < 0 || count > remaining())
        return false;
    *data = m_input.sliced(m_pos, count);
    m_pos += count;
    return true;
}

} // namespace glintbox::rtf
