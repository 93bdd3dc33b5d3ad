#include "pointsfixture.h"
#include "view/boardgeometry.h"

#include <QTest>

using namespace kia;

class TestBoardGeometry : public QObject {
    Q_OBJECT
private slots:
    void picking_data();
    void picking();
    void pickingUsesThePicturesOwnCoordinates();
    void markerCorners_data();
    void markerCorners();
    void centring_data();
    void centring();
};

void TestBoardGeometry::picking_data() {
    QTest::addColumn<QList<ControlPoint>>("points");
    QTest::addColumn<QPoint>("mouse");
    QTest::addColumn<int>("picked");

    const ControlPoint a = makePoint("A", 100, 100, -1, -1);
    const ControlPoint b = makePoint("B", 104, 100, -1, -1);
    QTest::newRow("exact hit") << QList<ControlPoint>{a} << QPoint(100, 100) << 0;
    QTest::newRow("nearest wins") << QList<ControlPoint>{a, b} << QPoint(103, 100) << 1;
    QTest::newRow("tie: earlier point") << QList<ControlPoint>{a, b} << QPoint(102, 100) << 0;
    QTest::newRow("tie, order swapped") << QList<ControlPoint>{b, a} << QPoint(102, 100) << 0;
    QTest::newRow("tie across axes")
        << QList<ControlPoint>{makePoint("H", 103, 100, 0, 0), makePoint("V", 100, 103, 0, 0)}
        << QPoint(100, 100) << 0;
    // The box reaches 10 left/up inclusive and 10 right/down exclusive.
    QTest::newRow("10 left: inside") << QList<ControlPoint>{a} << QPoint(110, 100) << 0;
    QTest::newRow("10 up: inside") << QList<ControlPoint>{a} << QPoint(100, 110) << 0;
    QTest::newRow("10 right: outside") << QList<ControlPoint>{a} << QPoint(90, 100) << -1;
    QTest::newRow("10 down: outside") << QList<ControlPoint>{a} << QPoint(100, 90) << -1;
    QTest::newRow("9 right: inside") << QList<ControlPoint>{a} << QPoint(91, 100) << 0;
    QTest::newRow("corner of the box counts") << QList<ControlPoint>{a} << QPoint(109, 91) << 0;
    QTest::newRow("11 left: outside") << QList<ControlPoint>{a} << QPoint(111, 100) << -1;
    // Near the picture's edge the box is clipped at 0 and the point stays reachable.
    const ControlPoint edge = makePoint("E", 0, 2, 0, 0);
    QTest::newRow("point on the left edge") << QList<ControlPoint>{edge} << QPoint(5, 5) << 0;
    QTest::newRow("point at the origin")
        << QList<ControlPoint>{makePoint("O", 0, 0, 0, 0)} << QPoint(9, 9) << 0;
    QTest::newRow("mouse left of the picture")
        << QList<ControlPoint>{makePoint("O", 0, 0, 0, 0)} << QPoint(-5, 0) << 0;
    // Negative coordinates: not on this picture, never hit.
    QTest::newRow("negative x") << QList<ControlPoint>{makePoint("N", -1, 5, 0, 0)} << QPoint(0, 5)
                                << -1;
    QTest::newRow("negative y") << QList<ControlPoint>{makePoint("N", 5, -3, 0, 0)} << QPoint(5, 0)
                                << -1;
    QTest::newRow("negative point skipped for a farther one")
        << QList<ControlPoint>{makePoint("N", -1, 0, 0, 0), makePoint("P", 6, 0, 0, 0)}
        << QPoint(0, 0) << 1;
    QTest::newRow("no points") << QList<ControlPoint>{} << QPoint(0, 0) << -1;
}

void TestBoardGeometry::picking() {
    QFETCH(QList<ControlPoint>, points);
    QFETCH(QPoint, mouse);
    QFETCH(int, picked);
    QCOMPARE(pickPoint(points, PictureSchematic, mouse.x(), mouse.y()), picked);
}

void TestBoardGeometry::pickingUsesThePicturesOwnCoordinates() {
    const QList<ControlPoint> points{makePoint("A", 10, 10, 500, 300)};
    QCOMPARE(pickPoint(points, PictureSchematic, 10, 10), 0);
    QCOMPARE(pickPoint(points, PictureLayout, 10, 10), -1);
    QCOMPARE(pickPoint(points, PictureLayout, 500, 300), 0);
}

void TestBoardGeometry::markerCorners_data() {
    QTest::addColumn<int>("quadrant");
    QTest::addColumn<QPoint>("topLeft");
    QTest::addColumn<QPoint>("tipCorner"); // the icon pixel that touches the point

    QTest::newRow("0: tip lower-left") << 0 << QPoint(50, 19) << QPoint(0, 31);
    QTest::newRow("1: tip upper-left") << 1 << QPoint(50, 50) << QPoint(0, 0);
    QTest::newRow("2: tip upper-right") << 2 << QPoint(19, 50) << QPoint(31, 0);
    QTest::newRow("3: tip lower-right") << 3 << QPoint(19, 19) << QPoint(31, 31);
}

void TestBoardGeometry::markerCorners() {
    QFETCH(int, quadrant);
    QFETCH(QPoint, topLeft);
    QFETCH(QPoint, tipCorner);
    const auto at = markerTopLeft(quadrant, 50, 50);
    QVERIFY(at.has_value());
    QCOMPARE(*at, topLeft);
    QCOMPARE(*at + tipCorner, QPoint(50, 50));
    QVERIFY(!markerTopLeft(4, 50, 50).has_value());
    QCOMPARE(highlightTopLeft(50, 50) + QPoint(0, 31), QPoint(50, 50));
}

void TestBoardGeometry::centring_data() {
    QTest::addColumn<int>("coord");
    QTest::addColumn<int>("client");
    QTest::addColumn<int>("picture");
    QTest::addColumn<int>("scroll");

    QTest::newRow("point in the far part") << 900 << 400 << 1189 << 700;
    QTest::newRow("point in the first half window") << 150 << 400 << 1189 << 0;
    QTest::newRow("exactly half a window") << 200 << 400 << 1189 << 0;
    QTest::newRow("odd client") << 500 << 401 << 1189 << 300;
    QTest::newRow("picture fits: centred, no scroll") << 700 << 1300 << 1189 << 0;
    QTest::newRow("picture as wide as the client") << 700 << 1189 << 1189 << 0;
}

void TestBoardGeometry::centring() {
    QFETCH(int, coord);
    QFETCH(int, client);
    QFETCH(int, picture);
    QFETCH(int, scroll);
    const int offset = pictureOffset(client, picture);
    QCOMPARE(centringScroll(coord, offset, client, picture), scroll);
}

QTEST_GUILESS_MAIN(TestBoardGeometry)
#include "tst_boardgeometry.moc"
