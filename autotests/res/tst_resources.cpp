// kia_gui is a static library: the pictures, icons and font compiled into
// it must reach a program that links it, under the names the code uses.

#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QtTest>

class TestResources : public QObject {
    Q_OBJECT

private slots:
    void resourcesAreLinkedIn_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        const int boards[] = {131, 132, 133, 134, 240, 241, 244, 245, 281, 282};
        for (int id : boards)
            QTest::addRow("bitmap %d", id) << QStringLiteral(":/bitmaps/%1.png").arg(id) << QSize();
        for (int id : {128, 197, 261, 300, 301, 302})
            QTest::addRow("bitmap %d", id) << QStringLiteral(":/bitmaps/%1.png").arg(id) << QSize();
        for (int id : {260, 262, 263, 264, 265, 266, 267, 268, 269, 270, 271,
                       272, 273, 274, 275, 276, 277, 278, 279, 280, 285})
            QTest::addRow("menu icon %d", id)
                << QStringLiteral(":/bitmaps/%1.png").arg(id) << QSize(16, 16);
        QTest::newRow("application icon") << QStringLiteral(":/icons/128.png") << QSize(32, 32);
        QTest::newRow("highlight") << QStringLiteral(":/icons/highlight.png") << QSize(32, 32);
        for (int id : {171, 172, 173, 174})
            QTest::addRow("key picture %d", id) << QStringLiteral(":/icons/%1.png").arg(id) << QSize(24, 24);
        for (int q = 0; q < 4; ++q) {
            QTest::addRow("check q%d", q)
                << QStringLiteral(":/icons/check_q%1.png").arg(q) << QSize(32, 32);
            QTest::addRow("driver q%d", q)
                << QStringLiteral(":/icons/driver_q%1.png").arg(q) << QSize(32, 32);
        }
    }

    void resourcesAreLinkedIn() {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        QVERIFY2(QFile::exists(path), qPrintable(path));
        const QImage img(path);
        QVERIFY2(!img.isNull(), qPrintable(path));
        if (size.isValid())
            QCOMPARE(img.size(), size);
    }

    void fontRegistersFromResources() {
        const int id = QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/kia-mono.ttf"));
        QVERIFY(id >= 0);
        QVERIFY(!QFontDatabase::applicationFontFamilies(id).isEmpty());
    }
};

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
