// kia-bench journal: the rows of the working folder's journal as text or CSV,
// its arguments checked, and a journal that is missing or damaged said on
// stderr with exit 1.
#include "clirun.h"
#include "journal/repairjournal.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kia;

namespace {
using clitest::Run;
using clitest::runCli;
} // namespace

class TestJournalCli : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_oldCwd = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_dir.path()));
        RepairJournal journal;
        QVERIFY(journal.open(RepairJournal::defaultPath(QString())));
        const struct {
            const char* board;
            const char* name;
            JournalEvent::Outcome outcome;
        } seeds[] = {
            {"N1", "Тест ОЗУ", JournalEvent::Outcome::Failed},
            {"N2", "Тест ПЗУ", JournalEvent::Outcome::Passed},
            {"N1", "RAM_ERROR", JournalEvent::Outcome::None},
        };
        int minute = 0;
        for (const auto& s : seeds) {
            JournalEvent e;
            e.name = QString::fromUtf8(s.name);
            e.boardId = QString::fromUtf8(s.board);
            e.boardType = 2;
            e.outcome = s.outcome;
            e.verdict = QStringLiteral("итог %1").arg(minute);
            e.at = QDateTime(QDate(2026, 12, 8), QTime(10, minute++));
            QVERIFY(journal.append(e));
        }
    }
    void cleanupTestCase() { QDir::setCurrent(m_oldCwd); }

    void listsRows_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("all boards") << QStringList{QStringLiteral("journal")} << 0
                                    << QStringList{
                                           QStringLiteral("2026-12-08 10:00:00\tтип 2\tN1\tТест\tТест ОЗУ\tнеисправность\tитог 0"),
                                           QStringLiteral("2026-12-08 10:01:00\tтип 2\tN2\tТест\tТест ПЗУ\tнорма\tитог 1"),
                                           QStringLiteral("2026-12-08 10:02:00\tтип 2\tN1\tТест\tRAM_ERROR\t-\tитог 2"),
                                           QStringLiteral("Событий: 3")};
        QTest::newRow("one board")
            << QStringList{QStringLiteral("journal"), QStringLiteral("--board-id"), QStringLiteral("N2")} << 0
            << QStringList{QStringLiteral("2026-12-08 10:01:00\tтип 2\tN2\tТест\tТест ПЗУ\tнорма\tитог 1"),
                           QStringLiteral("Событий: 1")};
        QTest::newRow("unknown board")
            << QStringList{QStringLiteral("journal"), QStringLiteral("--board-id"), QStringLiteral("N9")} << 0
            << QStringList{QStringLiteral("Событий: 0")};
    }
    void listsRows() {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QStringList, lines);
        const Run r = runCli(args);
        QCOMPARE(r.code, code);
        QCOMPARE(r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts), lines);
    }

    void csv() {
        const Run r = runCli({QStringLiteral("journal"), QStringLiteral("--csv")});
        QCOMPARE(r.code, 0);
        const QStringList lines = r.out.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 4);
        QVERIFY(lines.first().contains(QStringLiteral("id,время,тип платы")));
        QVERIFY(lines.at(2).startsWith(QStringLiteral("2,2026-12-08 10:01:00,2,N2,Тест,Тест ПЗУ,0,норма,итог 1,")));
    }

    void badArgumentsAndFiles_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("err");
        QTest::newRow("unknown argument") << QStringList{QStringLiteral("journal"), QStringLiteral("--all")}
                                          << 64 << QStringLiteral("kia-bench: journal: неизвестный аргумент --all");
        QTest::newRow("value missing") << QStringList{QStringLiteral("journal"), QStringLiteral("--board-id")}
                                       << 64 << QStringLiteral("kia-bench: journal: после --board-id нужно значение");
        QTest::newRow("no such journal")
            << QStringList{QStringLiteral("journal"), QStringLiteral("--file"), QStringLiteral("none.sqlite")} << 1
            << QStringLiteral("Журнал ремонта недоступен: журнал none.sqlite не найден");
        QTest::newRow("not a journal")
            << QStringList{QStringLiteral("journal"), QStringLiteral("--file"), QStringLiteral("junk.sqlite")} << 1
            << QStringLiteral("Журнал ремонта недоступен: ");
    }
    void badArgumentsAndFiles() {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, err);
        QFile junk(QStringLiteral("junk.sqlite"));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write(QByteArray(4096, 'j'));
        junk.close();
        // The journal opens no port: a port that does not exist changes nothing.
        const Run r = runCli(QStringList{QStringLiteral("-p"), QStringLiteral("/dev/nonexistent")} + args);
        QCOMPARE(r.code, code);
        QVERIFY2(r.err.startsWith(err), qPrintable(r.err));
        QVERIFY(r.out.isEmpty());
    }

private:
    QTemporaryDir m_dir;
    QString m_oldCwd;
};

QTEST_GUILESS_MAIN(TestJournalCli)
#include "tst_journalcli.moc"
