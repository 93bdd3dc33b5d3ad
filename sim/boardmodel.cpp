#include "boardmodel.h"

namespace sim {

namespace {

constexpr quint32 kHalf = 0x10000;

} // namespace

BoardModel::BoardModel(int boardType)
    : m_boardType(boardType < 0 ? 0 : (boardType > 4 ? 4 : boardType)),
      m_ram(isProgrammerBoard() ? 0x8000 : 0x2000, 0x00),
      m_dataEeprom(isProgrammerBoard() ? 0x20000 : 0x8000, 0xFF), m_fiscal(0x10000, 0xFF),
      m_program(2 * kHalf, 0xFF), m_keyboard(m_boardType),
      m_serialEeprom(std::make_unique<Eeprom24c256>()) {
    if (isProgrammerBoard()) {
        m_rtc = std::make_unique<RtcChip>(RtcChip::Model::Ds1307);
        m_secondEeprom = std::make_unique<Eeprom24c256>();
        m_i2c.attach(rtcAddress(), m_rtc.get());
        m_i2c.attach(0xA0, m_secondEeprom.get());
    } else {
        m_rtc = std::make_unique<RtcChip>(RtcChip::Model::Pcf8583);
        m_i2c.attach(rtcAddress(), m_rtc.get());
    }
    m_i2c.attach(serialEepromAddress(), m_serialEeprom.get());
    // The input circuits whose connectors are off during the tests hold their
    // lines low; the workstation masks exactly these bits in the bus walk.
    if (!isProgrammerBoard())
        setLineHeldLow(1, 6, true);
    setLineHeldLow(3, 3, true);

    // Recognisable program bytes (not blank, not all alike), then the sums.
    quint32 x = 0x1234567u + static_cast<quint32>(m_boardType);
    for (quint32 a = 0; a < m_program.size(); ++a) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        m_program.data()[a] = static_cast<quint8>(x >> 24);
    }
    sealProgramChecksum(0);
}

BoardModel::Bank BoardModel::dataBank(int bank) {
    Bank b;
    if (!isProgrammerBoard()) {
        b.memory = &m_dataEeprom;
        b.size = 0x4000;
        b.base = static_cast<quint32>(bank & 1) * b.size;
        return b;
    }
    const int device = boardLevel(1) & 7;
    b.size = 0x8000;
    if (device == 6) {
        b.memory = &m_fiscal;
        b.base = static_cast<quint32>(bank & 1) * b.size;
    } else if (device == 7) {
        b.memory = &m_dataEeprom;
        b.base = static_cast<quint32>(bank & 3) * b.size;
    }
    return b;
}

BoardModel::Bank BoardModel::windowBank(quint16 address, quint32 length, quint32* offset) {
    if (address < bankWindowStart() || address + length > 0x10000u || deafAt(address) ||
        deafAt(static_cast<quint16>(address + length - 1)))
        return Bank();
    if (isProgrammerBoard() && (boardLevel(1) & 7) == 0)
        return Bank(); // the output latch
    if (offset)
        *offset = address - bankWindowStart();
    return dataBank(selectedBank());
}

int BoardModel::selectedBank() const {
    const quint8 p1 = boardLevel(1);
    if (!isProgrammerBoard())
        return (p1 >> 2) & 1;
    return (p1 >> 5) & 3; // dataBank() keeps only bit 5 for the fiscal memory
}

int BoardModel::romHalf() const {
    if (isProgrammerBoard())
        return (boardLevel(3) >> 2) & 1;
    return boardLevel(1) & 1;
}

bool BoardModel::deafAt(quint16 address) const {
    if (m_deadSelects == 0)
        return false;
    if (!isProgrammerBoard())
        return isSelectDead(address >> 13); // A15..A13 on the decoder's inputs
    return address >= 0x8000 && isSelectDead(boardLevel(1) & 7);
}

quint8 BoardModel::readData(quint16 address, qint64 nowUs) {
    if (deafAt(address))
        return 0xFF; // nothing is selected: the bus floats high
    if (!isProgrammerBoard() && address >= 0x4000 && address < 0x6000 && (address & 3) == 1) {
        // Port B reads the key rows of the columns port C drives low.
        m_ppi.setInputs(1, m_keyboard.rowLines(static_cast<quint8>(m_ppi.latch(2) | 0xC0), nowUs));
    }
    if (isProgrammerBoard() && address >= 0x8000 && (boardLevel(1) & 7) == 0) {
        // Window 0: the keyboard buffer; the low address byte selects the columns.
        return static_cast<quint8>(
            (m_keyboard.rowLines(static_cast<quint8>(address & 0xFF), nowUs) & 0x1F) |
            (m_controllerInputs & 0xE0));
    }
    return busByte(address);
}

