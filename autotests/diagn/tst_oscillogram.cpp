// The reference oscillogram as geometry: scales and zero lines by the span of
// the expected levels, tolerance bands, the label, the item the waveform
// starts with and the lengths of its steps; and the oscilloscope fields of a
// command line.
#undef QT_NO_CAST_FROM_ASCII

#include "diagn/oscillogram.h"

#include <QTest>

using namespace kia;

namespace {
OscCommand command(const QString& line) {
    OscCommand c;
    if (!parseOscCommand(line, c))
        qFatal("command line does not parse");
    return c;
}
using Doubles = QList<double>;
} // namespace

class TestOscillogram : public QObject {
    Q_OBJECT
private slots:
    void scale_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("scale");
        QTest::addColumn<double>("pixels");
        QTest::addColumn<int>("zeroY");
        QTest::addColumn<Doubles>("bands"); // top, bottom of each band in pixels
        QTest::newRow("0 and 50") << "OUT-0,50;" << "1.0v/дел." << 1.5 << 90
                                  << Doubles{78, 97.5, 10.5, 37.5};
        QTest::newRow("span 29") << "OUT-0,29;" << "0.5v/дел." << 3.0 << 90 << Doubles{78, 105, 60, 72};
        QTest::newRow("span 30") << "OUT-0,30;" << "1.0v/дел." << 1.5 << 90 << Doubles{78, 97.5, 10.5, 37.5};
        QTest::newRow("span 69") << "OUT-69;" << "1.0v/дел." << 1.5 << 90 << Doubles{78, 97.5, 10.5, 37.5};
        QTest::newRow("span 70") << "OUT-0,70;" << "2.0v/дел." << 0.75 << 105
                                 << Doubles{91.5, 108.75, 0, 22.5};
        QTest::newRow("span 126") << "OUT-126;" << "2.0v/дел." << 0.75 << 105 << Doubles{91.5, 108.75, 0, 22.5};
        QTest::newRow("span 127: no default bands") << "OUT-0,127;" << "5.0v/дел." << 0.3 << 90 << Doubles{};
        QTest::newRow("HI left out") << "OUT-HI,5;" << "0.5v/дел." << 3.0 << 90 << Doubles{78, 105, 60, 72};
        QTest::newRow("NULL-1 on 2.0") << "OUT-0,120;NULL-1;" << "2.0v/дел." << 0.75 << 90
                                       << Doubles{76.5, 93.75, -15, 7.5};
        QTest::newRow("NULL-0 on 0.5") << "OUT-0,5;NULL-0;" << "0.5v/дел." << 3.0 << 105
                                       << Doubles{93, 120, 75, 87};
        QTest::newRow("LIM- replaces") << "OUT-0,50;LIM-10:-2,60:30;" << "1.0v/дел." << 1.5 << 90
                                       << Doubles{75, 93, 0, 45};
        QTest::newRow("no items") << "SET-0;" << "0.5v/дел." << 3.0 << 90 << Doubles{78, 105, 60, 72};
    }
    void scale() {
        QFETCH(QString, line);
        QFETCH(Doubles, bands);
        const Oscillogram o = buildOscillogram(command(line), 300, "10ms");
        QTEST(o.scaleText, "scale");
        QTEST(o.pixelsPerTenth, "pixels");
        QTEST(o.zeroY, "zeroY");
        Doubles got;
        for (const auto& b : o.bands)
            got << b.top << b.bottom;
        QCOMPARE(got, bands);
    }

    void label_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("label");
        QTest::newRow("one item") << "OUT-50;SET-0;" << "1.0v/дел.";
        QTest::newRow("two items") << "OUT-0,50;SET-0;" << "1.0v/дел. - 10ms/дел.";
    }
    void label() {
        QFETCH(QString, line);
        QTEST(buildOscillogram(command(line), 300, "10ms").label, "label");
    }

    void startItem_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("start");
        QTest::newRow("low after high") << "OUT-50,0,0,50;" << 1;
        QTest::newRow("first low does not follow") << "OUT-0,50,0;" << 2;
        QTest::newRow("all one level") << "OUT-5,5;" << 0;
        QTest::newRow("after HI") << "OUT-HI,0;" << 1;
        QTest::newRow("SYNC-") << "OUT-50,0,30;SYNC-2;" << 2;
        QTest::newRow("SYNC-0 wins") << "OUT-50,0;SYNC-0;" << 0;
    }
    void startItem() {
        QFETCH(QString, line);
        QTEST(oscStartItem(command(line)), "start");
    }

    void waveform() {
        // Row step 300 tenths: 30 px per item; ":9" doubles an item.
        const Oscillogram o = buildOscillogram(command("OUT-50,0:9;SET-0;"), 300, "10ms");
        QCOMPARE(o.startItem, 1);
        QVERIFY(o.levelSegments.size() >= 3);
        QCOMPARE(o.levelSegments[0], QLineF(0, 90, 60, 90));         // 0 V, doubled
        QCOMPARE(o.levelSegments[1], QLineF(60, 15, 90, 15));        // 5 V
        QCOMPARE(o.levelSegments[2], QLineF(90, 90, 150, 90));       // cut at the right edge
        QCOMPARE(o.levelSegments.size(), 3);
        QCOMPARE(o.edges.size(), 2);
        QCOMPARE(o.edges[0], QLineF(60, 90, 60, 15));
        QVERIFY(o.zigzags.isEmpty());
    }

    void withoutRowOneLongStep() {
        const Oscillogram o = buildOscillogram(command("OUT-50,0;"), 300, "10ms");
        QCOMPARE(o.levelSegments.size(), 1);
        QCOMPARE(o.levelSegments[0].x2(), 150.0);
    }

    void hiIsAZigZagAroundTheLastLevel() {
        const Oscillogram o = buildOscillogram(command("OUT-50,HI;SET-0;"), 300, "10ms");
        QVERIFY(!o.zigzags.isEmpty());
        for (const QLineF& l : o.zigzags) {
            QVERIFY(qAbs(l.y1() - 15) <= 3 && qAbs(l.y2() - 15) <= 3);
            QVERIFY(l.x2() <= 150);
        }
        QVERIFY(o.edges.isEmpty()); // HI draws no edge
    }

    void zigzagsCoverThePicture_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("rowStep");
        QTest::addColumn<int>("lines");
        QTest::newRow("one long step") << "OUT-HI;" << 300 << 75;
        QTest::newRow("30 px steps") << "OUT-HI;SET-0;" << 300 << 75;
        QTest::newRow("2.5 px steps: a short line each") << "OUT-HI;SET-0;" << 25 << 120;
        QTest::newRow("64 steps do not reach the edge") << "OUT-HI;SET-0;" << 15 << 64;
        QTest::newRow("HI between levels") << "OUT-HI,0,HI:9;SET-0;" << 90 << 56;
    }
    void zigzagsCoverThePicture() {
        QFETCH(QString, line);
        QFETCH(int, rowStep);
        const Oscillogram o = buildOscillogram(command(line), rowStep, "10ms");
        QTEST(int(o.zigzags.size()), "lines");
        // Each zig-zag line starts where the one before it ended, unless a level step lies between.
        double drawnTo = 0;
        for (const QLineF& l : o.zigzags) {
            QVERIFY(l.x1() >= drawnTo - 1e-9);
            QVERIFY(l.x2() > l.x1() && l.x2() <= l.x1() + 2 + 1e-9);
            drawnTo = l.x2();
        }
        QVERIFY(drawnTo <= 150);
    }

    void fields_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("parses");
        QTest::newRow("all") << "OUT-0,50:3,HI;IN-1,2;SET-18;OSC-201;TIME-20;SYNC-1;LIM-8:-5;NULL-1;CON-XS1"
                             << true;
        QTest::newRow("row past table") << "OUT-0;SET-25;" << false;
        QTest::newRow("period 0") << "OUT-0;TIME-0;" << false;
        QTest::newRow("NULL-2") << "OUT-0;NULL-2;" << false;
        QTest::newRow("SYNC past items") << "OUT-0,50;SYNC-2;" << false;
        QTest::newRow("band without bottom") << "OUT-0;LIM-8;" << false;
        QTest::newRow("length no number") << "OUT-0:x;" << false;
        QTest::newRow("OSC no number") << "OSC-A;" << false;
    }
    void fields() {
        QFETCH(QString, line);
        OscCommand c;
        QString error;
        QTEST(parseOscCommand(line, c, &error), "parses");
    }

    void allFieldsRead() {
        const OscCommand c =
            command("OUT-0,50:3,HI;IN-1,2;SET-18;OSC-201;TIME-20;SYNC-1;LIM-8:-5;NULL-1;CON-XS1");
        QCOMPARE(c.items.size(), 3);
        QCOMPARE(c.items[1].extra, 3);
        QVERIFY(c.items[2].hi);
        QCOMPARE(c.inputs, (QList<int>{1, 2}));
        QCOMPARE(c.row, 18);
        QCOMPARE(c.picture, 201);
        QCOMPARE(c.timeMs, 20);
        QCOMPARE(c.sync, 1);
        QCOMPARE(c.bands.size(), 1);
        QCOMPARE(c.bands[0].bottom, -5);
        QCOMPARE(c.zeroLine, 1);
        QCOMPARE(c.connectTo, QStringLiteral("XS1"));
        QCOMPARE(command("OUT-5;").timeMs, 1);
    }
};

QTEST_GUILESS_MAIN(TestOscillogram)
#include "tst_oscillogram.moc"
