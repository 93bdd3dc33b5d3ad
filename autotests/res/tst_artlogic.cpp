// The generator's own rules: it refuses tables that would draw a wrong or
// untidy picture, writes point records byte-exactly and never lets a marker
// leave its picture.

#include "sourcefiles.h"

#include "artkit.h"
#include "boardtables.h"
#include "layoutpainter.h"
#include "pointsfile.h"
#include "schematicpainter.h"

#include <QtEndian>
#include <QtTest>

using namespace kia::art;

Q_DECLARE_METATYPE(kia::art::Outward)

namespace {

QString u(const char* text) {
    return QString::fromUtf8(text);
}

// A register driving a four-contact connector: enough to exercise both painters.
BoardTables smallBoard(int boardType = 0) {
    BoardTables b;
    b.boardType = boardType;
    b.designation = u("402615.123");
    b.schematicSize = {1189, 961};
    b.layoutSize = {780, 481};
    b.parts.push_back({u("DD8"), octalRegister(), 0, {200, 100}, Orient::Horizontal});
    b.parts.push_back({u("X5"),
                       connector(4, {{1, u("ФАЗА1")}, {3, u("+5В")}, {4, u("Общ.")}}),
                       1,
                       {748, 70},
                       Orient::Vertical});
    b.nets = {{u("DD8/2"), u("X5/1")}, {u("DD8/5"), u("X5/2")}};
    return b;
}

bool blackNear(const QImage& img, QPoint p) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (img.rect().contains(p + QPoint(dx, dy)) &&
                qGray(img.pixel(p + QPoint(dx, dy))) < 128)
                return true;
    return false;
}

} // namespace

