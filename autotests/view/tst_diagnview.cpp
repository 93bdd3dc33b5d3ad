#include "app/shellsettings.h"
#include "core/benchcontext.h"
#include "core/scriptedprompts.h"
#include "pointsfixture.h"
#include "probe/fakemodemline.h"
#include "sim/virtualclock.h"
#include "view/diagnview.h"
#include "view/pointcheckhost.h"

#include <QMainWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

using namespace kia;

namespace {

// Each icon is a solid colour so that a grab shows which one was drawn.
const QColor HighlightColour(0, 0, 255);
QColor checkColour(int q) {
    return QColor(200 + q, 0, 0);
}
QColor driverColour(int q) {
    return QColor(0, 200 + q, 0);
}

void writeIcon(const QString& path, const QColor& c) {
    QImage img(32, 32, QImage::Format_RGB32);
    img.fill(c);
    QVERIFY(img.save(path));
}

struct RecordingHost : PointCheckHost {
    int calls = 0;
    QString name;
    bool logicProbe = false;
    QRect markRect;
    void StartPointCheck(const QString& n, bool probe, const QRect& rect) override {
        ++calls;
        name = n;
        logicProbe = probe;
        markRect = rect;
    }
};

void sendMouse(QWidget* w, QEvent::Type type, const QPoint& pos, Qt::MouseButton button,
               Qt::MouseButtons buttons, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, buttons, mods);
    QCoreApplication::sendEvent(w, &e);
}

/// A picture 600 x 400: white with a black frame line along the top row.
QImage testPicture(int w = 600, int h = 400) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (int x = 0; x < w; ++x)
        img.setPixelColor(x, 0, Qt::black);
    return img;
}

} // namespace

class TestDiagnView : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void missingIconsEndTheProgram();
    void badPointsFileEndsTheProgram_data();
    void badPointsFileEndsTheProgram();
    void pictureIsAndedOverTheBackground();
    void pictureIsCentredInALargerWindow();
    void markersSitWithTheirTipOnThePoint();
    void showPointCentres_data();
    void showPointCentres();
    void showPointNeverScrollsACentredPicture();
    void markPointAndClearMarks();
    void pickingFollowsTheLeftButtonAlone_data();
    void pickingFollowsTheLeftButtonAlone();
    void releaseAwaySelectsTheHighlightedPoint();
    void selectionWithoutPortClearsMarks();
    void selectionWithoutDiagnosticsInstalled();
    void doubleClickAsksForAName();
    void menusLockByPosition();
    void backgroundColourChoice();

private:
    void makeView(const QList<ControlPoint>& points, const QSize& size,
                  const QImage& picture = testPicture());
    QPoint windowPos(const ControlPoint& p) const;
    void openFakePort();

    QTemporaryDir m_dir;
    QString m_icons;
    sim::VirtualClock m_clock;
    ScriptedPrompts m_prompts;
    std::unique_ptr<BenchContext> m_ctx;
    ShellSettings m_settings;
    std::unique_ptr<QMainWindow> m_window;
    CDiagnView* m_view = nullptr;
    RecordingHost m_host;
};

void TestDiagnView::initTestCase() {
    m_icons = m_dir.filePath(QStringLiteral("icons/"));
    QVERIFY(QDir().mkpath(m_icons));
    writeIcon(m_icons + QStringLiteral("highlight.png"), HighlightColour);
    for (int q = 0; q < 4; ++q) {
        writeIcon(m_icons + QStringLiteral("check_q%1.png").arg(q), checkColour(q));
        writeIcon(m_icons + QStringLiteral("driver_q%1.png").arg(q), driverColour(q));
    }
}

void TestDiagnView::init() {
    m_prompts.clear();
    m_ctx = std::make_unique<BenchContext>(m_clock, m_prompts);
    m_settings = ShellSettings{};
    m_host = RecordingHost{};
}

void TestDiagnView::cleanup() {
    m_window.reset();
    m_view = nullptr;
    m_ctx.reset();
}

