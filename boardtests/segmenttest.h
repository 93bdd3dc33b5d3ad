#pragma once

#include "indicatortext.h"

#include <QString>
#include <QtGlobal>

namespace kia {

class BenchContext;

/// The segment and cursor test of one indicator ("Тест ж/к ячеек индитатора и
/// курсора") without its window. The dialog owns three timers and calls:
/// open() once, backlightTick() every 800 ms while backlightRunning(),
/// runTick() at runInterval() while runRunning(), cursorTick() every 350 ms
/// while cursorRunning(); the buttons call pressAuto(), pressStep(),
/// pressDiagnostics() and pressExit(). After every call the dialog redraws
/// the picture from screen(), background() and cursorShown(), shows hint(),
/// and closes when hasEnded() with result(): 2 "Выход", 123 "Диагностика",
/// 124 a link failure (every timer stopped then). UI thread; every call may
/// talk to the link.
///
/// Steps 0..127 light user character 0 one dot row more every 16 steps and
/// write it to position s mod 16; 128 shows " ПРОВЕРЬ КУРСОР "; 129..144 put
/// the blinking cursor on positions 0..15; 145 shows "END OF LCD TEST!" and
/// stops the run (the counter is 0 again).
class SegmentTest {
public:
    static constexpr int Steps = 146;
    static constexpr int BacklightMs = 800;
    static constexpr int FastRunMs = 100;
    static constexpr int SlowRunMs = 1100;
    static constexpr int CursorBlinkMs = 350;
    /// Picture colours as Windows colour values (0x00BBGGRR).
    static constexpr quint32 DotColour = 0xAFCFAF;
    static constexpr quint32 Background = 0x4FEF4F;
    static constexpr quint32 BacklightBackground = 0x3FFFBF;

    SegmentTest(BenchContext& ctx, int indicator);

    BenchContext& context() const { return m_ctx; }
    int indicator() const { return m_indicator; }
    /// Clear and "ПРОВЕРЬ ЗАСВЕТКУ"; the backlight timer on indicator 0.
    bool open();
    void backlightTick();
    void runTick();
    void cursorTick();
    void pressAuto();
    void pressStep();
    void pressDiagnostics();
    void pressExit();

    bool hasEnded() const { return m_result != 0; }
    int result() const { return m_result; }
    int step() const { return m_step; }
    QString hint() const { return m_hint; }
    const IndicatorScreen& screen() const { return m_screen; }
    quint32 background() const { return m_backlight ? BacklightBackground : Background; }
    bool backlightOn() const { return m_backlight; }
    /// The cursor's screen position, −1 when there is none; shown blinks.
    int cursorPosition() const { return m_cursor; }
    bool cursorShown() const { return m_cursor >= 0 && m_cursorVisible; }

    bool backlightRunning() const { return m_backlightTimer; }
    bool runRunning() const { return m_runTimer; }
    int runInterval() const { return m_runMs; }
    bool cursorRunning() const { return m_cursorTimer; }

    static QString title();
    static QString autoButton();
    static QString stepButton();
    static QString diagnosticsButton();
    static QString exitButton();
    /// The contrast resistor of the indicator on the board type ("30", "69" …).
    static QString resistor(int boardType, int indicator);
    static QString openingHint(int boardType, int indicator);
    static QString runHint();

private:
    bool doStep();
    bool setBacklight(bool on);
    bool clearScreen();
    bool showText(const QString& text);
    void fail();
    void stopTimers();

    BenchContext& m_ctx;
    int m_indicator;
    int m_step = 0;
    int m_result = 0;
    QString m_hint;
    IndicatorScreen m_screen;
    bool m_backlight = false;
    bool m_backlightTimer = false;
    bool m_runTimer = false;
    int m_runMs = FastRunMs;
    bool m_cursorTimer = false;
    bool m_cursorVisible = true;
    int m_cursor = -1;
};

} // namespace kia
