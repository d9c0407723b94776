#include "TextFileReader.h"

#include <QCursor>
#include <QGuiApplication>
#include <QThread>

#include <algorithm>

namespace glintbox {

struct TextFileReader::Reading {
    quint64 number = 0;
    std::unique_ptr<QThread> thread;
    // Written by the worker, read by the window's thread after the worker has ended.
    TextReadResult result;
    std::exception_ptr error;
};

TextFileReader::TextFileReader(QObject *parent)
    : QObject(parent)
{
}

TextFileReader::~TextFileReader()
{
    abandon();
    for (const std::unique_ptr<Reading> &reading : m_abandoned)
        reading->thread->wait();
}

void TextFileReader::start(FileSystem &fs, const QString &path, qint64 fileSize)
{
    abandon();
    m_path = path;
    auto reading = std::make_unique<Reading>();
    reading->number = ++m_readings;
    // A reading goes only after its thread has ended.
    reading->thread.reset(QThread::create([worker = reading.get(), &fs, path, fileSize] {
        try {
            worker->result = readFileAsText(fs, path, fileSize);
        } catch (...) {
            worker->error = std::current_exception();
        }
    }));
    // Numbers, not pointers: a reading that finish() has reported is gone when
    // its thread's end arrives.
    connect(reading->thread.get(), &QThread::finished, this,
            [this, number = reading->number] { readingEnded(number); });
    reading->thread->start();
    m_current = std::move(reading);
}

void TextFileReader::abandon()
{
    if (m_current)
        m_abandoned.push_back(std::move(m_current));
}

void TextFileReader::finish()
{
    if (!m_current)
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    m_current->thread->wait();
    QGuiApplication::restoreOverrideCursor();
    readingEnded(m_current->number);
}

void TextFileReader::readingEnded(quint64 number)
{
    const auto isEnded = [number](const std::unique_ptr<Reading> &reading) {
        return reading->number == number;
    };
    // The finished signal comes just before the thread's very end: each ended
    // thread is waited for before it goes, and with it what it read.
    if (const auto abandoned = std::find_if(m_abandoned.begin(), m_abandoned.end(), isEnded);
        abandoned != m_abandoned.end()) {
        (*abandoned)->thread->wait();
        m_abandoned.erase(abandoned);
        return;
    }
    if (!m_current || !isEnded(m_current))
        return;
    m_current->thread->wait();
    m_ended = std::move(m_current);
    emit ended();
}

TextReadResult TextFileReader::takeResult()
{
    const std::unique_ptr<Reading> ended = std::move(m_ended);
    if (ended->error)
        std::rethrow_exception(ended->error);
    return std::move(ended->result);
}

} // namespace glintbox
