#pragma once

#include <QList>
#include <QRect>
#include <QToolBar>

namespace glintbox {

// A toolbar that puts its buttons and controls on as many rows as its width
// needs, in their order, rather than hiding those that do not fit behind an
// overflow button: the zoom controls at its end must stay within reach at
// every window width. A group of items between two separators that does not
// fit the rest of a row begins the next one. Its size hint asks for the height of the
// rows at its current width, so the window below it gets the rest.
class WrappingToolBar : public QToolBar {
public:
    explicit WrappingToolBar(const QString &title, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void actionEvent(QActionEvent *event) override;

private:
    struct Placement {
        QWidget *widget = nullptr;
        QRect rect; // empty for a separator that would begin or end a row
    };
    struct Flow {
        QList<Placement> placements;
        int height = 0;
    };

    Flow flowFor(int width) const;
    void placeItems();

    int m_placedHeight = 0;
};

} // namespace glintbox
