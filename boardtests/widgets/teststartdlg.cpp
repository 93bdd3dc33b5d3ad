#include "teststartdlg.h"

#include "boardtests/startdialogtexts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace kia {

namespace {
constexpr int kMargin = 10;
// Width the one-line instructions of board types 0..2 are wrapped to.
constexpr int kTextWidth = 460;
} // namespace

CTestStartDlg::CTestStartDlg(int boardType, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CTestStartDlg"));
    setWindowTitle(startdialog::title());

    // The upper part: what the engineer reads and answers. The scheme sits
    // below it and is cut off while the dialog is collapsed.
    auto* top = new QWidget(this);
    top->setObjectName(QStringLiteral("startDialogTop"));
    const QString instructions = startdialog::instructionText(boardType);
    m_text = new QLabel(instructions, top);
    m_text->setObjectName(QStringLiteral("instructionText"));
    // Texts with their own line breaks keep them; the one-line text wraps.
    if (!instructions.contains(u'\n')) {
        m_text->setWordWrap(true);
        m_text->setFixedWidth(kTextWidth);
    }
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* proceed = new QPushButton(startdialog::continueButton(), top);
    proceed->setObjectName(QStringLiteral("continueButton"));
    proceed->setDefault(true);
    auto* cancel = new QPushButton(startdialog::cancelButton(), top);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    m_toggle = new QPushButton(startdialog::schemeButton(false), top);
    m_toggle->setObjectName(QStringLiteral("schemeButton"));
    m_toggle->setAutoDefault(false);
    m_dontShow = new QCheckBox(startdialog::dontShowCheckBox(), top);
    m_dontShow->setObjectName(QStringLiteral("dontShowCheckBox"));

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(proceed);
    buttons->addWidget(cancel);
    buttons->addStretch(1);
    buttons->addWidget(m_toggle);
    auto* grid = new QGridLayout(top);
    grid->setContentsMargins(kMargin, kMargin, kMargin, 0);
    grid->setHorizontalSpacing(2 * kMargin);
    grid->addWidget(m_text, 0, 0);
    grid->addLayout(buttons, 0, 1);
    grid->addWidget(m_dontShow, 1, 0, 1, 2);
    top->adjustSize();

    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("schemePicture"));
    const QPixmap scheme(
        QStringLiteral(":/bitmaps/%1.png").arg(startdialog::schemePictureId(boardType)));
    m_picture->setPixmap(scheme);
    m_picture->setFixedSize(scheme.isNull() ? QSize(0, 0) : scheme.size());

    const int width = qMax(top->width(), m_picture->width() + 2 * kMargin);
    top->setFixedWidth(width);
    // The picture comes 10 pixels below the upper part, with 10 below it:
    // hiding it leaves exactly the upper part.
    m_picture->move((width - m_picture->width()) / 2, top->height() + kMargin);
    m_fullHeight = top->height() + m_picture->height() + 2 * kMargin;
    m_collapsedHeight = startdialog::collapsedHeight(m_fullHeight, m_picture->height());

    connect(proceed, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_toggle, &QPushButton::clicked, this, &CTestStartDlg::toggleScheme);

    setFixedWidth(width);
    setExpanded(false);
    centreOverParent();
}

bool CTestStartDlg::dontShowAgain() const {
    return m_dontShow->isChecked();
}

int CTestStartDlg::pictureHeight() const {
    return m_picture->height();
}

void CTestStartDlg::toggleScheme() {
    setExpanded(!m_expanded);
}

void CTestStartDlg::setExpanded(bool expanded) {
    m_expanded = expanded;
    m_picture->setVisible(expanded);
    m_toggle->setText(startdialog::schemeButton(expanded));
    setFixedHeight(expanded ? m_fullHeight : m_collapsedHeight);
}

void CTestStartDlg::centreOverParent() {
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (!owner)
        return;
    const QRect area = owner->frameGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
}

} // namespace kia
