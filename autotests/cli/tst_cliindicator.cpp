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
    void keyboardPrintsEveryKeySeen_data();
    void keyboardPrintsEveryKeySeen();
    void soundReportsWhatTheEmitterHeard_data();
    void soundReportsWhatTheEmitterHeard();
    void badSecondsBeforeAnyPort_data();
    void badSecondsBeforeAnyPort();
    void linkLostMidScan();
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

void TestCliIndicator::keyboardPrintsEveryKeySeen_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("type 0, two keys")
        << words({"-b", "0", "-p", "sim", "keyboard", "--seconds", "3"})
        << QByteArray("key-press 7 at=100 hold=500\nkey-press ИТОГ at=1500 hold=500\n")
        << QStringList{QStringLiteral("клавиша \"7\" (код 0x01FD)"),
                       QStringLiteral("клавиша \"ИТОГ\" (код 0x08DF)"),
                       QStringLiteral("Итог: замечено клавиш 2 из 26: 7 ИТОГ\n")};
    QTest::newRow("type 4, top row and a stuck key")
        << words({"-b", "4", "-p", "sim", "--sim-dd5", "test", "keyboard"})
        << QByteArray("key-press T6 at=2000 hold=400\nkey-stuck -3\n")
        << QStringList{QStringLiteral("клавиша \"-3\" (код 0x40F7)"),
                       QStringLiteral("клавиша \"T6\" (код 0x20FE)"),
                       QStringLiteral("Итог: замечено клавиш 2 из 32: -3 T6\n")};
    QTest::newRow("type 2, a dead key")
        << words({"-b", "2", "-p", "sim", "keyboard", "--seconds", "2"})
        << QByteArray("key-dead 00\nkey-press 00 at=0 hold=2000\n")
        << QStringList{QStringLiteral("Итог: замечено клавиш 0 из 26\n")};
}

void TestCliIndicator::keyboardPrintsEveryKeySeen() {
    QFETCH(QStringList, args);
    QFETCH(QByteArray, keys);
    QFETCH(QStringList, lines);
    QTemporaryFile f;
    const Run r = runCli(QStringList{QStringLiteral("--faults"), faultFile(f, keys)} + args);
    QVERIFY2(r.code == 0, qPrintable(r.out + r.err));
    for (const QString& line : lines)
        QVERIFY2(r.out.contains(line), qPrintable(r.out));
    // Each key once, however long it was held.
    QCOMPARE(r.out.count(QStringLiteral("клавиша")), lines.size() - 1);
}

void TestCliIndicator::soundReportsWhatTheEmitterHeard_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("faults");
    QTest::addColumn<QString>("heard");
    QTest::newRow("type 0") << words({"-b", "0", "-p", "sim", "sound", "--seconds", "5"})
                            << QByteArray()
                            << QStringLiteral("a = 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 15 14");
    QTest::newRow("type 4") << words({"-b", "4", "-p", "sim", "--sim-dd5", "test", "sound"})
                            << QByteArray() << QStringLiteral("16 15 14 13 12 11 10 9 8 7 6 5 4 3 2 2 3");
    QTest::newRow("silent emitter") << words({"-b", "3", "-p", "sim", "sound"})
                                    << QByteArray("emitter-silent\n")
                                    << QStringLiteral("Излучатель: ничего не слышно\n");
}

void TestCliIndicator::soundReportsWhatTheEmitterHeard() {
    QFETCH(QStringList, args);
    QFETCH(QByteArray, faults);
    QFETCH(QString, heard);
    QTemporaryFile f;
    if (!faults.isEmpty())
        args = QStringList{QStringLiteral("--faults"), faultFile(f, faults)} + args;
    const Run r = runCli(args);
    QVERIFY2(r.code == 0, qPrintable(r.out + r.err));
    QVERIFY2(r.out.contains(heard), qPrintable(r.out));
    QVERIFY(r.out.contains(QStringLiteral("Тон 1: a = 2, периодов 250, пауза 166 мс\n")));
    QVERIFY(r.err.contains(QStringLiteral("Проконтролируйте наличие звукового сигнала !")));
}

void TestCliIndicator::badSecondsBeforeAnyPort_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("keyboard 0 s") << words({"keyboard", "--seconds", "0"});
    QTest::newRow("keyboard no value") << words({"keyboard", "--seconds"});
    QTest::newRow("sound letters") << words({"sound", "--seconds", "ten"});
    QTest::newRow("sound too long") << words({"sound", "--seconds", "3601"});
    QTest::newRow("sound stray word") << words({"sound", "5"});
    QTest::newRow("segment-test no indicator") << words({"segment-test"});
}

// A port that cannot open would end with the link's exit code: the usage exit
// shows that the arguments were read first.
void TestCliIndicator::badSecondsBeforeAnyPort() {
    QFETCH(QStringList, args);
    const Run r = runCli(words({"-p", "/nonexistent/kia-port"}) + args);
    QCOMPARE(r.code, int(ExitUsage));
    QVERIFY(!r.err.contains(QStringLiteral("Начало тестирования")));
    QVERIFY(r.err.contains(args[0] + (args[0] == QStringLiteral("segment-test")
                                          ? QStringLiteral(" 0|1")
                                          : QStringLiteral(" [--seconds N]"))));
}

void TestCliIndicator::linkLostMidScan() {
    QTemporaryFile f;
    const QString path = faultFile(f, "key-press 5 at=0 hold=5000\nsilence cmd=7 after=20\n");
    const Run r = runCli(words({"-p", "sim", "--faults"}) + QStringList{path} + words({"keyboard"}));
    QCOMPARE(r.code, int(ExitLinkFailure));
    QVERIFY(r.out.contains(QStringLiteral("клавиша \"5\"")));
    QVERIFY(!r.out.contains(QStringLiteral("Итог")));
}

QTEST_GUILESS_MAIN(TestCliIndicator)
#include "tst_cliindicator.moc"
