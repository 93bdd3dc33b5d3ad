#pragma once

#include "dialogtimers.h"

#include <QDialog>
#include <array>

class QPushButton;

namespace kia {

class KeyboardTest;

/// "Тест клавиатуры": a thin window over a KeyboardTest. A picture of the
/// board's keyboard made of push buttons (the top row only on board types 3
/// and 4; the arrow, both minus keys and "+" show icons 171..174), the hint
/// and the buttons "Выход" (default) and "Диагностика"; it owns the 50 ms scan
/// timer. A key the engine has seen is shown pressed for good; the engineer
/// cannot press the pictured keys. Ends with the engine's result (2, 123,
/// 124); the close box is "Выход". UI thread only.
class CKeyboardDlg : public QDialog {
    Q_OBJECT
public:
    CKeyboardDlg(KeyboardTest& engine, DialogTimers::Pacing pacing, QWidget* parent = nullptr);

    void start();
    int run();

    KeyboardTest& engine() const { return m_engine; }
    /// The pictured key (keyboard::Key), or null.
    QPushButton* keyButton(int key) const;
    DialogTimers& timers() { return m_timers; }

    void reject() override;

signals:
    void scanned();

private:
    void sync();

    KeyboardTest& m_engine;
    DialogTimers m_timers;
    int m_scanTimer = -1;
    std::array<QPushButton*, 32> m_keys{};
    QPushButton* m_exit = nullptr;
    QPushButton* m_diagnostics = nullptr;
};

} // namespace kia
