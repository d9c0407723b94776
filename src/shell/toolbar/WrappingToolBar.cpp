#include "WrappingToolBar.h"

#include <QAction>
#include <QActionEvent>
#include <QLayout>

#include <algorithm>

namespace glintbox {

namespace {

struct Item {
    QWidget *widget;
    QSize size;
    bool separator;
};

} // namespace

WrappingToolBar::WrappingToolBar(const QString &title, QWidget *parent)
    : QToolBar(title, parent)
{
    // The toolbar's own layout keeps its items (and so widgetForAction) but
    // places nothing: it would lay them out on one row and hide the rest.
    layout()->setEnabled(false);
}

WrappingToolBar::Flow WrappingToolBar::flowFor(int width) const
{
    QList<Item> items;
    QList<QWidget *> hidden;
    int rowHeight = 0;
    for (QAction *action : actions()) {
        QWidget *widget = widgetForAction(action);
        if (widget && !action->isVisible())
            hidden.append(widget);
        if (!widget || !action->isVisible())
            continue;
        const QSize size =
            widget->sizeHint().expandedTo(widget->minimumSize()).boundedTo(widget->maximumSize());
        items.append({widget, size, action->isSeparator()});
        rowHeight = std::max(rowHeight, size.height());
    }

    const int margin = layout()->contentsMargins().left();
    const int spacing = layout()->spacing();
    const int room = width - 2 * margin;
    QList<QList<qsizetype>> rows{{}};
    int x = 0;
    auto wrap = [&] {
        rows.append(QList<qsizetype>());
        x = 0;
    };
    for (qsizetype i = 0; i < items.size(); ++i) {
        const int itemWidth = items.at(i).size.width();
        if (items.at(i).separator) {
            if (x > 0) { // a separator never begins a row
                rows.last().append(i);
                x += itemWidth + spacing;
            }
            continue;
        }
        if (i == 0 || items.at(i - 1).separator) {
            // A group that does not fit the rest of the row begins the next.
            int groupWidth = itemWidth;
            for (qsizetype j = i + 1; j < items.size() && !items.at(j).separator; ++j)
                groupWidth += spacing + items.at(j).size.width();
            if (x > 0 && x + groupWidth > room)
                wrap();
        }
        if (x > 0 && x + itemWidth > room)
            wrap();
        rows.last().append(i);
        x += itemWidth + spacing;
    }

    Flow flow;
    for (const Item &item : items)
        flow.placements.append(Placement{item.widget, QRect()});
    for (QWidget *widget : hidden)
        flow.placements.append(Placement{widget, QRect()});
    int top = margin;
    for (QList<qsizetype> &row : rows) {
        while (!row.isEmpty() && items.at(row.last()).separator)
            row.removeLast(); // nor ends one
        int left = margin;
        for (qsizetype i : row) {
            const Item &item = items.at(i);
            const int height = item.separator ? rowHeight : item.size.height();
            flow.placements[i].rect =
                QRect(left, top + (rowHeight - height) / 2, item.size.width(), height);
            left += item.size.width() + spacing;
        }
        if (!row.isEmpty())
            top += rowHeight + spacing;
    }
    flow.height = std::max(top - spacing, margin + rowHeight) + margin;
    return flow;
}

void WrappingToolBar::placeItems()
{
    const Flow flow = flowFor(width());
    for (const Placement &placement : flow.placements) {
        placement.widget->setGeometry(placement.rect);
        placement.widget->setVisible(placement.rect.isValid());
    }
    if (flow.height != m_placedHeight) {
        m_placedHeight = flow.height;
        updateGeometry();
    }
}

QSize WrappingToolBar::sizeHint() const
{
    const QSize oneRow = QToolBar::sizeHint();
    // Until it is shown the toolbar has no width of its own: the rows that its
    // narrow first width needs would hold the window taller than it was placed.
    return {oneRow.width(), flowFor(isVisible() ? width() : QWIDGETSIZE_MAX).height};
}

QSize WrappingToolBar::minimumSizeHint() const
{
    int widest = 0;
    for (QAction *action : actions())
        if (QWidget *widget = widgetForAction(action))
            widest = std::max(widest, widget->sizeHint().width());
    return {widest + 2 * layout()->contentsMargins().left(), sizeHint().height()};
}

bool WrappingToolBar::event(QEvent *event)
{
    const bool handled = QToolBar::event(event);
    switch (event->type()) {
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::LayoutRequest:
    case QEvent::StyleChange:
    case QEvent::FontChange:
        placeItems();
        break;
    default:
        break;
    }
    return handled;
}

void WrappingToolBar::actionEvent(QActionEvent *event)
{
    QToolBar::actionEvent(event);
    placeItems();
}

} // namespace glintbox
