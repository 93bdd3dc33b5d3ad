#include "indicatorcontroller.h"

namespace sim {

void IndicatorController::reset() {
    m_display.fill(0x20);
    m_characters.fill(0);
    m_inCharacters = false;
    m_address = 0;
    m_displayOn = false;
    m_cursorOn = false;
    m_blink = false;
}

void IndicatorController::step() {
    if (m_inCharacters)
        m_address = (m_address + 1) % CharacterCells;
    else
        m_address = (m_address + 1) % DisplayCells;
}

void IndicatorController::writeCommand(quint8 v) {
    if (m_dead)
        return;
    ++m_commands;
    m_lastCommand = v;
    if (v & 0x80) {
        m_inCharacters = false;
        m_address = v & 0x7F;
    } else if (v & 0x40) {
        m_inCharacters = true;
        m_address = v & 0x3F;
    } else if (v == 0x01) {
        m_display.fill(0x20);
        m_inCharacters = false;
        m_address = 0;
    } else if ((v & 0xF8) == 0x08) {
        m_displayOn = (v & 0x04) != 0;
        m_cursorOn = (v & 0x02) != 0;
        m_blink = (v & 0x01) != 0;
    }
    // 0x02 home, 0x04..0x07 entry mode, 0x10..0x3F shift and interface set-up:
    // the one mode the workstation uses needs no state.
}

void IndicatorController::writeData(quint8 v) {
    if (m_dead)
        return;
    if (m_inCharacters)
        m_characters[static_cast<size_t>(m_address)] = m_characterFault.apply(m_address, v);
    else
        m_display[static_cast<size_t>(m_address)] = m_displayFault.apply(m_address, v);
    step();
}

quint8 IndicatorController::readData() {
    if (m_dead)
        return 0xFF;
    const quint8 v = m_inCharacters ? m_characters[static_cast<size_t>(m_address)]
                                    : m_display[static_cast<size_t>(m_address)];
    step();
    return v;
}

quint8 IndicatorController::readStatus() const {
    if (m_dead)
        return 0xFF;
    return static_cast<quint8>(m_address & 0x7F);
}

quint8 IndicatorController::addressCommand() const {
    return static_cast<quint8>(m_inCharacters ? 0x40 + m_address : 0x80 + m_address);
}

quint8 IndicatorController::screenCode(int position) const {
    const int p = position & 15;
    return m_display[static_cast<size_t>(p < 8 ? p : 0x40 + p - 8)];
}

std::array<quint8, 8> IndicatorController::userCharacter(int slot) const {
    std::array<quint8, 8> rows{};
    for (int r = 0; r < 8; ++r)
        rows[static_cast<size_t>(r)] = m_characters[static_cast<size_t>((slot & 7) * 8 + r)];
    return rows;
}

int IndicatorController::cursorPosition() const {
    if (m_inCharacters)
        return -1;
    if (m_address < 8)
        return m_address;
    if (m_address >= 0x40 && m_address < 0x48)
        return m_address - 0x40 + 8;
    return -1;
}

void IndicatorController::setDisplayCellFault(int position, quint8 stuckLow, quint8 stuckHigh) {
    const int p = position & 15;
    m_displayFault = {p < 8 ? p : 0x40 + p - 8, stuckLow, stuckHigh};
}

void IndicatorController::setCharacterCellFault(int address, quint8 stuckLow, quint8 stuckHigh) {
    m_characterFault = {address & 0x3F, stuckLow, stuckHigh};
}

void IndicatorController::clearFaults() {
    m_displayFault = {};
    m_characterFault = {};
    m_dead = false;
}

} // namespace sim
