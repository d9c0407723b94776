#include "ToolbarIcons.h"

#include "core/SvgIcon.h"

#include <QFile>
#include <QPalette>

namespace glintbox {

namespace {

// The colours the pictures are drawn with, replaced by the palette's.
constexpr char InkColour[] = "#232629";
constexpr char PaperColour[] = "#fcfcfc";

} // namespace

QIcon toolbarIcon(const QString &name, const QPalette &palette)
{
    QFile file(QStringLiteral(":/icons/toolbar/%1.svg").arg(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray svg = file.readAll();
    svg.replace(InkColour, palette.color(QPalette::WindowText).name().toLatin1());
    svg.replace(PaperColour, palette.color(QPalette::Base).name().toLatin1());
    return renderSvgIcon(svg);
}

} // namespace glintbox
