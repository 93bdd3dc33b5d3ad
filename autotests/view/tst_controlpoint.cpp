#include "pointsfixture.h"

#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <limits>

using namespace kia;

class TestControlPoint : public QObject {
    Q_OBJECT
private slots:
    void recordLayout();
    void loadRules_data();
    void loadRules();
    void missingFile();
    void rejectedFileLeavesNoPoints();
    void findPoint_data();
    void findPoint();
    void fullNameFieldIsReadSafely();

private:
    QTemporaryDir m_dir;
};

void TestControlPoint::recordLayout() {
    // A record written by hand, byte by byte, as another tool would write it.
    uchar r[56] = {};
    std::memcpy(r, "DD3/15", 6);
    qToLittleEndian<qint32>(100, r + 32);
    qToLittleEndian<qint32>(-1, r + 36);
    qToLittleEndian<qint32>(0x12345, r + 40);
    qToLittleEndian<qint32>(7, r + 44);
    qToLittleEndian<quint16>(64, r + 48);
    r[50] = 2;
    r[51] = 3;
    r[52] = 0x11;
    r[53] = 0xAB;

    const ControlPoint p = ControlPoint::fromRecord(r);
    QCOMPARE(p.name(), QByteArray("DD3/15"));
    QCOMPARE(p.x(PictureSchematic), 100);
    QCOMPARE(p.y(PictureSchematic), -1);
    QCOMPARE(p.x(PictureLayout), 0x12345);
    QCOMPARE(p.y(PictureLayout), 7);
    QCOMPARE(p.state, quint16(MarkDriver)); // loaded unchanged
    QCOMPARE(p.quadrant(PictureSchematic), 2);
    QCOMPARE(p.quadrant(PictureLayout), 3);
    QVERIFY(p.onBoard(0) && p.onBoard(4) && !p.onBoard(1));

    uchar back[56];
    p.toRecord(back);
    QCOMPARE(QByteArray(reinterpret_cast<char*>(back), 56),
             QByteArray(reinterpret_cast<char*>(r), 56));
}

void TestControlPoint::loadRules_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("boardType");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("count");

    const QByteArray all = pointsFileBytes({makePoint("X1/1", 1, 2, 3, 4, 0x1F)});
    const QByteArray type4 = pointsFileBytes({makePoint("DD5/1", 1, 2, 3, 4, 0x10)});
    const QByteArray mixed =
        pointsFileBytes({makePoint("A", 1, 1, 1, 1, 0x01), makePoint("B", 1, 1, 1, 1, 0x10),
                         makePoint("C", 1, 1, 1, 1, 0x03)});

    QTest::newRow("empty file") << QByteArray() << 0 << false << 0;
    for (int t = 0; t < 5; ++t)
        QTest::addRow("mask 0x1F on board %d", t) << all << t << true << 1;
    QTest::newRow("57 bytes") << all + QByteArray(1, '\0') << 0 << false << 0;
    QTest::newRow("55 bytes") << all.left(55) << 0 << false << 0;
    QTest::newRow("mask 0x10 on board 4") << type4 << 4 << true << 1;
    QTest::newRow("mask 0x10 on board 0: valid, empty") << type4 << 0 << true << 0;
    QTest::newRow("mixed on board 0") << mixed << 0 << true << 2;
    QTest::newRow("mixed on board 1") << mixed << 1 << true << 1;
    QTest::newRow("mixed on board 4") << mixed << 4 << true << 1;

    // Coordinates no picture can hold are refused on both pictures; at the
    // limit a point still loads, and a far point of another board is left alone.
    const int far = std::numeric_limits<qint32>::max();
    const int low = std::numeric_limits<qint32>::min();
    const int edge = MaxPointCoordinate;
    QTest::newRow("diagram x at int max")
        << pointsFileBytes({makePoint("A", far, 1, 1, 1)}) << 0 << false << 0;
    QTest::newRow("diagram y at int min")
        << pointsFileBytes({makePoint("A", 1, low, 1, 1)}) << 0 << false << 0;
    QTest::newRow("layout x at int max")
        << pointsFileBytes({makePoint("A", 1, 1, far, 1)}) << 0 << false << 0;
    QTest::newRow("layout y past the limit")
        << pointsFileBytes({makePoint("A", 1, 1, 1, edge + 1)}) << 0 << false << 0;
    QTest::newRow("at the limit on both pictures")
        << pointsFileBytes({makePoint("A", edge, -edge, -edge, edge)}) << 0 << true << 1;
    QTest::newRow("far point of another board")
        << pointsFileBytes({makePoint("A", 1, 1, 1, 1, 0x01), makePoint("B", far, 1, 1, 1, 0x10)})
        << 0 << true << 1;
}

