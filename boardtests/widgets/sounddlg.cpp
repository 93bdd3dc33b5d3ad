#include "sounddlg.h"

#include "boardtests/soundtest.h"
#include "core/benchcontext.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kia {

CSoundDlg::CSoundDlg(SoundTest& engine, DialogTimers::Pacing pacing, QWidget* parent)
    : QDialog(parent), m_engine(engine), m_timers(engine.context().clock, pacing, this) {
    setObjectName(QStringLiteral("CSoundDlg"));
    setWindowTitle(SoundTest::title());

    auto* hint = new QLabel(SoundTest::hintText(), this);
    hint->setObjectName(QStringLiteral("hintLabel"));
    auto* exit = new QPushButton(SoundTest::exitButton(), this);
    exit->setObjectName(QStringLiteral("exitButton"));
    exit->setDefault(true);
    auto* diagnostics = new QPushButton(SoundTest::diagnosticsButton(), this);
    diagnostics->setObjectName(QStringLiteral("diagnosticsButton"));
    diagnostics->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(exit);
    buttons->addWidget(diagnostics);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addLayout(buttons);

    m_toneTimer = m_timers.add([this] {
        m_engine.tick();
        if (!m_engine.hasEnded())
            m_timers.start(m_toneTimer, m_engine.interval());
        finishIfEnded();
        emit toned();
    });
    connect(exit, &QPushButton::clicked, this, [this] {
        m_engine.pressExit();
        finishIfEnded();
    });
    connect(diagnostics, &QPushButton::clicked, this, [this] {
        m_engine.pressDiagnostics();
        finishIfEnded();
    });
}

void CSoundDlg::start() {
    m_engine.open();
    m_timers.start(m_toneTimer, m_engine.interval());
}

int CSoundDlg::run() {
    start();
    return exec();
}

void CSoundDlg::reject() {
    m_engine.pressExit();
    finishIfEnded();
}

void CSoundDlg::finishIfEnded() {
    if (m_engine.hasEnded()) {
        m_timers.stopAll();
        done(m_engine.result());
    }
}

} // namespace kia
