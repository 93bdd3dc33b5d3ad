// The points file against the board tables of the tests and the pictures:
// every name a test or message uses exists for its board type, and every
// point lands on a drawn pin with its marker inside the picture.

#include "sourcefiles.h"

#include <QFile>
#include <QImage>
#include <QRect>
#include <QSet>
#include <QtEndian>
#include <QtTest>

namespace {

constexpr int RecordSize = 56;

struct Point {
    QByteArray rawName; // the 32-byte field
    QString name;
    QPoint at[2]; // schematic, layout
    quint16 state = 0;
    int quadrant[2] = {0, 0};
    quint8 mask = 0;
    QByteArray tail; // bytes 53..55
};

QStringList words(const char* list) {
    return QString::fromLatin1(list).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

QString pinRange(const char* chip, int from, int to) {
    QStringList out;
    for (int n = from; n <= to; ++n)
        out << QStringLiteral("%1/%2").arg(QLatin1String(chip)).arg(n);
    return out.join(QLatin1Char(' '));
}

// Icon rectangle of a marker whose tip is at p, for a quadrant.
QRect markerRect(QPoint p, int quadrant) {
    switch (quadrant) {
    case 0:
        return QRect(p.x(), p.y() - 31, 32, 32);
    case 1:
        return QRect(p.x(), p.y(), 32, 32);
    case 2:
        return QRect(p.x() - 31, p.y(), 32, 32);
    default:
        return QRect(p.x() - 31, p.y() - 31, 32, 32);
    }
}

bool nearBlack(const QImage& img, QPoint p) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const QPoint q = p + QPoint(dx, dy);
            if (img.rect().contains(q) && qGray(img.pixel(q)) < 128)
                return true;
        }
    return false;
}

} // namespace

class TestPointsFile : public QObject {
    Q_OBJECT

private:
    QByteArray m_bytes;
    QVector<Point> m_points;
    QImage m_pictures[5][2];

    QSet<QString> namesOf(int boardType) const {
        QSet<QString> names;
        for (const Point& p : m_points)
            if (p.mask & (1u << boardType))
                names.insert(p.name);
        return names;
    }

private slots:
    void initTestCase() {
        QFile file(sourceFile(QStringLiteral("data/kia_nelta2.dot")));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
        m_bytes = file.readAll();
        QVERIFY(!m_bytes.isEmpty());
        QCOMPARE(m_bytes.size() % RecordSize, 0);
        for (int off = 0; off < m_bytes.size(); off += RecordSize) {
            const char* r = m_bytes.constData() + off;
            Point p;
            p.rawName = QByteArray(r, 32);
            p.name = QString::fromLatin1(r, static_cast<int>(qstrnlen(r, 32)));
            p.at[0] = QPoint(qFromLittleEndian<qint32>(r + 32), qFromLittleEndian<qint32>(r + 36));
            p.at[1] = QPoint(qFromLittleEndian<qint32>(r + 40), qFromLittleEndian<qint32>(r + 44));
            p.state = qFromLittleEndian<quint16>(r + 48);
            p.quadrant[0] = static_cast<quint8>(r[50]);
            p.quadrant[1] = static_cast<quint8>(r[51]);
            p.mask = static_cast<quint8>(r[52]);
            p.tail = QByteArray(r + 53, 3);
            m_points.append(p);
        }
        for (int type = 0; type < 5; ++type) {
            const int ids[2] = {BoardPictureIds[type].schematic, BoardPictureIds[type].layout};
            for (int mode = 0; mode < 2; ++mode) {
                m_pictures[type][mode] =
                    QImage(bitmapFile(ids[mode])).convertToFormat(QImage::Format_RGB32);
                QVERIFY2(!m_pictures[type][mode].isNull(), qPrintable(bitmapFile(ids[mode])));
            }
        }
    }

