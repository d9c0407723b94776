#include "IconFrames.h"

#include "core/SvgIcon.h"

#include <QFile>

#include <array>

namespace glintbox {

namespace {

QIcon renderFrame(int index)
{
    QFile file(QStringLiteral(":/icons/frames/frame%1.svg").arg(index, 2, 10, QChar('0')));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return renderSvgIcon(file.readAll());
}

} // namespace

QIcon iconFrame(int index)
{
    static std::array<QIcon, IconFrameCount> frames;
    QIcon &frame = frames.at(size_t(index));
    if (frame.isNull())
        frame = renderFrame(index);
    return frame;
}

} // namespace glintbox
