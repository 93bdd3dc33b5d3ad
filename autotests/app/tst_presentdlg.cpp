#include "app/presentdlg.h"
#include "core/board.h"

#include <QMouseEvent>
#include <QTest>
#include <QTimer>

using namespace kia;

namespace {

void sendMouse(QWidget* w, QEvent::Type type, const QPoint& pos, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
    QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, buttons,
                  Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

/// Runs the dialog modally and lets `drive` act on it once it is shown. A
/// dialog that `drive` left open ends with -1, so a failing check cannot hang.
int runDialog(CPresentDlg& dlg, const std::function<void()>& drive) {
    QTimer::singleShot(0, &dlg, [&] {
        drive();
        if (dlg.isVisible())
            dlg.done(-1);
    });
    return dlg.exec();
}

} // namespace

class TestPresentDlg : public QObject {
    Q_OBJECT
private slots:
    void keys_data();
    void keys();
    void escapeCancels();
    void mouseRows_data();
    void mouseRows();
    void releaseOutsideDoesNothing();
    void captionAndGeometry();
};

void TestPresentDlg::keys_data() {
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("result");

    QTest::newRow("Enter at once: row 0") << QList<int>{} << 10;
    QTest::newRow("up on row 0 stays") << QList<int>{Qt::Key_Up, Qt::Key_Up} << 10;
    QTest::newRow("down twice") << QList<int>{Qt::Key_Down, Qt::Key_Down} << 12;
    QTest::newRow("down to row 4 and past") << QList<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Down,
                                                          Qt::Key_Down, Qt::Key_Down, Qt::Key_Down}
                                            << 14;
    QTest::newRow("down then up") << QList<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Down,
                                                Qt::Key_Up}
                                  << 12;
}

void TestPresentDlg::keys() {
    QFETCH(QList<int>, keys);
    QFETCH(int, result);

    CPresentDlg dlg;
    const int got = runDialog(dlg, [&] {
        for (int k : keys)
            QTest::keyClick(&dlg, Qt::Key(k));
        QTest::keyClick(&dlg, Qt::Key_Return);
    });
    QCOMPARE(got, result);
}

void TestPresentDlg::escapeCancels() {
    CPresentDlg dlg;
    const int got = runDialog(dlg, [&] {
        QTest::keyClick(&dlg, Qt::Key_Down);
        QTest::keyClick(&dlg, Qt::Key_Escape);
    });
    QCOMPARE(got, CPresentDlg::ResultCancel);

    CPresentDlg closed;
    QCOMPARE(runDialog(closed, [&] { closed.close(); }), CPresentDlg::ResultCancel);
}

void TestPresentDlg::mouseRows_data() {
    QTest::addColumn<int>("fromTop"); // pixels below the top of the designation area
    QTest::addColumn<int>("row");

    // The area is 11 units (176 pixels) high; a row is 176 / 5 = 35 pixels.
    QTest::newRow("first pixel") << 0 << 0;
    QTest::newRow("end of row 0") << 34 << 0;
    QTest::newRow("row 1") << 35 << 1;
    QTest::newRow("row 2") << 80 << 2;
    QTest::newRow("row 3") << 139 << 3;
    QTest::newRow("row 4") << 140 << 4;
    QTest::newRow("last pixel belongs to row 4") << 175 << 4;
}

void TestPresentDlg::mouseRows() {
    QFETCH(int, fromTop);
    QFETCH(int, row);

    CPresentDlg dlg;
    QCOMPARE(dlg.unitY(), 16);
    QWidget* picture = dlg.pictureControl();
    const QRect area = dlg.hitArea();
    QCOMPARE(area.height(), 11 * dlg.unitY());
    QCOMPARE(area.width(), 22 * dlg.unitW());
    const int bottom = picture->height();
    QCOMPARE(area.top(), bottom - 14 * dlg.unitY());

    const QPoint at(area.left() + 5, area.top() + fromTop);
    const int got = runDialog(dlg, [&] {
        sendMouse(picture, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
        QCOMPARE(dlg.selection(), row);
        sendMouse(picture, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        sendMouse(picture, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    });
    QCOMPARE(got, 10 + row);
}

void TestPresentDlg::releaseOutsideDoesNothing() {
    CPresentDlg dlg;
    QWidget* picture = dlg.pictureControl();
    const QRect area = dlg.hitArea();
    const QPoint row3(area.left() + 3, area.top() + 3 * 35 + 1);
    const QList<QPoint> outside{
        QPoint(area.left() - 1, row3.y()), QPoint(area.right() + 1, row3.y()),
        QPoint(row3.x(), area.top() - 1), QPoint(row3.x(), area.bottom() + 1)};
    bool stillOpen = true;
    const int got = runDialog(dlg, [&] {
        sendMouse(picture, QEvent::MouseMove, row3, Qt::NoButton, Qt::NoButton);
        for (const QPoint& p : outside) {
            sendMouse(picture, QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton);
            sendMouse(picture, QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
        }
        stillOpen = dlg.isVisible();
        QCOMPARE(dlg.selection(), 3); // moving outside keeps the selection
        QTest::keyClick(&dlg, Qt::Key_Enter);
    });
    QVERIFY(stillOpen);
    QCOMPARE(got, 13);
}

void TestPresentDlg::captionAndGeometry() {
    CPresentDlg dlg;
    QCOMPARE(dlg.windowTitle(), QStringLiteral("КИА ККМ \"Нельта-02Ф\" и \"Нельта-02К\""));
    QCOMPARE(dlg.selection(), 0);
    QCOMPARE(dlg.unitW(), 9);
}

QTEST_MAIN(TestPresentDlg)
#include "tst_presentdlg.moc"
