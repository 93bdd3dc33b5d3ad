// The commands beside the requirements' own, in their windows: the full check
// fills its list and the journal, the board number is asked once, and the
// trainer's window puts faults on the simulated board and scores conclusions.
#include "dialogscript.h"

#include "../boardtests/benchrig.h"

#include "app/simfaultswindow.h"
#include "boardtests/testcommands.h"
#include "boardtests/widgets/fullcheckdlg.h"
#include "boardtests/widgets/windowtestsession.h"
#include "journal/journalreader.h"
#include "journal/repairjournal.h"
#include "app/commandtable.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <QtTest>

using namespace kia;

namespace {
QList<JournalRow> journalRows(const QString& path) {
    JournalReader reader;
    QList<JournalRow> rows;
    if (reader.open(path))
        reader.events(JournalFilter(), &rows);
    return rows;
}
} // namespace

class TestWorkbench : public QObject {
    Q_OBJECT
private slots:
    void fullCheckWindowFillsListAndJournal() {
        testhost::BenchRig rig(0);
        RepairJournal journal(&rig.ctx);
        const QString path = RepairJournal::defaultPath(rig.ctx.workingFolder);
        QVERIFY(journal.open(path));
        rig.ctx.journal = &journal;
        WindowTestSession session(rig.ctx, nullptr, nullptr, CTestDialog::Pacing::ContextClock);
        testgui::DialogScript script(session);
        script.on(QStringLiteral("boardNumberDlg"), [](QDialog* d) {
            d->findChild<QLineEdit*>(QStringLiteral("boardNumber"))->setText(QStringLiteral(" 1207 "));
            testgui::DialogScript::clickButton(d, QStringLiteral("ok"));
        });
        script.byDefault(QStringLiteral("CTestStartDlg"),
                         [](QDialog* d) { testgui::DialogScript::clickButton(d, QStringLiteral("continueButton")); });
        script.on(QStringLiteral("CSelVersionDlg"), [](QDialog* d) { d->accept(); });
        QString error;
        QVERIFY(rig.bench.loadFaultScript(QStringLiteral("ram-cell addr=0x1235 high=0x10"), &error));

        // The first test of the run asks for the board's number.
        RunTestCommand(rig.ctx, session, cmd::BusTest);
        QCOMPARE(rig.ctx.boardId, QStringLiteral("1207"));

        CFullCheckDlg dlg(rig.ctx, session);
        dlg.runCheck();
        const auto* table = dlg.findChild<QTableWidget*>(QStringLiteral("checkTable"));
        QVERIFY(table);
        QCOMPARE(table->item(0, 1)->text(), QStringLiteral("норма"));
        QCOMPARE(table->item(2, 0)->text(), QStringLiteral("Тест ОЗУ"));
        QCOMPARE(table->item(2, 1)->text(), QStringLiteral("неисправность"));
        QVERIFY(table->item(2, 3)->text().contains(QStringLiteral("RAM_ERROR")));
        QCOMPARE(script.opened.count(QStringLiteral("boardNumberDlg")), 1);
        QCOMPARE(script.opened.count(QStringLiteral("CTestStartDlg")), 2); // the bus test, the check

        const QList<JournalRow> rows = journalRows(path);
        QVERIFY(rows.size() >= 11); // the bus test, the check's ten tests, the check
        QCOMPARE(rows.last().kind, JournalEvent::Kind::FullCheck);
        QCOMPARE(rows.last().outcome, JournalEvent::Outcome::Failed);
        QCOMPARE(rows.last().boardId, QStringLiteral("1207"));
        bool ramFailed = false;
        for (const JournalRow& r : rows)
            ramFailed |= r.name == QStringLiteral("Тест ОЗУ") && r.outcome == JournalEvent::Outcome::Failed;
        QVERIFY(ramFailed);

        // The report goes where the engineer says, or nowhere when he cancels.
        rig.prompts.chooseFile(rig.folder.filePath(QStringLiteral("r.html")));
        QVERIFY(dlg.saveReport());
        QVERIFY(QFile::exists(rig.folder.filePath(QStringLiteral("r.html"))));
        QVERIFY(!dlg.saveReport());
    }

    void skippedBoardNumberIsAskedOnce() {
        testhost::BenchRig rig(1);
        RepairJournal journal(&rig.ctx);
        QVERIFY(journal.open(RepairJournal::defaultPath(rig.ctx.workingFolder)));
        rig.ctx.journal = &journal;
        WindowTestSession session(rig.ctx, nullptr, nullptr, CTestDialog::Pacing::ContextClock);
        testgui::DialogScript script(session);
        script.click(QStringLiteral("boardNumberDlg"), QStringLiteral("skip"));
        script.byDefault(QStringLiteral("CTestStartDlg"),
                         [](QDialog* d) { testgui::DialogScript::clickButton(d, QStringLiteral("continueButton")); });
        RunTestCommand(rig.ctx, session, cmd::BusTest);
        RunTestCommand(rig.ctx, session, cmd::BusTest);
        QCOMPARE(script.opened.count(QStringLiteral("boardNumberDlg")), 1);
        QVERIFY(rig.ctx.boardId.isEmpty());
    }

    void trainerPutsFaultsOnAndScores() {
        testhost::BenchRig rig(0);
        RepairJournal journal(&rig.ctx);
        const QString path = RepairJournal::defaultPath(rig.ctx.workingFolder);
        QVERIFY(journal.open(path));
        rig.ctx.journal = &journal;
        CSimFaultsWindow w(rig.ctx, rig.bench, QStringLiteral("older-revision"));
        auto* list = w.findChild<QListWidget*>(QStringLiteral("faultList"));
        QCOMPARE(list->count(), int(w.catalogue().size()));

        // A check box puts its fault on the board; the start script stays.
        list->item(0)->setCheckState(Qt::Checked);
        QCOMPARE(w.activeIds(), QStringList{w.catalogue().first().id});
        QCOMPARE(rig.bench.boardFaults().size(), 1);
        QVERIFY(rig.bench.isOlderRevision());
        w.clearAll();
        QVERIFY(rig.bench.boardFaults().isEmpty());

        // A hidden fault: nothing is checked, the board has it, the text hides it.
        w.hideRandomFault(0);
        const QString hidden = w.hiddenId();
        QVERIFY(!hidden.isEmpty());
        QVERIFY(w.activeIds().isEmpty());
        QCOMPARE(rig.bench.boardFaults().size(), 1);
        for (int i = 0; i < list->count(); ++i)
            QVERIFY(!list->item(i)->text().contains(QStringLiteral("скрытая")));

        QVERIFY(w.scoreConclusion(QStringLiteral("RAM_ERROR"), QStringLiteral("Неисправна микросхема ОЗУ")));
        QVERIFY(!w.scoreConclusion(QStringLiteral("RAM_ERROR"), QStringLiteral("Неисправен таймер")));
        const QList<JournalRow> rows = journalRows(path);
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].kind, JournalEvent::Kind::Training);
        QCOMPARE(rows[0].outcome, JournalEvent::Outcome::Passed);
        QCOMPARE(rows[0].details.value(QStringLiteral("fault")).toString(), hidden);
        QCOMPARE(rows[1].outcome, JournalEvent::Outcome::Failed);

        w.reveal();
        bool shown = false;
        for (int i = 0; i < list->count(); ++i)
            shown |= list->item(i)->text().contains(QStringLiteral("скрытая"));
        QVERIFY(shown);
    }
};

QTEST_MAIN(TestWorkbench)
#include "tst_workbench.moc"
