#include "manualstepdialog.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kia {

QPoint cornerAwayFrom(const QRect& client, const QSize& size, const QRect& avoid) {
    const QPoint corners[4] = {
        {client.right() - size.width(), client.bottom() - size.height()},
        {client.right() - size.width(), client.top()},
        {client.left(), client.bottom() - size.height()},
        {client.left(), client.top()},
    };
    for (int i = 0; i < 3; ++i) {
        if (!QRect(corners[i], size).intersects(avoid))
            return corners[i];
    }
    return corners[3];
}

CManualStepDialog::CManualStepDialog(const StepRequest& r, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("manualStepDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(r.oscilloscope ? QStringLiteral("Контроль сигнала осциллографом")
                                  : QStringLiteral("Контроль сигнала логическим пробником"));

    auto* layout = new QVBoxLayout(this);
    auto* point = new QLabel(r.point.isEmpty() ? QString()
                                               : QStringLiteral("Контрольная точка: ") + r.point,
                             this);
    point->setObjectName(QStringLiteral("stepPoint"));
    point->setVisible(!r.point.isEmpty());
    layout->addWidget(point);
    auto* text = new QLabel(r.text, this);
    text->setObjectName(QStringLiteral("stepText"));
    text->setWordWrap(true);
    layout->addWidget(text);

    m_history = new QListWidget(this);
    m_history->setObjectName(QStringLiteral("stepHistory"));
    for (const StepRecord& h : r.history)
        m_history->addItem(QStringLiteral("%1  %2").arg(h.label, outcomeWord(h.outcome)));
    if (m_history->count() > 0)
        m_history->setCurrentRow(m_history->count() - 1);
    layout->addWidget(m_history);

    const bool conclusion = r.mode == 3;
    auto* verdicts = new QHBoxLayout;
    const struct {
        const char* name;
        const char* label;
        int code;
        int argument;
    } buttons[] = {{"passButton", "PASS", CodePass, 0},
                   {"fail0Button", "FAIL0", CodeFail, 0},
                   {"fail1Button", "FAIL1", CodeFail, 1}};
    for (const auto& b : buttons) {
        auto* button = new QPushButton(QString::fromLatin1(b.label), this);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setEnabled(!conclusion);
        const int code = b.code, argument = b.argument;
        connect(button, &QPushButton::clicked, this, [this, code, argument] { finish(code, argument); });
        verdicts->addWidget(button);
    }
    layout->addLayout(verdicts);

    auto* navigation = new QHBoxLayout;
    m_back = new QPushButton(QStringLiteral("Вернуться к шагу"), this);
    m_back->setObjectName(QStringLiteral("backButton"));
    m_back->setEnabled(m_history->count() > 0);
    connect(m_back, &QPushButton::clicked, this, [this] {
        if (m_history->currentRow() >= 0)
            finish(CodeBackToStep, m_history->currentRow());
    });
    auto* stop = new QPushButton(QStringLiteral("Завершить"), this);
    stop->setObjectName(QStringLiteral("stopButton"));
    connect(stop, &QPushButton::clicked, this, [this] { finish(CodeStop, 0); });
    navigation->addWidget(m_back);
    navigation->addWidget(stop);
    layout->addLayout(navigation);
}

void CManualStepDialog::placeAway(const QRect& client, const QRect& avoid) {
    adjustSize();
    move(cornerAwayFrom(client, frameGeometry().size(), avoid));
}

void CManualStepDialog::finish(int code, int argument) {
    if (m_done)
        return;
    m_done = true;
    emit outcome(code, argument);
    close();
}

void CManualStepDialog::closeEvent(QCloseEvent* event) {
    if (!m_done) {
        m_done = true;
        emit outcome(CodeStop, 0); // closing the window ends the run
    }
    event->accept();
}

} // namespace kia
