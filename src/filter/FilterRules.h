#pragma once

#include <QList>
#include <QString>

namespace glintbox {

class FilterModel;

// The file list pattern for the given 38 box states: ANY gives "*.*"; ALL, or
// nothing at all, gives the ALL pattern; otherwise the patterns of the ticked
// groups, or the placeholder when none is; then each ticked type appends its
// own patterns in the append order.
QString buildFileListPattern(const FilterModel &states);

// The entries whose boxes a box clears when it becomes ticked. Unticking a box
// clears nothing, and the boxes cleared here clear nothing further.
QList<int> entriesClearedBy(int entry);

} // namespace glintbox
