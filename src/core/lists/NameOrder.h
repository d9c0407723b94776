#pragma once

#include <QStringList>

namespace glintbox {

// Sorts names as the lists show them: without regard to case, names that
// differ only in case in a fixed order. Case folding is done once per name.
QStringList sortedByName(QStringList names);

} // namespace glintbox