    void recordsAreWellFormed() {
        QStringList faults;
        for (const Point& p : m_points) {
            const int nul = p.rawName.indexOf('\0');
            if (nul <= 0)
                faults << QStringLiteral("record \"%1\": name empty or not NUL-terminated")
                              .arg(p.name);
            else if (p.rawName.mid(nul).count('\0') != 32 - nul)
                faults << QStringLiteral("%1: bytes after the NUL are not zero").arg(p.name);
            if (p.mask == 0 || p.mask > 0x1F)
                faults << QStringLiteral("%1: board mask 0x%2").arg(p.name).arg(p.mask, 0, 16);
            if (p.quadrant[0] > 3 || p.quadrant[1] > 3)
                faults << QStringLiteral("%1: quadrant %2/%3")
                              .arg(p.name)
                              .arg(p.quadrant[0])
                              .arg(p.quadrant[1]);
            if (p.state != 0)
                faults
                    << QStringLiteral("%1: stored with marker state %2").arg(p.name).arg(p.state);
            if (p.tail != QByteArray(3, '\0'))
                faults << QStringLiteral("%1: reserved bytes not zero").arg(p.name);
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    // Names that the circuit tables, the pin lists of the pin scan, the bus
    // test's port pins and the link messages use, by board type.
    void requiredNamesExist_data() {
        QTest::addColumn<int>("boardType");
        QTest::addColumn<QStringList>("names");

        const QString busDD3 = pinRange("DD3", 1, 8) + QLatin1Char(' ') + pinRange("DD3", 10, 17) +
                               QLatin1Char(' ') + pinRange("DD3", 21, 28) + QLatin1Char(' ') +
                               pinRange("DD3", 32, 39);
        const QString busDD5 = pinRange("DD5", 30, 37) + QLatin1Char(' ') +
                               pinRange("DD5", 40, 44) + QStringLiteral(" DD5/1 DD5/2 DD5/3 ") +
                               pinRange("DD5", 18, 25) + QStringLiteral(" DD5/5 ") +
                               pinRange("DD5", 7, 13);
        const QStringList scanDD3 =
            words("DD3/1 DD3/2 DD3/3 DD3/4 DD3/5 DD3/8 DD3/21 DD3/22 DD3/23 DD3/24 "
                  "DD3/25 DD3/26 DD3/27 DD3/28 DD3/16");
        const QStringList scanPpi =
            words("4 3 2 1 40 39 38 37 18 19 20 21 22 23 24 14 15 16 17 12 11 10");
        QStringList scan012 = scanDD3;
        QStringList scan3 = scanDD3;
        for (int i = 0; i < scanPpi.size(); ++i) {
            scan012 << QStringLiteral("DD14/") + scanPpi[i];
            scan3 << (i == 2 ? QStringLiteral("DD14/2") : QStringLiteral("DD15/") + scanPpi[i]);
        }

        const QStringList circuits0 = words("DD3/20 DD3/40 X3/7 DD8/2 X5/1 DD8/5 X5/2 DD8/6 X5/3 "
                                            "DD8/9 X5/4 DD8/16 X3/9 DD14/25 X3/11 "
                                            "DD8/19 X3/14 DD14/13 X3/15 X2/2 DD3/13 DD3/15 X5/7 "
                                            "X6/14 DD8/15 X6/3 DD3/14 X6/12 DD8/12 "
                                            "X6/6 X3/18");
        const QStringList circuits12 = words("DD3/20 DD3/40 X3/7 DD8/2 DD8/6 X5/1 X5/2 DD8/5 DD8/9 "
                                             "X5/3 X5/4 DD8/16 X3/9 DD14/25 X3/11 "
                                             "DD8/19 X3/14 DD14/13 X3/15 X6/1 X2/2 DD3/13 X6/2 "
                                             "DD3/15 X7/14 DD8/15 X7/9 DD3/14 X7/12 "
                                             "DD8/12 X7/6 X3/18");
        const QStringList circuits3 = words(
            "DD3/20 DD3/40 X3/1 DD8/2 DD8/6 DD8/5 DD8/9 X6/1 X6/2 X6/3 X6/4 DD8/16 X3/9 DD15/25 "
            "X3/11 "
            "DD15/2 X3/15 DD15/1 X7/1 X2/2 DD3/13 X7/2 DD3/7 DD3/15 X8/14 DD8/15 X8/9 DD3/14 X8/12 "
            "DD8/12 X8/6 X8/1 DD3/2 X5/5 DD3/3 X5/4");
        const QStringList circuits4 = words("DD5/16 DD5/38 X3/1 DD12/2 DD12/9 X5/1 X5/2 DD12/5 "
                                            "X5/3 X5/4 DD12/19 X3/9 X3/11 DD11/9 X3/12 "
                                            "DD12/15 X3/14 X6/1 X6/2 DD11/7 DD12/16 X2/7 X2/2 "
                                            "DD5/9 X2/8 DD11/8 DD5/40 DD5/41 DD5/42 "
                                            "DD5/25 X7/9 DD5/12 X7/12 DD5/37 X7/14 X7/1 X7/15 "
                                            "DD12/6 X7/6 DD5/11 X10/6 DD5/10 X10/8");

        QTest::newRow("type 0 circuits") << 0 << circuits0;
        QTest::newRow("type 1 circuits") << 1 << circuits12;
        QTest::newRow("type 2 circuits") << 2 << circuits12;
        QTest::newRow("type 3 circuits") << 3 << circuits3;
        QTest::newRow("type 4 circuits") << 4 << circuits4;
        for (int type = 0; type < 3; ++type)
            QTest::addRow("type %d pin scan", type) << type << scan012;
        QTest::newRow("type 3 pin scan") << 3 << scan3;
        for (int type = 0; type < 4; ++type)
            QTest::addRow("type %d bus test", type) << type << busDD3.split(QLatin1Char(' '));
        QTest::newRow("type 4 pin scan and bus test") << 4 << busDD5.split(QLatin1Char(' '));
        for (int type = 0; type < 5; ++type)
            QTest::addRow("type %d probe supply", type)
                << type << QStringList{QStringLiteral("X1/1")};
    }

    void requiredNamesExist() {
        QFETCH(int, boardType);
        QFETCH(QStringList, names);
        const QSet<QString> present = namesOf(boardType);
        QStringList missing;
        for (const QString& name : names)
            if (!present.contains(name))
                missing << name;
        QVERIFY2(missing.isEmpty(),
                 qPrintable(QStringLiteral("missing: ") + missing.join(QLatin1Char(' '))));
    }

    void boardTypes_data() {
        QTest::addColumn<int>("boardType");
        for (int type = 0; type < 5; ++type)
            QTest::addRow("type %d", type) << type;
    }

    // Only the first point of a name can be marked, so a second one would
    // be a pin the engineer can never be sent to.
    void namesAreUniquePerBoard_data() { boardTypes_data(); }
    void namesAreUniquePerBoard() {
        QFETCH(int, boardType);
        QSet<QString> seen;
        QStringList twice;
        for (const Point& p : m_points) {
            if (!(p.mask & (1u << boardType)))
                continue;
            if (seen.contains(p.name))
                twice << p.name;
            seen.insert(p.name);
        }
        QVERIFY2(twice.isEmpty(), qPrintable(twice.join(QLatin1Char(' '))));
    }

    // Each point is on the black of a drawn pin (or next to it), inside both
    // pictures, with its marker icon wholly inside the picture, and no two
    // points of a board share a place (the mouse could reach only one).
    void pointsSitOnDrawnPins_data() {
        QTest::addColumn<int>("boardType");
        QTest::addColumn<int>("mode");
        for (int type = 0; type < 5; ++type) {
            QTest::addRow("type %d schematic", type) << type << 0;
            QTest::addRow("type %d layout", type) << type << 1;
        }
    }

    void pointsSitOnDrawnPins() {
        QFETCH(int, boardType);
        QFETCH(int, mode);
        const QImage& picture = m_pictures[boardType][mode];
        QStringList faults;
        QHash<QString, QString> places; // "x,y" -> name
        int count = 0;
        for (const Point& p : m_points) {
            if (!(p.mask & (1u << boardType)))
                continue;
            ++count;
            const QPoint at = p.at[mode];
            if (!picture.rect().contains(at))
                faults << QStringLiteral("%1 (%2,%3) outside").arg(p.name).arg(at.x()).arg(at.y());
            else if (!nearBlack(picture, at))
                faults << QStringLiteral("%1 (%2,%3) on white").arg(p.name).arg(at.x()).arg(at.y());
            if (!picture.rect().contains(markerRect(at, p.quadrant[mode])))
                faults << QStringLiteral("%1: marker of quadrant %2 leaves the picture")
                              .arg(p.name)
                              .arg(p.quadrant[mode]);
            const QString place = QStringLiteral("%1,%2").arg(at.x()).arg(at.y());
            const QString other = places.value(place);
            if (!other.isEmpty())
                faults << QStringLiteral("%1 and %2 share (%3)").arg(other, p.name, place);
            places.insert(place, p.name);
        }
        QVERIFY(count > 0);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(TestPointsFile)
#include "tst_pointsfile.moc"
