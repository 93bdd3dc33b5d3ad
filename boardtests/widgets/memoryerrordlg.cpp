#include "memoryerrordlg.h"

#include "app/appfont.h"
#include "boardtests/memoryerrormodel.h"
#include "boardtests/testcolours.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kia {

namespace {
QString hex2(quint8 v) {
    return QString::number(v, 16).toUpper().rightJustified(2, u'0');
}

QColor colour(quint32 rgb) {
    return QColor::fromRgb(rgb);
}

QFont listFont() {
    QFont f(MonoFontFamily());
    f.setStyleHint(QFont::TypeWriter);
    f.setPointSize(10);
    return f;
}

int fontCharWidth(const QFont& f) {
    return qMax(1, QFontMetrics(f).horizontalAdvance(u'0'));
}
} // namespace

int MemoryRowLayout::byteX(int index, int charWidth) {
    // Two digits and half a character each; the "-" and its gap after the eighth.
    const int halves = index * 5 + (index >= 8 ? 3 : 0);
    return halves * charWidth / 2;
}

MemoryRowDelegate::MemoryRowDelegate(const MemoryErrorModel& model, QObject* parent)
    : QStyledItemDelegate(parent), m_model(model) {}

QSize MemoryRowDelegate::sizeHint(const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    QSize s = QStyledItemDelegate::sizeHint(option, index);
    s.setHeight(QFontMetrics(option.font).height() + 2);
    return s;
}

void MemoryRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    painter->save();
    painter->fillRect(option.rect, option.palette.base());
    painter->setFont(option.font);
    const QFontMetrics fm(option.font);
    const int w = qMax(1, fm.horizontalAdvance(u'0'));
    const int x0 = option.rect.left() + MemoryRowLayout::padding(w);
    const int baseline = option.rect.top() + (option.rect.height() - fm.height()) / 2 + fm.ascent();
    const int row = index.row();

    if (index.column() == 0) {
        painter->setPen(colour(testcolour::Address));
        painter->drawText(x0, baseline, m_model.addressText(row));
    } else {
        const bool read = m_model.showingRead();
        for (int i = 0; i < 16; ++i) {
            const int cell = row * 16 + i;
            const bool differs = m_model.differs(cell);
            quint32 rgb = testcolour::Matching;
            if (differs)
                rgb = read ? testcolour::Differing : testcolour::ExpectedDiffering;
            painter->setPen(colour(rgb));
            painter->drawText(x0 + MemoryRowLayout::byteX(i, w), baseline,
                              hex2(m_model.shownByte(cell)));
        }
        painter->setPen(option.palette.color(QPalette::Text));
        painter->drawText(x0 + MemoryRowLayout::dashX(w), baseline, QStringLiteral("-"));
    }
    painter->restore();
}

CMemoryErrorDlg::CMemoryErrorDlg(MemoryErrorModel& model, QWidget* parent)
    : QDialog(parent), m_model(model) {
    setObjectName(QStringLiteral("CMemoryErrorDlg"));
    setWindowTitle(model.title());

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("memoryList"));
    m_list->setFont(listFont());
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({MemoryErrorModel::addressHeader(), model.dataHeader()});
    m_list->setRootIsDecorated(false);
    m_list->setItemsExpandable(false);
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->setUniformRowHeights(true);
    m_list->setItemDelegate(new MemoryRowDelegate(model, m_list));
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QHeaderView* header = m_list->header();
    header->setSectionsClickable(true);
    header->setSectionsMovable(false);
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setDefaultAlignment(Qt::AlignCenter);

    // Columns of 7 and 42 base units, the list 49 wide and 8 rows high.
    const int w = charWidth();
    m_list->setColumnWidth(0, MemoryErrorModel::AddressColumnUnits * w);
    m_list->setColumnWidth(1, MemoryErrorModel::DataColumnUnits * w);
    fillRows();
    const int rowHeight = m_list->sizeHintForRow(0) > 0 ? m_list->sizeHintForRow(0)
                                                        : QFontMetrics(m_list->font()).height() + 2;
    const int frame = 2 * m_list->frameWidth();
    m_list->setFixedSize(MemoryErrorModel::ListWidthUnits * w + frame,
                         header->sizeHint().height() + MemoryErrorModel::VisibleRows * rowHeight +
                             frame);
    connect(header, &QHeaderView::sectionClicked, this, [this](int section) {
        if (section == 1)
            toggleMode();
    });

    m_hint = new QLabel(model.hint(), this);
    m_hint->setObjectName(QStringLiteral("hintLabel"));
    m_hint->setAlignment(Qt::AlignCenter);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(addButton(MemoryErrorModel::continueButton(), "continueButton",
                                 MemoryErrorModel::ContinueResult, model.continueEnabled()));
    buttons->addWidget(addButton(MemoryErrorModel::nextTestButton(), "nextTestButton",
                                 MemoryErrorModel::NextTestResult, model.nextTestEnabled()));
    buttons->addWidget(addButton(MemoryErrorModel::diagnosticsButton(), "diagnosticsButton",
                                 MemoryErrorModel::DiagnosticsResult, true));
    buttons->addWidget(addButton(MemoryErrorModel::exitButton(), "exitButton",
                                 MemoryErrorModel::ExitResult, true));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 0, Qt::AlignHCenter);
    layout->addWidget(m_hint);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());

    // Enter goes on with the test when it can, otherwise leaves it.
    for (QPushButton* b : m_buttons) {
        if (b->isEnabled()) {
            b->setDefault(true);
            b->setFocus();
            break;
        }
    }
}

int CMemoryErrorDlg::charWidth() const {
    return fontCharWidth(m_list->font());
}

QPushButton* CMemoryErrorDlg::addButton(const QString& text, const char* name, int result,
                                        bool enabled) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(QLatin1String(name));
    b->setEnabled(enabled);
    connect(b, &QPushButton::clicked, this, [this, result] { done(result); });
    m_buttons << b;
    return b;
}

void CMemoryErrorDlg::fillRows() {
    m_list->clear();
    for (int row = 0; row < m_model.rowCount(); ++row) {
        auto* item = new QTreeWidgetItem(m_list);
        item->setText(0, m_model.addressText(row));
        // The plain text of the bytes shown (the painting is the delegate's).
        item->setText(1, m_model.rowText(row, m_model.showingRead()).mid(7));
    }
}

void CMemoryErrorDlg::toggleMode() {
    m_model.toggleMode();
    m_list->headerItem()->setText(1, m_model.dataHeader());
    m_hint->setText(m_model.hint());
    for (int row = 0; row < m_list->topLevelItemCount(); ++row)
        m_list->topLevelItem(row)->setText(1, m_model.rowText(row, m_model.showingRead()).mid(7));
    m_list->viewport()->update();
}

void CMemoryErrorDlg::reject() {
    done(MemoryErrorModel::ExitResult);
}

} // namespace kia
