#pragma once

#include <QString>

namespace sim {
class Bench;
}

namespace kia {

class CMainFrame;
class RepairJournal;
class WindowDiagnostics;
class WindowTestSession;

QString fullCheckTitle();
/// Asked in the full check for each failure's diagnostics.
QString fullCheckDiagnosticsQuestion(const QString& keyword);

/// The commands beside the requirements' own: "Полная проверка платы",
/// "Журнал ремонта" and, on the simulated bench, "Неисправности имитатора".
/// Registers their handlers with the frame's router. `diagnostics` runs the
/// full check's diagnostics and is what the trainer's window scores; `bench`
/// is null on real hardware; `startScript` is the --faults script the program
/// started with.
void InstallWorkbenchCommands(CMainFrame& frame, WindowTestSession& session, RepairJournal& journal,
                              WindowDiagnostics* diagnostics, sim::Bench* bench,
                              const QString& startScript);

} // namespace kia
