#include "app/shellsettings.h"

#include "core/scriptedprompts.h"

#include <QFile>
#include <csignal>
#include <sys/resource.h>
#include <QTemporaryDir>
#include <QTest>

using namespace kia;

namespace {

/// A file of `length` bytes holding 0, 1, 2 ... (mod 256) with the COM port,
/// instrument and picture mode bytes set to 6, 0 and 1 where the file reaches them.
QByteArray sampleBytes(int length) {
    QByteArray b(length, '\0');
    for (int i = 0; i < length; ++i)
        b[i] = char(i);
    if (length > 68)
        b[68] = 6;
    if (length > 69)
        b[69] = 0;
    if (length > 70)
        b[70] = 1;
    return b;
}

quint32 sampleColour(int offset) {
    return quint32(offset) | quint32(offset + 1) << 8 | quint32(offset + 2) << 16 |
           quint32(offset + 3) << 24;
}

} // namespace

class TestShellSettings : public QObject {
    Q_OBJECT
private slots:
    void load_data();
    void load();
    void missingFileIsCreatedAndWritten();
    void saveKeepsTheTailOfALongerFile();
    void shortFileIsExtended();
    void unopenableFileKeepsDefaultsAndSavesNothing();
    void anyBytesAreSafe();
    void failedWriteKeepsThePreviousFile();
    void deviceThatCannotTakeTheBytesIsReported();
    void readOnlyFileIsApplied();

private:
    QString path() const { return m_dir.filePath(QStringLiteral("kia_nelta2.cfg")); }
    void write(const QByteArray& bytes) {
        QFile f(path());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    QByteArray read() const {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
};

void TestShellSettings::load_data() {
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("background");
    QTest::addColumn<bool>("custom");
    QTest::addColumn<int>("port");
    QTest::addColumn<int>("instrument");
    QTest::addColumn<int>("mode");

    QTest::newRow("0 bytes") << 0 << false << false << 1 << 1 << 0;
    QTest::newRow("3 bytes") << 3 << false << false << 1 << 1 << 0;
    QTest::newRow("4 bytes") << 4 << true << false << 1 << 1 << 0;
    QTest::newRow("67 bytes") << 67 << true << false << 1 << 1 << 0;
    QTest::newRow("68 bytes: older layout") << 68 << true << true << 1 << 1 << 0;
    QTest::newRow("69 bytes: port, probe, diagram") << 69 << true << true << 6 << 1 << 0;
    QTest::newRow("70 bytes") << 70 << true << true << 6 << 0 << 0;
    QTest::newRow("71 bytes") << 71 << true << true << 6 << 0 << 1;
    QTest::newRow("80 bytes") << 80 << true << true << 6 << 0 << 1;
}

void TestShellSettings::load() {
    QFETCH(int, length);
    QFETCH(bool, background);
    QFETCH(bool, custom);
    QFETCH(int, port);
    QFETCH(int, instrument);
    QFETCH(int, mode);

    write(sampleBytes(length));
    ShellSettings s;
    s.comPort = 99; // load starts from the defaults
    SettingsFile file;
    QVERIFY(file.load(path(), s));
    QCOMPARE(s.backgroundColour, background ? sampleColour(0) : makeColourRef(128, 128, 128));
    for (int i = 0; i < 16; ++i)
        QCOMPARE(s.customColours[i], custom ? sampleColour(4 + 4 * i) : 0x00FFFFFFu);
    QCOMPARE(int(s.comPort), port);
    QCOMPARE(int(s.instrument), instrument);
    QCOMPARE(int(s.pictureMode), mode);
}

void TestShellSettings::missingFileIsCreatedAndWritten() {
    QFile::remove(path());
    ShellSettings s;
    SettingsFile file;
    QVERIFY(file.load(path(), s));
    QVERIFY(QFile::exists(path()));
    s.comPort = 2;
    s.instrument = 0;
    s.pictureMode = 1;
    s.backgroundColour = makeColourRef(1, 2, 3);
    s.customColours[15] = makeColourRef(9, 8, 7);
    QCOMPARE(file.save(s), SettingsFile::SaveResult::Saved);
    QVERIFY(!file.isOpen());

    const QByteArray bytes = read();
    QCOMPARE(bytes.size(), 71);
    QCOMPARE(bytes.left(4), QByteArray("\x01\x02\x03\x00", 4));
    QCOMPARE(bytes.mid(64, 4), QByteArray("\x09\x08\x07\x00", 4));
    QCOMPARE(bytes.mid(4, 4), QByteArray("\xFF\xFF\xFF\x00", 4));
    QCOMPARE(bytes.right(3), QByteArray("\x02\x00\x01", 3));
}

void TestShellSettings::saveKeepsTheTailOfALongerFile() {
    const QByteArray original = sampleBytes(80);
    write(original);
    ShellSettings s;
    SettingsFile file;
    QVERIFY(file.load(path(), s));
    s.comPort = 8;
    QCOMPARE(file.save(s), SettingsFile::SaveResult::Saved);
    const QByteArray bytes = read();
    QCOMPARE(bytes.size(), 80);
    QCOMPARE(bytes[68], char(8));
    QCOMPARE(bytes.left(68), original.left(68));
    QCOMPARE(bytes.mid(71), original.mid(71));
}

void TestShellSettings::shortFileIsExtended() {
    write(sampleBytes(68));
    ShellSettings s;
    SettingsFile file;
    QVERIFY(file.load(path(), s));
    QCOMPARE(file.save(s), SettingsFile::SaveResult::Saved);
    const QByteArray bytes = read();
    QCOMPARE(bytes.size(), 71);
    QCOMPARE(bytes.left(68), sampleBytes(68));
    QCOMPARE(bytes.right(3), QByteArray("\x01\x01\x00", 3));
}

void TestShellSettings::unopenableFileKeepsDefaultsAndSavesNothing() {
    // A folder stands where the file should be: it cannot be opened, even by root.
    const QString blocked = m_dir.filePath(QStringLiteral("blocked.cfg"));
    QVERIFY(QDir().mkpath(blocked));
    ShellSettings s;
    s.comPort = 5;
    SettingsFile file;
    QVERIFY(!file.load(blocked, s));
    QCOMPARE(int(s.comPort), 1);
    QCOMPARE(file.save(s), SettingsFile::SaveResult::NotOpened);
    QVERIFY(QFileInfo(blocked).isDir());
}

void TestShellSettings::anyBytesAreSafe() {
    QByteArray bytes(71, '\xFF');
    write(bytes);
    ShellSettings s;
    SettingsFile file;
    QVERIFY(file.load(path(), s));
    QCOMPARE(int(s.comPort), 255);
    QVERIFY(!s.logicProbe());
    QVERIFY(!s.layoutShown());
    QCOMPARE(SettingsFile::encode(s), bytes);
}

void TestShellSettings::failedWriteKeepsThePreviousFile() {
    // A full disk: no file of this process may grow past 40 bytes.
    const QByteArray original = sampleBytes(80);
    write(original);
    ShellSettings s;
    SettingsFile file;
    QVERIFY(file.load(path(), s));
    s.comPort = 3;

    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 40;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    ScriptedPrompts prompts;
    SaveShellSettings(file, s, prompts);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    QCOMPARE(read(), original);
    QCOMPARE(prompts.boxes().size(), 1);
    QCOMPARE(prompts.boxes().first().text,
             QStringLiteral("Ошибка записи файла настроек \"kia_nelta2.cfg\" !  "
                            "Настройки не сохранены."));
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("kia_nelta2.cfg")});
}

