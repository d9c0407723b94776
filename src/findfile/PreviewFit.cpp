#include "PreviewFit.h"

#include <QSet>

#include <algorithm>
#include <cmath>

namespace glintbox {

namespace {

// Twips the fitted picture leaves free inside the frame, and the frame's own
// border, which its children's positions do not count.
constexpr double FitMargin = 240;
constexpr double FrameBorder = 30;

// Steps needed to bring a side down to its limit; a hair of tolerance keeps a
// quotient that is whole in exact arithmetic from taking one step more.
double stepsToFit(double side, double limit, double step)
{
    return step > 0 ? std::ceil((side - limit) / step - 1e-9) : 0;
}

} // namespace

bool isPreviewPicture(const QString &path)
{
    static const QSet<QString> endings = {
        QStringLiteral(".GIF"), QStringLiteral(".ICO"), QStringLiteral(".BMP"),
        QStringLiteral(".JPG"), QStringLiteral("JPEG"), QStringLiteral(".WMF"),
        QStringLiteral(".EMF"), QStringLiteral(".CUR"), QStringLiteral(".JIF"),
        QStringLiteral(".DIB"),
    };
    return endings.contains(path.right(4).toUpper());
}

QRectF previewPlacement(QSizeF picture, QSizeF frame)
{
    double width = std::max(picture.width(), 0.0);
    double height = std::max(picture.height(), 0.0);
    if (width > 0 && height > 0) {
        const double widthStep = width <= height ? width / height : 1.0;
        const double heightStep = width <= height ? 1.0 : height / width;
        // The steps of a one-twip-at-a-time shrink, counted at once: a huge
        // picture costs no more than a small one.
        const double steps = std::max({0.0, stepsToFit(width, frame.width() - FitMargin, widthStep),
                                       stepsToFit(height, frame.height() - FitMargin, heightStep)});
        width = std::max(std::floor(width - steps * widthStep), 0.0);
        height = std::max(std::floor(height - steps * heightStep), 0.0);
    }
    const double left = frame.width() / 2 - width / 2 - FrameBorder;
    const double top = frame.height() / 2 - height / 2 - FrameBorder;
    return {left, top, width, height};
}

} // namespace glintbox
