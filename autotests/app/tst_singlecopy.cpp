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
    void unusableFolderFallsBackToTheNext();
    void noUsableFolderIsNoOtherCopy();
    void startWithoutALockSaysWhy();

private:
    // A plain file where a folder should be: no lock can be made below it, even by root.
    static QString fileInsteadOfFolder(const QTemporaryDir& dir, const char* name) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile f(path);
        return f.open(QIODevice::WriteOnly) ? path : QString();
    }
};

void TestSingleCopy::secondGuardIsRefused() {
    QTemporaryDir dir;
    auto first = std::make_unique<SingleCopyGuard>(dir.path());
    QCOMPARE(first->acquire(), SingleCopyGuard::Outcome::Acquired);
    SingleCopyGuard second(dir.path());
    QCOMPARE(second.lockPath(), first->lockPath());
    QCOMPARE(second.acquire(), SingleCopyGuard::Outcome::AnotherCopyRuns);
    first.reset(); // the running copy ends
    QCOMPARE(second.acquire(), SingleCopyGuard::Outcome::Acquired);
}

void TestSingleCopy::staleLockOfAnEndedCopyIsTakenOver() {
    QTemporaryDir dir;
    SingleCopyGuard guard(dir.path());
    // What a copy that crashed leaves behind: a lock naming a process that is gone.
    QFile stale(guard.lockPath());
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.write("2147483000\nkia_nelta2\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    stale.close();
    QCOMPARE(guard.acquire(), SingleCopyGuard::Outcome::Acquired);
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
    QCOMPARE(running.acquire(), SingleCopyGuard::Outcome::Acquired);

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

void TestSingleCopy::unusableFolderFallsBackToTheNext() {
    QTemporaryDir dir;
    const QString blocked = fileInsteadOfFolder(dir, "runtime");
    const QString next = dir.filePath(QStringLiteral("next"));
    SingleCopyGuard first(QStringList{blocked, next});
    QCOMPARE(first.acquire(), SingleCopyGuard::Outcome::Acquired);
    QVERIFY(first.lockPath().startsWith(next + u'/'));
    // A second copy in the same straits finds the first one in the fall-back folder.
    SingleCopyGuard second(QStringList{blocked, next});
    QCOMPARE(second.acquire(), SingleCopyGuard::Outcome::AnotherCopyRuns);
}

void TestSingleCopy::noUsableFolderIsNoOtherCopy() {
    QTemporaryDir dir;
    const QString a = fileInsteadOfFolder(dir, "a");
    const QString b = fileInsteadOfFolder(dir, "b");
    SingleCopyGuard guard(QStringList{a, b});
    QCOMPARE(guard.acquire(), SingleCopyGuard::Outcome::Unavailable);
    QVERIFY2(guard.problem().contains(a + QStringLiteral("/kia_nelta2.lock")) &&
                 guard.problem().contains(b + QStringLiteral("/kia_nelta2.lock")),
             qPrintable(guard.problem()));
}

void TestSingleCopy::startWithoutALockSaysWhy() {
    // Runtime, temp and cache folders all unusable: the workstation starts anyway.
    QTemporaryDir dir;
    const QString blocked = fileInsteadOfFolder(dir, "blocked");
    QTemporaryDir work;
    QProcess copy;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), blocked);
    env.insert(QStringLiteral("TMPDIR"), blocked);
    env.insert(QStringLiteral("XDG_CACHE_HOME"), blocked);
    env.insert(QStringLiteral("HOME"), blocked);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    copy.setProcessEnvironment(env);
    copy.setWorkingDirectory(work.path());
    copy.start(QStringLiteral(KIA_NELTA2_PATH), QStringList{});
    QVERIFY(copy.waitForStarted());
    QByteArray err;
    QElapsedTimer t;
    t.start();
    const QByteArray said = QStringLiteral("не удалось создать файл блокировки").toUtf8();
    while (!err.contains(said) && copy.state() == QProcess::Running && t.elapsed() < 20000) {
        copy.waitForReadyRead(200);
        err += copy.readAllStandardError();
    }
    // Still running, in its board choice, having said why there is no lock.
    const bool running = copy.state() == QProcess::Running;
    copy.kill();
    copy.waitForFinished();
    QVERIFY2(running, err.constData());
    QVERIFY2(err.contains(said), err.constData());
}

QTEST_GUILESS_MAIN(TestSingleCopy)
#include "tst_singlecopy.moc"
