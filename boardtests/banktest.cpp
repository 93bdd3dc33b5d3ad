#include "banktest.h"

#include "core/benchcontext.h"
#include "testengine.h"

namespace kia {

namespace {
constexpr int kVerifyStepMs = 100;
constexpr int kEraseGroup = 6;
constexpr quint8 kTestProcessorBankArgument = 64; // "the bank port 1 selects"
} // namespace

BankTest::BankTest(int boardType, const Layout& layout)
    : m_boardType(boardType), m_layout(layout) {}

BankTest::Layout BankTest::eepromLayout(int boardType) {
    Layout l;
    if (isProgrammerBoard(boardType)) {
        l.banks = 4;
        l.stepCount = 56;
        l.period = 100;
        l.bankSize = 0x8000;
        l.progressText = QStringLiteral("Тест РПЗУ ( 29С010 )...");
    } else {
        l.banks = 2;
        l.stepCount = 28;
        l.period = 4000;
        l.bankSize = 0x4000;
        l.progressText = QStringLiteral("Тест РПЗУ ( 28С256 )...");
    }
    l.kind = MemoryErrorKind::Eeprom;
    l.type4SelectMask = 0x60;
    return l;
}

BankTest::Layout BankTest::fiscalLayout() {
    Layout l;
    l.banks = 2;
    l.stepCount = 28;
    l.period = 100;
    l.bankSize = 0x8000;
    l.kind = MemoryErrorKind::FiscalBank;
    l.type4SelectMask = 0x20;
    l.progressText = QStringLiteral("Тест записи ФП...");
    return l;
}

int BankTest::bankPattern(int group, int bank) {
    if (group >= kEraseGroup)
        return 7;
    return (group + bank) % 6 + 1;
}

QString BankTest::stepText(int pattern, bool verify, int bank) {
    if (pattern == 7)
        return QStringLiteral("Очистка...");
    return QStringLiteral("Тест %1 - ").arg(pattern) +
           (verify ? QStringLiteral("чтение ( банк ") : QStringLiteral("запись ( банк ")) +
           QString::number(bank) + QStringLiteral(" ) ...");
}

quint32 BankTest::lastBlock(int bank) const {
    if (m_layout.kind == MemoryErrorKind::FiscalBank)
        return 0xFF80;
    if (isProgrammerBoard(m_boardType))
        return 0x1FF80;
    return static_cast<quint32>(bank + 1) * m_layout.bankSize - 0x80;
}

bool BankTest::selectBank(TestEngine& engine, int bank, bool verify) {
    LinkPort& link = engine.context().link;
    if (!isProgrammerBoard(m_boardType))
        return link.WritePort(1, bank ? 0xFF : 0, 4); // port 1 bit 2 chooses the bank
    if (!verify)
        return true; // the fill command carries the bank
    return link.WritePort(1, static_cast<quint8>(bank * 32), m_layout.type4SelectMask);
}

void BankTest::step(TestEngine& engine) {
    LinkPort& link = engine.context().link;
    const int s = engine.step();
    const int groupSteps = 2 * m_layout.banks;
    const int group = s / groupSteps;
    const int bank = s % m_layout.banks;
    const int pattern = bankPattern(group, bank);
    const bool lastBank = bank == m_layout.banks - 1;
    if (s == 0)
        m_verify = false;

    engine.setText(stepText(pattern, m_verify, bank));
    if (!selectBank(engine, bank, m_verify)) {
        engine.linkFailure();
        return;
    }

    if (!m_verify) {
        bool failed = false; // the verify phase finds what the fill did not write
        const quint8 bankArgument =
            isProgrammerBoard(m_boardType) ? static_cast<quint8>(bank) : kTestProcessorBankArgument;
        if (!link.FillBank(static_cast<quint8>(pattern), bankArgument, failed)) {
            engine.linkFailure();
            return;
        }
        if (lastBank)
            m_verify = true;
        else
            engine.restartTimer(m_layout.period);
        engine.advance();
        return;
    }

    CheckResult r;
    if (!link.CheckBankPattern(static_cast<quint8>(pattern), r)) {
        engine.linkFailure();
        return;
    }
    if (!r.passed) {
        const quint32 address = r.value + static_cast<quint32>(bank) * m_layout.bankSize;
        if (!engine.runMemoryErrorLoop(m_layout.kind, pattern, address, lastBlock(bank),
                                       kVerifyStepMs))
            return;
    }
    if (lastBank)
        m_verify = false;
    else
        engine.restartTimer(kVerifyStepMs);
    engine.advance();
}

} // namespace kia
