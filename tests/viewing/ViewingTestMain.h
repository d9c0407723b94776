#pragma once

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

// A test main for the browser and player tests: both engines want a private
// run-time folder, and as root the browser engine needs its sandbox off.
#define GLINTBOX_VIEWING_TEST_MAIN(TestObject)                                                     \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        QTemporaryDir runtimeDir;                                                                  \
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))                                        \
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir.path()));                      \
        if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))          \
            qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");                                           \
        QApplication app(argc, argv);                                                              \
        TestObject test;                                                                           \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
