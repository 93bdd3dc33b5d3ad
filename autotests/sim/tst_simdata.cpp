// The files of data/ that must agree with the simulated board: they are what
// the generator makes, the version list reads as the workstation reads it,
// and the ROM test passes with the file of the version the board carries.

#include "boardwalk.h"

#include "core/cp1251.h"
#include "sim/controllerprogram.h"
#include "sim/dd5controller.h"
#include "sim/sampledata.h"
#include "sim/testprogram.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace simtest;

namespace {

QString dataPath(const QString& name) {
    return QDir(qEnvironmentVariable("KIA_SOURCE_DIR")).filePath(QStringLiteral("data/") + name);
}

QByteArray readData(const QString& name) {
    QFile f(dataPath(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class SimDataTest : public QObject {
    Q_OBJECT

private slots:
    void committedFilesAreTheGenerated_data();
    void committedFilesAreTheGenerated();
    void versionListNamesTheProgramFiles();
    void romTestWithTheShippedFiles_data();
    void romTestWithTheShippedFiles();
    void testProgramFileIsWhatDd5Runs();
};

void SimDataTest::committedFilesAreTheGenerated_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    for (const sim::DataFile& f : sim::sampleDataFiles())
        QTest::newRow(qPrintable(f.name)) << f.name << f.bytes;
}

void SimDataTest::committedFilesAreTheGenerated() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QVERIFY2(QFile::exists(dataPath(name)),
             qPrintable(name + QStringLiteral(" is missing: run kia-simdata")));
    QVERIFY2(readData(name) == bytes,
             qPrintable(name + QStringLiteral(" differs from what kia-simdata makes")));
}

// Read as the version choice reads it: trimmed lines, only those starting
// with "V", the name up to the first blank, the file name after it.
void SimDataTest::versionListNamesTheProgramFiles() {
    const QByteArray raw = readData(QStringLiteral("versions.txt"));
    QVERIFY(!raw.isEmpty());
    const QStringList lines = kia::fromCp1251(raw).split(QLatin1Char('\n'));
    QStringList names;
    int comments = 0;
    for (const QString& l : lines) {
        const QString line = l.trimmed();
        if (line.isEmpty())
            continue;
        if (!line.startsWith(QLatin1Char('V'))) {
            ++comments;
            continue;
        }
        const qsizetype blank = line.indexOf(QLatin1Char(' '));
        QVERIFY2(blank > 1, qPrintable(line));
        QVERIFY(line.size() >= 7);
        const QString name = line.mid(1, blank - 1);
        const QString file = line.mid(blank + 1).trimmed();
        names << name;
        QVERIFY2(!file.contains(QLatin1Char('/')) && !file.contains(QLatin1Char('\\')),
                 qPrintable(file));
        QCOMPARE(readData(file).size(), sim::ControllerProgramSize);
        QCOMPARE(readData(file), sim::controllerProgramImage(name));
    }
    QVERIFY(comments > 0);
    QStringList expected;
    for (const sim::SoftwareVersion& v : sim::SoftwareVersions)
        expected << QLatin1String(v.name);
    QCOMPARE(names, expected);
    QVERIFY(expected.contains(QLatin1String(sim::DefaultSoftwareVersion)));
}

void SimDataTest::romTestWithTheShippedFiles_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("passes");
    const QString cpu =
        QString::fromLatin1(sim::Dd5Controller::defaultIdentity()) + QStringLiteral(".cpu");
    for (int type = 0; type <= 4; ++type) {
        for (const sim::SoftwareVersion& v : sim::SoftwareVersions) {
            const bool carried =
                type != 4 && QLatin1String(v.name) == QLatin1String(sim::DefaultSoftwareVersion);
            QTest::addRow("type %d, %s", type, v.file)
                << type << QString::fromLatin1(v.file) << carried;
        }
        QTest::addRow("type %d, %s", type, qPrintable(cpu)) << type << cpu << (type == 4);
    }
}

void SimDataTest::romTestWithTheShippedFiles() {
    QFETCH(int, boardType);
    QFETCH(QString, file);
    QFETCH(bool, passes);
    const QByteArray program = readData(file);
    QCOMPARE(program.size(), 8192);
    BoardRig rig(boardType);
    rig.fileSum = sim::byteSum16(program);
    const Outcome o = rig.run(BoardTest::Rom);
    QVERIFY2(o.passed() == passes, qPrintable(o.describe()));
    if (boardType != 4)
        QVERIFY(rig.run(BoardTest::RomNoFile).passed());
}

// The workstation writes testcpu.052 to DD5 padded with 0xFF and with the
// software name at 0x1FF4: that is the test program DD5 starts with.
void SimDataTest::testProgramFileIsWhatDd5Runs() {
    const QByteArray file = readData(QStringLiteral("testcpu.052"));
    QVERIFY(!file.isEmpty());
    QVERIFY(file.size() <= 8192);
    QVERIFY(
        file.startsWith(QByteArray(reinterpret_cast<const char*>(sim::TestProgramSignature.data()),
                                   sim::TestProgramSignature.size())));
    QByteArray image = file + QByteArray(8192 - file.size(), char(0xFF));
    image.replace(0x1FF4, 12, sim::Dd5Controller::defaultIdentity());

    sim::Dd5Controller dd5;
    dd5.load(sim::Dd5Controller::StartState::TestProgram);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(dd5.code().data()), 8192), image);
    QVERIFY(dd5.runsTestProgram());

    // The saved controller software is what DD5 held before.
    sim::Dd5Controller fresh;
    QCOMPARE(readData(QString::fromLatin1(sim::Dd5Controller::defaultIdentity()) +
                      QStringLiteral(".cpu")),
             QByteArray(reinterpret_cast<const char*>(fresh.code().data()), 8192));
}

QTEST_GUILESS_MAIN(SimDataTest)
#include "tst_simdata.moc"
