#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace glintbox::rtf {

// The value of one hexadecimal digit, or -1 for any other character.
int hexDigitValue(char c);

// One lexical unit of RTF.
struct RtfToken {
    enum class Kind { End, GroupStart, GroupEnd, ControlWord, ControlSymbol, HexByte, Text };
    Kind kind = Kind::End;
    QByteArrayView word; // control word name, or the run of text
    bool hasParameter = false;
    int parameter = 0;
    char symbol = 0;        // control symbol character
    unsigned char byte = 0; // \'hh value
};

// Splits RTF bytes into tokens without copying; raw line breaks inside text are dropped.
class RtfTokenizer {
public:
    explicit RtfTokenizer(QByteArrayView input)
        : m_input(input)
    {
    }

    RtfToken next();

    // Takes count raw bytes after a \bin; false (and nothing taken) when fewer remain.
    bool takeBinary(qsizetype count, QByteArrayView *data);

    qsizetype position() const { return m_pos; }
    qsizetype remaining() const { return m_input.size() - m_pos; }

private:
    QByteArrayView m_input;
    qsizetype m_pos = 0;
};

} // namespace glintbox::rtf
