#include "FilterRules.h"

#include "FileTypeTable.h"
#include "FilterModel.h"

namespace glintbox {

namespace {

bool nothingOn(const FilterModel &states)
{
    for (int entry = 0; entry < FilterEntryCount; ++entry) {
        if (states.isOn(entry))
            return false;
    }
    return true;
}

QString basePattern(const FilterModel &states)
{
    if (states.isOn(AnyEntry))
        return QString::fromLatin1(AnyPattern);
    if (states.isOn(AllEntry) || nothingOn(states))
        return QString::fromLatin1(AllPattern);
    QStringList groupPatterns;
    for (FileTypeGroup group : FileTypeGroups) {
        if (states.isOn(groupEntryIndex(group)))
            groupPatterns.append(QString::fromLatin1(groupEntry(group).pattern));
    }
    if (groupPatterns.isEmpty())
        return QString::fromLatin1(PlaceholderPattern);
    return groupPatterns.join(QLatin1Char(';'));
}

} // namespace

QString buildFileListPattern(const FilterModel &states)
{
    QString pattern = basePattern(states);
    for (int type : FileTypeAppendOrder) {
        if (states.isOn(typeEntryIndex(type)))
            pattern += QString::fromLatin1(FileTypes[type].appended);
    }
    return pattern;
}

QList<int> entriesClearedBy(int entry)
{
    QList<int> cleared;
    if (entry == AllEntry || entry == AnyEntry) {
        for (int other = 0; other < FilterEntryCount; ++other) {
            if (other != entry)
                cleared.append(other);
        }
        return cleared;
    }
    cleared = {AllEntry, AnyEntry};
    if (entry < FilterHeadCount) {
        const auto group = FileTypeGroup(entry - groupEntryIndex(FileTypeGroup::Text));
        for (int type = 0; type < FileTypeCount; ++type) {
            if (FileTypes[type].group == group)
                cleared.append(typeEntryIndex(type));
        }
    } else {
        cleared.append(groupEntryIndex(FileTypes[entry - FilterHeadCount].group));
    }
    return cleared;
}

} // namespace glintbox
