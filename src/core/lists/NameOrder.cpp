#include "NameOrder.h"

#include <algorithm>
#include <vector>

namespace glintbox {

QStringList sortedByName(QStringList names)
{
    struct Keyed {
        QString key;
        QString name;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(size_t(names.size()));
    for (QString &name : names)
        keyed.push_back({name.toCaseFolded(), std::move(name)});
    std::sort(keyed.begin(), keyed.end(), [](const Keyed &a, const Keyed &b) {
        return a.key != b.key ? a.key < b.key : a.name < b.name;
    });
    QStringList sorted;
    sorted.reserve(names.size());
    for (Keyed &entry : keyed)
        sorted.append(std::move(entry.name));
    return sorted;
}

} // namespace glintbox
