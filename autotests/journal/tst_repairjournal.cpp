// The repair journal: what goes in comes back, nothing is rewritten, and a
// journal that cannot be written never stops the bench or loses what it holds.
#include "journal/journalreader.h"
#include "journal/repairjournal.h"

#include "core/benchcontext.h"
#include "core/scriptedprompts.h"
#include "sim/virtualclock.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

using namespace kia;

namespace {

// Makes a file immutable for the time of a test (chattr), so that it cannot
// be written even by root; undone when the guard goes.
struct ImmutableFile {
    QString path;
    bool set(const QString& p) {
        if (QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), p}) != 0)
            return false;
        path = p;
        return true;
    }
    void clear() {
        if (!path.isEmpty())
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), path});
        path.clear();
    }
    ~ImmutableFile() { clear(); }
};

JournalEvent makeEvent(JournalEvent::Kind kind, const QString& name, int result, const QString& board = {},
                   const QDateTime& at = {}) {
    JournalEvent e;
    e.kind = kind;
    e.name = name;
    e.result = result;
    e.verdict = result == 0 ? QStringLiteral("Тест пройден") : QStringLiteral("Ошибка");
    e.boardId = board;
    e.at = at;
    return e;
}

QByteArray fileHash(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

struct Rig {
    sim::VirtualClock clock;
    ScriptedPrompts prompts;
    BenchContext context{clock, prompts};
};

// The child of killedWriterLosesNothing: writes events until it is killed,
// printing each id once its transaction has committed.
int runWriter(const QString& path) {
    Rig rig;
    RepairJournal journal(&rig.context);
    if (!journal.open(path))
        return 3;
    QTextStream out(stdout);
    for (int i = 0;; ++i) {
        qint64 id = 0;
        JournalEvent e = makeEvent(JournalEvent::Kind::Test, QStringLiteral("Тест ОЗУ"), i % 3,
                               QStringLiteral("N%1").arg(i % 4));
        e.details.insert(QStringLiteral("i"), i);
        if (!journal.append(e, &id))
            return 4;
        out << id << Qt::endl;
    }
}

} // namespace