void TestDiagnView::makeView(const QList<ControlPoint>& points, const QSize& size,
                             const QImage& picture) {
    // A points file needs at least one record; this one is on no picture.
    const QList<ControlPoint> records =
        points.isEmpty() ? QList<ControlPoint>{makePoint("none", -1, -1, -1, -1)} : points;
    QVERIFY(writeFile(m_dir.filePath(QStringLiteral("kia.dot")), pointsFileBytes(records)));
    m_window = std::make_unique<QMainWindow>();
    for (const char* title : {"first", "second", "third"})
        m_window->menuBar()->addMenu(QString::fromLatin1(title));
    m_view = new CDiagnView(*m_ctx, m_settings, m_window.get());
    m_window->setCentralWidget(m_view);
    QVERIFY(m_view->Create(m_dir.filePath(QStringLiteral("kia")), m_icons));
    m_view->OnInitialUpdate(picture);
    m_view->setPointCheckHost(&m_host);
    m_view->setFixedSize(size);
    m_window->adjustSize();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QTRY_COMPARE(m_view->size(), size);
}

QPoint TestDiagnView::windowPos(const ControlPoint& p) const {
    const int kind = m_view->pictureKind();
    return QPoint(p.x(kind), p.y(kind)) + m_view->pictureOffset() - m_view->scrollPosition();
}

void TestDiagnView::openFakePort() {
    m_ctx->ports.setAllSimulated(true);
    m_ctx->ports.setSimulatorMaker([](int) { return std::make_unique<FakeModemLine>(); });
}

void TestDiagnView::missingIconsEndTheProgram() {
    QVERIFY(QFile::remove(m_icons + QStringLiteral("driver_q2.png")));
    CDiagnView view(*m_ctx, m_settings);
    const QString base = m_dir.filePath(QStringLiteral("kia"));
    QVERIFY(!view.Create(base, m_icons));
    writeIcon(m_icons + QStringLiteral("driver_q2.png"), driverColour(2));

    QCOMPARE(m_prompts.events.size(), 2);
    QCOMPARE(m_prompts.events[0].kind, PromptEvent::Beep);
    QCOMPARE(m_prompts.events[0].hz, 600);
    QCOMPARE(m_prompts.events[0].ms, 30);
    QCOMPARE(m_prompts.events[1].icon, PromptIcon::Error);
    QCOMPARE(m_prompts.events[1].title, base);
    QCOMPARE(m_prompts.events[1].text, QStringLiteral("Ошибка загрузки ресурсов пиктограмм !  "));
}

void TestDiagnView::badPointsFileEndsTheProgram_data() {
    QTest::addColumn<bool>("present");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("missing") << false << QByteArray();
    QTest::newRow("empty") << true << QByteArray();
    QTest::newRow("57 bytes") << true << pointsFileBytes({makePoint("A", 1, 1, 1, 1)}) + "x";
}

void TestDiagnView::badPointsFileEndsTheProgram() {
    QFETCH(bool, present);
    QFETCH(QByteArray, bytes);
    const QString base = m_dir.filePath(QStringLiteral("bad"));
    QFile::remove(base + QStringLiteral(".dot"));
    if (present)
        QVERIFY(writeFile(base + QStringLiteral(".dot"), bytes));

    CDiagnView view(*m_ctx, m_settings);
    QVERIFY(!view.Create(base, m_icons));
    QVERIFY(view.points().isEmpty());
    const QList<PromptEvent> boxes = m_prompts.boxes();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].icon, PromptIcon::Error);
    QCOMPARE(boxes[0].title, base);
    QCOMPARE(boxes[0].text,
             QStringLiteral("Ошибка загрузки файла ") + base + QStringLiteral(".dot !  "));
    QCOMPARE(m_prompts.events[0].kind, PromptEvent::Beep);
}

void TestDiagnView::pictureIsAndedOverTheBackground() {
    m_settings.backgroundColour = makeColourRef(10, 200, 30);
    makeView({}, QSize(300, 200));
    const QImage shot = m_view->viewport()->grab().toImage();
    QCOMPARE(shot.pixelColor(5, 0), QColor(Qt::black));    // the line stays black
    QCOMPARE(shot.pixelColor(5, 50), QColor(10, 200, 30)); // white takes the colour
}

void TestDiagnView::pictureIsCentredInALargerWindow() {
    makeView({}, QSize(800, 500));
    const QSize client = m_view->viewport()->size();
    const QPoint offset = m_view->pictureOffset();
    QCOMPARE(offset, QPoint((client.width() - 600) / 2, (client.height() - 400) / 2));
    const QImage shot = m_view->viewport()->grab().toImage();
    QCOMPARE(shot.pixelColor(offset.x() + 10, offset.y()), QColor(Qt::black));
    QCOMPARE(shot.pixelColor(offset.x() + 10, offset.y() - 1), QColor(128, 128, 128));
    QCOMPARE(m_view->horizontalScrollBar()->maximum(), 0);
}

