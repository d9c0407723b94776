#pragma once

#include <QString>
#include <array>
#include <span>

namespace glintbox {

enum class FileTypeGroup { Text, Image, Multimedia, Applications };

// The groups in the order of their entries and of their panels in the dialog.
constexpr FileTypeGroup FileTypeGroups[] = {FileTypeGroup::Text, FileTypeGroup::Image,
                                            FileTypeGroup::Multimedia, FileTypeGroup::Applications};

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

// Indices of the rows of FileTypes, so that orders and layouts built on the
// table name their types instead of repeating the table's strings.
namespace FileTypeIndex {
// clang-format off
enum : int {
    TXT, HTM, BMP, WMF, ICO, INI, INF, RTF, CUR, GIF, JPG, BAT, SYS, EMF, LOG, JIF,
    AVI, MPG, MPE, MOV, WAV, MID, QT, RMI, FRM, BAS, VBP, LST, DIB, EXE, COM, NFO,
};
// clang-format on
} // namespace FileTypeIndex

// The order in which ticked types append their patterns: the table order,
// except that RTF comes before INF.
extern const std::array<int, FileTypeCount> FileTypeAppendOrder;

// One column of type boxes in the filter dialog: the group panel it sits in
// and its type indices, top to bottom. A group's columns follow each other
// left to right.
struct FilterColumn {
    FileTypeGroup group;
    std::span<const int> types;
};

extern const std::array<FilterColumn, 6> FilterColumns;

// ALL, ANY, then the groups in the order Text, Image, Multimedia, Applications.
extern const std::array<FilterEntryInfo, 6> FilterHeadEntries;

const FilterEntryInfo &groupEntry(FileTypeGroup group);

// Filter model entry indices: ALL, ANY, the four groups, then the types.
constexpr int AllEntry = 0;
constexpr int AnyEntry = 1;
constexpr int FilterHeadCount = 6;
constexpr int groupEntryIndex(FileTypeGroup group)
{
    return 2 + int(group);
}
constexpr int typeEntryIndex(int typeIndex)
{
    return FilterHeadCount + typeIndex;
}

// The key of filter model entry i (0..37): ALL, ANY, TEXT, IMAG, MULT, APPL,
// then the 32 type keys in table order.
QString filterKey(int entryIndex);

// The entry index of a key, or -1 when no entry has that key.
int filterEntryIndex(QStringView key);

// Stored default of entry i: ALL is on, everything else off.
inline int filterDefault(int entryIndex)
{
    return entryIndex == 0 ? 1 : 0;
}

extern const char *const AllPattern;
extern const char *const AnyPattern;
extern const char *const PlaceholderPattern;

} // namespace glintbox
