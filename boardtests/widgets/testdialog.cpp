#include "testdialog.h"

#include "core/benchcontext.h"
#include "core/clock.h"
#include "boardtests/testcolours.h"
#include "boardtests/testengine.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace kia {

namespace {
QString captionOf(const QString& progressText) {
    QString caption = progressText;
    while (caption.endsWith(u'.'))
        caption.chop(1);
    return caption.trimmed();
}

// The progress bar of the classic look: light yellow trough, blue blocks.
void styleProgressBar(QProgressBar* bar) {
    const QColor trough = QColor::fromRgb(testcolour::ProgressBackground);
    QPalette p = bar->palette();
    p.setColor(QPalette::Base, trough);
    p.setColor(QPalette::Window, trough);
    bar->setPalette(p);
    bar->setStyleSheet(QStringLiteral("QProgressBar { background-color: %1; border: 1px solid "
                                      "#808080; }"
                                      "QProgressBar::chunk { background-color: #000080; "
                                      "width: 8px; margin: 1px; }")
                           .arg(trough.name()));
}
} // namespace

CTestDialog::CTestDialog(TestEngine& engine, Pacing pacing, QWidget* parent)
    : QDialog(parent), m_engine(engine), m_pacing(pacing) {
    setObjectName(QStringLiteral("CTestDialog"));
    setWindowTitle(captionOf(engine.text()));

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progressBar"));
    m_progress->setTextVisible(false);
    m_progress->setRange(0, qMax(1, engine.progressMaximum()));
    m_progress->setValue(0);
    m_progress->setMinimumWidth(320);
    styleProgressBar(m_progress);

    m_text = new QLabel(engine.text(), this);
    m_text->setObjectName(QStringLiteral("textLine"));
    m_repeat = new QPushButton(TestEngine::repeatButton(), this);
    m_repeat->setObjectName(QStringLiteral("repeatButton"));
    m_repeat->setEnabled(false);
    m_repeat->setAutoDefault(false);
    m_exit = new QPushButton(TestEngine::exitButton(), this);
    m_exit->setObjectName(QStringLiteral("exitButton"));
    m_exit->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_repeat);
    buttons->addWidget(m_exit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_progress);
    layout->addWidget(m_text);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());

    m_timer.setObjectName(QStringLiteral("testTimer"));
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &CTestDialog::onTimeout);

    connect(&engine, &TestEngine::progressRangeChanged, m_progress,
            [this](int maximum) { m_progress->setRange(0, qMax(1, maximum)); });
    connect(&engine, &TestEngine::progressChanged, m_progress, &QProgressBar::setValue);
    connect(&engine, &TestEngine::textChanged, m_text, &QLabel::setText);
    connect(&engine, &TestEngine::repeatEnabledChanged, m_repeat, &QPushButton::setEnabled);
    connect(&engine, &TestEngine::timerRestarted, this, &CTestDialog::schedule);
    connect(&engine, &TestEngine::timerStopped, &m_timer, &QTimer::stop);
    connect(&engine, &TestEngine::finished, this, &CTestDialog::onFinished);
    connect(m_repeat, &QPushButton::clicked, &engine, &TestEngine::pressRepeat);
    connect(m_exit, &QPushButton::clicked, &engine, &TestEngine::pressExit);
}

int CTestDialog::run() {
    m_engine.start();
    if (m_engine.hasEnded()) // nothing to run: never shown
        return m_engine.result();
    schedule();
    return exec();
}

void CTestDialog::reject() {
    if (m_engine.hasEnded())
        done(m_engine.result());
    else
        m_engine.pressExit();
}

// One single-shot timer, armed for the moment the engine wants its next tick;
// the engine keeps the period, so a step that overran it is not made up for.
void CTestDialog::schedule() {
    m_timer.stop();
    if (!m_engine.timerRunning())
        return;
    m_timer.start(m_pacing == Pacing::RealTime ? qMax(0, m_engine.msUntilNextTick()) : 0);
}

void CTestDialog::onTimeout() {
    const int wait = m_engine.msUntilNextTick();
    if (wait < 0)
        return; // stopped meanwhile
    if (wait > 0) {
        if (m_pacing == Pacing::RealTime) {
            m_timer.start(wait); // a Qt timer may fire a little early
            return;
        }
        m_engine.context().clock.sleepMs(wait);
    }
    m_engine.tick();
    if (!m_engine.hasEnded())
        schedule();
}

void CTestDialog::onFinished(int result) {
    m_timer.stop();
    done(result);
}

} // namespace kia
