#include "SettingsConversions.h"

#include "core/DecimalText.h"
#include "core/RunTimeError.h"

#include <cmath>
#include <limits>

namespace glintbox::settingtext {

namespace {

double parseNumber(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        throw RunTimeError(TypeMismatch, text);
    return value;
}

// Whole-number conversions round halves to the even neighbour.
qint64 roundedWithin(const QString &text, qint64 low, qint64 high)
{
    const double value = std::nearbyint(parseNumber(text));
    if (value < double(low) || value > double(high))
        throw RunTimeError(Overflow, text);
    return qint64(value);
}

} // namespace

QString fromBool(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

bool toBool(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.compare(u"True", Qt::CaseInsensitive) == 0)
        return true;
    if (trimmed.compare(u"False", Qt::CaseInsensitive) == 0)
        return false;
    // A number converts too: zero is false, anything else true.
    return parseNumber(trimmed) != 0.0;
}

QString fromInt(qint64 value)
{
    return QString::number(value);
}

qint16 toInt16(const QString &text)
{
    return qint16(roundedWithin(text, std::numeric_limits<qint16>::min(),
                                std::numeric_limits<qint16>::max()));
}

qint32 toInt32(const QString &text)
{
    return qint32(roundedWithin(text, std::numeric_limits<qint32>::min(),
                                std::numeric_limits<qint32>::max()));
}

QString fromDouble(double value)
{
    return plainDecimal(value);
}

QString fromSingle(float value)
{
    return plainDecimal(value);
}

double toDouble(const QString &text)
{
    return parseNumber(text);
}

float toSingle(const QString &text)
{
    const double value = parseNumber(text);
    if (std::fabs(value) > double(std::numeric_limits<float>::max()))
        throw RunTimeError(Overflow, text);
    return float(value);
}

QString fromColour(quint32 value)
{
    return QString::number(qint32(value));
}

quint32 toColour(const QString &text)
{
    return quint32(toInt32(text));
}

QString fromCheckState(int state)
{
    return QString::number(state);
}

int toCheckState(const QString &text)
{
    return toInt16(text);
}

} // namespace glintbox::settingtext
