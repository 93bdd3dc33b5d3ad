#include "prever.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

namespace kia {

QString CPreVer::instructionText() {
    return QStringLiteral(
        "1. Подключите ККМ к ПК согласно приведенной схеме.\n"
        "2. Убедитесь, что в программе выбран соответствующий СОМ порт.\n"
        "3. Включите ККМ и убедитесь,что она запустилась.\n"
        "4. Нажмите \"Продолжить\", чтобы начать верификацию или\n"
        "    \"Отменить\" для отмены операции.");
}

CPreVer::CPreVer(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CPreVer"));
    setWindowTitle(QStringLiteral("Верификация ПО кассы..."));

    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("connectionPicture"));
    const QPixmap pixmap(pictureResource());
    m_picture->setPixmap(pixmap);
    m_picture->setFixedSize(pixmap.isNull() ? QSize(397, 169) : pixmap.size());
    m_picture->setFrameShape(QFrame::Box);

    // A read-only edit field, as on the original form: the engineer may
    // select and copy the text but not change it.
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("instructionText"));
    m_text->setReadOnly(true);
    m_text->setPlainText(instructionText());
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    const QFontMetrics fm(m_text->font());
    m_text->setFixedHeight(fm.lineSpacing() * 6 + 2 * m_text->frameWidth() + 8);
    // Wide enough for the longest line, so that none of it hides behind a
    // scroll bar, whatever the font.
    int longest = 0;
    for (const QString& line : instructionText().split(QLatin1Char('\n')))
        longest = qMax(longest, fm.horizontalAdvance(line));
    const int margin = int(m_text->document()->documentMargin());
    m_text->setMinimumWidth(longest + 2 * margin + 2 * m_text->frameWidth() +
                            2 * fm.averageCharWidth() + 8);

    m_continue = new QPushButton(QStringLiteral("Продолжить"), this);
    m_continue->setObjectName(QStringLiteral("continueButton"));
    m_continue->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Отменить"), this);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    connect(m_continue, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_continue);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_picture, 0, Qt::AlignHCenter);
    layout->addWidget(m_text);
    layout->addLayout(buttons);
}

} // namespace kia
