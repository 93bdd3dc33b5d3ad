#include "diagnview.h"

#include "app/diagndoc.h"
#include "app/shellsettings.h"
#include "boardgeometry.h"
#include "core/benchcontext.h"
#include "core/userprompts.h"
#include "mycolordlg.h"
#include "pointnamedlg.h"

#include <QMainWindow>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

namespace kia {

CDiagnView::CDiagnView(BenchContext& ctx, ShellSettings& settings, QWidget* parent)
    : QAbstractScrollArea(parent), m_ctx(ctx), m_settings(settings) {
    setObjectName(QStringLiteral("CDiagnView"));
    viewport()->setObjectName(QStringLiteral("boardViewport"));
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFrameShape(QFrame::NoFrame);
    setContextMenuPolicy(Qt::NoContextMenu);

    m_askName = [](QWidget* parent) -> std::optional<QString> {
        CPointNameDlg dlg(parent);
        if (dlg.exec() != QDialog::Accepted)
            return std::nullopt;
        return dlg.name();
    };
    m_chooseColour = [](QWidget* parent, ShellSettings& s) {
        CMyColorDlg dlg(s, parent);
        if (dlg.exec() != QDialog::Accepted)
            return false;
        dlg.applyTo(s);
        return true;
    };
}

CDiagnView::~CDiagnView() = default;

bool CDiagnView::Create(const QString& pointsBase, const QString& iconFolder) {
    auto load = [&iconFolder](const QString& name) {
        return QPixmap(iconFolder + name + QStringLiteral(".png"));
    };
    m_highlightIcon = load(QStringLiteral("highlight"));
    bool iconsOk = !m_highlightIcon.isNull();
    for (int q = 0; q < 4; ++q) {
        m_checkIcons[q] = load(QStringLiteral("check_q%1").arg(q));
        m_driverIcons[q] = load(QStringLiteral("driver_q%1").arg(q));
        iconsOk = iconsOk && !m_checkIcons[q].isNull() && !m_driverIcons[q].isNull();
    }
    if (!iconsOk) {
        m_ctx.prompts.beep(600, 30);
        m_ctx.prompts.message(PromptIcon::Error, pointsBase,
                              QStringLiteral("Ошибка загрузки ресурсов пиктограмм !  "));
        return false;
    }

    if (!LoadPointsFile(pointsBase + QStringLiteral(".dot"), m_ctx.boardType, m_points)) {
        m_ctx.prompts.beep(600, 30);
        m_ctx.prompts.message(PromptIcon::Error, pointsBase,
                              QStringLiteral("Ошибка загрузки файла ") + pointsBase +
                                  QStringLiteral(".dot !  "));
        return false;
    }
    return true;
}

void CDiagnView::OnInitialUpdate(const CDiagnDoc& doc) {
    OnInitialUpdate(doc.picture());
}

void CDiagnView::OnInitialUpdate(const QImage& picture) {
    m_picture = picture;
    m_highlight = -1;
    composePicture();
    updateScrollRanges();
    viewport()->update();
}

void CDiagnView::composePicture() {
    const QColor background = toQColor(m_settings.backgroundColour);
    if (m_picture.isNull()) {
        m_composed = QImage();
        return;
    }
    // White takes the background colour, black stays black: a bitwise AND of
    // the picture over a surface filled with the colour.
    m_composed = QImage(m_picture.size(), QImage::Format_RGB32);
    m_composed.fill(background);
    QPainter p(&m_composed);
    p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    p.drawImage(0, 0, m_picture);
}

void CDiagnView::updateScrollRanges() {
    const QSize pic = m_picture.size();
    const QSize client = viewport()->size();
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    h->setRange(0, qMax(0, pic.width() - client.width()));
    v->setRange(0, qMax(0, pic.height() - client.height()));
    // A page is a tenth of the picture, a line a tenth of a page.
    h->setPageStep(qMax(1, pic.width() / 10));
    v->setPageStep(qMax(1, pic.height() / 10));
    h->setSingleStep(qMax(1, pic.width() / 100));
    v->setSingleStep(qMax(1, pic.height() / 100));
}

QPoint CDiagnView::pictureOffset() const {
    const QSize client = viewport()->size();
    return QPoint(kia::pictureOffset(client.width(), m_picture.width()),
                  kia::pictureOffset(client.height(), m_picture.height()));
}

int CDiagnView::pictureKind() const {
    return m_settings.layoutShown() ? PictureLayout : PictureSchematic;
}

QPoint CDiagnView::scrollPosition() const {
    return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void CDiagnView::scrollTo(const QPoint& pos) {
    horizontalScrollBar()->setValue(pos.x());
    verticalScrollBar()->setValue(pos.y());
}

QPoint CDiagnView::toWindow(int x, int y) const {
    return QPoint(x, y) + pictureOffset() - scrollPosition();
}

QRect CDiagnView::squareOf(int index) const {
    const ControlPoint& p = m_points[index];
    const QPoint w = toWindow(p.x(pictureKind()), p.y(pictureKind()));
    return markSquare(w.x(), w.y());
}

QRect CDiagnView::highlightRect(int index) const {
    const ControlPoint& p = m_points[index];
    const QPoint w = toWindow(p.x(pictureKind()), p.y(pictureKind()));
    return QRect(highlightTopLeft(w.x(), w.y()), QSize(MarkerIconSize, MarkerIconSize));
}

const QPixmap* CDiagnView::markerIcon(quint16 state, int quadrant) const {
    if (quadrant < 0 || quadrant > 3)
        return nullptr;
    if (state == MarkCheck)
        return &m_checkIcons[quadrant];
    if (state == MarkDriver)
        return &m_driverIcons[quadrant];
    return nullptr;
}

void CDiagnView::paintEvent(QPaintEvent* event) {
    QPainter p(viewport());
    p.fillRect(event->rect(), toQColor(m_settings.backgroundColour));
    if (!m_composed.isNull())
        p.drawImage(pictureOffset() - scrollPosition(), m_composed);

    const int kind = pictureKind();
    for (const ControlPoint& point : std::as_const(m_points)) {
        if (point.state == MarkNone)
            continue;
        const int x = point.x(kind);
        const int y = point.y(kind);
        if (x < 0 || y < 0)
            continue;
        const QPixmap* icon = markerIcon(point.state, point.quadrant(kind));
        const QPoint w = toWindow(x, y);
        const auto at = markerTopLeft(point.quadrant(kind), w.x(), w.y());
        if (icon && at)
            p.drawPixmap(*at, *icon);
    }
    if (m_highlight >= 0 && m_highlight < m_points.size())
        p.drawPixmap(highlightRect(m_highlight).topLeft(), m_highlightIcon);
}

void CDiagnView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRanges();
}

void CDiagnView::scrollContentsBy(int, int) {
    viewport()->update();
}

int CDiagnView::FindPoint(const QString& name) const {
    return kia::FindPoint(m_points, m_ctx.boardType, name);
}

bool CDiagnView::ShowPoint(const QString& name, quint16 state) {
    emit pointShown(name);
    const int i = FindPoint(name);
    if (i < 0)
        return false;
    ControlPoint& point = m_points[i];
    point.state = state;

    const int kind = pictureKind();
    const QPoint offset = pictureOffset();
    const QSize client = viewport()->size();
    scrollTo(
        QPoint(centringScroll(point.x(kind), offset.x(), client.width(), m_picture.width()),
               centringScroll(point.y(kind), offset.y(), client.height(), m_picture.height())));

    const QRect square = squareOf(i);
    viewport()->repaint(square);
    m_markRect = QRect(viewport()->mapToGlobal(square.topLeft()), square.size());
    return true;
}

bool CDiagnView::MarkPoint(const QString& name, quint16 state) {
    const int i = FindPoint(name);
    if (i < 0)
        return false;
    m_points[i].state = state;
    viewport()->update(squareOf(i));
    return true;
}

void CDiagnView::ClearMarks() {
    for (int i = 0; i < m_points.size(); ++i) {
        if (m_points[i].state != MarkNone) {
            m_points[i].state = MarkNone;
            viewport()->update(squareOf(i));
        }
    }
    viewport()->repaint();
}

void CDiagnView::SetMenusLocked(bool locked) {
    auto* frame = qobject_cast<QMainWindow*>(window());
    if (!frame || !frame->menuBar())
        return;
    const QList<QAction*> top = frame->menuBar()->actions();
    for (int i = 0; i < 2 && i < top.size(); ++i)
        top[i]->setEnabled(!locked);
    frame->menuBar()->update();
}

void CDiagnView::OnBackgroundColour() {
    if (!m_chooseColour || !m_chooseColour(this, m_settings))
        return;
    composePicture();
    viewport()->repaint();
}

} // namespace kia
