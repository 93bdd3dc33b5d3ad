// Link status texts and the way link failures reach the engineer.

#include "fakeline.h"

#include "core/benchcontext.h"
#include "core/scenariohost.h"
#include "core/scriptedprompts.h"
#include "link/linkmessages.h"
#include "link/linkstatus.h"

#include <QTest>

using namespace kia;

namespace {
class RecordingHost final : public ScenarioHost {
public:
    bool StartScenario(const QString& keyword, int) override
    {
        started << keyword;
        return accept;
    }
    bool StartOscilloscopeScenario(const QString& keyword) override
    {
        started << keyword;
        return accept;
    }
    QStringList started;
    bool accept = true;
};

const QString kProbeText = QStringLiteral(
    "Неисправна линия DSR или CTS порта\nили неисправен логический пробник !\n( проверьте также "
    "наличие +5в на X1/1.)");
const QString kUnknown = QStringLiteral("Неизвестная ошибка !   ");
} // namespace

class TestLinkMessages : public QObject {
    Q_OBJECT

private slots:
    void programmerTexts_data();
    void programmerTexts();
    void cashTexts_data();
    void cashTexts();
    void titleNamesSelectedPort();
    void identificationTexts_data();
    void identificationTexts();
    void showLinkError();
    void noConnectOffer_data();
    void noConnectOffer();
    void identificationErrorOffers_data();
    void identificationErrorOffers();
    void identificationCheck_data();
    void identificationCheck();
};

void TestLinkMessages::programmerTexts_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("boardType");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0 << 0 << QStringLiteral("Нет ошибки !   ");
    QTest::newRow("1") << 1 << 4 << QStringLiteral("Ошибка передачи !    ");
    QTest::newRow("2 type 4") << 2 << 4 << QStringLiteral("Нет связи с контроллером БУ !    ");
    QTest::newRow("2 type 1") << 2 << 1 << QStringLiteral("Нет связи с тестовым процессором !    ");
    QTest::newRow("2 type 3") << 2 << 3 << QStringLiteral("Нет связи с тестовым процессором !    ");
    QTest::newRow("3") << 3 << 0 << QStringLiteral("Ошибка приема/передачи !    ");
    QTest::newRow("4") << 4 << 2 << QStringLiteral("Ошибка инициализации !    ");
    QTest::newRow("32 erase mismatch") << 32 << 4 << kUnknown;
    QTest::newRow("100 probe") << 100 << 0 << kProbeText;
    QTest::newRow("5") << 5 << 0 << kUnknown;
    QTest::newRow("255") << 255 << 4 << kUnknown;
}

void TestLinkMessages::programmerTexts()
{
    QFETCH(int, status);
    QFETCH(int, boardType);
    QFETCH(QString, text);
    const StatusMessage m = LinkStatusText(quint8(status), boardType, 2);
    QCOMPARE(m.text, text);
    QCOMPARE(m.title, QStringLiteral("Com2"));
}

void TestLinkMessages::cashTexts_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0 << QStringLiteral("Нет ошибки !   ");
    QTest::newRow("2") << 2
                       << QStringLiteral("Нет связи с кассой !  Возможные причины: \n1. Касса не "
                                         "включена.\n2. Неисправен кабель \"ПК - Пробник\".\n3. "
                                         "Неисправен пробник.\n4. Неисправен канал RS232 ККМ.\n5. "
                                         "В программе выбран не тот СОМ порт.\n6. Неисправен СОМ "
                                         "порт ПК.");
    QTest::newRow("3") << 3 << QStringLiteral("Ошибка приема/передачи !    ");
    QTest::newRow("4") << 4 << QStringLiteral("Ошибка инициализации !    ");
    QTest::newRow("100 has no text of its own") << 100 << kUnknown;
    QTest::newRow("32") << 32 << kUnknown;
}

void TestLinkMessages::cashTexts()
{
    QFETCH(int, status);
    QFETCH(QString, text);
    QCOMPARE(CashLinkStatusText(quint8(status), 1).text, text);
}

void TestLinkMessages::titleNamesSelectedPort()
{
    QCOMPARE(LinkStatusText(2, 0, 7).title, QStringLiteral("Com7"));
    QCOMPARE(CashLinkStatusText(2, 7).title, QStringLiteral("Com7"));
}

void TestLinkMessages::identificationTexts_data()
{
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("text");
    QTest::newRow("1") << 1 << QStringLiteral("COM порт не инициализирован!      ");
    QTest::newRow("2") << 2 << QStringLiteral("Ошибка инициализации COM порта!      ");
    QTest::newRow("3") << 3 << QStringLiteral("Нет связи с программатором!      ");
    QTest::newRow("4") << 4 << QStringLiteral("Ошибка передачи COM порта!      ");
    QTest::newRow("5") << 5 << QStringLiteral("Нет доступа к контроллеру БУ!      ");
    QTest::newRow("6") << 6 << QStringLiteral("Неизвестная ошибка!     ");
}

void TestLinkMessages::identificationTexts()
{
    QFETCH(int, result);
    QFETCH(QString, text);
    QCOMPARE(identificationText(quint8(result)), text);
}

