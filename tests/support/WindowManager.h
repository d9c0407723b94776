#pragma once

#include <QProcess>
#include <QTemporaryDir>

namespace glintbox {

// A small window manager (openbox) on the test's X display, for tests that
// need what only a window manager gives: frames, focus, closing a window
// through it. Every test that needs one starts it here. Stopped when
// destroyed.
class WindowManager {
public:
    WindowManager() = default;
    WindowManager(const WindowManager &) = delete;
    WindowManager &operator=(const WindowManager &) = delete;
    ~WindowManager();

    // Starts openbox and waits until it manages the display. True also when
    // another window manager already does. False without an X display or
    // when openbox cannot start; the reason is in errorString().
    bool start();
    QString errorString() const { return m_error; }

private:
    QProcess m_process;
    QTemporaryDir m_dir;
    QString m_error;
};

} // namespace glintbox