void TestDiagnView::markersSitWithTheirTipOnThePoint() {
    QList<ControlPoint> points;
    for (int q = 0; q < 4; ++q)
        points << makePoint(QByteArray("Q") + char('0' + q), 100 + 100 * q, 200, -1, -1, 0x1F, q);
    points << makePoint("D", 100, 100, -1, -1, 0x1F, 3);
    points << makePoint("OFF", -5, 100, -1, -1, 0x1F, 1);
    points[0].state = MarkCheck;
    points[1].state = MarkCheck;
    points[2].state = MarkCheck;
    points[3].state = MarkCheck;
    points[4].state = MarkDriver;
    points[5].state = MarkCheck;
    makeView(points, QSize(700, 450));

    const QImage shot = m_view->viewport()->grab().toImage();
    // The pixel diagonal from the point into the icon shows the icon of that quadrant.
    const QPoint inward[4] = {QPoint(1, -1), QPoint(1, 1), QPoint(-1, 1), QPoint(-1, -1)};
    for (int q = 0; q < 4; ++q) {
        const QPoint at = windowPos(m_view->points()[q]);
        QCOMPARE(shot.pixelColor(at), checkColour(q));
        QCOMPARE(shot.pixelColor(at + inward[q] * 30), checkColour(q));
        QVERIFY(shot.pixelColor(at - inward[q] * 2) != checkColour(q));
    }
    QCOMPARE(shot.pixelColor(windowPos(m_view->points()[4]) + QPoint(-3, -3)), driverColour(3));
    // A point off this picture draws nothing, not even the part that would be visible.
    const QPoint off = m_view->pictureOffset() + QPoint(0, 100);
    QCOMPARE(shot.pixelColor(off + QPoint(5, 5)), QColor(128, 128, 128));
}

void TestDiagnView::showPointCentres_data() {
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<bool>("scrollsX");
    QTest::addColumn<bool>("scrollsY");
    QTest::newRow("far corner") << QPoint(500, 350) << true << true;
    QTest::newRow("near the origin") << QPoint(20, 30) << false << false;
    QTest::newRow("far right, top") << QPoint(550, 10) << true << false;
}

void TestDiagnView::showPointCentres() {
    QFETCH(QPoint, point);
    QFETCH(bool, scrollsX);
    QFETCH(bool, scrollsY);

    makeView({makePoint("P", point.x(), point.y(), -1, -1)}, QSize(300, 200));
    const QSize client = m_view->viewport()->size();
    QVERIFY(m_view->ShowPoint(QStringLiteral("P"), MarkCheck));
    QCOMPARE(m_view->points()[0].state, quint16(MarkCheck));

    const QScrollBar* h = m_view->horizontalScrollBar();
    const QScrollBar* v = m_view->verticalScrollBar();
    const int wantX = scrollsX ? qMin(point.x() - client.width() / 2, h->maximum()) : 0;
    const int wantY = scrollsY ? qMin(point.y() - client.height() / 2, v->maximum()) : 0;
    QCOMPARE(m_view->scrollPosition(), QPoint(wantX, wantY));

    const QPoint at = windowPos(m_view->points()[0]);
    QCOMPARE(m_view->MarkRect(),
             QRect(m_view->viewport()->mapToGlobal(at - QPoint(32, 32)), QSize(64, 64)));
    QVERIFY(!m_view->ShowPoint(QStringLiteral("nothing"), MarkCheck));
}

void TestDiagnView::showPointNeverScrollsACentredPicture() {
    makeView({makePoint("P", 590, 390, -1, -1)}, QSize(900, 600));
    QVERIFY(m_view->ShowPoint(QStringLiteral("P"), MarkDriver));
    QCOMPARE(m_view->scrollPosition(), QPoint(0, 0));
    QCOMPARE(m_view->MarkRect().topLeft() + QPoint(32, 32),
             m_view->viewport()->mapToGlobal(m_view->pictureOffset() + QPoint(590, 390)));
}

