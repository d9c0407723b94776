#include "WindowFrame.h"

#include "X11WindowFrame.h"

namespace glintbox {

namespace {

class NoWindowFrame final : public WindowFrame {
public:
    std::optional<QMargins> margins() override { return QMargins(); }
};

} // namespace

std::unique_ptr<WindowFrame> WindowFrame::of(QWidget &window)
{
    if (std::unique_ptr<WindowFrame> x11 = x11WindowFrame(window))
        return x11;
    return std::make_unique<NoWindowFrame>();
}

} // namespace glintbox
