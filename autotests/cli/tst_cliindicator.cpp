// kia-bench's indicator commands on the simulated bench: what the board's
// indicator shows after each phase of the segment test, the write/read test
// by name, bad arguments and a silent peer.

#include "cli/benchcli.h"
#include "sim/virtualclock.h"

#include <QTemporaryFile>
#include <QTest>

using namespace kia;

namespace {
QStringList words(std::initializer_list<const char*> list) {
    QStringList out;
    for (const char* w : list)
        out << QString::fromUtf8(w);
    return out;
}

struct Run {
    int code = -1;
    QString out;
    QString err;
};

Run runCli(const QStringList& args) {
    Run r;
    sim::VirtualClock clock;
    QTextStream out(&r.out);
    QTextStream err(&r.err);
    BenchCli cli(out, err, &clock);
    r.code = cli.run(args);
    out.flush();
    err.flush();
    return r;
}

QString faultFile(QTemporaryFile& f, const QByteArray& text) {
    if (!f.open())
        return QString();
    f.write(text);
    f.close();
    return f.fileName();
}
} // namespace

class TestCliIndicator : public QObject {
    Q_OBJECT
private slots:
    void segmentTest_data();
    void segmentTest();
    void badArguments_data();
    void badArguments();
    void silentPeer();
    void writeReadTestByName_data();
    void writeReadTestByName();
};

void TestCliIndicator::segmentTest_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("type 0 cashier") << words({"-b", "0", "-p", "sim", "segment-test", "0"});
    QTest::newRow("type 3 customer") << words({"-b", "3", "-p", "sim", "segment-test", "1"});
    QTest::newRow("type 4 cashier")
        << words({"-b", "4", "-p", "sim", "--sim-dd5", "test", "segment-test", "0"});
}

void TestCliIndicator::segmentTest() {
    QFETCH(QStringList, args);
    const Run r = runCli(args);
    QVERIFY2(r.code == 0, qPrintable(r.out + r.err));
    // The Latin look-alikes are Latin letters on the board.
    QVERIFY2(r.out.contains(QStringLiteral("Открытие: |ПPOBEPЬ ЗACBETKУ|\n")), qPrintable(r.out));
    QVERIFY(r.out.contains(QStringLiteral("Шаг 127, строк точек: 8: |████████████████|\n")));
    QVERIFY(r.out.contains(QStringLiteral("Шаг 128: | ПPOBEPЬ KУPCOP |\n")));
    QVERIFY(r.out.contains(QStringLiteral("Шаг 144: | ПPOBEPЬ KУPCOP | курсор в позиции 15\n")));
    QVERIFY(r.out.contains(QStringLiteral("Конец: |END OF LCD TEST!|\n")));
    QVERIFY(r.err.contains(QStringLiteral("Проконтролируйте засветку сегментов")));
}

void TestCliIndicator::badArguments_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("no indicator") << words({"-p", "sim", "segment-test"});
    QTest::newRow("indicator 2") << words({"-p", "sim", "segment-test", "2"});
    QTest::newRow("two indicators") << words({"-p", "sim", "segment-test", "0", "1"});
}

void TestCliIndicator::badArguments() {
    QFETCH(QStringList, args);
    const Run r = runCli(args);
    QCOMPARE(r.code, int(ExitUsage));
    QVERIFY(r.err.contains(QStringLiteral("segment-test 0|1")));
}

void TestCliIndicator::silentPeer() {
    QTemporaryFile f;
    const QString path = faultFile(f, "silence cmd=8 after=40\n");
    const Run r = runCli(words({"-p", "sim", "--faults"}) + QStringList{path} + words({"segment-test", "0"}));
    QCOMPARE(r.code, int(ExitLinkFailure));
    QVERIFY(!r.out.contains(QStringLiteral("Конец")));
}

void TestCliIndicator::writeReadTestByName_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("faults");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("contains");
    QTest::newRow("type 1 ind0 passes") << words({"-b", "1", "-p", "sim", "test", "ind0"})
                                        << QByteArray() << 0 << QStringLiteral("Тест прошел !");
    QTest::newRow("type 4 ind1 cell fault")
        << words({"-b", "4", "-p", "sim", "--sim-dd5", "test", "test", "ind1"})
        << QByteArray("ind-cell ind=1 addr=2 low=0x02\n") << 1
        << QStringLiteral("Ошибка теста N3 ОЗУ отображения !");
    QTest::newRow("type 2 ind0 dead")
        << words({"-b", "2", "-p", "sim", "test", "ind0"}) << QByteArray("ind-dead ind=0\n")
        << 1 << QStringLiteral("IND0_ERROR");
}

void TestCliIndicator::writeReadTestByName() {
    QFETCH(QStringList, args);
    QFETCH(QByteArray, faults);
    QFETCH(int, code);
    QFETCH(QString, contains);
    QTemporaryFile f;
    if (!faults.isEmpty())
        args = QStringList{QStringLiteral("--faults"), faultFile(f, faults)} + args;
    const Run r = runCli(args);
    QVERIFY2(r.code == code, qPrintable(r.out + r.err));
    QVERIFY2((r.out + r.err).contains(contains), qPrintable(r.out + r.err));
}

QTEST_GUILESS_MAIN(TestCliIndicator)
#include "tst_cliindicator.moc"