void TestDiagnView::markPointAndClearMarks() {
    makeView({makePoint("A", 500, 350, -1, -1), makePoint("B", 20, 20, -1, -1)}, QSize(300, 200));
    QVERIFY(m_view->MarkPoint(QStringLiteral("A"), MarkDriver));
    QCOMPARE(m_view->scrollPosition(), QPoint(0, 0)); // no scrolling
    QVERIFY(m_view->MarkRect().isNull());             // and no MarkRect
    QVERIFY(m_view->ShowPoint(QStringLiteral("B"), MarkCheck));
    QVERIFY(!m_view->MarkPoint(QStringLiteral("C"), MarkCheck));

    m_view->ClearMarks();
    for (const ControlPoint& p : m_view->points())
        QCOMPARE(p.state, quint16(MarkNone));
    const QImage shot = m_view->viewport()->grab().toImage();
    QVERIFY(shot.pixelColor(windowPos(m_view->points()[1]) + QPoint(3, 3)) != checkColour(0));
}

void TestDiagnView::pickingFollowsTheLeftButtonAlone_data() {
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("diagnostics");
    QTest::addColumn<bool>("highlights");

    QTest::newRow("left alone") << int(Qt::LeftButton) << int(Qt::NoModifier) << false << true;
    QTest::newRow("with Shift") << int(Qt::LeftButton) << int(Qt::ShiftModifier) << false << false;
    QTest::newRow("with Ctrl") << int(Qt::LeftButton) << int(Qt::ControlModifier) << false << false;
    QTest::newRow("left and right")
        << int(Qt::LeftButton | Qt::RightButton) << int(Qt::NoModifier) << false << false;
    QTest::newRow("no button") << int(Qt::NoButton) << int(Qt::NoModifier) << false << false;
    QTest::newRow("during diagnostics")
        << int(Qt::LeftButton) << int(Qt::NoModifier) << true << false;
}

