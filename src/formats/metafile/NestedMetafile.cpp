#include "NestedMetafile.h"

#include "Metafile.h"
#include "RenderBudget.h"

#include "core/RunTimeError.h"

namespace glintbox {

namespace {

// Metafiles drawn inside metafiles drawn inside ...: a picture deeper than this is not drawn.
constexpr int MaxNesting = 4;
thread_local int nesting = 0;

} // namespace

void drawNestedMetafile(const QByteArray &bytes, QPainter &painter, const QRectF &target,
                        RenderBudget &budget)
{
    // Each picture inside reads its own frame first: the time left is checked before.
    if (nesting >= MaxNesting || budget.overTime())
        return;
    ++nesting;
    try {
        Metafile::fromBytes(bytes).render(painter, target, budget);
    } catch (const RunTimeError &) {
        // An embedded picture that is no metafile draws nothing.
    }
    --nesting;
}

} // namespace glintbox
