#pragma once

#include "formats/text/TextRead.h"

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

namespace glintbox {

class FileSystem;

// Reads and decodes a file's text on a worker thread, so that a big file never
// holds up the window; the outcome comes back on the window's thread.
class TextFileReader : public QObject {
    Q_OBJECT
public:
    explicit TextFileReader(QObject *parent = nullptr);
    // Waits for the reads still running: they use the file system.
    ~TextFileReader() override;

    // Reads the file as readFileAsText does; raises ended() when the outcome is
    // there. A read still running is abandoned.
    void start(FileSystem &fs, const QString &path, qint64 fileSize);
    // The running read goes on to its end, unseen: its outcome is never reported.
    void abandon();
    bool isReading() const { return m_current != nullptr; }
    // Waits for the running read and reports it now.
    void finish();

    // The path of the last read started.
    const QString &path() const { return m_path; }
    // The outcome of the read that has just ended (once, after ended()); throws
    // what the read threw.
    TextReadResult takeResult();

signals:
    void ended();

private:
    struct Reading;
    void readingEnded(quint64 number);

    QString m_path;
    std::unique_ptr<Reading> m_current;
    std::vector<std::unique_ptr<Reading>> m_abandoned;
    quint64 m_readings = 0;
    std::unique_ptr<Reading> m_ended;
};

} // namespace glintbox
