#include "DecimalText.h"

#include <charconv>
#include <cmath>

namespace glintbox {

namespace {

constexpr double PlainDigitsBelow = 1e15;

template<typename T> QString shortestText(T value)
{
    // Plain digits of the smallest subnormal double run to about 330 characters.
    char buffer[400];
    const bool plain = std::isfinite(value) && std::fabs(double(value)) < PlainDigitsBelow;
    const auto result =
        plain ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed)
              : std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

} // namespace

QString plainDecimal(double value)
{
    return shortestText(value);
}

QString plainDecimal(float value)
{
    return shortestText(value);
}

} // namespace glintbox
