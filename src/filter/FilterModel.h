#pragma once

#include "filter/FileTypeTable.h"

#include <QString>
#include <array>

namespace glintbox {

// The 38 on/off entries of the file filter as last confirmed, in key order
// (ALL, ANY, the four groups, the 32 types); entry i is stored under filterKey(i).
class FilterModel {
public:
    FilterModel() = default; // every entry off
    explicit FilterModel(const std::array<int, FilterEntryCount> &values);

    // The stored defaults: ALL on, everything else off.
    static FilterModel defaults();

    int value(int entry) const { return m_values[entry]; }
    // The entry stored under key; 0 for a key that names no entry.
    int value(QStringView key) const;
    bool isOn(int entry) const { return m_values[entry] != 0; }
    void setOn(int entry, bool on) { m_values[entry] = on ? 1 : 0; }
    const std::array<int, FilterEntryCount> &values() const { return m_values; }

    bool operator==(const FilterModel &) const = default;

private:
    std::array<int, FilterEntryCount> m_values{};
};

} // namespace glintbox
