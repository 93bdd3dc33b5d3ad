#pragma once

#include <QString>

namespace kia {

class BenchContext;

/// The sound test ("Тест звука...") without its window: a rising and falling
/// tone. The dialog calls open() once and tick() whenever interval() has
/// passed since the last call (300 ms first, then what the last tone needs);
/// the buttons call pressExit() and pressDiagnostics(). Results: 2 "Выход",
/// 123 "Диагностика", 124 a link failure. UI thread; every tick talks to the link.
class SoundTest {
public:
    static constexpr int FirstMs = 300;
    static constexpr int Steps = 29;

    explicit SoundTest(BenchContext& ctx);

    BenchContext& context() const { return m_ctx; }
    void open();
    void tick();
    void pressExit();
    void pressDiagnostics();

    bool hasEnded() const { return m_result != 0; }
    int result() const { return m_result; }
    int counter() const { return m_counter; }
    int interval() const { return m_intervalMs; }
    /// The tone of the last tick: half-period units a and periods n (0 before).
    int lastUnits() const { return m_lastUnits; }
    int lastPeriods() const { return m_lastPeriods; }

    /// a of the step counter 0..28: 2, 3 … 16, 15 … 2 (the counter taken mod 29).
    static int toneUnits(int counter);
    /// n = 500 / a.
    static int tonePeriods(int units);
    /// The wait after a tone: 2 × ((a + 1) × n / 9) ms.
    static int toneIntervalMs(int units);

    static QString title();
    static QString hintText();
    static QString exitButton();
    static QString diagnosticsButton();

private:
    BenchContext& m_ctx;
    int m_counter = 0;
    int m_intervalMs = FirstMs;
    int m_result = 0;
    int m_lastUnits = 0;
    int m_lastPeriods = 0;
};

} // namespace kia