void TestShellSettings::deviceThatCannotTakeTheBytesIsReported() {
    if (!QFileInfo::exists(QStringLiteral("/dev/full")))
        QSKIP("no /dev/full");
    const QString link = m_dir.filePath(QStringLiteral("full.cfg"));
    QVERIFY(QFile::link(QStringLiteral("/dev/full"), link));
    ShellSettings s;
    SettingsFile file;
    QVERIFY(file.load(link, s));
    QCOMPARE(int(s.comPort), 1);
    ScriptedPrompts prompts;
    SaveShellSettings(file, s, prompts);
    QCOMPARE(prompts.boxes().size(), 1);
    QVERIFY(prompts.boxes().first().text.contains(QStringLiteral("\"full.cfg\"")));
    // The device is still there and still a device.
    QVERIFY(QFileInfo(link).isSymLink());
    QVERIFY(!QFileInfo(QStringLiteral("/dev/full")).isFile());
}

void TestShellSettings::readOnlyFileIsApplied() {
    write(sampleBytes(71));
    QVERIFY(QFile::setPermissions(path(), QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    {
        QFile probe(path());
        if (probe.open(QIODevice::ReadWrite)) {
            QFile::setPermissions(path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            QSKIP("permissions do not bind this user (root)");
        }
    }
    ShellSettings s;
    SettingsFile file;
    QVERIFY(file.load(path(), s));
    QVERIFY(!file.isWritable());
    QCOMPARE(int(s.comPort), 6);
    QCOMPARE(int(s.pictureMode), 1);

    ScriptedPrompts prompts;
    SaveShellSettings(file, s, prompts); // nothing changed: nothing to say
    QVERIFY(prompts.boxes().isEmpty());
    QVERIFY(file.load(path(), s));
    s.comPort = 2;
    SaveShellSettings(file, s, prompts);
    QCOMPARE(prompts.boxes().size(), 1);
    QCOMPARE(read(), sampleBytes(71));
    QFile::setPermissions(path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

QTEST_GUILESS_MAIN(TestShellSettings)
#include "tst_shellsettings.moc"
