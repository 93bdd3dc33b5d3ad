#pragma once

#include <QList>
#include <QString>

namespace kia {

/// Command identifiers of the main window: menu items, tool bar buttons and
/// the commands that have neither but keep their prompts.
namespace cmd {
// Testing
constexpr int BusTest = 32786;
constexpr int RomTest = 32788;
constexpr int RamTest = 32787;
constexpr int TimerTest = 32789;
constexpr int EepromTest = 32790;
constexpr int SerialEepromTest = 32791;
constexpr int FiscalBlankCheck = 32794;
constexpr int FiscalWriteTest = 32795;
constexpr int PpiTest = 32842;
constexpr int CashierIndicatorReadWrite = 32798;
constexpr int CashierIndicatorCells = 32837;
constexpr int CustomerIndicatorReadWrite = 32840;
constexpr int CustomerIndicatorCells = 32841;
constexpr int SoundTest = 32802;
constexpr int KeyboardTest = 32806;
constexpr int PeripheryTest = 32808;
constexpr int RestoreControllerSoftware = 32870;
constexpr int Exit = 57665;
// Diagnostics
constexpr int ScanBus = 32785;
constexpr int ScanControlBus = 32811;
constexpr int ScanRegister = 32851;
constexpr int ScanDecoder = 32812;
constexpr int ScanPpi = 32813;
constexpr int FiscalWritePulse = 32850;
constexpr int FaultTypes = 32816;
constexpr int LogicProbe = 32818;
constexpr int Oscilloscope = 32819;
constexpr int ProbeCheck = 32820;
// Service (board type 4)
constexpr int SaveFiscalData = 32878;
constexpr int RestoreFiscalData = 32879;
constexpr int ClearFiscalMemory = 32880;
constexpr int SaveEepromData = 32885;
constexpr int RestoreEepromData = 32882;
constexpr int ClearEeprom = 32883;
constexpr int UpdateSoftware = 32884;
constexpr int VerifySoftware = 32891;
// Beside the requirements' own commands: the full check, the repair journal
// and, on the simulated bench, the trainer's faults.
constexpr int FullCheck = 32900;
constexpr int RepairJournal = 32901;
constexpr int SimulatorFaults = 32902;
// View
constexpr int ToolBar = 59392;
constexpr int StatusBar = 59393;
constexpr int Schematic = 32778;
constexpr int Layout = 32771;
constexpr int BackgroundColour = 32774;
// COM port
constexpr int Com1 = 32780;
constexpr int Com2 = 32782;
constexpr int Com3 = 32855;
constexpr int Com4 = 32857;
constexpr int Com5 = 32859;
constexpr int Com6 = 32861;
constexpr int Com7 = 32863;
constexpr int Com8 = 32865;
// Help
constexpr int HelpContents = 57667;
constexpr int About = 57664;
} // namespace cmd

/// Which board types a command is enabled for.
enum class Availability { AllBoards, TestProcessorBoards, ProgrammerBoard };

/// One row of the command table.
struct CommandInfo {
    int id = 0;
    /// Menu text with its '&' mnemonic; empty for commands without a menu item.
    QString text;
    /// Status bar prompt; also the tool tip.
    QString prompt;
    Availability availability = Availability::AllBoards;
    /// Menu icon bitmap id (16 x 16), 0 for none.
    int iconId = 0;
};

/// One entry of the main menu tree.
struct MenuEntry {
    enum Kind { Command, Separator, Popup };
    Kind kind = Command;
    int id = 0;   // Command
    QString text; // Popup
    QList<MenuEntry> children;
};

/// One position of the tool bar: a command, or a gap of `separatorWidth` pixels.
struct ToolBarSlot {
    int id = 0;
    int separatorWidth = 0;
    bool isSeparator() const { return id == 0; }
};

/// The command table, in table order. Widget-free: the main frame builds its
/// menu and tool bar from it, tests check it. Any thread (constant data).
const QList<CommandInfo>& commandTable();
/// The row of `id`, or nullptr.
const CommandInfo* findCommand(int id);
/// Whether `id` is enabled on `boardType` (menu and tool bar alike).
bool commandEnabled(int id, int boardType);
/// The menu text of `id` on `boardType`, with the relabelled items of board
/// types 3 and 4 that popup initialisation writes.
QString commandText(int id, int boardType);

/// Top-level popups of the main menu with their items.
const QList<MenuEntry>& mainMenu();
/// The 33 positions of the tool bar; the 29 commands take the images of the
/// tool bar strip in this order.
const QList<ToolBarSlot>& toolBarLayout();

/// COM port 1..8 of a COM command, 0 for other ids.
int comPortOfCommand(int id);
/// COM command of port 1..8, 0 for other ports.
int comCommandOfPort(int port);

} // namespace kia
