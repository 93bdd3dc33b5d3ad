#include "core/cp1251.h"
#include "app/versionlist.h"

#include <QTest>

using namespace kia;

using Entries = QList<VersionEntry>;
Q_DECLARE_METATYPE(Entries)

namespace {
VersionEntry e(const char* name, const char* value) {
    return {QString::fromUtf8(name), QString::fromUtf8(value)};
}
} // namespace

class TestVersionList : public QObject {
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void choicesStartWithTheOldestVersion();
    void hostileFilesAreReadSafely_data();
    void hostileFilesAreReadSafely();
    void cp1251RoundTrip();
};

void TestVersionList::parse_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<Entries>("entries");

    QTest::newRow("6 characters: no value") << QByteArray("V2.1 x\n") << Entries{e("2.1", "")};
    QTest::newRow("7 characters: value") << QByteArray("V2.10 x\n") << Entries{e("2.10", "x")};
    QTest::newRow("trimmed around and inside")
        << QByteArray("   V3.01   prog301  \r\n") << Entries{e("3.01", "prog301")};
    QTest::newRow("tab as the blank")
        << QByteArray("V3.02\tprog302\n") << Entries{e("3.02", "prog302")};
    QTest::newRow("no blank ends the list")
        << QByteArray("V2.10 a.bin\nV2.20\nV2.30 c.bin\n") << Entries{e("2.10", "a.bin")};
    QTest::newRow("other lines are skipped")
        << QByteArray("; list of versions\n\nversion V9 x\nv2.40 lower\nV2.50 e.bin\n")
        << Entries{e("2.50", "e.bin")};
    QTest::newRow("any V line with a blank is an entry")
        << QByteArray("Versions of the software\nV2.60 f.bin\n")
        << Entries{e("ersions", "of the software"), e("2.60", "f.bin")};
    QTest::newRow("value keeps inner blanks")
        << QByteArray("V2.70 my prog.bin\n") << Entries{e("2.70", "my prog.bin")};
    QTest::newRow("file order, last line without end")
        << QByteArray("V1.00 one\nV0.50 two") << Entries{e("1.00", "one"), e("0.50", "two")};
    QTest::newRow("Cyrillic value in Windows-1251")
        << QByteArray("V2.80 \xef\xf0\xee\xe3\n") << Entries{e("2.80", "прог")};
    QTest::newRow("empty file") << QByteArray() << Entries{};
    QTest::newRow("only V") << QByteArray("V\nV1.00 x.bin\n") << Entries{};
    QTest::newRow("carriage returns only: one entry a line")
        << QByteArray("V1.00 a.bin\rV2.00 b.bin\r")
        << Entries{e("1.00", "a.bin"), e("2.00", "b.bin")};
    QTest::newRow("mixed line ends")
        << QByteArray("V1.00 a.bin\r\n\rV2.00 b.bin\nV3.00 c.bin")
        << Entries{e("1.00", "a.bin"), e("2.00", "b.bin"), e("3.00", "c.bin")};
    QTest::newRow("byte-order mark: first entry kept, UTF-8 text")
        << QByteArray("\xEF\xBB\xBFV2.10 \xD0\xBF\xD1\x80\xD0\xBE\xD0\xB3\r\nV2.20 b.bin\r\n")
        << Entries{e("2.10", "прог"), e("2.20", "b.bin")};
    // Blanks that are no plain ASCII byte are trimmed like any other.
    QTest::newRow("no-break space before V in Windows-1251")
        << QByteArray("\xA0V2.10 a.bin\n") << Entries{e("2.10", "a.bin")};
    QTest::newRow("no-break and ideographic space before V in UTF-8")
        << QByteArray("\xEF\xBB\xBF\xC2\xA0V2.10 a.bin\n\xE3\x80\x80V2.20 b.bin\n")
        << Entries{e("2.10", "a.bin"), e("2.20", "b.bin")};
    QTest::newRow("vertical tab and form feed before V")
        << QByteArray("\v\fV2.10 a.bin\n") << Entries{e("2.10", "a.bin")};
    QTest::newRow("Cyrillic first letter is no entry")
        << QByteArray("\xc2\xe5\xf0\xf1\xe8\xff 1\nV2.10 a.bin\n") << Entries{e("2.10", "a.bin")};
    QTest::newRow("blank-only lines between entries")
        << QByteArray("V1.00 a.bin\n \t \nV2.00 b.bin\n")
        << Entries{e("1.00", "a.bin"), e("2.00", "b.bin")};
    QTest::newRow("mark-like bytes inside a line stay Windows-1251")
        << QByteArray("V2.10 \xEF\xBB\xBF\n") << Entries{e("2.10", "п»ї")};
}

void TestVersionList::parse() {
    QFETCH(QByteArray, file);
    QFETCH(Entries, entries);
    QCOMPARE(parseVersionList(file), entries);
}

void TestVersionList::choicesStartWithTheOldestVersion() {
    const Entries all = versionChoices({e("2.10", "a")});
    QCOMPARE(all.size(), 2);
    QCOMPARE(all[0], e("меньше 2.10", "нет"));
    QCOMPARE(all[1], e("2.10", "a"));
    QCOMPARE(versionChoices({}), Entries{e("меньше 2.10", "нет")});
}

void TestVersionList::hostileFilesAreReadSafely_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("valueLength");

    QTest::newRow("very long line")
        << QByteArray("V1.00 ") + QByteArray(1 << 20, 'x') << 1 << (1 << 20);
    QTest::newRow("megabyte without a line end") << QByteArray(1 << 20, 'a') << 0 << 0;
    QByteArray stray(4096, '\0');
    for (int i = 0; i < stray.size(); ++i)
        stray[i] = char(i * 37);
    QTest::newRow("stray bytes") << stray << 0 << 0;
    QTest::newRow("NUL inside a line") << QByteArray("V1.00 a\0b\n", 10) << 1 << 3;
}

void TestVersionList::hostileFilesAreReadSafely() {
    QFETCH(QByteArray, file);
    QFETCH(int, count);
    QFETCH(int, valueLength);
    const Entries got = parseVersionList(file);
    QCOMPARE(got.size(), count);
    if (count > 0)
        QCOMPARE(got[0].value.size(), valueLength);
}

void TestVersionList::cp1251RoundTrip() {
    QByteArray all(256, '\0');
    for (int i = 0; i < 256; ++i)
        all[i] = char(i);
    const QString text = fromCp1251(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(text.mid(0xC0, 3), QStringLiteral("АБВ"));
    QCOMPARE(text.at(0xA8), QChar(u'Ё'));
    QCOMPARE(text.at(0xB9), QChar(u'№'));
    QCOMPARE(text.at(0x98), QChar(0xFFFD));
    QByteArray back = toCp1251(text);
    QCOMPARE(back.size(), 256);
    back[0x98] = char(0x98); // the one byte without a character
    QCOMPARE(back, all);
    QCOMPARE(toCp1251(u"日本"), QByteArray("??"));
}

QTEST_GUILESS_MAIN(TestVersionList)
#include "tst_versionlist.moc"
