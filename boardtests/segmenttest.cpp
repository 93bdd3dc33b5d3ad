#include "segmenttest.h"

#include "core/benchcontext.h"
#include "indicatoraccess.h"
#include "testresults.h"

namespace kia {

namespace {
constexpr quint8 kBacklightBit = 0x10;  // PPI port A (type 3), output latch (type 4)
constexpr quint8 kPort1Backlight = 0x80; // port 1 bit 7 (the other types)
constexpr quint16 kPpiPortA = 0x5FFC;
constexpr quint16 kType4Latch = 0x8000;
} // namespace

SegmentTest::SegmentTest(BenchContext& ctx, int indicator)
    : m_ctx(ctx), m_indicator(indicator & 1) {}

QString SegmentTest::title() {
    return QStringLiteral("Тест ж/к ячеек индитатора и курсора");
}
QString SegmentTest::autoButton() {
    return QStringLiteral("Авто-прогон");
}
QString SegmentTest::stepButton() {
    return QStringLiteral("Пошаговый прогон");
}
QString SegmentTest::diagnosticsButton() {
    return QStringLiteral("Диагностика");
}
QString SegmentTest::exitButton() {
    return QStringLiteral("Выход");
}

QString SegmentTest::resistor(int boardType, int indicator) {
    const bool first = indicator == 0;
    switch (boardType) {
    case 0:
        return first ? QStringLiteral("30") : QStringLiteral("31");
    case 3:
        return first ? QStringLiteral("69") : QStringLiteral("68");
    case 4:
        return first ? QStringLiteral("20") : QStringLiteral("34");
    default:
        return first ? QStringLiteral("56") : QStringLiteral("35");
    }
}

QString SegmentTest::openingHint(int boardType, int indicator) {
    if (indicator == 0)
        return QStringLiteral("Проконтролируйте на индикаторе появление соответствующей "
                              "надписи,при необходимости подстройте контрасность резистором R") +
               resistor(boardType, 0) +
               QStringLiteral(" блока управления !\nЕсли установлен индикатор с подсветкой "
                              "проконтролируйте ее мигание !");
    return QStringLiteral("Проконтролируйте на индикаторе появление соответствующей "
                          "надписи,при необходимости\nподстройте контрасность резистором R") +
           resistor(boardType, 1) + QStringLiteral(" блока управления !");
}

QString SegmentTest::runHint() {
    return QStringLiteral("Проконтролируйте засветку сегментов индикатора в соответствии\nс "
                          "примером на экране монитора !");
}

void SegmentTest::stopTimers() {
    m_backlightTimer = false;
    m_runTimer = false;
    m_cursorTimer = false;
}

void SegmentTest::fail() {
    stopTimers();
    m_result = ResultLinkFailure;
}

bool SegmentTest::clearScreen() {
    m_screen.codes.fill(0x20);
    return IndicatorCommand(m_ctx, m_indicator, indicator::Clear);
}

bool SegmentTest::showText(const QString& text) {
    return ShowIndicatorText(m_ctx, m_indicator, text, &m_screen);
}

bool SegmentTest::open() {
    m_step = 0;
    m_hint = openingHint(m_ctx.boardType, m_indicator);
    if (!clearScreen() || !showText(QStringLiteral("ПРОВЕРЬ ЗАСВЕТКУ"))) {
        fail();
        return false;
    }
    m_backlightTimer = m_indicator == 0;
    return true;
}

bool SegmentTest::setBacklight(bool on) {
    LinkPort& link = m_ctx.link;
    bool ok = true;
    if (m_ctx.boardType == 3) {
        quint8& a = m_ctx.ppiShadows[0];
        a = on ? quint8(a | kBacklightBit) : quint8(a & ~kBacklightBit);
        ok = link.WriteMemoryByte(kPpiPortA, a);
    } else if (isProgrammerBoard(m_ctx.boardType)) {
        quint8& l = m_ctx.mainLatchShadow;
        l = on ? quint8(l | kBacklightBit) : quint8(l & ~kBacklightBit);
        // The latch's window, then back to the window of the indicator under
        // test (the customer's too: "Авто-прогон" clears the bit on both).
        ok = link.WritePort(1, 0, 7) && link.WriteMemoryByte(kType4Latch, l) &&
             SelectIndicator(m_ctx, m_indicator);
    } else {
        ok = link.WritePort(1, on ? kPort1Backlight : 0, kPort1Backlight);
    }
    if (ok)
        m_backlight = on;
    return ok;
}

void SegmentTest::backlightTick() {
    if (hasEnded() || !m_backlightTimer)
        return;
    if (!setBacklight(!m_backlight))
        fail();
}

void SegmentTest::cursorTick() {
    if (!hasEnded() && m_cursorTimer)
        m_cursorVisible = !m_cursorVisible;
}

void SegmentTest::pressAuto() {
    if (hasEnded())
        return;
    m_backlightTimer = false;
    if (!setBacklight(false)) {
        fail();
        return;
    }
    m_runTimer = true;
    m_runMs = m_step >= 128 ? SlowRunMs : FastRunMs;
    m_hint = runHint();
}

void SegmentTest::pressStep() {
    if (hasEnded())
        return;
    m_runTimer = false;
    if (!doStep())
        fail();
}

void SegmentTest::runTick() {
    if (hasEnded() || !m_runTimer)
        return;
    if (!doStep())
        fail();
}

bool SegmentTest::doStep() {
    const int s = m_step;
    const int ind = m_indicator;
    IndicatorGlyph& user0 = m_screen.userRows[0];
    if (s == 0) {
        if (!IndicatorCommand(m_ctx, ind, indicator::CharacterAddress))
            return false;
        for (int r = 0; r < 8; ++r) {
            if (!IndicatorWrite(m_ctx, ind, 0))
                return false;
        }
        user0.fill(0);
        m_screen.userCount = 1;
        m_screen.userFor[0] = 0;
    }
    if (s < 128) {
        if (s % 16 == 0) {
            if (!clearScreen() || !IndicatorCommand(m_ctx, ind, indicator::CharacterAddress))
                return false;
            for (int r = 0; r <= s / 16; ++r) {
                if (!IndicatorWrite(m_ctx, ind, 0xFF))
                    return false;
                user0[static_cast<size_t>(r)] = 0xFF;
            }
        }
        const int position = s % 16;
        if (!IndicatorCommand(m_ctx, ind, indicator::positionCommand(position)) ||
            !IndicatorWrite(m_ctx, ind, 0))
            return false;
        m_screen.codes[static_cast<size_t>(position)] = 0;
        if (s == 127)
            m_runMs = SlowRunMs;
    } else if (s == 128) {
        if (!clearScreen() || !showText(QStringLiteral(" ПРОВЕРЬ КУРСОР ")))
            return false;
    } else if (s <= 144) {
        if (!IndicatorCommand(m_ctx, ind, indicator::DisplayOnBlinkingCursor) ||
            !IndicatorCommand(m_ctx, ind, indicator::positionCommand(s - 129)))
            return false;
        m_cursor = s - 129;
        m_cursorVisible = true;
        m_cursorTimer = true;
    } else {
        m_runTimer = false;
        m_cursorTimer = false;
        m_cursor = -1;
        m_step = 0;
        return IndicatorCommand(m_ctx, ind, indicator::DisplayOn) && clearScreen() &&
               showText(QStringLiteral("END OF LCD TEST!"));
    }
    ++m_step;
    return true;
}

void SegmentTest::pressDiagnostics() {
    stopTimers();
    m_result = ResultDiagnostics;
}

void SegmentTest::pressExit() {
    stopTimers();
    // Every board type: port 1 bit 7 back to 0 (the backlight of types 0..2).
    if (!m_ctx.link.WritePort(1, 0, kPort1Backlight)) {
        m_result = ResultLinkFailure;
        return;
    }
    m_result = ResultExit;
}

} // namespace kia
