// Board faults put on and taken off the board model.

#include "boardfault.h"
#include "boardmodel.h"

namespace sim {

namespace {

constexpr quint32 kHalf = 0x10000;

int lineOf(int port, int bit) {
    return (port & 3) * 8 + (bit & 7);
}

} // namespace

void BoardModel::patchRom(quint32 address, quint8 flip) {
    quint8& cell = m_program.data()[address % m_program.size()];
    m_romPatches.push_back({address % m_program.size(), cell});
    cell = static_cast<quint8>(cell ^ flip);
}

void BoardModel::applyFault(const BoardFault& f) {
    const quint8 bitMask = static_cast<quint8>(1u << (f.bit & 7));
    switch (f.kind) {
    case BoardFaultKind::PortStuckLow:
        port(f.port).stuckLow |= bitMask;
        break;
    case BoardFaultKind::PortStuckHigh:
        port(f.port).stuckHigh |= bitMask;
        break;
    case BoardFaultKind::PortOpen:
        port(f.port).open |= bitMask;
        break;
    case BoardFaultKind::PortShort:
        addShort(lineOf(f.port, f.bit), lineOf(f.port2, f.bit2));
        break;
    case BoardFaultKind::RamCell:
        m_ram.setCellFault(f.address, f.stuckLow, f.stuckHigh);
        break;
    case BoardFaultKind::BankCell:
        m_dataEeprom.setCellFault(static_cast<quint32>(f.bank) * bankSize() + f.address, f.stuckLow,
                                  f.stuckHigh);
        break;
    case BoardFaultKind::RomStoredSum:
        // The low bytes of both stored sums; no summed range covers them.
        patchRom(kHalf + 0x1FFF, 0x01);
        patchRom(kHalf + 0xFFFF, 0x01);
        break;
    case BoardFaultKind::RomByte:
        patchRom(static_cast<quint32>(f.bank & 1) * kHalf + (f.address & 0xFFFF), f.value);
        break;
    case BoardFaultKind::ClockStopped:
        m_rtc->setOscillatorStopped(true);
        break;
    case BoardFaultKind::ClockSilent:
        m_i2c.attach(rtcAddress(), nullptr);
        break;
    case BoardFaultKind::ClockRegister:
        m_rtc->addRegisterFault(static_cast<int>(f.address), f.stuckLow, f.stuckHigh);
        break;
    case BoardFaultKind::SerialEepromCell:
        m_serialEeprom->memory().setCellFault(f.address, f.stuckLow, f.stuckHigh);
        break;
    case BoardFaultKind::SerialEepromSilent:
        m_i2c.attach(serialEepromAddress(), nullptr);
        break;
    case BoardFaultKind::FiscalNotBlank:
        // Programmed bits of a fiscal cell do not come back.
        m_fiscal.setCellFault(f.address, static_cast<quint8>(~f.value), 0);
        break;
    case BoardFaultKind::FiscalNoWrite:
        m_fiscal.setCellFault(f.address, 0, 0xFF);
        break;
    case BoardFaultKind::PpiStuckLow:
        m_ppi.addLineFault(f.port, bitMask, 0);
        break;
    case BoardFaultKind::PpiStuckHigh:
        m_ppi.addLineFault(f.port, 0, bitMask);
        break;
    case BoardFaultKind::IndicatorCell:
        indicator(f.bank).setDisplayCellFault(static_cast<int>(f.address), f.stuckLow, f.stuckHigh);
        break;
    case BoardFaultKind::IndicatorCharacter:
        indicator(f.bank).setCharacterCellFault(static_cast<int>(f.address), f.stuckLow,
                                                f.stuckHigh);
        break;
    case BoardFaultKind::IndicatorDead:
        indicator(f.bank).setDead(true);
        break;
    case BoardFaultKind::KeyStuck:
        m_keyboard.setStuck(f.key);
        break;
    case BoardFaultKind::KeyDead:
        m_keyboard.setDead(f.key);
        break;
    case BoardFaultKind::KeyPress:
        m_keyboard.scriptPress(f.key, f.atMs, f.holdMs);
        break;
    case BoardFaultKind::EmitterSilent:
        m_sound.setSilent(true);
        break;
    case BoardFaultKind::SelectDead:
        m_deadSelects |= static_cast<quint8>(1u << (f.bank & 7));
        break;
    case BoardFaultKind::ReadFlip:
        // DD5 and the cash register are not on the board model: the bench
        // puts those two on.
        if (f.bank == BoardFault::FlipFiscal)
            m_fiscal.setReadFlip(f.address, f.value);
        else if (f.bank == BoardFault::FlipDataEeprom)
            m_dataEeprom.setReadFlip(f.address, f.value);
        else if (f.bank == BoardFault::FlipProgram)
            m_program.setReadFlip(f.address, f.value);
        break;
    case BoardFaultKind::CircuitStuckLow:
    case BoardFaultKind::CircuitStuckHigh:
    case BoardFaultKind::CircuitOpen:
    case BoardFaultKind::CircuitCoupled:
    case BoardFaultKind::PinShorted:
    case BoardFaultKind::PulseSplit:
    case BoardFaultKind::ProbeBroken:
        // Faults of the peripheral circuits and the probe: the circuits read
        // them from the fault list where they drive their points.
        break;
    }
}

void BoardModel::clearFaults() {
    for (PortLines& p : m_ports) {
        p.stuckLow = 0;
        p.stuckHigh = 0;
        p.open = 0;
    }
    m_shorts.clear();
    m_ram.clearCellFaults();
    m_dataEeprom.clearCellFaults();
    m_fiscal.clearCellFaults();
    m_program.clearCellFaults();
    m_serialEeprom->memory().clearCellFaults();
    if (m_secondEeprom)
        m_secondEeprom->memory().clearCellFaults();
    m_rtc->clearFaults();
    m_i2c.attach(rtcAddress(), m_rtc.get());
    m_i2c.attach(serialEepromAddress(), m_serialEeprom.get());
    m_ppi.clearFaults();
    for (IndicatorController& c : m_indicators)
        c.clearFaults();
    m_keyboard.clearFaults();
    m_keyboard.releaseAll();
    m_sound.setSilent(false);
    m_deadSelects = 0;
    for (auto it = m_romPatches.rbegin(); it != m_romPatches.rend(); ++it)
        m_program.data()[it->address] = it->original;
    m_romPatches.clear();
}

} // namespace sim
