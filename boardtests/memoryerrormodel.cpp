#include "memoryerrormodel.h"

#include "core/benchcontext.h"
#include "expectedbyte.h"
#include "indicatoraccess.h"

#include <span>

namespace kia {

namespace {
QString hex2(quint8 v) {
    return QString::number(v, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

// The window the type-4 bank memories appear in, and the port-1 value that
// selects the bank of a block (bit 15 of the block: bank 1).
constexpr quint16 kType4Window = 0x8000;
quint8 type4BankBits(quint32 block) {
    return static_cast<quint8>(((block >> 15) * 32) & 0xFF);
}
} // namespace

MemoryErrorModel::MemoryErrorModel(BenchContext& ctx, MemoryErrorKind kind, int pattern,
                                   quint32 blockStart)
    : m_ctx(ctx), m_kind(kind), m_pattern(pattern), m_block(blockStart),
      m_boardType(ctx.boardType) {}

QString MemoryErrorModel::addressHeader() {
    return QStringLiteral("Адрес :");
}
QString MemoryErrorModel::continueButton() {
    return QStringLiteral("Продолжить тест");
}
QString MemoryErrorModel::nextTestButton() {
    return QStringLiteral("Следующий тест");
}
QString MemoryErrorModel::diagnosticsButton() {
    return QStringLiteral("Диагностика");
}
QString MemoryErrorModel::exitButton() {
    return QStringLiteral("Выход");
}

QString MemoryErrorModel::title() const {
    const QString digit = QString::number(m_pattern);
    switch (m_kind) {
    case MemoryErrorKind::Ram:
        return QStringLiteral("Ошибка теста N%1 ОЗУ !").arg(digit);
    case MemoryErrorKind::Eeprom:
    case MemoryErrorKind::SerialEeprom:
        return m_pattern == 7 ? QStringLiteral("Ошибка очистки РПЗУ !")
                              : QStringLiteral("Ошибка теста N%1 РПЗУ !").arg(digit);
    case MemoryErrorKind::FiscalBlank:
        return QStringLiteral("Накопитель ФП не пуст !");
    case MemoryErrorKind::FiscalWrite:
        return QStringLiteral("Ошибка записи в ФП !");
    case MemoryErrorKind::DisplayMemory:
        return QStringLiteral("Ошибка теста N%1 ОЗУ отображения !").arg(digit);
    case MemoryErrorKind::CharacterMemory:
        return QStringLiteral("Ошибка теста N%1 ОЗУ знакогенератора !").arg(m_pattern - 3);
    case MemoryErrorKind::FiscalBank:
        return m_pattern == 7 ? QStringLiteral("Ошибка очистки ФП !")
                              : QStringLiteral("Ошибка теста N%1 ФП !").arg(digit);
    }
    return QString();
}

int MemoryErrorModel::rowCount() const {
    switch (m_kind) {
    case MemoryErrorKind::DisplayMemory:
        return 1;
    case MemoryErrorKind::CharacterMemory:
        return 4;
    default:
        return 8;
    }
}

// The address whose pattern byte cell `index` must hold.
quint16 MemoryErrorModel::expectedAddress(int index) const {
    const bool type4 = isProgrammerBoard(m_boardType);
    quint32 base = m_block;
    switch (m_kind) {
    case MemoryErrorKind::Eeprom:
        base = type4 ? (m_block & 0x7FFF) : (m_block >= 0x4000 ? m_block - 0x4000 : m_block);
        break;
    case MemoryErrorKind::FiscalBlank:
        base = type4 ? (m_block & 0x7FFF) : m_block;
        break;
    case MemoryErrorKind::FiscalBank:
        base = m_block & 0x7FFF;
        break;
    case MemoryErrorKind::DisplayMemory:
    case MemoryErrorKind::CharacterMemory:
        base = 0; // the block start is the indicator number, the cells count from 0
        break;
    default:
        break;
    }
    return static_cast<quint16>(base + static_cast<quint32>(index));
}

bool MemoryErrorModel::readBlock() {
    LinkPort& link = m_ctx.link;
    const std::span<quint8> buffer(m_read.data(), m_read.size());
    const bool type4 = isProgrammerBoard(m_boardType);
    const quint16 block16 = static_cast<quint16>(m_block);
    switch (m_kind) {
    case MemoryErrorKind::Ram:
        return link.ReadMemory(block16, buffer);
    case MemoryErrorKind::Eeprom:
        if (type4) {
            return link.WritePort(1, type4BankBits(m_block), 0x60) &&
                   link.ReadMemory(static_cast<quint16>((m_block & 0x7FFF) + kType4Window), buffer);
        } else {
            const bool upper = m_block >= 0x4000;
            const quint32 offset = upper ? m_block - 0x4000 : m_block;
            // The 16 KiB bank window sits at 0xC000: offset - 0x4000 modulo 64 KiB.
            return link.WritePort(1, upper ? 0xFF : 0, 4) &&
                   link.ReadMemory(static_cast<quint16>((offset - 0x4000) & 0xFFFF), buffer);
        }
    case MemoryErrorKind::SerialEeprom:
        return link.ReadDevice(block16, buffer);
    case MemoryErrorKind::FiscalBlank:
    case MemoryErrorKind::FiscalBank:
        if (type4 || m_kind == MemoryErrorKind::FiscalBank) {
            return link.WritePort(1, type4BankBits(m_block), 0x20) &&
                   link.ReadMemory(static_cast<quint16>((m_block & 0x7FFF) + kType4Window), buffer);
        }
        return link.ReadFiscalBlock(block16, buffer);
    case MemoryErrorKind::FiscalWrite:
        return link.ReadFiscalBlock(block16, buffer);
    case MemoryErrorKind::DisplayMemory:
    case MemoryErrorKind::CharacterMemory:
        return readIndicatorCells();
    }
    return false;
}

// Kinds 5 and 6: the block start is the indicator number; its cells are read
// one by one through the controller's data register.
bool MemoryErrorModel::readIndicatorCells() {
    const int ind = static_cast<int>(m_block & 1);
    const bool display = m_kind == MemoryErrorKind::DisplayMemory;
    for (int i = 0; i < byteCount(); ++i) {
        quint8 command = 0;
        bool addressed = true;
        if (display) {
            addressed = i == 0 || i == 8;
            command = i == 0 ? indicator::Row1 : indicator::Row2;
        } else {
            command = static_cast<quint8>(indicator::CharacterAddress + i);
        }
        if (addressed && !IndicatorCommand(m_ctx, ind, command))
            return false;
        const quint16 v = IndicatorRead(m_ctx, ind);
        if (v > 0xFF)
            return false;
        m_read[static_cast<size_t>(i)] = static_cast<quint8>(v);
    }
    return true;
}

MemoryErrorModel::Opening MemoryErrorModel::open() {
    m_showRead = true;
    if (!readBlock()) {
        m_opening = Opening::LinkFailure;
        return m_opening;
    }
    for (int i = 0; i < byteCount(); ++i) {
        m_expected[static_cast<size_t>(i)] = m_kind == MemoryErrorKind::DisplayMemory
                                                 ? DisplayPatternByte(m_pattern, i)
                                                 : ExpectedByte(m_pattern, expectedAddress(i));
    }
    // The ФП write display (kind 4) and the indicator displays (kinds 5, 6) are
    // always shown: the test has just seen the bad cell, and the engineer
    // decides even when it reads back right now.
    const bool compares = m_kind != MemoryErrorKind::FiscalWrite &&
                          m_kind != MemoryErrorKind::DisplayMemory &&
                          m_kind != MemoryErrorKind::CharacterMemory;
    m_opening = compares && differingCount() == 0 ? Opening::Clean : Opening::Shown;
    return m_opening;
}

int MemoryErrorModel::immediateResult() const {
    switch (m_opening) {
    case Opening::Clean:
        return ContinueResult;
    case Opening::LinkFailure:
        return LinkFailureResult;
    case Opening::NotOpened:
        return ExitResult;
    case Opening::Shown:
        break;
    }
    return 0;
}

int MemoryErrorModel::differingCount() const {
    int n = 0;
    for (int i = 0; i < byteCount(); ++i)
        n += differs(i) ? 1 : 0;
    return n;
}

bool MemoryErrorModel::continueEnabled() const {
    const bool type4 = isProgrammerBoard(m_boardType);
    switch (m_kind) {
    case MemoryErrorKind::Ram:
        return m_block < (type4 ? 0x7F80u : 0x1F80u);
    case MemoryErrorKind::Eeprom:
        if (type4)
            return m_block < 0x1FF80u;
        return m_block != 0x3F80u && m_block < 0x7F80u;
    case MemoryErrorKind::SerialEeprom:
        return m_block < 0x7F80u;
    case MemoryErrorKind::FiscalBlank:
    case MemoryErrorKind::FiscalWrite:
    case MemoryErrorKind::FiscalBank:
        return m_block < 0xFF80u;
    case MemoryErrorKind::DisplayMemory:
    case MemoryErrorKind::CharacterMemory:
        return false;
    }
    return false;
}

bool MemoryErrorModel::nextTestEnabled() const {
    switch (m_kind) {
    case MemoryErrorKind::Ram:
        return m_pattern != 6;
    case MemoryErrorKind::Eeprom:
    case MemoryErrorKind::SerialEeprom:
    case MemoryErrorKind::FiscalBank:
        return m_pattern != 7;
    case MemoryErrorKind::FiscalBlank:
    case MemoryErrorKind::FiscalWrite:
        return false;
    case MemoryErrorKind::DisplayMemory:
    case MemoryErrorKind::CharacterMemory:
        return true;
    }
    return true;
}

QString MemoryErrorModel::addressText(int row) const {
    return QString::number(m_block + 16u * static_cast<quint32>(row), 16)
        .toUpper()
        .rightJustified(5, QLatin1Char('0'));
}

QString MemoryErrorModel::rowText(int row, bool readData) const {
    QString s = addressText(row) + QStringLiteral("  ");
    for (int i = 0; i < 16; ++i) {
        const int index = row * 16 + i;
        if (i == 8)
            s += QStringLiteral("- ");
        s += hex2(readData ? readByte(index) : expectedByte(index));
        if (i < 15)
            s += QLatin1Char(' ');
    }
    return s;
}

QString MemoryErrorModel::dataHeader() const {
    return m_showRead ? QStringLiteral("Считанные данные :") : QStringLiteral("Ожидаемые данные :");
}

QString MemoryErrorModel::hint() const {
    return m_showRead ? QStringLiteral("Для просмотра ожидаемых данных, \"щелкните\" левой "
                                       "кнопкой\nмыши на строке \"Считанные данные\".")
                      : QStringLiteral("Для просмотра считанных данных, \"щелкните\" левой "
                                       "кнопкой\nмыши на строке \"Ожидаемые данные\".");
}

} // namespace kia