bool BoardModel::indicatorRegister(quint16 address, int* ind, int* reg) const {
    if (!isProgrammerBoard()) {
        if (address < 0x8000 || address >= 0xC000)
            return false;
        *ind = (address >> 13) & 1;
        *reg = (address >> 8) & 3;
        return true;
    }
    const int device = boardLevel(1) & 7;
    if (address < 0x8000 || (device != 3 && device != 4))
        return false;
    *ind = device == 4 ? 1 : 0;
    *reg = address & 3;
    return true;
}

quint8 BoardModel::busByte(quint16 address) {
    int ind = 0;
    int reg = 0;
    if (indicatorRegister(address, &ind, &reg)) {
        IndicatorController& c = indicator(ind);
        if (reg == 3)
            return c.readData();
        if (reg == 2)
            return c.readStatus();
        return 0xFF; // the write registers do not drive the bus
    }
    auto inBank = [this](quint32 offset) -> quint8 {
        const Bank b = dataBank(selectedBank());
        return b.isValid() ? b.memory->read(b.base + offset) : quint8(0xFF);
    };
    if (!isProgrammerBoard()) {
        if (address < 0x2000)
            return m_ram.read(address);
        if (address >= 0x4000 && address < 0x6000)
            return m_ppi.read(address & 3);
        if (address >= 0xC000)
            return inBank(address - 0xC000u);
        return 0xFF;
    }
    if (address < 0x8000)
        return m_ram.read(address);
    if ((boardLevel(1) & 7) == 0)
        return m_latch;
    return inBank(address - 0x8000u);
}

void BoardModel::writeData(quint16 address, quint8 value, qint64 /*nowUs*/) {
    if (deafAt(address))
        return;
    int ind = 0;
    int reg = 0;
    if (indicatorRegister(address, &ind, &reg)) {
        if (reg == 0)
            indicator(ind).writeCommand(value);
        else if (reg == 1)
            indicator(ind).writeData(value);
        return;
    }
    if (!isProgrammerBoard()) {
        if (address < 0x2000)
            m_ram.write(address, value);
        else if (address >= 0x4000 && address < 0x6000)
            m_ppi.write(address & 3, value);
        else if (address == 0x7FFF)
            m_latch = value;
        else if (address >= 0xC000) {
            const Bank b = dataBank(selectedBank());
            b.memory->write(b.base + (address - 0xC000u), value);
        }
        return;
    }
    if (address < 0x8000) {
        m_ram.write(address, value);
        return;
    }
    if ((boardLevel(1) & 7) == 0) {
        m_latch = value;
        return;
    }
    const Bank b = dataBank(selectedBank());
    if (b.isValid())
        b.memory->write(b.base + (address - 0x8000u), value);
}

void BoardModel::sealProgramChecksum(quint16 controllerSum) {
    quint8* pm = m_program.data();
    quint16 firstPages = 0;
    for (quint32 h = 0; h < 2; ++h) {
        for (quint32 a = 0; a < 0x1FFE; ++a)
            firstPages = static_cast<quint16>(firstPages + pm[h * kHalf + a]);
    }
    // The workstation adds the two trailing bytes of half 0 as a word, low byte first.
    firstPages = static_cast<quint16>(firstPages + pm[0x1FFE] + (pm[0x1FFF] << 8));
    pm[kHalf + 0x1FFE] = static_cast<quint8>(firstPages >> 8);
    pm[kHalf + 0x1FFF] = static_cast<quint8>(firstPages);

    quint16 upper = controllerSum;
    for (quint32 h = 0; h < 2; ++h) {
        for (quint32 a = 0x2000; a < 0xFFFE; ++a)
            upper = static_cast<quint16>(upper + pm[h * kHalf + a]);
    }
    upper = static_cast<quint16>(upper + pm[0xFFFE] + pm[0xFFFF]);
    pm[kHalf + 0xFFFE] = static_cast<quint8>(upper >> 8);
    pm[kHalf + 0xFFFF] = static_cast<quint8>(upper);
}

} // namespace sim
