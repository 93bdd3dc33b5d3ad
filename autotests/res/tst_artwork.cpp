// The generated pictures and icons as the workstation uses them: sizes,
// line art that survives the AND over the background colour, icon tips in
// their corners, menu icons keyed on grey, the dark text area of the program
// picture and the bundled font.

#include "sourcefiles.h"

#include <QFontDatabase>
#include <QImage>
#include <QtTest>

namespace {

QImage loadBitmap(int id) {
    return QImage(bitmapFile(id));
}
QImage loadIcon(const QString& name) {
    return QImage(sourceFile(QStringLiteral("res/icons/%1.png").arg(name)));
}

const int MenuIconIds[] = {260, 262, 263, 264, 265, 266, 267, 268, 269, 270, 271,
                           272, 273, 274, 275, 276, 277, 278, 279, 280, 285};

} // namespace

class TestArtwork : public QObject {
    Q_OBJECT

private slots:
    void bitmapSizes_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<QSize>("size");
        for (int id : {131, 133, 240, 244})
            QTest::addRow("schematic %d", id) << id << QSize(1189, 961);
        QTest::newRow("schematic 281") << 281 << QSize(1189, 864);
        for (int id : {132, 134, 241, 245, 282})
            QTest::addRow("layout %d", id) << id << QSize(780, 481);
        QTest::newRow("program picture") << 261 << QSize(378, 378);
        QTest::newRow("tool bar strip") << 128 << QSize(29 * 32, 32);
        QTest::newRow("connection picture") << 300 << QSize(397, 169);
        QTest::newRow("oscilloscope screen") << 197 << QSize(151, 121);
        for (int id : MenuIconIds)
            QTest::addRow("menu icon %d", id) << id << QSize(16, 16);
    }

    void bitmapSizes() {
        QFETCH(int, id);
        QFETCH(QSize, size);
        const QImage img = loadBitmap(id);
        QVERIFY2(!img.isNull(), qPrintable(bitmapFile(id)));
        QCOMPARE(img.size(), size);
    }

    // The scheme pictures of the test start dialog must fit a dialog.
    void schemePicturesFitADialog_data() {
        QTest::addColumn<int>("id");
        QTest::newRow("programmer") << 301;
        QTest::newRow("test processor") << 302;
    }

    void schemePicturesFitADialog() {
        QFETCH(int, id);
        const QImage img = loadBitmap(id);
        QVERIFY(!img.isNull());
        QVERIFY(img.width() >= 300 && img.width() <= 480);
        QVERIFY(img.height() >= 150 && img.height() <= 260);
    }

    // Board pictures are pure black and white: any grey or colour pixel
    // would tint the background colour when ANDed over it.
    void boardPicturesAreLineArt_data() {
        QTest::addColumn<int>("id");
        for (const BoardBitmaps& b : BoardPictureIds) {
            QTest::addRow("%d", b.schematic) << b.schematic;
            QTest::addRow("%d", b.layout) << b.layout;
        }
    }

    void boardPicturesAreLineArt() {
        QFETCH(int, id);
        const QImage img = loadBitmap(id).convertToFormat(QImage::Format_RGB32);
        QVERIFY(!img.isNull());
        int black = 0;
        for (int y = 0; y < img.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
            for (int x = 0; x < img.width(); ++x) {
                const QRgb c = line[x] & 0xFFFFFF;
                if (c != 0 && c != 0xFFFFFF)
                    QFAIL(qPrintable(
                        QStringLiteral("pixel (%1,%2) is %3").arg(x).arg(y).arg(c, 6, 16)));
                black += c == 0;
            }
        }
        // A drawing, not an empty sheet, and still mostly white.
        const int total = img.width() * img.height();
        QVERIFY(black > total / 50);
        QVERIFY(black < total / 3);
    }

    void markerTips_data() {
        QTest::addColumn<QString>("icon");
        QTest::addColumn<QPoint>("tip");
        QTest::addColumn<bool>("red");
        const QPoint corners[4] = {{0, 31}, {0, 0}, {31, 0}, {31, 31}};
        QTest::newRow("highlight") << QStringLiteral("highlight") << corners[0] << false;
        for (int q = 0; q < 4; ++q) {
            QTest::addRow("check q%d", q)
                << QStringLiteral("check_q%1").arg(q) << corners[q] << true;
            QTest::addRow("driver q%d", q)
                << QStringLiteral("driver_q%1").arg(q) << corners[q] << true;
        }
    }

    // The view puts the icon so that its tip pixel is the point: the tip
    // must be opaque and the opposite corner see-through.
    void markerTips() {
        QFETCH(QString, icon);
        QFETCH(QPoint, tip);
        QFETCH(bool, red);
        const QImage img = loadIcon(icon).convertToFormat(QImage::Format_ARGB32);
        QVERIFY2(!img.isNull(), qPrintable(icon));
        QCOMPARE(img.size(), QSize(32, 32));
        QCOMPARE(qAlpha(img.pixel(tip)), 255);
        QCOMPARE(qAlpha(img.pixel(31 - tip.x(), 31 - tip.y())), 0);
        // The arrow near the tip carries the icon's colour.
        const QRgb body = img.pixel(tip.x() == 0 ? 3 : 28, tip.y() == 0 ? 3 : 28);
        QCOMPARE(qAlpha(body), 255);
        if (red)
            QVERIFY(qRed(body) > 2 * qBlue(body));
        else
            QVERIFY(qBlue(body) > 2 * qRed(body));
    }

    // The two marker kinds must be told apart at a glance.
    void checkAndDriverMarkersDiffer() {
        for (int q = 0; q < 4; ++q)
            QVERIFY(loadIcon(QStringLiteral("check_q%1").arg(q)) !=
                    loadIcon(QStringLiteral("driver_q%1").arg(q)));
    }

    void applicationIcon() {
        const QImage img = loadIcon(QStringLiteral("128"));
        QCOMPARE(img.size(), QSize(32, 32));
        QVERIFY(img.hasAlphaChannel());
    }

    // Menu icons are opaque 16 x 16 pictures on RGB(192,192,192), which the
    // menu treats as transparent.
    void menuIconsAreKeyedOnGrey_data() {
        QTest::addColumn<int>("id");
        for (int id : MenuIconIds)
            QTest::addRow("%d", id) << id;
    }

    void menuIconsAreKeyedOnGrey() {
        QFETCH(int, id);
        const QImage img = loadBitmap(id).convertToFormat(QImage::Format_ARGB32);
        QVERIFY(!img.isNull());
        int key = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                QCOMPARE(qAlpha(img.pixel(x, y)), 255);
                key += (img.pixel(x, y) & 0xFFFFFF) == 0xC0C0C0;
            }
        QVERIFY2(key >= 16, "too little background shows");
        QVERIFY2(key <= 256 - 30, "the icon draws almost nothing");
    }

    // Every tool bar button has a picture of its own.
    void toolBarButtonsAreDrawnAndDistinct() {
        const QImage strip = loadBitmap(128).convertToFormat(QImage::Format_ARGB32);
        QVERIFY(strip.hasAlphaChannel());
        QList<QImage> buttons;
        for (int i = 0; i < 29; ++i) {
            const QImage button = strip.copy(32 * i, 0, 32, 32);
            int opaque = 0;
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x)
                    opaque += qAlpha(button.pixel(x, y)) > 128;
            QVERIFY2(opaque > 60, qPrintable(QStringLiteral("button %1 is nearly empty").arg(i)));
            QVERIFY2(!buttons.contains(button),
                     qPrintable(QStringLiteral("button %1 repeats another").arg(i)));
            buttons << button;
        }
    }

    // The board choice dialog writes light yellow, white and green text over
    // the lower part of the stretched program picture.
    void programPictureKeepsTheTextAreaDark() {
        const QImage img = loadBitmap(261).convertToFormat(QImage::Format_RGB32);
        QVERIFY(!img.isNull());
        qint64 sum = 0;
        int brightest = 0;
        int count = 0;
        for (int y = 140; y < img.height(); ++y)
            for (int x = 0; x < 280; ++x) {
                const int g = qGray(img.pixel(x, y));
                sum += g;
                brightest = std::max(brightest, g);
                ++count;
            }
        QVERIFY2(sum / count < 40, qPrintable(QStringLiteral("mean grey %1").arg(sum / count)));
        QVERIFY2(brightest < 110, qPrintable(QStringLiteral("brightest grey %1").arg(brightest)));
    }

    void monoFontHasCyrillic() {
        const int id =
            QFontDatabase::addApplicationFont(sourceFile(QStringLiteral("res/fonts/kia-mono.ttf")));
        QVERIFY(id >= 0);
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        QVERIFY(!families.isEmpty());
        QVERIFY(QFontDatabase::isFixedPitch(families.first()));
        QVERIFY(QFontDatabase::writingSystems(families.first()).contains(QFontDatabase::Cyrillic));
        QVERIFY(QFile::exists(sourceFile(QStringLiteral("res/fonts/LICENSE"))));
    }
};

QTEST_MAIN(TestArtwork)
#include "tst_artwork.moc"
