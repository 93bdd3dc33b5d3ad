#pragma once

#include <QString>

namespace sim {
class Bench;
}

namespace kia {

class CMainFrame;
class RepairJournal;
class WindowTestSession;

/// The commands beside the requirements' own: "Полная проверка платы",
/// "Журнал ремонта" and, on the simulated bench, "Неисправности имитатора".
/// Registers their handlers with the frame's router. `bench` is null on real
/// hardware; `startScript` is the --faults script the program started with.
void InstallWorkbenchCommands(CMainFrame& frame, WindowTestSession& session, RepairJournal& journal,
                              sim::Bench* bench, const QString& startScript);

} // namespace kia
