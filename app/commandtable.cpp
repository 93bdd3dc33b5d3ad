#include "commandtable.h"

namespace kia {

namespace {

using A = Availability;

QList<CommandInfo> buildTable() {
    QList<CommandInfo> t = {
        {cmd::BusTest, u"Тест &шин контроллера"_qs, u"Тест шин контроллера"_qs, A::AllBoards, 260},
        {cmd::RomTest, u"Тест &ПЗУ"_qs, u"Тест ПЗУ"_qs, A::AllBoards, 262},
        {cmd::RamTest, u"Тест &ОЗУ"_qs, u"Тест ОЗУ"_qs, A::AllBoards, 262},
        {cmd::TimerTest, u"Тест &таймера"_qs, u"Тест таймера"_qs, A::AllBoards, 263},
        {cmd::EepromTest, u"Тест &РПЗУ  ( 28C256)"_qs, u"Тест РПЗУ"_qs, A::AllBoards, 264},
        {cmd::SerialEepromTest, u"Тест РП&ЗУ  ( 24C256 )"_qs, u"Тест РПЗУ ( 24C256 )"_qs,
         A::TestProcessorBoards, 265},
        {cmd::FiscalBlankCheck, u"Проверка &чистоты"_qs, u"Проверка чистоты ФП"_qs, A::AllBoards,
         266},
        {cmd::FiscalWriteTest, u"Тест &записи"_qs, u"Тест записи ФП"_qs, A::TestProcessorBoards,
         267},
        {cmd::PpiTest, u"Тест ППИ ( 82С55 )"_qs, u"Тест ППИ ( 82С55 )"_qs, A::TestProcessorBoards,
         262},
        {cmd::CashierIndicatorReadWrite, u"Тест записи/чтения"_qs,
         u"Тест записи/чтения индикатора кассира"_qs, A::AllBoards, 268},
        {cmd::CashierIndicatorCells, u"Тест ж/к ячеек и курсора"_qs,
         u"Тест жидко-кристаллических ячеек и курсора индикатора"_qs, A::AllBoards, 269},
        {cmd::CustomerIndicatorReadWrite, u"Тест записи/чтения"_qs,
         u"Тест записи/чтения индикатора покупателя"_qs, A::AllBoards, 270},
        {cmd::CustomerIndicatorCells, u"Тест ж/к ячеек и курсора"_qs,
         u"Тест жидко-кристаллических ячеек и курсора индикатора"_qs, A::AllBoards, 271},
        {cmd::SoundTest, u"Тест з&вука"_qs, u"Тест звукового излучателя"_qs, A::AllBoards, 272},
        {cmd::KeyboardTest, u"Тест &клавиатуры"_qs, u"Тест клавиатуры"_qs, A::AllBoards, 273},
        {cmd::PeripheryTest, u"Тест периферии"_qs, u"Тест цепей периферии"_qs, A::AllBoards, 274},
        {cmd::RestoreControllerSoftware, u"&Восстановление ПО контроллера"_qs,
         u"Восстановление ПО контроллера"_qs, A::ProgrammerBoard, 285},
        {cmd::FullCheck, u"Полная про&верка платы..."_qs,
         u"Все тесты платы по порядку с отчетом"_qs, A::AllBoards, 0},
        {cmd::RepairJournal, u"Журнал &ремонта..."_qs,
         u"События тестирования, диагностики и сервиса по платам"_qs, A::AllBoards, 0},
        {cmd::SimulatorFaults, u"Неисправности &имитатора..."_qs,
         u"Неисправности имитированной платы для обучения"_qs, A::AllBoards, 0},
        {cmd::Exit, u"Вы&ход"_qs, u"Выход"_qs, A::AllBoards, 0},
        {cmd::ScanBus, u"Сканирование шин &адреса/данных"_qs,
         u"Сканирование шин адреса и данных микро-эвм"_qs, A::AllBoards, 275},
        {cmd::ScanControlBus, u"Сканирование шины &управления"_qs,
         u"Сканирование шины управления микро-эвм"_qs, A::AllBoards, 276},
        {cmd::ScanRegister, u"Сканирование &регистра DD8"_qs, u"Сканирование регистра"_qs,
         A::AllBoards, 277},
        {cmd::ScanDecoder, u"Сканирование &дешифратора DD11"_qs, u"Сканирование дешифратора"_qs,
         A::AllBoards, 277},
        {cmd::ScanPpi, u"Сканирование &ППИ (DD14)"_qs, u"Сканирование ППИ"_qs,
         A::TestProcessorBoards, 277},
        {cmd::FiscalWritePulse, u"&Формирование импульса записи ФП"_qs,
         u"Формирование импульса записи ФП"_qs, A::TestProcessorBoards, 278},
        {cmd::FaultTypes, u"&Диагностика по типам неисправностей..."_qs,
         u"Диагностика по типам неисправностей"_qs, A::AllBoards, 279},
        {cmd::LogicProbe, u"&Логический пробник"_qs,
         u"Выбор логического пробника для контроля сигналов"_qs, A::AllBoards, 0},
        {cmd::Oscilloscope, u"&Осциллограф"_qs, u"Выбор осциллографа для контроля сигналов"_qs,
         A::AllBoards, 0},
        {cmd::ProbeCheck, u"П&роверка логического пробника"_qs, u"Тест логического пробника"_qs,
         A::AllBoards, 280},
        {cmd::SaveFiscalData, u"Сохранение данных &ФП в файле"_qs,
         u"Сохранение данных ФП в файле"_qs, A::ProgrammerBoard, 0},
        {cmd::RestoreFiscalData, QString(), u"Восстановление данных ФП из файла"_qs,
         A::ProgrammerBoard, 0},
        {cmd::ClearFiscalMemory, QString(), u"Очистка ФП"_qs, A::ProgrammerBoard, 0},
        {cmd::SaveEepromData, u"Сохранение данных &РПЗУ в файле"_qs,
         u"Сохранение данных РПЗУ в файле"_qs, A::ProgrammerBoard, 0},
        {cmd::RestoreEepromData, u"Восстановление данных РП&ЗУ из файла"_qs,
         u"Восстановление данных РПЗУ из файла"_qs, A::ProgrammerBoard, 0},
        {cmd::ClearEeprom, u"Очистка РПЗ&У"_qs, u"Очистка РПЗУ"_qs, A::ProgrammerBoard, 0},
        {cmd::UpdateSoftware, u"Обновление ПО &кассы"_qs, u"Обновление ПО кассы"_qs,
         A::ProgrammerBoard, 0},
        {cmd::VerifySoftware, u"&Верификация ПО кассы"_qs, u"Верификация ПО кассы"_qs,
         A::ProgrammerBoard, 0},
        {cmd::ToolBar, u"Панель &инструментов"_qs, u"Показать или убрать панель инструментов"_qs,
         A::AllBoards, 0},
        {cmd::StatusBar, u"&Строка состояния"_qs, u"Показать или убрать строку состояния"_qs,
         A::AllBoards, 0},
        {cmd::Schematic, u"Схема &принципиальная"_qs, u"Показать схему принципиальную"_qs,
         A::AllBoards, 0},
        {cmd::Layout, u"Схема &расположения"_qs, u"Показать схему расположения элементов"_qs,
         A::AllBoards, 0},
        {cmd::BackgroundColour, u"&Цвет фона"_qs, u"Изменить цвет фона схем"_qs, A::AllBoards, 0},
    };
    for (int port = 1; port <= 8; ++port) {
        // The prompt spells the port in Cyrillic letters, the menu in Latin ones.
        t.append({comCommandOfPort(port), u"COM&"_qs + QString::number(port),
                  u"Выбрать СОМ"_qs + QString::number(port) + u" компьютера"_qs, A::AllBoards, 0});
    }
    t.append({cmd::HelpContents, u"&Разделы помощи"_qs, u"Показать оглавление помощи"_qs,
              A::AllBoards, 0});
    t.append({cmd::About, u"&О программе..."_qs, u"Сведения о программе"_qs, A::AllBoards, 0});
    return t;
}

MenuEntry item(int id) {
    return {MenuEntry::Command, id, QString(), {}};
}

MenuEntry separator() {
    return {MenuEntry::Separator, 0, QString(), {}};
}

MenuEntry popup(const QString& text, QList<MenuEntry> children) {
    return {MenuEntry::Popup, 0, text, std::move(children)};
}

QList<MenuEntry> buildMenu() {
    return {
        popup(u"&Тестирование"_qs,
              {item(cmd::BusTest), item(cmd::RomTest), item(cmd::RamTest), item(cmd::TimerTest),
               item(cmd::EepromTest), item(cmd::SerialEepromTest),
               popup(u"Тест &ФП"_qs, {item(cmd::FiscalBlankCheck), item(cmd::FiscalWriteTest)}),
               item(cmd::PpiTest),
               popup(u"Тест &индикатора кассира"_qs,
                     {item(cmd::CashierIndicatorReadWrite), item(cmd::CashierIndicatorCells)}),
               popup(u"Тест индикатора покупателя"_qs,
                     {item(cmd::CustomerIndicatorReadWrite), item(cmd::CustomerIndicatorCells)}),
               item(cmd::SoundTest), item(cmd::KeyboardTest), item(cmd::PeripheryTest),
               item(cmd::FullCheck), item(cmd::RestoreControllerSoftware), separator(),
               item(cmd::Exit)}),
        popup(u"&Диагностика"_qs,
              {item(cmd::ScanBus), item(cmd::ScanControlBus), item(cmd::ScanRegister),
               item(cmd::ScanDecoder), item(cmd::ScanPpi), item(cmd::FiscalWritePulse),
               item(cmd::FaultTypes), separator(),
               popup(u"&Устройство контроля сигналов"_qs,
                     {item(cmd::LogicProbe), item(cmd::Oscilloscope)}),
               item(cmd::ProbeCheck)}),
        popup(u"Сервис"_qs, {item(cmd::SaveFiscalData), separator(), item(cmd::SaveEepromData),
                             item(cmd::RestoreEepromData), item(cmd::ClearEeprom), separator(),
                             item(cmd::UpdateSoftware), item(cmd::VerifySoftware), separator(),
                             item(cmd::RepairJournal), item(cmd::SimulatorFaults)}),
        popup(u"&Вид"_qs,
              {item(cmd::ToolBar), item(cmd::StatusBar), separator(), item(cmd::Schematic),
               item(cmd::Layout), separator(), item(cmd::BackgroundColour)}),
        popup(u"&Com - порт"_qs,
              {item(cmd::Com1), item(cmd::Com2), item(cmd::Com3), item(cmd::Com4), item(cmd::Com5),
               item(cmd::Com6), item(cmd::Com7), item(cmd::Com8)}),
        popup(u"&Помощь"_qs, {item(cmd::HelpContents), separator(), item(cmd::About)}),
    };
}

QList<ToolBarSlot> buildToolBar() {
    auto c = [](int id) { return ToolBarSlot{id, 0}; };
    auto gap = [](int width) { return ToolBarSlot{0, width}; };
    return {c(cmd::BusTest),
            c(cmd::RomTest),
            c(cmd::RamTest),
            c(cmd::TimerTest),
            c(cmd::EepromTest),
            c(cmd::SerialEepromTest),
            c(cmd::FiscalBlankCheck),
            c(cmd::FiscalWriteTest),
            c(cmd::PpiTest),
            c(cmd::CashierIndicatorReadWrite),
            c(cmd::CashierIndicatorCells),
            c(cmd::CustomerIndicatorReadWrite),
            c(cmd::CustomerIndicatorCells),
            c(cmd::SoundTest),
            c(cmd::KeyboardTest),
            c(cmd::PeripheryTest),
            c(cmd::RestoreControllerSoftware),
            gap(10),
            c(cmd::ScanBus),
            c(cmd::ScanControlBus),
            c(cmd::ScanRegister),
            c(cmd::ScanDecoder),
            c(cmd::ScanPpi),
            c(cmd::FiscalWritePulse),
            c(cmd::FaultTypes),
            gap(5),
            c(cmd::LogicProbe),
            c(cmd::Oscilloscope),
            c(cmd::ProbeCheck),
            gap(10),
            c(cmd::Schematic),
            c(cmd::Layout),
            gap(10)};
}

} // namespace

const QList<CommandInfo>& commandTable() {
    static const QList<CommandInfo> table = buildTable();
    return table;
}

const CommandInfo* findCommand(int id) {
    for (const CommandInfo& c : commandTable()) {
        if (c.id == id)
            return &c;
    }
    return nullptr;
}

bool commandEnabled(int id, int boardType) {
    const CommandInfo* c = findCommand(id);
    if (!c)
        return false;
    switch (c->availability) {
    case Availability::AllBoards:
        return true;
    case Availability::TestProcessorBoards:
        return boardType >= 0 && boardType <= 3;
    case Availability::ProgrammerBoard:
        return boardType == 4;
    }
    return false;
}

QString commandText(int id, int boardType) {
    if (boardType == 3 && id == cmd::ScanPpi)
        return u"Сканирование &ППИ (DD15)"_qs;
    if (boardType == 4) {
        switch (id) {
        case cmd::EepromTest:
            return u"Тест &РПЗУ (29С010)"_qs;
        case cmd::ScanRegister:
            return u"Сканирование &регистра DD12"_qs;
        case cmd::ScanDecoder:
            return u"Сканирование &дешифратора DD8"_qs;
        default:
            break;
        }
    }
    const CommandInfo* c = findCommand(id);
    return c ? c->text : QString();
}

const QList<MenuEntry>& mainMenu() {
    static const QList<MenuEntry> menu = buildMenu();
    return menu;
}

const QList<ToolBarSlot>& toolBarLayout() {
    static const QList<ToolBarSlot> layout = buildToolBar();
    return layout;
}

int comPortOfCommand(int id) {
    for (int port = 1; port <= 8; ++port) {
        if (comCommandOfPort(port) == id)
            return port;
    }
    return 0;
}

int comCommandOfPort(int port) {
    switch (port) {
    case 1:
        return cmd::Com1;
    case 2:
        return cmd::Com2;
    case 3:
        return cmd::Com3;
    case 4:
        return cmd::Com4;
    case 5:
        return cmd::Com5;
    case 6:
        return cmd::Com6;
    case 7:
        return cmd::Com7;
    case 8:
        return cmd::Com8;
    default:
        return 0;
    }
}

} // namespace kia
