#include "boardfault.h"
#include "circuitwiring.h"

#include "keyboardmatrix.h"

namespace sim {

namespace {

QString hex(quint32 v, int digits) {
    return QStringLiteral("0x") +
           QString::number(v, 16).toUpper().rightJustified(digits, QLatin1Char('0'));
}

QString line(int port, int bit) {
    return QStringLiteral("%1.%2").arg(port).arg(bit);
}

QString stuckBits(quint8 low, quint8 high) {
    QString s;
    if (low)
        s += QStringLiteral(" low=") + hex(low, 2);
    if (high)
        s += QStringLiteral(" high=") + hex(high, 2);
    return s;
}

BoardFault make(BoardFaultKind kind) {
    BoardFault f;
    f.kind = kind;
    return f;
}

BoardFault cell(BoardFaultKind kind, quint32 address, quint8 low, quint8 high) {
    BoardFault f = make(kind);
    f.address = address;
    f.stuckLow = low;
    f.stuckHigh = high;
    return f;
}

bool isPortLine(int port, int bit) {
    return port >= 0 && port <= 3 && bit >= 0 && bit <= 7;
}

} // namespace

BoardFault BoardFault::portStuckLow(int port, int bit) {
    BoardFault f = make(BoardFaultKind::PortStuckLow);
    f.port = port;
    f.bit = bit;
    return f;
}

BoardFault BoardFault::portStuckHigh(int port, int bit) {
    BoardFault f = portStuckLow(port, bit);
    f.kind = BoardFaultKind::PortStuckHigh;
    return f;
}

BoardFault BoardFault::portOpen(int port, int bit) {
    BoardFault f = portStuckLow(port, bit);
    f.kind = BoardFaultKind::PortOpen;
    return f;
}

BoardFault BoardFault::portShort(int portA, int bitA, int portB, int bitB) {
    BoardFault f = portStuckLow(portA, bitA);
    f.kind = BoardFaultKind::PortShort;
    f.port2 = portB;
    f.bit2 = bitB;
    return f;
}

BoardFault BoardFault::ramCell(quint32 address, quint8 stuckLow, quint8 stuckHigh) {
    return cell(BoardFaultKind::RamCell, address, stuckLow, stuckHigh);
}

BoardFault BoardFault::bankCell(int bank, quint32 address, quint8 stuckLow, quint8 stuckHigh) {
    BoardFault f = cell(BoardFaultKind::BankCell, address, stuckLow, stuckHigh);
    f.bank = bank;
    return f;
}

BoardFault BoardFault::romStoredSum() {
    return make(BoardFaultKind::RomStoredSum);
}

BoardFault BoardFault::romByte(int half, quint32 address, quint8 flip) {
    BoardFault f = make(BoardFaultKind::RomByte);
    f.bank = half;
    f.address = address;
    f.value = flip;
    return f;
}

BoardFault BoardFault::clockStopped() {
    return make(BoardFaultKind::ClockStopped);
}

BoardFault BoardFault::clockSilent() {
    return make(BoardFaultKind::ClockSilent);
}

BoardFault BoardFault::clockRegister(int reg, quint8 stuckLow, quint8 stuckHigh) {
    return cell(BoardFaultKind::ClockRegister, static_cast<quint32>(reg), stuckLow, stuckHigh);
}

BoardFault BoardFault::serialEepromCell(quint32 address, quint8 stuckLow, quint8 stuckHigh) {
    return cell(BoardFaultKind::SerialEepromCell, address, stuckLow, stuckHigh);
}

BoardFault BoardFault::serialEepromSilent() {
    return make(BoardFaultKind::SerialEepromSilent);
}

BoardFault BoardFault::fiscalNotBlank(quint32 address, quint8 value) {
    BoardFault f = make(BoardFaultKind::FiscalNotBlank);
    f.address = address;
    f.value = value;
    return f;
}

BoardFault BoardFault::fiscalNoWrite(quint32 address) {
    BoardFault f = make(BoardFaultKind::FiscalNoWrite);
    f.address = address;
    return f;
}

BoardFault BoardFault::readFlip(FlipMemory memory, quint32 address, quint8 flip) {
    BoardFault f = make(BoardFaultKind::ReadFlip);
    f.bank = memory;
    f.address = address;
    f.value = flip;
    return f;
}

QString BoardFault::flipMemoryName(int memory) {
    static const char* const names[] = {"fp", "eeprom", "program", "dd5", "register"};
    return memory >= 0 && memory < 5 ? QLatin1String(names[memory]) : QString();
}

BoardFault BoardFault::ppiStuck(int port, int bit, bool high) {
    BoardFault f = make(high ? BoardFaultKind::PpiStuckHigh : BoardFaultKind::PpiStuckLow);
    f.port = port;
    f.bit = bit;
    return f;
}

BoardFault BoardFault::indicatorCell(int indicator, int position, quint8 stuckLow,
                                     quint8 stuckHigh) {
    BoardFault f = cell(BoardFaultKind::IndicatorCell, static_cast<quint32>(position), stuckLow,
                        stuckHigh);
    f.bank = indicator;
    return f;
}

BoardFault BoardFault::indicatorCharacter(int indicator, int address, quint8 stuckLow,
                                          quint8 stuckHigh) {
    BoardFault f = cell(BoardFaultKind::IndicatorCharacter, static_cast<quint32>(address),
                        stuckLow, stuckHigh);
    f.bank = indicator;
    return f;
}

BoardFault BoardFault::indicatorDead(int indicator) {
    BoardFault f = make(BoardFaultKind::IndicatorDead);
    f.bank = indicator;
    return f;
}

BoardFault BoardFault::keyStuck(const QString& key) {
    BoardFault f = make(BoardFaultKind::KeyStuck);
    f.key = key;
    return f;
}

BoardFault BoardFault::keyDead(const QString& key) {
    BoardFault f = make(BoardFaultKind::KeyDead);
    f.key = key;
    return f;
}

BoardFault BoardFault::keyPress(const QString& key, int atMs, int holdMs) {
    BoardFault f = make(BoardFaultKind::KeyPress);
    f.key = key;
    f.atMs = atMs;
    f.holdMs = holdMs;
    return f;
}

BoardFault BoardFault::emitterSilent() {
    return make(BoardFaultKind::EmitterSilent);
}

BoardFault BoardFault::circuitStuck(const QString& point, bool high) {
    BoardFault f;
    f.kind = high ? BoardFaultKind::CircuitStuckHigh : BoardFaultKind::CircuitStuckLow;
    f.key = point;
    return f;
}

BoardFault BoardFault::circuitOpen(const QString& point) {
    BoardFault f;
    f.kind = BoardFaultKind::CircuitOpen;
    f.key = point;
    return f;
}

BoardFault BoardFault::circuitCoupled(const QString& point, const QString& other) {
    BoardFault f;
    f.kind = BoardFaultKind::CircuitCoupled;
    f.key = point;
    f.key2 = other;
    return f;
}

BoardFault BoardFault::pinShorted(const QString& pin, const QString& point) {
    BoardFault f;
    f.kind = BoardFaultKind::PinShorted;
    f.key = point;
    f.key2 = pin;
    return f;
}

BoardFault BoardFault::pulseSplit(const QString& point) {
    BoardFault f;
    f.kind = BoardFaultKind::PulseSplit;
    f.key = point;
    return f;
}

BoardFault BoardFault::probeBroken() {
    BoardFault f;
    f.kind = BoardFaultKind::ProbeBroken;
    return f;
}

BoardFault BoardFault::selectDead(int output) {
    BoardFault f = make(BoardFaultKind::SelectDead);
    f.bank = output;
    return f;
}

QString BoardFault::keyword(BoardFaultKind kind) {
    switch (kind) {
    case BoardFaultKind::PortStuckLow:
        return QStringLiteral("port-low");
    case BoardFaultKind::PortStuckHigh:
        return QStringLiteral("port-high");
    case BoardFaultKind::PortOpen:
        return QStringLiteral("port-open");
    case BoardFaultKind::PortShort:
        return QStringLiteral("port-short");
    case BoardFaultKind::RamCell:
        return QStringLiteral("ram-cell");
    case BoardFaultKind::BankCell:
        return QStringLiteral("flash-cell");
    case BoardFaultKind::RomStoredSum:
        return QStringLiteral("rom-sum");
    case BoardFaultKind::RomByte:
        return QStringLiteral("rom-byte");
    case BoardFaultKind::ClockStopped:
        return QStringLiteral("clock-stopped");
    case BoardFaultKind::ClockSilent:
        return QStringLiteral("clock-silent");
    case BoardFaultKind::ClockRegister:
        return QStringLiteral("clock-reg");
    case BoardFaultKind::SerialEepromCell:
        return QStringLiteral("eeprom-cell");
    case BoardFaultKind::SerialEepromSilent:
        return QStringLiteral("eeprom-silent");
    case BoardFaultKind::FiscalNotBlank:
        return QStringLiteral("fp-dirty");
    case BoardFaultKind::FiscalNoWrite:
        return QStringLiteral("fp-nowrite");
    case BoardFaultKind::PpiStuckLow:
        return QStringLiteral("ppi-low");
    case BoardFaultKind::PpiStuckHigh:
        return QStringLiteral("ppi-high");
    case BoardFaultKind::IndicatorCell:
        return QStringLiteral("ind-cell");
    case BoardFaultKind::IndicatorCharacter:
        return QStringLiteral("ind-cgram");
    case BoardFaultKind::IndicatorDead:
        return QStringLiteral("ind-dead");
    case BoardFaultKind::KeyStuck:
        return QStringLiteral("key-stuck");
    case BoardFaultKind::KeyDead:
        return QStringLiteral("key-dead");
    case BoardFaultKind::KeyPress:
        return QStringLiteral("key-press");
    case BoardFaultKind::EmitterSilent:
        return QStringLiteral("emitter-silent");
    case BoardFaultKind::CircuitStuckLow:
        return QStringLiteral("circuit-low");
    case BoardFaultKind::CircuitStuckHigh:
        return QStringLiteral("circuit-high");
    case BoardFaultKind::CircuitOpen:
        return QStringLiteral("circuit-open");
    case BoardFaultKind::CircuitCoupled:
        return QStringLiteral("circuit-coupled");
    case BoardFaultKind::PinShorted:
        return QStringLiteral("pin-short");
    case BoardFaultKind::PulseSplit:
        return QStringLiteral("pulse-split");
    case BoardFaultKind::ProbeBroken:
        return QStringLiteral("probe-broken");
    case BoardFaultKind::SelectDead:
        return QStringLiteral("select-dead");
    case BoardFaultKind::ReadFlip:
        return QStringLiteral("read-flip");
    }
    return QString();
}

QString BoardFault::scriptLine() const {
    const QString word = keyword(kind);
    switch (kind) {
    case BoardFaultKind::PortStuckLow:
    case BoardFaultKind::PortStuckHigh:
    case BoardFaultKind::PortOpen:
        return word + QLatin1Char(' ') + line(port, bit);
    case BoardFaultKind::PortShort:
        return word + QLatin1Char(' ') + line(port, bit) + QLatin1Char(' ') + line(port2, bit2);
    case BoardFaultKind::RamCell:
    case BoardFaultKind::SerialEepromCell:
        return word + QStringLiteral(" addr=") + hex(address, 4) + stuckBits(stuckLow, stuckHigh);
    case BoardFaultKind::BankCell:
        return word + QStringLiteral(" bank=%1 addr=").arg(bank) + hex(address, 4) +
               stuckBits(stuckLow, stuckHigh);
    case BoardFaultKind::RomByte:
        return word + QStringLiteral(" half=%1 addr=").arg(bank) + hex(address, 4) +
               QStringLiteral(" xor=") + hex(value, 2);
    case BoardFaultKind::ClockRegister:
        return word + QStringLiteral(" reg=%1").arg(address) + stuckBits(stuckLow, stuckHigh);
    case BoardFaultKind::FiscalNotBlank:
        return word + QStringLiteral(" addr=") + hex(address, 4) + QStringLiteral(" value=") +
               hex(value, 2);
    case BoardFaultKind::FiscalNoWrite:
        return word + QStringLiteral(" addr=") + hex(address, 4);
    case BoardFaultKind::PpiStuckLow:
    case BoardFaultKind::PpiStuckHigh:
        return word + QLatin1Char(' ') + QChar(u'A' + port) + QLatin1Char('.') +
               QString::number(bit);
    case BoardFaultKind::IndicatorCell:
    case BoardFaultKind::IndicatorCharacter:
        return word + QStringLiteral(" ind=%1 addr=").arg(bank) + hex(address, 2) +
               stuckBits(stuckLow, stuckHigh);
    case BoardFaultKind::IndicatorDead:
        return word + QStringLiteral(" ind=%1").arg(bank);
    case BoardFaultKind::KeyStuck:
    case BoardFaultKind::KeyDead:
        return word + QLatin1Char(' ') + key;
    case BoardFaultKind::KeyPress:
        return word + QLatin1Char(' ') + key + QStringLiteral(" at=%1 hold=%2").arg(atMs).arg(holdMs);
    case BoardFaultKind::EmitterSilent:
    case BoardFaultKind::ProbeBroken:
        return word;
    case BoardFaultKind::CircuitStuckLow:
    case BoardFaultKind::CircuitStuckHigh:
    case BoardFaultKind::CircuitOpen:
    case BoardFaultKind::PulseSplit:
        return word + QLatin1Char(' ') + key;
    case BoardFaultKind::CircuitCoupled:
        return word + QLatin1Char(' ') + key + QLatin1Char(' ') + key2;
    case BoardFaultKind::PinShorted:
        return word + QLatin1Char(' ') + key2 + QLatin1Char(' ') + key;
    case BoardFaultKind::SelectDead:
        return word + QStringLiteral(" out=%1").arg(bank);
    case BoardFaultKind::ReadFlip:
        return word + QLatin1Char(' ') + flipMemoryName(bank) + QStringLiteral(" addr=") +
               hex(address, 4) + QStringLiteral(" xor=") + hex(value, 2);
    case BoardFaultKind::RomStoredSum:
    case BoardFaultKind::ClockStopped:
    case BoardFaultKind::ClockSilent:
    case BoardFaultKind::SerialEepromSilent:
        return word;
    }
    return word;
}

QString BoardFault::checkFor(int boardType) const {
    const bool type4 = boardType == 4;
    auto outside = [](const QString& what, quint32 v, quint32 size) {
        return QStringLiteral("%1 %2 вне %3")
            .arg(what, hex(v, 4), QStringLiteral("0..") + hex(size - 1, 4));
    };
    auto checkLine = [](int p, int b) -> QString {
        if (!isPortLine(p, b))
            return QStringLiteral("линия %1 не существует (порты 0..3, биты 0..7)").arg(line(p, b));
        if (p == 3 && b < 2)
            return QStringLiteral("линия %1 — линия связи с ПК, ее неисправность не моделируется")
                .arg(line(p, b));
        return QString();
    };
    switch (kind) {
    case BoardFaultKind::PortStuckLow:
    case BoardFaultKind::PortStuckHigh:
    case BoardFaultKind::PortOpen:
        return checkLine(port, bit);
    case BoardFaultKind::PortShort: {
        QString e = checkLine(port, bit);
        if (e.isEmpty())
            e = checkLine(port2, bit2);
        if (e.isEmpty() && port == port2 && bit == bit2)
            e = QStringLiteral("линия %1 не может быть замкнута сама на себя").arg(line(port, bit));
        return e;
    }
    case BoardFaultKind::RamCell: {
        const quint32 size = type4 ? 0x8000 : 0x2000;
        return address < size ? QString() : outside(QStringLiteral("адрес ОЗУ"), address, size);
    }
    case BoardFaultKind::BankCell: {
        const int banks = type4 ? 4 : 2;
        const quint32 size = type4 ? 0x8000 : 0x4000;
        if (bank < 0 || bank >= banks)
            return QStringLiteral("банк %1 вне 0..%2").arg(bank).arg(banks - 1);
        return address < size ? QString() : outside(QStringLiteral("адрес в банке"), address, size);
    }
    case BoardFaultKind::RomByte:
        if (bank < 0 || bank > 1)
            return QStringLiteral("половина ПЗУ %1 вне 0..1").arg(bank);
        if (value == 0)
            return QStringLiteral("xor=0 не меняет байт");
        return address <= 0xFFFF ? QString()
                                 : outside(QStringLiteral("адрес ПЗУ"), address, 0x10000);
    case BoardFaultKind::ClockRegister: {
        const quint32 size = type4 ? 64 : 256;
        return address < size ? QString()
                              : QStringLiteral("регистр %1 вне 0..%2").arg(address).arg(size - 1);
    }
    case BoardFaultKind::SerialEepromCell:
        return address < 0x8000 ? QString()
                                : outside(QStringLiteral("адрес 24С256"), address, 0x8000);
    case BoardFaultKind::FiscalNotBlank:
        if (value == 0xFF)
            return QStringLiteral("значение 0xFF — чистая ячейка");
        [[fallthrough]];
    case BoardFaultKind::FiscalNoWrite:
        return address <= 0xFFFF ? QString()
                                 : outside(QStringLiteral("адрес ФП"), address, 0x10000);
    case BoardFaultKind::PpiStuckLow:
    case BoardFaultKind::PpiStuckHigh:
        if (type4)
            return QStringLiteral("на плате типа 4 нет ППИ");
        if (port < 0 || port > 2 || bit < 0 || bit > 7)
            return QStringLiteral("линия ППИ вне A.0..C.7");
        return QString();
    case BoardFaultKind::KeyStuck:
    case BoardFaultKind::KeyDead:
    case BoardFaultKind::KeyPress:
        return KeyboardMatrix(boardType).hasKey(key)
                   ? QString()
                   : QStringLiteral("на клавиатуре платы типа %1 нет клавиши \"%2\"")
                         .arg(boardType)
                         .arg(key);
    case BoardFaultKind::EmitterSilent:
    case BoardFaultKind::ProbeBroken:
        return QString();
    case BoardFaultKind::CircuitStuckLow:
    case BoardFaultKind::CircuitStuckHigh:
    case BoardFaultKind::CircuitOpen:
    case BoardFaultKind::CircuitCoupled:
    case BoardFaultKind::PinShorted:
    case BoardFaultKind::PulseSplit:
        return checkCircuitFault(boardType, *this);
    case BoardFaultKind::SelectDead:
        return bank >= 0 && bank <= 7 ? QString()
                                      : QStringLiteral("выход дешифратора %1 вне 0..7").arg(bank);
    case BoardFaultKind::ReadFlip: {
        if (!type4)
            return QStringLiteral("read-flip моделируется только на плате типа 4");
        if (value == 0)
            return QStringLiteral("xor=0 не меняет байт");
        static const quint32 sizes[] = {0x10000, 0x20000, 0x20000, 0x2000, 0x20000};
        const quint32 size = sizes[bank];
        return address < size ? QString()
                              : outside(QStringLiteral("адрес"), address, size);
    }
    case BoardFaultKind::IndicatorCell:
    case BoardFaultKind::IndicatorCharacter:
    case BoardFaultKind::IndicatorDead: {
        if (bank < 0 || bank > 1)
            return QStringLiteral("индикатор %1 вне 0..1").arg(bank);
        const quint32 size = kind == BoardFaultKind::IndicatorCell ? 16 : 64;
        if (kind != BoardFaultKind::IndicatorDead && address >= size)
            return QStringLiteral("адрес %1 вне 0..%2").arg(address).arg(size - 1);
        return QString();
    }
    case BoardFaultKind::RomStoredSum:
    case BoardFaultKind::ClockStopped:
    case BoardFaultKind::ClockSilent:
    case BoardFaultKind::SerialEepromSilent:
        return QString();
    }
    return QString();
}

} // namespace sim
