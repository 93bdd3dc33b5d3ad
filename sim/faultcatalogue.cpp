#include "faultcatalogue.h"

namespace sim {

namespace {

enum Boards : quint8 { Types0to3 = 0x0F, Type4 = 0x10, All = 0x1F };

struct Row {
    const char* id;
    quint8 boards;
    const char* script; // for the board types of the row
    const char* description;
    const char* keyword;
    const char* names; // '|' between alternatives
    bool interactive;
};

// Faults a repair shop sees on these boards, each where the board type has
// the part. Addresses lie inside the part on every board type of the row.
constexpr Row kRows[] = {
    {"ram-cell", Types0to3, "ram-cell addr=0x1235 high=0x10",
     "Ячейка ОЗУ 0x1235: бит 4 залип в единице", "RAM_ERROR", "ОЗУ", false},
    {"ram-cell", Type4, "ram-cell addr=0x7001 low=0xFF",
     "Ячейка ОЗУ 0x7001 читается как 0x00", "RAM_ERROR", "ОЗУ", false},
    {"rom-sum", All, "rom-sum", "Испорчена контрольная сумма ПЗУ", "ROM_ERROR", "ПЗУ", false},
    {"flash-cell", All, "flash-cell bank=0 addr=0x100 low=0x01",
     "РПЗУ программ: бит 0 ячейки 0x100 залип в нуле", "FLASH1_ERROR", "РПЗУ|28C256|29C010", false},
    {"eeprom-cell", Types0to3, "eeprom-cell addr=0x40 high=0x02",
     "РПЗУ 24C256: бит 1 ячейки 0x40 залип в единице", "FLASH2_ERROR", "24C256|РПЗУ", false},
    {"eeprom-silent", Types0to3, "eeprom-silent", "РПЗУ 24C256 не отвечает на шине I2C",
     "FLASH2_ERROR", "24C256|РПЗУ", false},
    {"clock-stopped", All, "clock-stopped", "Часы таймера стоят (нет генерации кварца)",
     "TIMER_CLKERROR", "кварц|генерац|таймер|час", false},
    {"clock-silent", All, "clock-silent", "Микросхема таймера не отвечает",
     "TIMER_IOERROR", "таймер|час", false},
    {"fp-dirty", All, "fp-dirty addr=0x100", "Накопитель ФП не чист (ячейка 0x100)",
     "FPEMPT_ERROR", "ФП|фискальн", false},
    {"ppi-low", Types0to3, "ppi-low A.2", "Линия A2 ППИ 82C55 залипла в нуле", "",
     "ППИ|82C55|82С55|DD14|DD15", false},
    {"ind0-dead", All, "ind-dead ind=0", "Индикатор кассира не отвечает", "IND0_ERROR",
     "индикатор", false},
    {"ind1-cell", All, "ind-cell ind=1 addr=3 low=0x04",
     "Индикатор покупателя: бит 2 ячейки 3 залип в нуле", "IND1_ERROR", "индикатор", false},
    {"bus-open", All, "port-open 0.3", "Обрыв линии D3 шины данных", "", "шин|D3", false},
    {"bus-short", Types0to3, "port-short 1.0 1.1", "Замыкание линий A0 и A1 шины адреса", "",
     "шин|A0|A1", false},
    {"emitter-silent", All, "emitter-silent", "Звуковой излучатель молчит", "AUDIO_ERROR",
     "излучател|звук", true},
};

} // namespace

QList<CatalogueFault> faultCatalogue(int boardType) {
    QList<CatalogueFault> list;
    if (boardType < 0 || boardType > 4)
        return list;
    for (const Row& r : kRows) {
        if (!(r.boards & (1u << boardType)))
            continue;
        CatalogueFault f;
        f.id = QString::fromLatin1(r.id);
        f.script = QString::fromLatin1(r.script);
        f.description = QString::fromUtf8(r.description);
        f.keyword = QString::fromLatin1(r.keyword);
        f.names = QString::fromUtf8(r.names).split(QLatin1Char('|'));
        f.interactive = r.interactive;
        list.append(f);
    }
    return list;
}

const CatalogueFault* findCatalogueFault(const QList<CatalogueFault>& catalogue, const QString& id) {
    for (const CatalogueFault& f : catalogue)
        if (f.id == id)
            return &f;
    return nullptr;
}

bool conclusionNamesFault(const CatalogueFault& fault, const QString& conclusion) {
    for (const QString& n : fault.names)
        if (!n.isEmpty() && conclusion.contains(n, Qt::CaseInsensitive))
            return true;
    return false;
}

} // namespace sim
