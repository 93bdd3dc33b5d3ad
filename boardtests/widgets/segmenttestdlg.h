#pragma once

#include "dialogtimers.h"

#include "boardtests/indicatortext.h"

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;

namespace kia {

class CIndicatorWidget;
class SegmentTest;

/// "Тест ж/к ячеек индитатора и курсора": a thin window over a SegmentTest.
/// It shows the on-screen indicator (what the engine wrote), the hint line and
/// the buttons "Авто-прогон", "Пошаговый прогон", "Диагностика" and "Выход",
/// and owns the engine's three timers (backlight, run, cursor blink). It ends
/// with the engine's result: 2 "Выход", 123 "Диагностика", 124 a link failure;
/// the close box is "Выход". The engine outlives the dialog. UI thread only.
class CSegmentTestDlg : public QDialog {
    Q_OBJECT
public:
    CSegmentTestDlg(SegmentTest& engine, DialogTimers::Pacing pacing, QWidget* parent = nullptr);

    /// Opens the engine and starts its timers; false when it ended at once
    /// (a link failure while opening).
    bool start();
    /// start(), then the modal loop; returns the result.
    int run();

    /// Where the board's own indicator can be read (the simulated bench):
    /// fills the screen and the cursor position (−1 none) of an indicator and
    /// returns true, or false when no such board is behind the port.
    using BoardScreenSource = std::function<bool(int indicator, IndicatorScreen&, int& cursor)>;
    /// With a source the dialog shows a second indicator, "what the board
    /// shows", beside the one the test wrote.
    void setBoardScreenSource(BoardScreenSource source);

    SegmentTest& engine() const { return m_engine; }
    /// The board's indicator (hidden without a source that answers).
    CIndicatorWidget* boardIndicator() const { return m_board; }
    CIndicatorWidget* indicator() const { return m_indicator; }
    QLabel* hintLabel() const { return m_hint; }
    DialogTimers& timers() { return m_timers; }

    void reject() override;

signals:
    /// After every engine call, the window brought up to date.
    void updated();

private:
    void sync();
    void keepTimer(int id, bool running, int ms);

    SegmentTest& m_engine;
    DialogTimers m_timers;
    int m_backlightTimer = -1;
    int m_runTimer = -1;
    int m_cursorTimer = -1;
    CIndicatorWidget* m_indicator = nullptr;
    CIndicatorWidget* m_board = nullptr;
    QLabel* m_boardCaption = nullptr;
    BoardScreenSource m_boardSource;
    QLabel* m_hint = nullptr;
    QPushButton* m_auto = nullptr;
    QPushButton* m_step = nullptr;
    QPushButton* m_diagnostics = nullptr;
    QPushButton* m_exit = nullptr;
};

} // namespace kia
