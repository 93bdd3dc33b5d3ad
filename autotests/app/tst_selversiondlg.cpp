#include "app/selversiondlg.h"
#include "core/benchcontext.h"
#include "core/scriptedprompts.h"
#include "sim/virtualclock.h"

#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace kia;

class TestSelVersionDlg : public QObject {
    Q_OBJECT
private slots:
    void init();
    void missingFileLeavesTheOldestVersion();
    void listFollowsTheFile();
    void okTakesTheSelectedValue_data();
    void okTakesTheSelectedValue();
    void cancelKeepsTheChosenVersion();

private:
    void writeVersions(const QByteArray& bytes);

    QTemporaryDir m_dir;
    sim::VirtualClock m_clock;
    ScriptedPrompts m_prompts;
    std::unique_ptr<BenchContext> m_ctx;
};

void TestSelVersionDlg::init() {
    m_prompts.clear();
    m_ctx = std::make_unique<BenchContext>(m_clock, m_prompts);
    m_ctx->workingFolder = m_dir.path() + u'/';
    QFile::remove(m_dir.filePath(QStringLiteral("versions.txt")));
}

void TestSelVersionDlg::writeVersions(const QByteArray& bytes) {
    QFile f(m_dir.filePath(QStringLiteral("versions.txt")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

void TestSelVersionDlg::missingFileLeavesTheOldestVersion() {
    CSelVersionDlg dlg(*m_ctx);
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Выберите версию ПО ККМ..."));
    QCOMPARE(m_prompts.events.size(), 2);
    QCOMPARE(m_prompts.events[0].kind, PromptEvent::Beep);
    QCOMPARE(m_prompts.events[0].hz, 600);
    QCOMPARE(m_prompts.events[1].icon, PromptIcon::Error);
    QCOMPARE(m_prompts.events[1].title, QStringLiteral("kia_nelta2"));
    QCOMPARE(m_prompts.events[1].text, QStringLiteral("Ошибка чтения файла \"versions.txt\" !"));
    QCOMPARE(dlg.list()->count(), 1);
    QCOMPARE(dlg.list()->itemText(0), QStringLiteral("меньше 2.10"));
    dlg.accept();
    QCOMPARE(dlg.result(), CSelVersionDlg::ResultOk);
    QCOMPARE(m_ctx->chosenVersion, QStringLiteral("нет"));
}

void TestSelVersionDlg::listFollowsTheFile() {
    writeVersions("V2.10 prog210.bin\r\nV2.20 prog220.bin\r\nV2.30\r\nV2.40 prog240.bin\r\n");
    CSelVersionDlg dlg(*m_ctx);
    QVERIFY(m_prompts.events.isEmpty());
    QStringList names;
    for (int i = 0; i < dlg.list()->count(); ++i)
        names << dlg.list()->itemText(i);
    QCOMPARE(names, (QStringList{QStringLiteral("меньше 2.10"), QStringLiteral("2.10"),
                                 QStringLiteral("2.20")}));
    QCOMPARE(dlg.list()->currentIndex(), 0);
}

void TestSelVersionDlg::okTakesTheSelectedValue_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("value");
    QTest::newRow("oldest") << 0 << QStringLiteral("нет");
    QTest::newRow("from the file") << 2 << QStringLiteral("prog220.bin");
    QTest::newRow("short line: empty value") << 3 << QString();
}

void TestSelVersionDlg::okTakesTheSelectedValue() {
    QFETCH(int, index);
    QFETCH(QString, value);
    writeVersions("V2.10 prog210.bin\nV2.20 prog220.bin\nV2.5 x\n");
    CSelVersionDlg dlg(*m_ctx);
    m_ctx->chosenVersion = QStringLiteral("before");
    dlg.list()->setCurrentIndex(index);
    dlg.findChild<QPushButton*>(QStringLiteral("okButton"))->click();
    QCOMPARE(dlg.result(), CSelVersionDlg::ResultOk);
    QCOMPARE(m_ctx->chosenVersion, value);
}

void TestSelVersionDlg::cancelKeepsTheChosenVersion() {
    writeVersions("V2.10 prog210.bin\n");
    CSelVersionDlg dlg(*m_ctx);
    m_ctx->chosenVersion = QStringLiteral("before");
    dlg.list()->setCurrentIndex(1);
    dlg.findChild<QPushButton*>(QStringLiteral("cancelButton"))->click();
    QCOMPARE(dlg.result(), CSelVersionDlg::ResultCancel);
    QCOMPARE(m_ctx->chosenVersion, QStringLiteral("before"));
}

QTEST_MAIN(TestSelVersionDlg)
#include "tst_selversiondlg.moc"
