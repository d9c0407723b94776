#include "LargeBuffers.h"

#include <cstdint>
#include <sys/mman.h>

namespace glintbox {

namespace {

constexpr std::uintptr_t LargePage = 2 * 1024 * 1024;

// Only the whole large pages inside the buffer; the advice is a hint, and a
// system without large pages leaves the buffer as it is.
void adviseLargePages(void *data, qsizetype bytes)
{
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (begin + LargePage - 1) & ~(LargePage - 1);
    const std::uintptr_t last = (begin + std::uintptr_t(bytes)) & ~(LargePage - 1);
    if (last > first)
        ::madvise(reinterpret_cast<void *>(first), last - first, MADV_HUGEPAGE);
}

} // namespace

QByteArray uninitializedBytes(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    adviseLargePages(bytes.data(), bytes.size());
    return bytes;
}

QString uninitializedText(qsizetype size)
{
    QString text(size, Qt::Uninitialized);
    adviseLargePages(text.data(), text.size() * qsizetype(sizeof(QChar)));
    return text;
}

} // namespace glintbox