class TestArtLogic : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QString error;
        QVERIFY2(loadFonts(sourceFile(QStringLiteral("res/fonts/kia-mono.ttf")),
                           QStringLiteral("/usr/share/fonts/truetype/dejavu"), &error),
                 qPrintable(error));
    }

    void markerQuadrant_data() {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<Outward>("outward");
        QTest::addColumn<int>("quadrant");
        QTest::addColumn<QSize>("picture");
        QTest::newRow("left pin, room on the left")
            << QPoint(50, 50) << Outward::Left << 3 << QSize(100, 100);
        QTest::newRow("left pin near the top")
            << QPoint(50, 10) << Outward::Left << 2 << QSize(100, 100);
        QTest::newRow("left pin at the left edge")
            << QPoint(10, 50) << Outward::Left << 0 << QSize(100, 100);
        QTest::newRow("right pin, room on the right")
            << QPoint(50, 50) << Outward::Right << 0 << QSize(100, 100);
        QTest::newRow("right pin at the right edge")
            << QPoint(90, 50) << Outward::Right << 2 << QSize(100, 100);
        QTest::newRow("pad on the top edge")
            << QPoint(50, 10) << Outward::Up << 1 << QSize(100, 100);
        QTest::newRow("pad pointing down")
            << QPoint(50, 50) << Outward::Down << 1 << QSize(100, 100);
        QTest::newRow("pad pointing down at the bottom")
            << QPoint(50, 90) << Outward::Down << 0 << QSize(100, 100);
        QTest::newRow("icon may touch the edges")
            << QPoint(31, 68) << Outward::Left << 3 << QSize(100, 100);
        QTest::newRow("no room anywhere") << QPoint(20, 20) << Outward::Left << -1 << QSize(40, 40);
    }

    void markerQuadrant() {
        QFETCH(QPoint, at);
        QFETCH(Outward, outward);
        QFETCH(int, quadrant);
        QFETCH(QSize, picture);
        QCOMPARE(kia::art::markerQuadrant(PinSpot{at, outward}, picture), quadrant);
    }

    void recordBytes() {
        const ControlPointRecord rec{u("DD3/15"), {1189, -1}, {780, 0}, 3, 1, 0x0F};
        QByteArray bytes;
        QString error;
        QVERIFY(encodePointsFile({rec, rec}, &bytes, &error));
        QCOMPARE(bytes.size(), 2 * PointRecordSize);
        const char* r = bytes.constData() + PointRecordSize;
        QCOMPARE(QByteArray(r, 7), QByteArray("DD3/15\0", 7));
        QCOMPARE(QByteArray(r + 7, 25), QByteArray(25, '\0'));
        QCOMPARE(qFromLittleEndian<qint32>(r + 32), 1189);
        QCOMPARE(qFromLittleEndian<qint32>(r + 36), -1);
        QCOMPARE(qFromLittleEndian<qint32>(r + 40), 780);
        QCOMPARE(qFromLittleEndian<qint32>(r + 44), 0);
        QCOMPARE(QByteArray(r + 48, 2), QByteArray(2, '\0'));
        QCOMPARE(int(r[50]), 3);
        QCOMPARE(int(r[51]), 1);
        QCOMPARE(int(r[52]), 0x0F);
        QCOMPARE(QByteArray(r + 53, 3), QByteArray(3, '\0'));
    }

    void recordNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("encoded"); // empty: refused
        QTest::newRow("latin") << u("X10/8") << QByteArray("X10/8");
        QTest::newRow("cyrillic") << u("Щуп Ёё") << QByteArray("\xD9\xF3\xEF \xA8\xB8");
        QTest::newRow("31 characters") << QString(31, QLatin1Char('A')) << QByteArray(31, 'A');
        QTest::newRow("32 characters") << QString(32, QLatin1Char('A')) << QByteArray();
        QTest::newRow("empty") << QString() << QByteArray();
        QTest::newRow("outside the code page") << u("DD3/1€") << QByteArray();
        QTest::newRow("control character") << u("DD3\t1") << QByteArray();
    }

    void recordNames() {
        QFETCH(QString, name);
        QFETCH(QByteArray, encoded);
        QByteArray bytes;
        QString error;
        const bool ok =
            encodePointsFile({ControlPointRecord{name, {1, 1}, {1, 1}, 0, 0, 1}}, &bytes, &error);
        QCOMPARE(ok, !encoded.isEmpty());
        if (ok) {
            QCOMPARE(bytes.left(encoded.size()), encoded);
            QCOMPARE(bytes.at(encoded.size()), '\0');
        } else {
            QVERIFY(error.contains(name));
        }
    }

    // Every drawn pin gets a spot on a black pixel of its picture, on the
    // side it leaves its part.
    void smallBoardSpots() {
        const BoardTables board = smallBoard();
        QImage sch;
        QImage lay;
        PinSpots schSpots;
        PinSpots laySpots;
        QString error;
        QVERIFY2(paintSchematic(board, &sch, &schSpots, &error), qPrintable(error));
        QVERIFY2(paintLayout(board, &lay, &laySpots, &error), qPrintable(error));
        QCOMPARE(sch.size(), board.schematicSize);
        QCOMPARE(lay.size(), board.layoutSize);
        QCOMPARE(schSpots.size(), 20 + 4);
        QCOMPARE(laySpots.keys(), schSpots.keys());
        for (const QString& name : schSpots.keys()) {
            QVERIFY2(blackNear(sch, schSpots[name].at), qPrintable(name));
            QVERIFY2(blackNear(lay, laySpots[name].at), qPrintable(name));
        }
        QCOMPARE(schSpots[u("DD8/2")].outward, Outward::Right); // an output
        QCOMPARE(schSpots[u("DD8/3")].outward, Outward::Left);  // an input
        QVERIFY(schSpots[u("DD8/2")].at.x() > schSpots[u("DD8/3")].at.x());
        QVERIFY(schSpots[u("X5/1")].at.x() > schSpots[u("DD8/2")].at.x());
        QCOMPARE(laySpots[u("X5/1")].outward, Outward::Right); // connector on the right edge
        QCOMPARE(laySpots[u("X5/2")].at - laySpots[u("X5/1")].at, QPoint(0, 10));
    }

    void badNetsAreRefused_data() {
        QTest::addColumn<QStringList>("net");
        QTest::addColumn<QString>("named");
        QTest::newRow("no such contact") << QStringList{u("DD8/6"), u("X5/9")} << u("X5/9");
        QTest::newRow("no such part") << QStringList{u("DD7/2"), u("X5/1")} << u("DD7/2");
        QTest::newRow("supply pin of a chip") << QStringList{u("DD8/10"), u("X5/2")} << u("DD8/10");
        QTest::newRow("supply contact") << QStringList{u("DD8/6"), u("X5/3")} << u("X5/3");
        QTest::newRow("pin already wired") << QStringList{u("DD8/2"), u("DD8/6")} << u("DD8/2");
        QTest::newRow("one pin only") << QStringList{u("DD8/6")} << u("цепь 3");
        QTest::newRow("not a pin name") << QStringList{u("DD8"), u("X5/2")} << u("DD8");
    }

    void badNetsAreRefused() {
        QFETCH(QStringList, net);
        QFETCH(QString, named);
        BoardTables board = smallBoard();
        board.nets.push_back(std::vector<QString>(net.begin(), net.end()));
        QImage img;
        PinSpots spots;
        QString error;
        QVERIFY(!paintSchematic(board, &img, &spots, &error));
        QVERIFY2(error.contains(named), qPrintable(error));
    }

    void overfullColumnIsRefused() {
        BoardTables board = smallBoard();
        for (int i = 0; i < 4; ++i)
            board.parts.push_back({QStringLiteral("X%1").arg(20 + i),
                                   connector(20, {}),
                                   0,
                                   {100 + 40 * i, 300},
                                   Orient::Vertical});
        QImage img;
        PinSpots spots;
        QString error;
        QVERIFY(!paintSchematic(board, &img, &spots, &error));
        QVERIFY2(error.contains(u("по высоте")), qPrintable(error));
    }

    void layoutPlacementIsChecked_data() {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QString>("message");
        QTest::newRow("on top of DD8") << QPoint(230, 105) << u("перекрываются");
        QTest::newRow("off the board") << QPoint(740, 300) << u("за край");
        QTest::newRow("on a mounting hole") << QPoint(20, 30) << u("перекрываются");
    }

    void layoutPlacementIsChecked() {
        QFETCH(QPoint, at);
        QFETCH(QString, message);
        BoardTables board = smallBoard();
        board.decorations.push_back({Decoration::MountingHole, QString(), {22, 22}, false});
        board.parts.push_back({u("DD11"), decoder3to8(), 0, at, Orient::Horizontal});
        QImage img;
        PinSpots spots;
        QString error;
        QVERIFY(!paintLayout(board, &img, &spots, &error));
        QVERIFY2(error.contains(message), qPrintable(error));
    }

    // Board types drawn alike share records; a pin drawn elsewhere on one
    // type gets a record of its own.
    void pointsMergeAcrossBoardTypes() {
        std::vector<BoardTables> boards{smallBoard(0), smallBoard(1), smallBoard(3)};
        boards[2].parts[0].layoutAt += QPoint(0, 60); // DD8 sits lower on type 3
        std::vector<PinSpots> sch(3);
        std::vector<PinSpots> lay(3);
        QString error;
        for (size_t i = 0; i < boards.size(); ++i) {
            QImage img;
            QVERIFY(paintSchematic(boards[i], &img, &sch[i], &error));
            QVERIFY(paintLayout(boards[i], &img, &lay[i], &error));
        }
        std::vector<ControlPointRecord> records;
        QVERIFY2(collectPoints(boards, sch, lay, &records, &error), qPrintable(error));
        QCOMPARE(records.size(), size_t(24 + 20));
        for (const ControlPointRecord& rec : records) {
            if (rec.name.startsWith(u("X5")))
                QCOMPARE(int(rec.boardMask), 0x0B);
            else
                QVERIFY(rec.boardMask == 0x03 || rec.boardMask == 0x08);
        }
    }

    void pinOnOnePictureOnlyIsRefused() {
        const std::vector<BoardTables> boards{smallBoard()};
        std::vector<PinSpots> sch(1);
        std::vector<PinSpots> lay(1);
        sch[0].insert(u("DD8/2"), PinSpot{{300, 300}, Outward::Right});
        std::vector<ControlPointRecord> records;
        QString error;
        QVERIFY(!collectPoints(boards, sch, lay, &records, &error));
        QVERIFY2(error.contains(u("DD8/2")), qPrintable(error));
    }
};

QTEST_MAIN(TestArtLogic)
#include "tst_artlogic.moc"
