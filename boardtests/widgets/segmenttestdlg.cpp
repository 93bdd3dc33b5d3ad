#include "segmenttestdlg.h"

#include "indicatorwidget.h"

#include "boardtests/segmenttest.h"
#include "core/benchcontext.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kia {

CSegmentTestDlg::CSegmentTestDlg(SegmentTest& engine, DialogTimers::Pacing pacing,
                                 QWidget* parent)
    : QDialog(parent), m_engine(engine), m_timers(engine.context().clock, pacing, this) {
    setObjectName(QStringLiteral("CSegmentTestDlg"));
    setWindowTitle(SegmentTest::title());

    m_indicator = new CIndicatorWidget(this);
    m_board = new CIndicatorWidget(this);
    m_board->setObjectName(QStringLiteral("boardIndicatorWidget"));
    m_board->hide();
    m_boardCaption = new QLabel(QStringLiteral("На плате (имитатор):"), this);
    m_boardCaption->setObjectName(QStringLiteral("boardIndicatorCaption"));
    m_boardCaption->hide();
    m_hint = new QLabel(this);
    m_hint->setObjectName(QStringLiteral("hintLabel"));
    m_hint->setWordWrap(true);
    m_hint->setMinimumWidth(440);
    m_auto = new QPushButton(SegmentTest::autoButton(), this);
    m_auto->setObjectName(QStringLiteral("autoButton"));
    m_step = new QPushButton(SegmentTest::stepButton(), this);
    m_step->setObjectName(QStringLiteral("stepButton"));
    m_diagnostics = new QPushButton(SegmentTest::diagnosticsButton(), this);
    m_diagnostics->setObjectName(QStringLiteral("diagnosticsButton"));
    m_exit = new QPushButton(SegmentTest::exitButton(), this);
    m_exit->setObjectName(QStringLiteral("exitButton"));
    for (QPushButton* b : {m_auto, m_step, m_diagnostics, m_exit})
        b->setAutoDefault(false);

    auto* top = new QHBoxLayout;
    top->addStretch(1);
    top->addWidget(m_indicator);
    top->addSpacing(12);
    top->addWidget(m_boardCaption);
    top->addWidget(m_board);
    top->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_auto);
    buttons->addWidget(m_step);
    buttons->addStretch(1);
    buttons->addWidget(m_diagnostics);
    buttons->addWidget(m_exit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_hint);
    layout->addLayout(buttons);

    m_backlightTimer = m_timers.add([this] {
        m_engine.backlightTick();
        sync();
    });
    m_runTimer = m_timers.add([this] {
        m_engine.runTick();
        sync();
    });
    m_cursorTimer = m_timers.add([this] {
        m_engine.cursorTick();
        sync();
    });

    auto press = [this](void (SegmentTest::*action)()) {
        return [this, action] {
            (m_engine.*action)();
            sync();
        };
    };
    connect(m_auto, &QPushButton::clicked, this, press(&SegmentTest::pressAuto));
    connect(m_step, &QPushButton::clicked, this, press(&SegmentTest::pressStep));
    connect(m_diagnostics, &QPushButton::clicked, this, press(&SegmentTest::pressDiagnostics));
    connect(m_exit, &QPushButton::clicked, this, press(&SegmentTest::pressExit));
}

bool CSegmentTestDlg::start() {
    m_engine.open();
    sync();
    return !m_engine.hasEnded();
}

int CSegmentTestDlg::run() {
    if (!start())
        return m_engine.result();
    return exec();
}

void CSegmentTestDlg::reject() {
    if (!m_engine.hasEnded())
        m_engine.pressExit();
    sync();
}

void CSegmentTestDlg::keepTimer(int id, bool running, int ms) {
    if (!running) {
        m_timers.stop(id);
        return;
    }
    if (!m_timers.isActive(id) || m_timers.interval(id) != ms)
        m_timers.start(id, ms);
}

void CSegmentTestDlg::setBoardScreenSource(BoardScreenSource source) {
    m_boardSource = std::move(source);
}

void CSegmentTestDlg::sync() {
    IndicatorScreen board;
    int boardCursor = -1;
    const bool shown = m_boardSource && m_boardSource(m_engine.indicator(), board, boardCursor);
    m_board->setVisible(shown);
    m_boardCaption->setVisible(shown);
    if (shown) {
        m_board->setScreen(board);
        m_board->setBackground(m_engine.background());
        m_board->setCursor(boardCursor, m_engine.cursorShown());
    }
    m_indicator->setScreen(m_engine.screen());
    m_indicator->setBackground(m_engine.background());
    m_indicator->setCursor(m_engine.cursorPosition(), m_engine.cursorShown());
    m_hint->setText(m_engine.hint());
    if (m_engine.hasEnded()) {
        m_timers.stopAll();
        emit updated();
        done(m_engine.result());
        return;
    }
    keepTimer(m_backlightTimer, m_engine.backlightRunning(), SegmentTest::BacklightMs);
    keepTimer(m_runTimer, m_engine.runRunning(), m_engine.runInterval());
    keepTimer(m_cursorTimer, m_engine.cursorRunning(), SegmentTest::CursorBlinkMs);
    emit updated();
}

} // namespace kia
