#include "ChunkedTextFeeder.h"

#include "DisplayLines.h"

#include <QElapsedTimer>
#include <QScopedValueRollback>
#include <QTextCursor>
#include <QTextDocument>

namespace glintbox {

ChunkedTextFeeder::ChunkedTextFeeder(QObject *parent)
    : QObject(parent)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &ChunkedTextFeeder::appendNextPass);
}

qsizetype ChunkedTextFeeder::pieceEnd(const QString &text, qsizetype from, qsizetype maxLength)
{
    const qsizetype limit = qMin(text.size(), from + qMax<qsizetype>(maxLength, 2));
    if (limit == text.size())
        return limit;
    // Only inside the piece: a search back through the whole text would cost
    // a long line's length for every piece of it.
    const qsizetype lineBreak = QStringView(text).sliced(from, limit - from).lastIndexOf(u'\n');
    if (lineBreak >= 0)
        return from + lineBreak + 1;
    qsizetype end = limit;
    if (text.at(end - 1) == u'\r' || text.at(end - 1).isHighSurrogate())
        --end;
    return end;
}

void ChunkedTextFeeder::start(QTextDocument *document, const QString &text, qsizetype from)
{
    stop();
    if (from >= text.size()) {
        emit finished();
        return;
    }
    m_document = document;
    m_text = text;
    m_position = from;
    m_timer.start(FirstPassDelayMilliseconds);
}

void ChunkedTextFeeder::await(std::function<void()> arrive)
{
    stop();
    m_arrive = std::move(arrive);
}

void ChunkedTextFeeder::finish()
{
    if (m_arrive)
        std::exchange(m_arrive, nullptr)();
    if (!m_document)
        return;
    appendPieces([] { return true; });
    stop();
    emit finished();
}

void ChunkedTextFeeder::cancel()
{
    stop();
}

void ChunkedTextFeeder::appendNextPass()
{
    if (!m_document) {
        stop();
        return;
    }
    QElapsedTimer pass;
    pass.start();
    appendPieces([&] { return pass.elapsed() < PassMilliseconds; });
    if (m_position < m_text.size()) {
        m_timer.start(0);
        return;
    }
    stop();
    emit finished();
}

void ChunkedTextFeeder::appendPieces(const std::function<bool()> &goOn)
{
    const QScopedValueRollback appending(m_appending, true);
    QTextCursor cursor(m_document);
    cursor.movePosition(QTextCursor::End);
    // One edit for all the pieces: the view takes in the change, adjusting its
    // scroll range and laying out its last page, once, not once a piece.
    cursor.beginEditBlock();
    do {
        const qsizetype end = pieceEnd(m_text, m_position, PieceLength);
        appendDisplayLines(cursor, QStringView(m_text).sliced(m_position, end - m_position));
        m_position = end;
    } while (m_position < m_text.size() && goOn());
    cursor.endEditBlock();
}

void ChunkedTextFeeder::stop()
{
    m_timer.stop();
    m_arrive = nullptr;
    m_document = nullptr;
    m_text = QString();
    m_position = 0;
}

} // namespace glintbox
