#include "core/RunTimeError.h"

#include <QTest>

#include <cerrno>

using namespace glintbox;

class TestCore : public QObject {
    Q_OBJECT

private slots:
    // Failures without a number of their own share the general access error.
    void unlistedErrnoIsTheAccessError()
    {
        const RunTimeError error = RunTimeError::fromErrno(EISDIR, RunTimeError::Target::File);
        QCOMPARE(error.number(), 75);
        QCOMPARE(error.description(), QStringLiteral("Path/File access error"));
    }
};

QTEST_MAIN(TestCore)
#include "tst_core.moc"
