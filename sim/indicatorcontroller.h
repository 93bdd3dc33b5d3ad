#pragma once

#include <QtGlobal>
#include <array>

namespace sim {

/// One dot-matrix indicator controller of the board: 2 rows of 8 positions.
/// A command register and a data register; the address counter points into
/// the display memory (cells 0x00..0x07 and 0x40..0x47, set with the commands
/// 0x80 + p and 0xC0 + p) or into the character generator (64 cells, 8 dot
/// rows of the user characters 0..7, set with 0x40 + a). Every data write or
/// read moves the counter on by one (the entry mode the workstation sets).
/// Commands: 0x01 clear (display memory to blanks, counter to 0x80), 0x08..0x0F
/// display on/off, cursor, blink; 0x38 and 0x06 are taken as they are.
/// Cells keep all 8 bits. Faults: stuck bits of one cell of either memory, or
/// a dead controller (takes nothing, reads 0xFF like a floating bus).
/// Plain state, used under the Bench's lock.
class IndicatorController {
public:
    IndicatorController() { reset(); }

    static constexpr int DisplayCells = 0x80;
    static constexpr int CharacterCells = 64;

    void writeCommand(quint8 value);
    void writeData(quint8 value);
    quint8 readData();
    /// Busy flag (never set) and the address counter.
    quint8 readStatus() const;

    /// Power-on: blanks, counter at the display memory start, display off.
    void reset();

    // --- what the board shows ---------------------------------------------
    /// The code at screen position 0..15 (0..7 are the user characters).
    quint8 screenCode(int position) const;
    /// Dot rows of user character 0..7 as the character generator holds them.
    std::array<quint8, 8> userCharacter(int slot) const;
    bool displayOn() const { return m_displayOn; }
    bool cursorOn() const { return m_cursorOn; }
    bool cursorBlinks() const { return m_blink; }
    /// Screen position of the cursor (the display-memory counter), −1 off screen.
    int cursorPosition() const;
    /// The counter as the controller's register: 0x80 + display address or
    /// 0x40 + character-generator address.
    quint8 addressCommand() const;
    int commandCount() const { return m_commands; }
    quint8 lastCommand() const { return m_lastCommand; }

    // --- faults -------------------------------------------------------------
    void setDisplayCellFault(int position, quint8 stuckLow, quint8 stuckHigh);
    void setCharacterCellFault(int address, quint8 stuckLow, quint8 stuckHigh);
    void setDead(bool dead) { m_dead = dead; }
    bool isDead() const { return m_dead; }
    void clearFaults();

private:
    struct Stuck {
        int cell = -1;
        quint8 low = 0;
        quint8 high = 0;
        quint8 apply(int c, quint8 v) const {
            return c == cell ? static_cast<quint8>((v & ~low) | high) : v;
        }
    };
    void step();

    std::array<quint8, DisplayCells> m_display{};
    std::array<quint8, CharacterCells> m_characters{};
    bool m_inCharacters = false;
    int m_address = 0;
    bool m_displayOn = false;
    bool m_cursorOn = false;
    bool m_blink = false;
    bool m_dead = false;
    int m_commands = 0;
    quint8 m_lastCommand = 0;
    Stuck m_displayFault;
    Stuck m_characterFault;
};

} // namespace sim