void TestDiagnView::pickingFollowsTheLeftButtonAlone() {
    QFETCH(int, buttons);
    QFETCH(int, modifiers);
    QFETCH(bool, diagnostics);
    QFETCH(bool, highlights);

    makeView({makePoint("A", 100, 100, -1, -1), makePoint("B", 150, 100, -1, -1)}, QSize(500, 300));
    m_ctx->diagnosticsActive = diagnostics;
    QWidget* vp = m_view->viewport();
    const QPoint nearB = windowPos(m_view->points()[1]) + QPoint(3, -4);
    sendMouse(vp, QEvent::MouseMove, nearB, Qt::NoButton, Qt::MouseButtons(buttons),
              Qt::KeyboardModifiers(modifiers));
    QCOMPARE(m_view->highlightedPoint(), highlights ? 1 : -1);
    if (!highlights)
        return;

    const QImage shot = vp->grab().toImage();
    const QPoint tip = windowPos(m_view->points()[1]);
    QCOMPARE(shot.pixelColor(tip), HighlightColour);                   // tip on the point
    QCOMPARE(shot.pixelColor(tip + QPoint(31, -31)), HighlightColour); // icon above-right
    // Moving off every point takes the highlight away.
    sendMouse(vp, QEvent::MouseMove, tip + QPoint(200, 100), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(m_view->highlightedPoint(), -1);
    QTRY_VERIFY(vp->grab().toImage().pixelColor(tip) != HighlightColour);
}

void TestDiagnView::releaseAwaySelectsTheHighlightedPoint() {
    openFakePort();
    m_settings.instrument = 0;
    makeView({makePoint("DD3/15", 100, 100, -1, -1)}, QSize(500, 300));
    QWidget* vp = m_view->viewport();
    const QPoint at = windowPos(m_view->points()[0]);
    sendMouse(vp, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    QCOMPARE(m_view->highlightedPoint(), 0);
    sendMouse(vp, QEvent::MouseButtonRelease, at + QPoint(150, 120), Qt::LeftButton, Qt::NoButton);

    QCOMPARE(m_view->highlightedPoint(), -1);
    QCOMPARE(m_view->points()[0].state, quint16(MarkCheck));
    QCOMPARE(m_view->MarkRect(), QRect(vp->mapToGlobal(at - QPoint(32, 32)), QSize(64, 64)));
    QCOMPARE(m_ctx->link.openPort(), 1);
    QCOMPARE(m_host.calls, 1);
    QCOMPARE(m_host.name, QStringLiteral("DD3/15"));
    QCOMPARE(m_host.logicProbe, false);
    QCOMPARE(m_host.markRect, m_view->MarkRect());
    QVERIFY(m_prompts.events.isEmpty());

    // A release with nothing highlighted selects nothing.
    sendMouse(vp, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    QCOMPARE(m_host.calls, 1);
}

void TestDiagnView::selectionWithoutPortClearsMarks() {
    m_ctx->ports.setAllSimulated(true); // and no bench behind it: the port cannot open
    m_ctx->selectedPort = 3;
    makeView({makePoint("A", 100, 100, -1, -1), makePoint("B", 300, 100, -1, -1)}, QSize(500, 300));
    m_view->points()[1].state = MarkDriver;
    QWidget* vp = m_view->viewport();
    const QPoint at = windowPos(m_view->points()[0]);
    sendMouse(vp, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    sendMouse(vp, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);

    QCOMPARE(m_host.calls, 0);
    for (const ControlPoint& p : m_view->points())
        QCOMPARE(p.state, quint16(MarkNone));
    QCOMPARE(m_prompts.events.size(), 2);
    QCOMPARE(m_prompts.events[0].kind, PromptEvent::Beep);
    QCOMPARE(m_prompts.events[1].icon, PromptIcon::Error);
    QCOMPARE(m_prompts.events[1].title, QStringLiteral("Com3"));
    QCOMPARE(m_prompts.events[1].text, QStringLiteral("Ошибка инициализации !    "));
}

void TestDiagnView::selectionWithoutDiagnosticsInstalled() {
    openFakePort();
    makeView({makePoint("A", 100, 100, -1, -1)}, QSize(500, 300));
    m_view->setPointCheckHost(nullptr);
    QWidget* vp = m_view->viewport();
    const QPoint at = windowPos(m_view->points()[0]);
    sendMouse(vp, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    sendMouse(vp, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);

    QCOMPARE(m_view->points()[0].state, quint16(MarkNone));
    QVERIFY(!m_ctx->diagnosticsActive);
    const QList<PromptEvent> boxes = m_prompts.boxes();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].text, QStringLiteral("Команда будет доступна в следующей версии программы."));
}

void TestDiagnView::doubleClickAsksForAName() {
    openFakePort();
    makeView({makePoint("A", 100, 100, -1, -1), makePoint("X5/7", 550, 380, -1, -1)},
             QSize(300, 200));
    std::optional<QString> answer;
    int asked = 0;
    m_view->setNameAsker([&](QWidget*) {
        ++asked;
        return answer;
    });
    QWidget* vp = m_view->viewport();
    auto doubleClick = [&] {
        sendMouse(vp, QEvent::MouseButtonDblClick, QPoint(250, 150), Qt::LeftButton,
                  Qt::LeftButton);
    };

    doubleClick(); // cancelled
    answer = QStringLiteral("X9/9");
    doubleClick(); // no such point: silently nothing
    QCOMPARE(m_host.calls, 0);
    QVERIFY(m_prompts.events.isEmpty());

    answer = QStringLiteral("X5/7");
    doubleClick();
    QCOMPARE(asked, 3);
    QCOMPARE(m_host.calls, 1);
    QCOMPARE(m_host.name, QStringLiteral("X5/7"));
    QCOMPARE(m_host.logicProbe, true);
    QCOMPARE(m_view->points()[1].state, quint16(MarkCheck));
    QVERIFY(m_view->scrollPosition() != QPoint(0, 0)); // shown with centring

    m_ctx->diagnosticsActive = true;
    doubleClick();
    QCOMPARE(asked, 3);
}

void TestDiagnView::menusLockByPosition() {
    makeView({}, QSize(300, 200));
    const QList<QAction*> top = m_window->menuBar()->actions();
    m_view->SetMenusLocked(true);
    QVERIFY(!top[0]->isEnabled());
    QVERIFY(!top[1]->isEnabled());
    QVERIFY(top[2]->isEnabled());
    m_view->SetMenusLocked(false);
    QVERIFY(top[0]->isEnabled() && top[1]->isEnabled());
}

void TestDiagnView::backgroundColourChoice() {
    makeView({}, QSize(300, 200));
    bool accept = false;
    m_view->setColourChooser([&](QWidget*, ShellSettings& s) {
        if (!accept)
            return false;
        s.backgroundColour = makeColourRef(1, 2, 3);
        s.customColours[15] = makeColourRef(4, 5, 6);
        return true;
    });
    m_view->OnBackgroundColour();
    QCOMPARE(m_settings.backgroundColour, makeColourRef(128, 128, 128));
    accept = true;
    m_view->OnBackgroundColour();
    QCOMPARE(m_settings.customColours[15], makeColourRef(4, 5, 6));
    QCOMPARE(m_view->viewport()->grab().toImage().pixelColor(5, 50), QColor(1, 2, 3));
}

QTEST_MAIN(TestDiagnView)
#include "tst_diagnview.moc"