class TestRepairJournal : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(m_dir.isValid()); }
    void cleanup() { m_immutable.clear(); }

    void eventsComeBackAsTheyWent() {
        Rig rig;
        rig.context.boardType = 4;
        rig.context.boardId = QStringLiteral("0412345678AB");
        const QString path = RepairJournal::defaultPath(m_dir.path() + QLatin1Char('/'));
        RepairJournal journal(&rig.context);
        QString error;
        QVERIFY2(journal.open(path, &error), qPrintable(error));

        JournalEvent e = makeEvent(JournalEvent::Kind::Service, QStringLiteral("Сохранение ФП"), 1);
        e.verdict = QStringLiteral("Данные ФП сохранены, \"кавычки\", запятые.");
        e.outcome = JournalEvent::Outcome::Passed;
        e.details.insert(QStringLiteral("file"), QStringLiteral("/tmp/фп.bin"));
        e.details.insert(QStringLiteral("backup"), QStringLiteral("backups/fp-20261208.bin"));
        qint64 id = 0;
        QVERIFY(journal.append(e, &id));
        QCOMPARE(id, 1);

        JournalReader reader;
        QVERIFY2(reader.open(path, &error), qPrintable(error));
        QList<JournalRow> rows;
        QVERIFY(reader.events(JournalFilter(), &rows));
        QCOMPARE(rows.size(), 1);
        const JournalRow& r = rows.first();
        QCOMPARE(r.kind, JournalEvent::Kind::Service);
        QCOMPARE(r.name, e.name);
        QCOMPARE(r.verdict, e.verdict);
        QCOMPARE(r.result, 1);
        QCOMPARE(r.outcome, JournalEvent::Outcome::Passed);
        // Board type and board identity come from the bench when the event leaves them out.
        QCOMPARE(r.boardType, 4);
        QCOMPARE(r.boardId, rig.context.boardId);
        QCOMPARE(r.details, e.details);
        QVERIFY(qAbs(r.at.secsTo(QDateTime::currentDateTime())) < 600);
        QVERIFY(rig.prompts.boxes().isEmpty());
    }

    void filterSelectsRows_data() {
        QTest::addColumn<QString>("board");
        QTest::addColumn<bool>("anyBoard");
        QTest::addColumn<int>("boardType");
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QStringList>("names");

        const QStringList all{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                              QStringLiteral("d"), QStringLiteral("e")};
        QTest::newRow("everything, oldest first") << QString() << true << -1 << QDate() << QDate() << all;
        QTest::newRow("one board") << QStringLiteral("N7") << false << -1 << QDate() << QDate()
                                   << QStringList{QStringLiteral("a"), QStringLiteral("c")};
        QTest::newRow("the unknown board") << QString() << false << -1 << QDate() << QDate()
                                           << QStringList{QStringLiteral("e")};
        QTest::newRow("board type") << QString() << true << 2 << QDate() << QDate()
                                    << QStringList{QStringLiteral("b"), QStringLiteral("d")};
        QTest::newRow("one day, both ends inclusive")
            << QString() << true << -1 << QDate(2026, 12, 2) << QDate(2026, 12, 2)
            << QStringList{QStringLiteral("b"), QStringLiteral("c")};
        QTest::newRow("from a day on") << QString() << true << -1 << QDate(2026, 12, 3) << QDate()
                                       << QStringList{QStringLiteral("d"), QStringLiteral("e")};
        QTest::newRow("board and days") << QStringLiteral("N7") << false << -1 << QDate(2026, 12, 2)
                                        << QDate(2026, 12, 31) << QStringList{QStringLiteral("c")};
        QTest::newRow("no day matches") << QString() << true << -1 << QDate(2027, 1, 1) << QDate()
                                        << QStringList();
    }
    void filterSelectsRows() {
        QFETCH(QString, board);
        QFETCH(bool, anyBoard);
        QFETCH(int, boardType);
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(QStringList, names);

        Rig rig;
        const QString path = m_dir.filePath(QStringLiteral("filter-%1.sqlite").arg(++m_files));
        RepairJournal journal(&rig.context);
        QVERIFY(journal.open(path));
        struct Seed {
            const char* name;
            int type;
            const char* board;
            QDateTime at;
        };
        // Written out of time order: the reader orders by time.
        const Seed seeds[] = {
            {"c", 1, "N7", QDateTime(QDate(2026, 12, 2), QTime(23, 59, 59))},
            {"a", 1, "N7", QDateTime(QDate(2026, 12, 1), QTime(9, 0))},
            {"b", 2, "N8", QDateTime(QDate(2026, 12, 2), QTime(0, 0))},
            {"d", 2, "N8", QDateTime(QDate(2026, 12, 3), QTime(0, 0))},
            {"e", 0, "", QDateTime(QDate(2026, 12, 4), QTime(12, 0))},
        };
        for (const Seed& s : seeds) {
            JournalEvent e = makeEvent(JournalEvent::Kind::Test, QString::fromLatin1(s.name), 0,
                                   QString::fromLatin1(s.board), s.at);
            e.boardType = s.type;
            QString error;
            QVERIFY2(journal.append(e, nullptr, &error), qPrintable(error));
        }
        JournalReader reader;
        QVERIFY(reader.open(path));
        JournalFilter f;
        f.boardId = board;
        f.anyBoard = anyBoard;
        f.boardType = boardType;
        f.from = from;
        f.to = to;
        QList<JournalRow> rows;
        QVERIFY(reader.events(f, &rows));
        QStringList got;
        for (const JournalRow& r : rows)
            got << r.name;
        QCOMPARE(got, names);
        QCOMPARE(reader.boards(), (QStringList{QString(), QStringLiteral("N7"), QStringLiteral("N8")}));
    }

    void rowsAreNeverRewrittenOrRemoved() {
        const QString path = m_dir.filePath(QStringLiteral("keep.sqlite"));
        {
            RepairJournal journal;
            QVERIFY(journal.open(path));
            QVERIFY(journal.append(makeEvent(JournalEvent::Kind::Test, QStringLiteral("Тест ПЗУ"), 1)));
        }
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(!q.exec(QStringLiteral("UPDATE events SET result = 0")));
            QVERIFY(!q.exec(QStringLiteral("DELETE FROM events")));
            QVERIFY(q.exec(QStringLiteral("SELECT result FROM events")) && q.next());
            QCOMPARE(q.value(0).toInt(), 1);
        }
        QSqlDatabase::removeDatabase(QStringLiteral("raw"));
    }

    // Files the journal must refuse without touching them; the bench goes on,
    // the engineer is told once and the events wait in memory.
    void unusableFilesAreLeftAlone_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("not a database") << QStringLiteral("junk");
        QTest::newRow("damaged database") << QStringLiteral("damaged");
        QTest::newRow("newer format") << QStringLiteral("newer");
        QTest::newRow("a folder") << QStringLiteral("folder");
        QTest::newRow("folder missing") << QStringLiteral("nofolder");
        QTest::newRow("read-only file") << QStringLiteral("readonly");
    }
    void unusableFilesAreLeftAlone() {
        QFETCH(QString, kind);
        QString path = m_dir.filePath(kind + QStringLiteral(".sqlite"));
        if (kind == QStringLiteral("junk")) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(8192, '\x5A'));
        } else if (kind == QStringLiteral("folder")) {
            QVERIFY(QDir(m_dir.path()).mkdir(kind + QStringLiteral(".sqlite")));
        } else if (kind == QStringLiteral("nofolder")) {
            path = m_dir.filePath(QStringLiteral("no/such/folder/j.sqlite"));
        } else {
            {
                RepairJournal journal;
                QVERIFY(journal.open(path));
                for (int i = 0; i < 200; ++i)
                    QVERIFY(journal.append(makeEvent(JournalEvent::Kind::Test,
                                                 QStringLiteral("Тест %1").arg(i), 0)));
            }
            if (kind == QStringLiteral("newer")) {
                QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
                db.setDatabaseName(path);
                QVERIFY(db.open());
                QSqlQuery q(db);
                QVERIFY(q.exec(QStringLiteral("UPDATE journal_info SET value = '9' WHERE key = 'schema'")));
                q = QSqlQuery();
                db.close();
                db = QSqlDatabase();
                QSqlDatabase::removeDatabase(QStringLiteral("raw"));
            } else if (kind == QStringLiteral("damaged")) {
                // Overwrite pages in the middle of the file, past the header.
                QFile f(path);
                QVERIFY(f.open(QIODevice::ReadWrite));
                QVERIFY(f.size() > 8192);
                f.seek(4096);
                f.write(QByteArray(4096, '\xA5'));
            } else if (kind == QStringLiteral("readonly")) {
                QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadUser));
                // Root writes read-only files; an immutable file it cannot.
                if (::geteuid() == 0 && !m_immutable.set(path))
                    QSKIP("root writes read-only files and chattr is not available here");
            }
        }
        const QByteArray before = fileHash(path);

        Rig rig;
        RepairJournal journal(&rig.context);
        QString error;
        QVERIFY(!journal.open(path, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!journal.isAvailable());
        journal.record(makeEvent(JournalEvent::Kind::Test, QStringLiteral("Тест ОЗУ"), 2));
        journal.record(makeEvent(JournalEvent::Kind::Test, QStringLiteral("Тест ПЗУ"), 0));
        QCOMPARE(rig.prompts.boxes().size(), 1);
        QVERIFY(rig.prompts.boxes().first().text.startsWith(QStringLiteral("Журнал ремонта ")));
        QCOMPARE(journal.pendingCount(), 2);
        QCOMPARE(fileHash(path), before);

        if (kind == QStringLiteral("readonly")) {
            // What it holds can still be read.
            JournalReader reader;
            QVERIFY2(reader.open(path, &error), qPrintable(error));
            QList<JournalRow> rows;
            QVERIFY(reader.events(JournalFilter(), &rows));
            QCOMPARE(rows.size(), 200);
        }
    }

    // Another process holds the write lock past the busy time-out: the event
    // waits, and goes in with the next write once the lock is gone.
    void lockedJournalCatchesUp() {
        Rig rig;
        const QString path = m_dir.filePath(QStringLiteral("locked.sqlite"));
        RepairJournal journal(&rig.context);
        QVERIFY(journal.open(path));
        QVERIFY(journal.append(makeEvent(JournalEvent::Kind::Test, QStringLiteral("первый"), 0)));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("lock"));
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec(QStringLiteral("BEGIN EXCLUSIVE")));
            journal.record(makeEvent(JournalEvent::Kind::Test, QStringLiteral("второй"), 1));
            QCOMPARE(journal.pendingCount(), 1);
            QCOMPARE(rig.prompts.boxes().size(), 1);
            QVERIFY(q.exec(QStringLiteral("ROLLBACK")));
            q = QSqlQuery();
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("lock"));
        journal.record(makeEvent(JournalEvent::Kind::Test, QStringLiteral("третий"), 0));
        QCOMPARE(journal.pendingCount(), 0);
        QCOMPARE(rig.prompts.boxes().size(), 1); // told once only

        JournalReader reader;
        QVERIFY(reader.open(path));
        QList<JournalRow> rows;
        QVERIFY(reader.events(JournalFilter(), &rows));
        QStringList names;
        for (const JournalRow& r : rows)
            names << r.name;
        QCOMPARE(names, (QStringList{QStringLiteral("первый"), QStringLiteral("второй"),
                                     QStringLiteral("третий")}));
    }

    // The journal window stays open while tests write: a reader sees every
    // committed row, and its open connection never blocks the writer.
    void readerAlongsideWriter() {
        Rig rig;
        const QString path = m_dir.filePath(QStringLiteral("shared.sqlite"));
        RepairJournal journal(&rig.context);
        QVERIFY(journal.open(path));
        JournalReader reader;
        QVERIFY(reader.open(path));
        QList<JournalRow> rows;
        for (int i = 1; i <= 20; ++i) {
            QVERIFY(journal.append(makeEvent(JournalEvent::Kind::Test, QString::number(i), 0)));
            QVERIFY(reader.events(JournalFilter(), &rows));
            QCOMPARE(rows.size(), i);
        }
        QVERIFY(rig.prompts.boxes().isEmpty());
    }

    // A writer killed with SIGKILL in the middle of its work: the database
    // opens, is sound, and holds every event whose commit was reported.
    void killedWriterLosesNothing() {
        const QString path = m_dir.filePath(QStringLiteral("killed.sqlite"));
        QProcess child;
        child.setProcessChannelMode(QProcess::SeparateChannels);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--journal-writer"), path});
        QVERIFY(child.waitForStarted());
        QList<qint64> committed;
        QByteArray pending;
        while (committed.size() < 150) {
            QVERIFY2(child.waitForReadyRead(30000), "the writer stopped writing");
            pending += child.readAllStandardOutput();
            int nl;
            while ((nl = pending.indexOf('\n')) >= 0) {
                committed << pending.left(nl).toLongLong();
                pending.remove(0, nl + 1);
            }
        }
        child.kill();
        QVERIFY(child.waitForFinished(10000));

        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("after"));
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next());
            QCOMPARE(q.value(0).toString(), QStringLiteral("ok"));
            q = QSqlQuery();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("after"));
        JournalReader reader;
        QVERIFY(reader.open(path));
        QList<JournalRow> rows;
        QVERIFY(reader.events(JournalFilter(), &rows));
        QSet<qint64> ids;
        for (const JournalRow& r : rows)
            ids.insert(r.id);
        for (qint64 id : std::as_const(committed))
            QVERIFY2(ids.contains(id), qPrintable(QStringLiteral("event %1 lost").arg(id)));
        // And the journal takes new events after the crash.
        RepairJournal again;
        QVERIFY(again.open(path));
        QVERIFY(again.append(makeEvent(JournalEvent::Kind::Test, QStringLiteral("после"), 0)));
    }

    void csvQuotesWhatNeedsIt() {
        JournalRow r;
        r.id = 7;
        r.at = QDateTime(QDate(2026, 12, 8), QTime(10, 5, 1));
        r.boardType = 4;
        r.boardId = QStringLiteral("=SUM(A1)");
        r.kind = JournalEvent::Kind::Diagnostics;
        r.name = QStringLiteral("RAM_ERROR");
        r.result = 3;
        r.verdict = QStringLiteral("Неисправна DD6, \"CS\"\nзамените");
        r.outcome = JournalEvent::Outcome::Failed;
        const QByteArray csv = journalCsv({r});
        QVERIFY(csv.startsWith("\xEF\xBB\xBF" "id,"));
        const QList<QByteArray> lines = csv.mid(3).split('\n');
        QCOMPARE(lines.first(), QByteArray("id,время,тип платы,плата,вид,что,результат,исход,итог,подробности\r"));
        QVERIFY(csv.contains("7,2026-12-08 10:05:01,4,\"'=SUM(A1)\",Диагностика,RAM_ERROR,3,неисправность,"
                             "\"Неисправна DD6, \"\"CS\"\"\nзамените\",{}\r\n"));
    }

private:
    QTemporaryDir m_dir;
    int m_files = 0;
    ImmutableFile m_immutable;
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QStringLiteral("--journal-writer"))
        return runWriter(args[2]);
    TestRepairJournal test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_repairjournal.moc"
