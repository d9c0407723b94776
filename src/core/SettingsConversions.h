#pragma once

#include <QString>
#include <QtGlobal>

namespace glintbox {

// Text forms of stored values. Readers throw RunTimeError(TypeMismatch) for a
// text that does not convert and RunTimeError(Overflow) for a number out of
// range, so that start-up can skip the one step.
namespace settingtext {

QString fromBool(bool value);
bool toBool(const QString &text);

QString fromInt(qint64 value);
qint16 toInt16(const QString &text);
qint32 toInt32(const QString &text);

// The shortest decimal text that reads back as the same value, in plain
// digits below 1e15; either form reads.
QString fromDouble(double value);
QString fromSingle(float value);
double toDouble(const QString &text);
float toSingle(const QString &text);

// Colours are the 32-bit value taken as signed: 0x80000005 is "-2147483643".
QString fromColour(quint32 value);
quint32 toColour(const QString &text);

// Check box states: "0" or "1" (any 16-bit number reads; the box decides).
QString fromCheckState(int state);
int toCheckState(const QString &text);

} // namespace settingtext
} // namespace glintbox
