#include "TextFileReader.h"

#include <QCursor>
#include <QGuiApplication>
#include <QThread>

#include <algorithm>

namespace glintbox {

namespace {

// What a worker hands back; it writes it, the window's thread reads it after
// the worker has ended.
struct Outcome {
    TextReadResult result;
    std::exception_ptr error;
};

void readInto(Outcome &outcome, FileSystem &fs, const QString &path, qint64 fileSize)
{
    try {
        outcome.result = readFileAsText(fs, path, fileSize);
    } catch (...) {
        outcome.error = std::current_exception();
    }
}

} // namespace

struct TextFileReader::Reading {
    quint64 number = 0;
    std::shared_ptr<Outcome> outcome;
    std::unique_ptr<QThread> thread;
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
    reading->outcome = std::make_shared<Outcome>();
    reading->thread.reset(QThread::create([outcome = reading->outcome, &fs, path, fileSize] {
        readInto(*outcome, fs, path, fileSize);
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
    const std::unique_ptr<Reading> reading = std::move(m_current);
    m_result = std::move(reading->outcome->result);
    m_error = reading->outcome->error;
    emit ended();
}

TextReadResult TextFileReader::takeResult()
{
    if (const std::exception_ptr error = std::exchange(m_error, nullptr))
        std::rethrow_exception(error);
    return std::exchange(m_result, {});
}

} // namespace glintbox