void TestControlPoint::loadRules() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, boardType);
    QFETCH(bool, ok);
    QFETCH(int, count);

    const QString path = m_dir.filePath(QStringLiteral("points.dot"));
    QVERIFY(writeFile(path, bytes));
    QList<ControlPoint> points;
    QCOMPARE(LoadPointsFile(path, boardType, points), ok);
    QCOMPARE(points.size(), count);
}

void TestControlPoint::missingFile() {
    QList<ControlPoint> points{makePoint("old", 1, 1, 1, 1)};
    QVERIFY(!LoadPointsFile(m_dir.filePath(QStringLiteral("none.dot")), 0, points));
    QVERIFY(points.isEmpty());
}

void TestControlPoint::rejectedFileLeavesNoPoints() {
    const QString path = m_dir.filePath(QStringLiteral("bad.dot"));
    QVERIFY(writeFile(path, pointsFileBytes({makePoint("A", 1, 1, 1, 1)}) + "xx"));
    QList<ControlPoint> points{makePoint("old", 1, 1, 1, 1)};
    QVERIFY(!LoadPointsFile(path, 0, points));
    QVERIFY(points.isEmpty());
}

void TestControlPoint::findPoint_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("boardType");
    QTest::addColumn<int>("index");

    QTest::newRow("first of two equal names") << QStringLiteral("X5/7") << 0 << 1;
    QTest::newRow("first of the board type") << QStringLiteral("X5/7") << 2 << 2;
    QTest::newRow("case matters") << QStringLiteral("x5/7") << 0 << -1;
    QTest::newRow("whole name only") << QStringLiteral("X5") << 0 << -1;
    QTest::newRow("Cyrillic name") << QStringLiteral("ФП/1") << 0 << 3;
    QTest::newRow("no such point") << QStringLiteral("DD99/1") << 0 << -1;
    QTest::newRow("empty name") << QString() << 0 << -1;
}

void TestControlPoint::findPoint() {
    QFETCH(QString, name);
    QFETCH(int, boardType);
    QFETCH(int, index);

    const QList<ControlPoint> points{
        makePoint("DD3/1", 1, 1, 1, 1, 0x1F), makePoint("X5/7", 1, 1, 1, 1, 0x03),
        makePoint("X5/7", 2, 2, 2, 2, 0x1F),
        makePoint("\xD4\xCF/1", 3, 3, 3, 3, 0x1F), // "ФП/1" in Windows-1251
    };
    QCOMPARE(FindPoint(points, boardType, name), index);
}

void TestControlPoint::fullNameFieldIsReadSafely() {
    // 31 characters and the NUL fill the field exactly.
    const QByteArray name31(31, 'N');
    QList<ControlPoint> points{makePoint(name31, 1, 1, 1, 1)};
    QCOMPARE(points[0].name(), name31);
    QCOMPARE(FindPoint(points, 0, QByteArrayView(name31)), 0);
    QCOMPARE(FindPoint(points, 0, QByteArrayView(name31.left(30))), -1);

    // A record whose name field has no NUL at all: the name stops at the field's end.
    QByteArray bytes = pointsFileBytes(points);
    bytes[31] = 'Z';
    bytes[32] = 'Q'; // the next field's first byte is not part of the name
    const QString path = m_dir.filePath(QStringLiteral("nonul.dot"));
    QVERIFY(writeFile(path, bytes));
    QList<ControlPoint> loaded;
    QVERIFY(LoadPointsFile(path, 0, loaded));
    QCOMPARE(loaded[0].name(), name31 + 'Z');
    QCOMPARE(FindPoint(loaded, 0, QByteArrayView(name31 + 'Z')), 0);
}

QTEST_GUILESS_MAIN(TestControlPoint)
#include "tst_controlpoint.moc"
