// The journal window: the filter picks the rows, a board's history reads as
// a time line, the export writes what is shown, and a journal that is not
// there is said in the window rather than in a box.
#include "journal/repairjournal.h"
#include "journal/widgets/boardtimeline.h"
#include "journal/widgets/journalwindow.h"

#include "core/scriptedprompts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QJsonArray>
#include <QLabel>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace kia;

namespace {
JournalEvent at(const QString& board, const QDateTime& when, JournalEvent::Outcome outcome,
                const QString& name) {
    JournalEvent e;
    e.kind = JournalEvent::Kind::Test;
    e.name = name;
    e.boardId = board;
    e.boardType = 1;
    e.at = when;
    e.outcome = outcome;
    e.verdict = outcome == JournalEvent::Outcome::Passed ? QStringLiteral("Тест пройден")
                                                         : QStringLiteral("Ошибка ОЗУ по адресу 0x2000");
    return e;
}
} // namespace

class TestJournalWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("j.sqlite"));
        RepairJournal journal;
        QVERIFY(journal.open(m_path));
        const QDate d(2026, 12, 7);
        QVERIFY(journal.append(at(QStringLiteral("N1"), QDateTime(d, QTime(9, 0)),
                                  JournalEvent::Outcome::Failed, QStringLiteral("Тест ОЗУ"))));
        QVERIFY(journal.append(at(QStringLiteral("N2"), QDateTime(d, QTime(9, 30)),
                                  JournalEvent::Outcome::Passed, QStringLiteral("Тест ПЗУ"))));
        QVERIFY(journal.append(at(QStringLiteral("N1"), QDateTime(d.addDays(1), QTime(8, 15)),
                                  JournalEvent::Outcome::Passed, QStringLiteral("Тест ОЗУ"))));
        QVERIFY(journal.append(at(QString(), QDateTime(d.addDays(1), QTime(10, 0)),
                                  JournalEvent::Outcome::None, QStringLiteral("Тест шины"))));
    }

    void boardFilterAndTimeline() {
        ScriptedPrompts prompts;
        JournalWindow w(m_path, prompts);
        auto* table = w.findChild<QTableWidget*>(QStringLiteral("journalTable"));
        auto* board = w.findChild<QComboBox*>(QStringLiteral("boardFilter"));
        QVERIFY(table && board);
        QCOMPARE(table->rowCount(), 4);
        QCOMPARE(board->count(), 4); // all, without a number, N1, N2
        QCOMPARE(board->itemText(1), QStringLiteral("Без номера"));

        board->setCurrentIndex(board->findText(QStringLiteral("N1")));
        emit board->activated(board->currentIndex());
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(table->item(0, 0)->text(), QStringLiteral("07.12.2026 09:00:00"));
        QCOMPARE(table->item(1, 5)->text(), QStringLiteral("Тест пройден"));

        auto* timeline = w.findChild<BoardTimeline*>(QStringLiteral("boardTimeline"));
        QVERIFY(timeline);
        QCOMPARE(timeline->rows().size(), 2);
        // Two days: each row opens a day of its own.
        QVERIFY(timeline->startsDay(0));
        QVERIFY(timeline->startsDay(1));
        QCOMPARE(BoardTimeline::markText(timeline->rows().first()),
                 QStringLiteral("09:00  Тест: Тест ОЗУ — Ошибка ОЗУ по адресу 0x2000"));
        QCOMPARE(BoardTimeline::markColour(timeline->rows().first().outcome), QColor(159, 0, 0));

        board->setCurrentIndex(1);
        emit board->activated(1);
        QCOMPARE(table->rowCount(), 1);
        QCOMPARE(table->item(0, 4)->text(), QStringLiteral("Тест шины"));
        QVERIFY(prompts.boxes().isEmpty());
    }

    void dayFilter() {
        ScriptedPrompts prompts;
        JournalWindow w(m_path, prompts);
        w.findChild<QDateEdit*>(QStringLiteral("fromDay"))->setDate(QDate(2026, 12, 8));
        w.findChild<QDateEdit*>(QStringLiteral("toDay"))->setDate(QDate(2026, 12, 8));
        w.findChild<QCheckBox*>(QStringLiteral("dayFilter"))->setChecked(true);
        QCOMPARE(w.shownRows().size(), 2);
        w.findChild<QCheckBox*>(QStringLiteral("dayFilter"))->setChecked(false);
        QCOMPARE(w.shownRows().size(), 4);
    }

    void newRowsAppearWhileOpen() {
        const QString path = m_dir.filePath(QStringLiteral("live.sqlite"));
        RepairJournal journal;
        QVERIFY(journal.open(path));
        ScriptedPrompts prompts;
        JournalWindow w(path, prompts);
        QCOMPARE(w.shownRows().size(), 0);
        QVERIFY(journal.append(at(QStringLiteral("N9"), QDateTime::currentDateTime(),
                                  JournalEvent::Outcome::Passed, QStringLiteral("Тест ПЗУ"))));
        w.refresh(); // what the window's timer does every few seconds
        QCOMPARE(w.shownRows().size(), 1);
        QCOMPARE(w.findChild<QComboBox*>(QStringLiteral("boardFilter"))->count(), 2);
    }

    void exportWritesTheShownRows() {
        ScriptedPrompts prompts;
        JournalWindow w(m_path, prompts);
        const QString out = m_dir.filePath(QStringLiteral("out.csv"));
        prompts.chooseFile(out);
        QVERIFY(w.exportCsv());
        QFile f(out);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = f.readAll().split('\n');
        QCOMPARE(lines.size(), 1 + 4 + 1); // header, rows, the empty rest after the last CR LF
        // A cancelled choice writes nothing.
        QVERIFY(!w.exportCsv());
        // A folder that cannot take the file: said, nothing else touched.
        prompts.chooseFile(m_dir.filePath(QStringLiteral("no/such/dir/out.csv")));
        QVERIFY(!w.exportCsv());
        QCOMPARE(prompts.boxes().size(), 1);
        QVERIFY(prompts.boxes().first().text.startsWith(QStringLiteral("Ошибка записи файла")));
    }

    void serviceEventShowsItsFilesAndBackups() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("service.sqlite"));
        {
            RepairJournal journal;
            QVERIFY(journal.open(path));
            JournalEvent e;
            e.kind = JournalEvent::Kind::Service;
            e.name = QStringLiteral("Восстановление данных ФП из файла");
            e.boardType = 4;
            e.boardId = QStringLiteral("230607091405");
            e.result = 133;
            e.outcome = JournalEvent::Outcome::Failed;
            e.verdict = QStringLiteral("Ошибка восстановления данных ФП !");
            e.details.insert(QStringLiteral("files"), QJsonArray{QStringLiteral("/w/data.fp")});
            e.details.insert(QStringLiteral("backups"),
                             QJsonArray{QStringLiteral("/w/backups/fp-20261208-094312.fp")});
            e.details.insert(QStringLiteral("identity"), QStringLiteral("230607091405"));
            QVERIFY(journal.append(e));
        }
        ScriptedPrompts prompts;
        JournalWindow w(path, prompts);
        auto* table = w.findChild<QTableWidget*>(QStringLiteral("journalTable"));
        QVERIFY(table);
        QCOMPARE(table->rowCount(), 1);
        QCOMPARE(table->item(0, 3)->text(), QStringLiteral("Сервис"));
        QCOMPARE(table->item(0, 4)->text(), QStringLiteral("Восстановление данных ФП из файла"));
        QCOMPARE(table->item(0, 5)->text(), QStringLiteral("Ошибка восстановления данных ФП !"));
        for (int c = 0; c < table->columnCount(); ++c)
            QCOMPARE(table->item(0, c)->toolTip(),
                     QStringLiteral("Файлы: /w/data.fp\n"
                                    "Резервные копии: /w/backups/fp-20261208-094312.fp\n"
                                    "DD5: 230607091405"));
        // A row with nothing of the kind has no tool tip.
        QCOMPARE(journalDetailsText(QJsonObject{{QStringLiteral("runs"), 1}}), QString());
    }

    void missingJournalIsSaidInTheWindow() {
        ScriptedPrompts prompts;
        JournalWindow w(m_dir.filePath(QStringLiteral("none.sqlite")), prompts);
        QCOMPARE(w.shownRows().size(), 0);
        QVERIFY(w.findChild<QLabel*>(QStringLiteral("journalStatus"))
                    ->text()
                    .startsWith(QStringLiteral("Журнал недоступен: журнал ")));
        QVERIFY(prompts.boxes().isEmpty());
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("none.sqlite"))));
    }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

QTEST_MAIN(TestJournalWindow)
#include "tst_journalwindow.moc"