void TestLinkMessages::showLinkError()
{
    FakeClock clock;
    ScriptedPrompts prompts;
    BenchContext ctx(clock, prompts);
    ctx.boardType = 4;
    ctx.selectedPort = 3;
    ctx.busy = true;
    ctx.linkStatus = 2;
    ShowLinkError(ctx);
    QVERIFY(!ctx.busy);
    QCOMPARE(prompts.events.size(), 2);
    QCOMPARE(prompts.events[0].kind, PromptEvent::Beep);
    QCOMPARE(prompts.events[0].hz, 600);
    QCOMPARE(prompts.events[0].ms, 30);
    QCOMPARE(prompts.events[1].icon, PromptIcon::Error);
    QCOMPARE(prompts.events[1].title, QStringLiteral("Com3"));
    QCOMPARE(prompts.events[1].text, QStringLiteral("Нет связи с контроллером БУ !    "));

    prompts.clear();
    ctx.linkStatus = 100;
    ShowCashLinkError(ctx);
    QCOMPARE(prompts.boxes().at(0).text, kUnknown);
}

void TestLinkMessages::noConnectOffer_data()
{
    QTest::addColumn<bool>("yes");
    QTest::addColumn<bool>("hostInstalled");
    QTest::addColumn<int>("outcome");
    QTest::newRow("declined") << false << true << int(DiagnosticsOffer::Declined);
    QTest::newRow("started") << true << true << int(DiagnosticsOffer::Started);
    QTest::newRow("no diagnostics installed") << true << false << int(DiagnosticsOffer::NotAvailable);
}

void TestLinkMessages::noConnectOffer()
{
    QFETCH(bool, yes);
    QFETCH(bool, hostInstalled);
    QFETCH(int, outcome);
    FakeClock clock;
    ScriptedPrompts prompts;
    BenchContext ctx(clock, prompts);
    RecordingHost host;
    if (hostInstalled)
        ctx.scenarios = &host;
    ctx.linkStatus = 2;
    ctx.selectedPort = 1;
    prompts.answer(yes ? PromptAnswer::Yes : PromptAnswer::No);
    QCOMPARE(int(OfferNoConnectDiagnostics(ctx)), outcome);
    const PromptEvent q = prompts.boxes().at(0);
    QCOMPARE(q.kind, PromptEvent::Question);
    QCOMPARE(q.icon, PromptIcon::Stop);
    QCOMPARE(q.title, QStringLiteral("Com1"));
    QCOMPARE(q.text, QStringLiteral("Нет связи с тестовым процессором !    \n\n      Запустить диагностику?"));
    QCOMPARE(prompts.events[0].kind, PromptEvent::Beep);
    QCOMPARE(host.started, (yes && hostInstalled) ? QStringList{QStringLiteral("NO_CONNECT")} : QStringList());
}

void TestLinkMessages::identificationErrorOffers_data()
{
    QTest::addColumn<int>("result");
    QTest::addColumn<bool>("asks");
    QTest::addColumn<QString>("keyword");
    QTest::newRow("3 no programmer") << 3 << true << QStringLiteral("NO_PROGCONNECT");
    QTest::newRow("5 no access") << 5 << true << QStringLiteral("NO_PROGACCESS");
    QTest::newRow("4 write failed") << 4 << false << QString();
    QTest::newRow("9 unknown") << 9 << false << QString();
}

void TestLinkMessages::identificationErrorOffers()
{
    QFETCH(int, result);
    QFETCH(bool, asks);
    QFETCH(QString, keyword);
    FakeClock clock;
    ScriptedPrompts prompts;
    BenchContext ctx(clock, prompts);
    RecordingHost host;
    ctx.scenarios = &host;
    prompts.answer(PromptAnswer::Yes);
    ShowIdentificationError(ctx, quint8(result));
    const PromptEvent box = prompts.boxes().at(0);
    QCOMPARE(box.title, QStringLiteral("Программатор"));
    QCOMPARE(box.kind, asks ? PromptEvent::Question : PromptEvent::Message);
    QCOMPARE(box.icon, asks ? PromptIcon::Stop : PromptIcon::Error);
    QCOMPARE(box.text.endsWith(QStringLiteral("Запустить диагностику?")), asks);
    QCOMPARE(host.started, keyword.isEmpty() ? QStringList() : QStringList{keyword});
}

void TestLinkMessages::identificationCheck_data()
{
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("identity");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::newRow("test program answers") << 0 << QStringLiteral("123456789012") << QStringLiteral("Com1")
                                          << QStringLiteral("Нет ошибки !   ");
    QTest::newRow("no test program") << 0 << QString() << QStringLiteral("Диагностика")
                                     << QStringLiteral("В контроллер БУ еще не записана тест-программа!\nПроведите сначала \"Тест шин контроллера\".");
    QTest::newRow("programmer silent") << 3 << QString() << QStringLiteral("Программатор")
                                       << QStringLiteral("Нет связи с программатором!      ");
}

void TestLinkMessages::identificationCheck()
{
    QFETCH(int, result);
    QFETCH(QString, identity);
    QFETCH(QString, title);
    QFETCH(QString, text);
    FakeClock clock;
    ScriptedPrompts prompts;
    BenchContext ctx(clock, prompts);
    ctx.boardType = 4;
    ShowIdentificationCheck(ctx, quint8(result), identity);
    QCOMPARE(prompts.events[0].kind, PromptEvent::Beep);
    const PromptEvent box = prompts.boxes().at(0);
    QCOMPARE(box.title, title);
    QCOMPARE(box.text, text);
    QCOMPARE(box.icon, PromptIcon::Error);
}

QTEST_GUILESS_MAIN(TestLinkMessages)
#include "tst_linkmessages.moc"
