#include "DisplayLine.h"

#include "viewing/text/RichTextBox.h"
#include "viewing/text/WrappedLineCounter.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QThread>

#include <memory>

namespace glintbox {

int wrappedLineOfPosition(QStringView text, qsizetype position, const WrappedLineCounter &counter)
{
    int lines = 0;
    qsizetype start = 0;
    for (;;) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        const QStringView paragraph = text.sliced(start, end - start);
        // The line break belongs to the line it ends.
        if (end >= position || end == text.size())
            return lines + counter.lineOfPosition(paragraph, int(position - start));
        lines += counter.lineCount(paragraph);
        start = end + 1;
    }
}

int displayLineOfPosition(const RichTextBox &box, const QString &text, qsizetype position)
{
    // A formatted text is laid out whole by its view anyway.
    if (box.isRichText())
        return box.lineFromChar(int(position));
    const std::optional<WrappedLineCounter> counter = box.wrappedLineCounter();
    if (!counter)
        return int(QStringView(text).first(position).count(u'\n'));

    int line = 0;
    const std::unique_ptr<QThread> worker(QThread::create(
        [&, counter = *counter] { line = wrappedLineOfPosition(text, position, counter); }));
    QEventLoop waiting;
    QObject::connect(worker.get(), &QThread::finished, &waiting, &QEventLoop::quit);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    worker->start();
    waiting.exec(QEventLoop::ExcludeUserInputEvents);
    worker->wait();
    QGuiApplication::restoreOverrideCursor();
    return line;
}

} // namespace glintbox
