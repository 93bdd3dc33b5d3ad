#include "portimagedlg.h"

#include "app/appfont.h"
#include "boardtests/testcolours.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace kia {

namespace {
// The list's font: fixed pitch, medium weight (500).
QFont listFont() {
    // The list asks for the model's font; the bundled fixed-pitch font stands in for it.
    QFont f;
    f.setFamilies({PortImageModel::fontFamily(), MonoFontFamily()});
    f.setStyleHint(QFont::TypeWriter);
    f.setPointSize(10);
    f.setWeight(QFont::Weight(PortImageModel::FontWeight));
    return f;
}

int charWidthOf(const QFont& f) {
    return qMax(1, QFontMetrics(f).horizontalAdvance(u'0'));
}

// The longest row: the label, a blank and eight bits in three-character columns.
constexpr int kRowChars = 17 + 3 * 8;
} // namespace

PortImageDelegate::PortImageDelegate(const PortImageModel& model, QObject* parent)
    : QStyledItemDelegate(parent), m_model(model) {}

QSize PortImageDelegate::sizeHint(const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    QSize s = QStyledItemDelegate::sizeHint(option, index);
    s.setHeight(QFontMetrics(option.font).height() + 2);
    return s;
}

void PortImageDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    painter->save();
    painter->fillRect(option.rect, option.palette.base());
    painter->setFont(option.font);
    const QFontMetrics fm(option.font);
    const int w = charWidthOf(option.font);
    const int x0 = option.rect.left() + padding(w);
    const int baseline = option.rect.top() + (option.rect.height() - fm.height()) / 2 + fm.ascent();

    const PortImageModel::Row row = m_model.row(index.row());
    if (row.kind == PortImageModel::RowKind::Header) {
        painter->setPen(QColor::fromRgb(testcolour::PortHeader));
        painter->drawText(x0, baseline, row.label);
    } else {
        painter->setPen(QColor::fromRgb(testcolour::PortLabel));
        painter->drawText(x0, baseline, row.label);
        for (int bit = 0; bit < 8; ++bit) {
            const bool differs = (row.differing >> bit) & 1;
            painter->setPen(QColor::fromRgb(differs ? testcolour::Differing : testcolour::PortBit));
            painter->drawText(x0 + bitX(bit, w), baseline,
                              QString(QLatin1Char((row.bits >> bit) & 1 ? '1' : '0')));
        }
    }
    painter->restore();
}

CPortImageDlg::CPortImageDlg(const PortImageModel& model, QWidget* parent)
    : QDialog(parent), m_model(model) {
    setObjectName(QStringLiteral("CPortImageDlg"));
    setWindowTitle(m_model.title());

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("portImageList"));
    m_list->setFont(listFont());
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->setUniformItemSizes(true);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setItemDelegate(new PortImageDelegate(m_model, m_list));
    for (int i = 0; i < m_model.rowCount(); ++i)
        m_list->addItem(m_model.rowText(i));

    // Every row at once: 12 for the bus, 9 for the PPI.
    const int w = charWidth();
    const int rowHeight = QFontMetrics(m_list->font()).height() + 2;
    const int frame = 2 * m_list->frameWidth();
    m_list->setFixedSize((kRowChars + 1) * w + frame, m_model.rowCount() * rowHeight + frame);

    auto* diagnostics = new QPushButton(PortImageModel::diagnosticsButton(), this);
    diagnostics->setObjectName(QStringLiteral("diagnosticsButton"));
    diagnostics->setDefault(true);
    auto* leave = new QPushButton(PortImageModel::exitButton(), this);
    leave->setObjectName(QStringLiteral("exitButton"));
    connect(diagnostics, &QPushButton::clicked, this, [this] { done(DiagnosticsResult); });
    connect(leave, &QPushButton::clicked, this, [this] { done(ExitResult); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(diagnostics);
    buttons->addWidget(leave);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 0, Qt::AlignHCenter);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}

int CPortImageDlg::charWidth() const {
    return charWidthOf(m_list->font());
}

void CPortImageDlg::reject() {
    done(ExitResult);
}

} // namespace kia
