#pragma once

#include <QByteArray>
#include <QString>

namespace glintbox {

// Buffers for a whole file or its whole text, to be filled at once. Memory
// is handed out in 4 KB pages, each costing a fault when first written; these
// ask for 2 MB pages where the system allows, so that a 100 MB text costs
// fifty faults, not twenty-five thousand. Their content is undefined.
QByteArray uninitializedBytes(qsizetype size);
QString uninitializedText(qsizetype size);

} // namespace glintbox
