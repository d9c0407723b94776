#pragma once

#include <QString>
#include <array>

namespace glintbox {

enum class FileTypeGroup { Text, Image, Multimedia, Applications };

// One file type the filter knows: its settings key, check box, dialog caption,
// description (tool tip), group and the pattern text appended when ticked.
struct FileType {
    const char *key;
    const char *checkBoxName;
    const char *caption;
    const char *toolTip;
    FileTypeGroup group;
    const char *appended;
};

// One of the six entries above the types: ALL, ANY and the four groups.
struct FilterEntryInfo {
    const char *key;
    const char *checkBoxName;
    const char *caption;
    const char *toolTip;
    const char *pattern;
};

constexpr int FileTypeCount = 32;
constexpr int FilterEntryCount = 38; // ALL, ANY, four groups, 32 types

extern const std::array<FileType, FileTypeCount> FileTypes;

// ALL, ANY, then the groups in the order Text, Image, Multimedia, Applications.
extern const std::array<FilterEntryInfo, 6> FilterHeadEntries;

const FilterEntryInfo &groupEntry(FileTypeGroup group);

// The key of filter model entry i (0..37): ALL, ANY, TEXT, IMAG, MULT, APPL,
// then the 32 type keys in table order.
QString filterKey(int entryIndex);

// Stored default of entry i: ALL is on, everything else off.
inline int filterDefault(int entryIndex)
{
    return entryIndex == 0 ? 1 : 0;
}

extern const char *const AllPattern;
extern const char *const AnyPattern;
extern const char *const PlaceholderPattern;

} // namespace glintbox
