#include "FilterModel.h"

namespace glintbox {

FilterModel::FilterModel(const std::array<int, FilterEntryCount> &values)
{
    for (int entry = 0; entry < FilterEntryCount; ++entry)
        setOn(entry, values[entry] != 0);
}

FilterModel FilterModel::defaults()
{
    FilterModel model;
    for (int entry = 0; entry < FilterEntryCount; ++entry)
        model.setOn(entry, filterDefault(entry) != 0);
    return model;
}

int FilterModel::value(QStringView key) const
{
    const int entry = filterEntryIndex(key);
    return entry < 0 ? 0 : m_values[entry];
}

} // namespace glintbox
