#include "app/singlecopyguard.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace kia;

class TestSingleCopy : public QObject {
    Q_OBJECT
private slots:
    void secondGuardIsRefused();
    void staleLockOfAnEndedCopyIsTakenOver();
    void secondStartEndsSilently_data();
    void secondStartEndsSilently();
};

void TestSingleCopy::secondGuardIsRefused() {
    QTemporaryDir dir;
    auto first = std::make_unique<SingleCopyGuard>(dir.path());
    QVERIFY(first->acquire());
    SingleCopyGuard second(dir.path());
    QCOMPARE(second.lockPath(), first->lockPath());
    QVERIFY(!second.acquire());
    first.reset(); // the running copy ends
    QVERIFY(second.acquire());
}

void TestSingleCopy::staleLockOfAnEndedCopyIsTakenOver() {
    QTemporaryDir dir;
    SingleCopyGuard guard(dir.path());
    // What a copy that crashed leaves behind: a lock naming a process that is gone.
    QFile stale(guard.lockPath());
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.write("2147483000\nkia_nelta2\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    stale.close();
    QVERIFY(guard.acquire());
}

void TestSingleCopy::secondStartEndsSilently_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("board choice") << QStringList{};
    QTest::newRow("any other board") << QStringList{QStringLiteral("--board"), QStringLiteral("3")};
}

void TestSingleCopy::secondStartEndsSilently() {
    QFETCH(QStringList, arguments);

    // The running copy holds the lock in the user's runtime folder.
    QTemporaryDir runtime;
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    SingleCopyGuard running(runtime.path());
    QVERIFY(running.acquire());

    QTemporaryDir work;
    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    second.setProcessEnvironment(env);
    second.setWorkingDirectory(work.path());
    QElapsedTimer t;
    t.start();
    second.start(QStringLiteral(KIA_NELTA2_PATH), arguments);
    // A copy that was not refused would sit in its board choice or main window.
    if (!second.waitForFinished(20000)) {
        second.kill();
        second.waitForFinished();
        QFAIL("the second copy did not end");
    }
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(second.readAllStandardError().trimmed(), QByteArray());
    // Nothing was made in the folder it started in: no settings file.
    QVERIFY(QDir(work.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

QTEST_GUILESS_MAIN(TestSingleCopy)
#include "tst_singlecopy.moc"
