#include "keyboarddlg.h"

#include "boardtests/keyboardtest.h"
#include "core/benchcontext.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace kia {

namespace {
using namespace keyboard;

static_assert(KeyCount == 32);

// Where each key sits on the picture: grid row, column, row span, column span.
struct Place {
    int key, row, column, rowSpan, columnSpan;
};
constexpr Place kPlaces[] = {
    {Top1, 0, 0, 1, 1}, {Top2, 0, 1, 1, 1}, {Top3, 0, 2, 1, 1}, {Top4, 0, 3, 1, 1},
    {Top5, 0, 4, 1, 1}, {Top6, 0, 5, 1, 1},
    {Arrow, 1, 0, 1, 1}, {Seven, 1, 1, 1, 1}, {Eight, 1, 2, 1, 1}, {Nine, 1, 3, 1, 1},
    {Sb, 1, 4, 1, 1}, {Percent, 1, 5, 1, 1}, {Kl, 1, 6, 1, 1},
    {Mh, 2, 0, 1, 1}, {Four, 2, 1, 1, 1}, {Five, 2, 2, 1, 1}, {Six, 2, 3, 1, 1},
    {Pv, 2, 4, 1, 1}, {Minus2, 2, 5, 1, 1}, {Plus, 2, 6, 1, 1},
    {Fc, 3, 0, 1, 1}, {One, 3, 1, 1, 1}, {Two, 3, 2, 1, 1}, {Three, 3, 3, 1, 1},
    {Times, 3, 4, 1, 1}, {Minus3, 3, 5, 1, 1}, {Bb, 3, 6, 2, 1},
    {Bn, 4, 0, 1, 1}, {Zero, 4, 1, 1, 1}, {DoubleZero, 4, 2, 1, 1}, {Point, 4, 3, 1, 1},
    {Itog, 4, 4, 1, 2},
};
constexpr int kKeySize = 44;
} // namespace

CKeyboardDlg::CKeyboardDlg(KeyboardTest& engine, DialogTimers::Pacing pacing, QWidget* parent)
    : QDialog(parent), m_engine(engine), m_timers(engine.context().clock, pacing, this) {
    setObjectName(QStringLiteral("CKeyboardDlg"));
    setWindowTitle(KeyboardTest::title());

    auto* grid = new QGridLayout;
    grid->setSpacing(4);
    for (const Place& p : kPlaces) {
        auto* b = new QPushButton(this);
        b->setObjectName(QStringLiteral("key_%1").arg(name(p.key)));
        const int icon = iconOf(p.key);
        const QPixmap picture(QStringLiteral(":/icons/%1.png").arg(icon));
        if (icon != 0 && !picture.isNull()) {
            b->setIcon(QIcon(picture));
            b->setIconSize(picture.size());
        } else {
            b->setText(icon != 0 ? name(p.key) : label(p.key));
        }
        b->setCheckable(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoDefault(false);
        // Only the board's keys press them.
        b->setAttribute(Qt::WA_TransparentForMouseEvents);
        b->setMinimumSize(kKeySize, kKeySize);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        grid->addWidget(b, p.row, p.column, p.rowSpan, p.columnSpan);
        m_keys[static_cast<size_t>(p.key)] = b;
        const int key = p.key;
        connect(b, &QPushButton::toggled, this, [this, b, key](bool on) {
            if (on != m_engine.isPressed(key)) {
                const QSignalBlocker block(b);
                b->setChecked(!on);
            }
        });
        if (isTopRowKey(p.key))
            b->setVisible(engine.showsTopRow());
    }

    auto* hint = new QLabel(KeyboardTest::hintText(), this);
    hint->setObjectName(QStringLiteral("hintLabel"));
    hint->setWordWrap(true);
    m_exit = new QPushButton(KeyboardTest::exitButton(), this);
    m_exit->setObjectName(QStringLiteral("exitButton"));
    m_exit->setDefault(true);
    m_diagnostics = new QPushButton(KeyboardTest::diagnosticsButton(), this);
    m_diagnostics->setObjectName(QStringLiteral("diagnosticsButton"));
    m_diagnostics->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_exit);
    buttons->addWidget(m_diagnostics);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(hint);
    layout->addLayout(buttons);

    m_scanTimer = m_timers.add([this] {
        m_engine.tick();
        sync();
        emit scanned();
    });
    connect(m_exit, &QPushButton::clicked, this, [this] {
        m_engine.pressExit();
        sync();
    });
    connect(m_diagnostics, &QPushButton::clicked, this, [this] {
        m_engine.pressDiagnostics();
        sync();
    });
}

QPushButton* CKeyboardDlg::keyButton(int key) const {
    return key >= 0 && key < KeyCount ? m_keys[static_cast<size_t>(key)] : nullptr;
}

void CKeyboardDlg::start() {
    m_engine.open();
    m_timers.start(m_scanTimer, KeyboardTest::ScanMs);
}

int CKeyboardDlg::run() {
    start();
    return exec();
}

void CKeyboardDlg::reject() {
    m_engine.pressExit();
    sync();
}

void CKeyboardDlg::sync() {
    for (int key = 0; key < KeyCount; ++key) {
        if (m_engine.isPressed(key))
            m_keys[static_cast<size_t>(key)]->setChecked(true);
    }
    if (m_engine.hasEnded()) {
        m_timers.stopAll();
        done(m_engine.result());
    }
}

} // namespace kia
