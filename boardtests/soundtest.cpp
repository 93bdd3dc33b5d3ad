#include "soundtest.h"

#include "core/benchcontext.h"
#include "testresults.h"

namespace kia {

namespace {
constexpr quint16 kPpiControl = 0x4003;
constexpr quint8 kEmitterOn = 0x0E;  // 82C55 bit set/reset: port C bit 7
constexpr quint8 kEmitterOff = 0x0F;
constexpr quint8 kEmitterGroup = 1;  // type 4: pin 7 of group 1
constexpr quint8 kEmitterPin = 7;
} // namespace

SoundTest::SoundTest(BenchContext& ctx) : m_ctx(ctx) {}

QString SoundTest::title() {
    return QStringLiteral("Тест звука...");
}
QString SoundTest::hintText() {
    return QStringLiteral("Проконтролируйте наличие звукового сигнала !");
}
QString SoundTest::exitButton() {
    return QStringLiteral("Выход");
}
QString SoundTest::diagnosticsButton() {
    return QStringLiteral("Диагностика");
}

int SoundTest::toneUnits(int counter) {
    const int c = ((counter % Steps) + Steps) % Steps;
    return c <= 14 ? c + 2 : 30 - c;
}

int SoundTest::tonePeriods(int units) {
    return units > 0 ? 500 / units : 0;
}

int SoundTest::toneIntervalMs(int units) {
    return 2 * ((units + 1) * tonePeriods(units) / 9);
}

void SoundTest::open() {
    m_counter = 0;
    m_intervalMs = FirstMs;
}

void SoundTest::tick() {
    if (hasEnded())
        return;
    if (m_counter >= Steps)
        m_counter = 0;
    const int a = toneUnits(m_counter);
    const int n = tonePeriods(a);
    bool ok = false;
    if (isProgrammerBoard(m_ctx.boardType))
        ok = m_ctx.link.GeneratePinPulses(kEmitterGroup, kEmitterPin, static_cast<quint16>(2 * a),
                                          static_cast<quint16>(n), 2);
    else
        ok = m_ctx.link.GeneratePulses(kEmitterOn, kEmitterOff, kPpiControl,
                                       static_cast<quint16>(a), static_cast<quint16>(n), 1);
    if (!ok) {
        m_result = ResultLinkFailure;
        return;
    }
    m_lastUnits = a;
    m_lastPeriods = n;
    m_intervalMs = toneIntervalMs(a);
    ++m_counter;
}

void SoundTest::pressExit() {
    if (!hasEnded())
        m_result = ResultExit;
}

void SoundTest::pressDiagnostics() {
    if (!hasEnded())
        m_result = ResultDiagnostics;
}

} // namespace kia
