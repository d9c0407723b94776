#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTextDocument>
#include <QTimer>

#include <functional>

namespace glintbox {

// Appends a long text to a document piece by piece between event-loop passes,
// so that a big file shows its first screen at once and the window stays live
// while the rest goes in.
class ChunkedTextFeeder : public QObject {
    Q_OBJECT
public:
    // Each pass appends pieces until its time is used up: long passes waste
    // less on repainting between them, short ones keep the window responsive.
    static constexpr qsizetype PieceLength = 128 * 1024;
    static constexpr int PassMilliseconds = 40;
    // A window paints its update a few milliseconds after asking for it; the
    // first pass waits that long so the first screen shows before the rest goes in.
    static constexpr int FirstPassDelayMilliseconds = 20;

    explicit ChunkedTextFeeder(QObject *parent = nullptr);

    // Starts appending text from position `from` to the end of document.
    void start(QTextDocument *document, const QString &text, qsizetype from);
    // The text is still being read: finish() first calls arrive, which must
    // start() the feed with it (or leave the text empty).
    void await(std::function<void()> arrive);
    bool isActive() const { return m_document != nullptr || m_arrive != nullptr; }
    bool isAwaiting() const { return m_arrive != nullptr; }
    // True while a piece goes in, so the owner can tell loading from editing.
    bool isAppending() const { return m_appending; }
    // Appends everything that is left now, the text awaited included.
    void finish();
    // Stops without appending the rest.
    void cancel();

    // Where a piece of at most maxLength characters from `from` should end: after
    // the last line break inside it when there is one, and never between CR and
    // LF or inside a surrogate pair (either would change the text).
    static qsizetype pieceEnd(const QString &text, qsizetype from, qsizetype maxLength);

signals:
    // Raised when the last piece is in (not on cancel).
    void finished();

private:
    void appendNextPass();
    // Appends pieces while text is left and goOn() says so (at least one).
    void appendPieces(const std::function<bool()> &goOn);
    void stop();

    std::function<void()> m_arrive;
    QPointer<QTextDocument> m_document;
    QString m_text;
    qsizetype m_position = 0;
    bool m_appending = false;
    QTimer m_timer;
};

} // namespace glintbox
