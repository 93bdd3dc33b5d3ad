#include "presentdlg.h"

#include "appfont.h"
#include "core/board.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

namespace kia {

namespace {
// The dialog base units of the system font the board choice was laid out with.
constexpr int BaseUnitX = 8;
constexpr int BaseUnitY = 16;
// The program picture's own size; the dialog shows it at that size.
constexpr int PictureSide = 378;
} // namespace

/// The owner-drawn static control (id 1022) that fills the dialog.
class CPresentDlg::Picture : public QWidget {
public:
    explicit Picture(CPresentDlg* dlg) : QWidget(dlg), m_dlg(dlg) {
        setObjectName(QStringLiteral("presentPicture1022"));
        setMouseTracking(true);
        setMinimumSize(PictureSide, PictureSide);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        m_dlg->paintPicture(p, rect());
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        const int row = m_dlg->rowAt(e->position().toPoint());
        if (row >= 0 && row != m_dlg->m_selection)
            m_dlg->setSelection(row);
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton && m_dlg->rowAt(e->position().toPoint()) >= 0)
            m_dlg->accept();
    }

private:
    CPresentDlg* m_dlg;
};

CPresentDlg::CPresentDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CPresentDlg"));
    setWindowTitle(productCaption());
    setWindowIcon(QIcon(QStringLiteral(":/icons/128.png")));

    m_unitY = BaseUnitY;
    m_unitW = BaseUnitX + 1;
    m_background.load(QStringLiteral(":/bitmaps/261.png"));

    // Bold fixed-pitch letters two units high and W pixels wide.
    m_font = QFont(MonoFontFamily());
    m_font.setPixelSize(2 * m_unitY);
    m_font.setWeight(QFont::ExtraBold);
    m_font.setStyleHint(QFont::TypeWriter);
    const int natural = QFontMetrics(m_font).horizontalAdvance(u'0');
    if (natural > 0)
        m_font.setStretch(qBound(1, m_unitW * 100 / natural, 4000));

    m_picture = new Picture(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_picture);
    setFixedSize(PictureSide, PictureSide);
}

QWidget* CPresentDlg::pictureControl() const {
    return m_picture;
}

QRect CPresentDlg::hitArea() const {
    const QRect r = m_picture->rect();
    const int bottom = r.top() + r.height(); // exclusive, as the control's client rectangle
    const int top = bottom - 14 * m_unitY;
    const int left = r.left() + 20;
    return QRect(QPoint(left, top), QPoint(left + 22 * m_unitW - 1, bottom - 3 * m_unitY - 1));
}

int CPresentDlg::rowAt(const QPoint& pos) const {
    const QRect area = hitArea();
    if (!area.contains(pos))
        return -1;
    const int rowHeight = area.height() / RowCount;
    if (rowHeight <= 0)
        return -1;
    // The rounding of the row height leaves a few pixels below row 4; they
    // belong to row 4.
    return qMin((pos.y() - area.top()) / rowHeight, RowCount - 1);
}

void CPresentDlg::setSelection(int row) {
    m_selection = qBound(0, row, RowCount - 1);
    m_picture->update();
}

void CPresentDlg::paintPicture(QPainter& p, const QRect& r) const {
    if (m_background.isNull())
        p.fillRect(r, QColor(0, 0, 64));
    else
        p.drawPixmap(r, m_background);

    p.setFont(m_font);
    const int lineHeight = QFontMetrics(m_font).height();
    const int bottom = r.top() + r.height();
    auto text = [&](int y, const QColor& colour, const QString& s) {
        p.setPen(colour);
        p.drawText(QRect(r.left() + 20, y, r.width() - 20, lineHeight),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, s);
    };
    text(bottom - 15 * m_unitY, QColor(255, 254, 159),
         QStringLiteral("Номер платы блока управления:"));
    for (int row = 0; row < RowCount; ++row) {
        text(bottom - (13 - 2 * row) * m_unitY,
             row == m_selection ? QColor(10, 255, 10) : QColor(250, 250, 250),
             boardDesignation(row));
    }
}

void CPresentDlg::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up:
        if (m_selection > 0)
            setSelection(m_selection - 1);
        return;
    case Qt::Key_Down:
        if (m_selection < RowCount - 1)
            setSelection(m_selection + 1);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        accept();
        return;
    default:
        QDialog::keyPressEvent(event); // Esc: reject()
    }
}

void CPresentDlg::accept() {
    done(ResultBase + m_selection);
}

void CPresentDlg::reject() {
    done(ResultCancel);
}

} // namespace kia
