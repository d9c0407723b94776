#include "FirstPaintProbe.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace glintbox {

namespace {

class FirstPaintWatcher : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // The window's own paint comes first; its children paint and the
            // whole is flushed before the event loop turns again.
            QTimer::singleShot(0, this, [] {
                const auto now = std::chrono::steady_clock::now().time_since_epoch();
                const QByteArray created = costlyPartsCreated().join(u' ').toLatin1();
                std::printf("first paint: %lld\ncreated: %s\n",
                            qlonglong(std::chrono::nanoseconds(now).count()),
                            created.isEmpty() ? "none" : created.constData());
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return false;
    }
};

} // namespace

QStringList costlyPartsCreated()
{
    QStringList found;
    for (const char *kind : {"QWebEngineView", "QMediaPlayer", "QDialog"}) {
        const QWidgetList windows = QApplication::topLevelWidgets();
        const bool exists = std::any_of(windows.cbegin(), windows.cend(), [kind](QWidget *w) {
            const QList<QObject *> parts = w->findChildren<QObject *>();
            return w->inherits(kind) ||
                   std::any_of(parts.cbegin(), parts.cend(),
                               [kind](QObject *o) { return o->inherits(kind); });
        });
        if (exists)
            found.append(QString::fromLatin1(kind));
    }
    return found;
}

void quitAfterFirstPaintWhenAsked(QWidget &window)
{
    if (qEnvironmentVariableIsSet("GLINTBOX_QUIT_AFTER_FIRST_PAINT"))
        window.installEventFilter(new FirstPaintWatcher(&window));
}

} // namespace glintbox
