// Files built to exhaust a reader: each is shown in the real window by
// glintbox-snapshot (a child process, so its peak memory and processor time
// are its own) and must be shown or refused with a message within its bounds.
#include "../formats/MetafileWriter.h"
#include "MeasuredRun.h"
#include "TestFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace glintbox;
using namespace glintbox::test;

namespace {

constexpr double MaxSecondsAboveBaseline = 2.0;
constexpr qint64 MaxPeakKiB = 1024 * 1024;

QByteArray bmpClaiming(int width, int height)
{
    Le bmp;
    bmp.bytes("BM").u32(0).u32(0).u32(54);
    bmp.u32(40).i32(width).i32(height).u16(1).u16(24).u32(0).u32(0).i32(0).i32(0).u32(0).u32(0);
    return bmp.bytes(QByteArray(64, '\0')).data();
}

QByteArray gifClaiming(quint16 width, quint16 height)
{
    Le gif;
    gif.bytes("GIF89a").u16(width).u16(height).u8(0).u8(0).u8(0);
    gif.u8(0x2C).u16(0).u16(0).u16(width).u16(height).u8(0);
    return gif.bytes(QByteArray::fromHex("0202440100") + ";").data();
}

QByteArray wmfHeaderClaiming(quint32 sizeWords, quint32 largestRecordWords)
{
    Le header;
    header.u16(gdi::MEMORYMETAFILE).u16(gdi::WmfHeaderWords).u16(gdi::METAVERSION300);
    return header.u32(sizeWords).u16(16).u32(largestRecordWords).u16(0).data();
}

QByteArray emfOfRecords(int count)
{
    const QByteArray lineTo = Le().u32(gdi::EMR_LINETO).u32(16).i32(50).i32(50).data();
    EmfWriter writer;
    QByteArray emf = writer.finish(false);
    emf.reserve(emf.size() + lineTo.size() * count);
    for (int i = 0; i < count; ++i)
        emf += lineTo;
    return emf;
}

QByteArray emfHeaderClaimingGigabytes()
{
    QByteArray emf = EmfWriter().finish();
    const QByteArray huge = Le().u32(0xFFFFFFFF).u32(0xFFFFFFFF).data();
    emf.replace(48, huge.size(), huge); // bytes and records of the whole file
    const QByteArray frame = Le().i32(0).i32(0).i32(0x7FFFFFFF).i32(0x7FFFFFFF).data();
    emf.replace(8, frame.size(), frame);  // bounds
    emf.replace(24, frame.size(), frame); // frame
    return emf;
}

} // namespace

class TestHostile : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void boundedShowOrRefusal_data();
    void boundedShowOrRefusal();

private:
    MeasuredRun show(const QString &name, const QByteArray &content);

    QString m_snapshot;
    QTemporaryDir m_dir;
    double m_baselineSeconds = 0;
};

MeasuredRun TestHostile::show(const QString &name, const QByteArray &content)
{
    const QString path = m_dir.filePath(name + QStringLiteral(".d/") + name);
    if (!writeFile(path, content))
        qFatal("cannot write the test file");
    const QStringList options = {"--max-size", "104857600", "--timeout", "60000"};
    return runMeasured(m_snapshot, QStringList{path, path + QStringLiteral(".png")} + options,
                       60'000);
}

void TestHostile::initTestCase()
{
    m_snapshot = qEnvironmentVariable("GLINTBOX_SNAPSHOT");
    if (!QFile::exists(m_snapshot))
        QSKIP("glintbox-snapshot is not built");
    // Starting the window and painting it is not the reader's cost.
    const MeasuredRun baseline = show(QStringLiteral("small.txt"), "a few words\n");
    QVERIFY(baseline.finished && baseline.exitCode == 0);
    m_baselineSeconds = baseline.cpuSeconds;
}

void TestHostile::boundedShowOrRefusal_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    // Empty: shown without an error; otherwise the message that must be raised.
    QTest::addColumn<QString>("refusal");

    const QString invalidPicture = QStringLiteral("Glintbox - Error 481 | Invalid picture");
    QTest::newRow("RTF groups nested 100,000 deep")
        << "deep.rtf"
        << "{\\rtf1 " + QByteArray(100'000, '{') + "deep" + QByteArray(100'000, '}') + "}"
        << QString();
    QTest::newRow("RTF \\bin longer than the file")
        << "bin.rtf" << QByteArray("{\\rtf1 a {\\pict\\wmetafile8 \\bin4000000000 abc} b}")
        << QString();
    QTest::newRow("RTF \\bin length beyond any number")
        << "bin-digits.rtf" << QByteArray("{\\rtf1 a \\bin99999999999999999999999 xyz}")
        << QString();
    QTest::newRow("WMF header claiming gigabytes")
        << "giga.wmf"
        << wmfHeaderClaiming(0xFFFFFFFF, 0xFFFFFFFF) +
               Le().u32(7).u16(gdi::META_RECTANGLE).i16(90).i16(90).i16(10).i16(10).data() +
               Le().u32(3).u16(0).data()
        << QString();
    QTest::newRow("WMF first record claiming 4 G words")
        << "record.wmf"
        << wmfHeaderClaiming(20, 0xFFFFFFFF) +
               Le().u32(0xFFFFFFFF).u16(gdi::META_RECTANGLE).bytes(QByteArray(8, '\0')).data()
        << invalidPicture;
    QTest::newRow("EMF header claiming gigabytes")
        << "giga.emf" << emfHeaderClaimingGigabytes() << QString();
    QTest::newRow("EMF of a million records")
        << "million.emf" << emfOfRecords(1'000'000) << QString();
    QTest::newRow("BMP claiming 60,000 x 60,000")
        << "huge.bmp" << bmpClaiming(60'000, 60'000) << invalidPicture;
    QTest::newRow("GIF claiming 65,535 x 65,535")
        << "huge.gif" << gifClaiming(65'535, 65'535) << invalidPicture;
    QTest::newRow("text of one 50 MB line")
        << "line.txt" << QByteArray(50 * 1024 * 1024, 'w') << QString();
}

void TestHostile::boundedShowOrRefusal()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, refusal);

    const MeasuredRun run = show(name, content);
    QVERIFY2(run.finished, "the window did not finish showing the file");
    qInfo("%s: %.2f s of processor time above the bare window, peak %lld MiB", qPrintable(name),
          run.cpuSeconds - m_baselineSeconds, run.peakKiB / 1024);
    if (refusal.isEmpty()) {
        QVERIFY2(run.exitCode == 0, qPrintable(run.output));
        QVERIFY2(!run.output.contains(QStringLiteral("prompt:")), qPrintable(run.output));
    } else {
        QVERIFY2(run.exitCode == 2, qPrintable(run.output));
        QVERIFY2(run.output.contains(QStringLiteral("prompt: ") + refusal), qPrintable(run.output));
    }
    QCOMPARE_LE(run.cpuSeconds - m_baselineSeconds, MaxSecondsAboveBaseline);
    QCOMPARE_LE(run.peakKiB, MaxPeakKiB);
}

QTEST_GUILESS_MAIN(TestHostile)
#include "tst_hostile.moc"
