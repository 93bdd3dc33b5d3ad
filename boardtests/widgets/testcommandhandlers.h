#pragma once

#include "testdialog.h"

#include <QList>

namespace kia {

class CMainFrame;
class WindowTestSession;

/// The commands of the "Тестирование" and "Диагностика" menus that run a board
/// test, a scan or the write pulse through RunTestCommand, in command-table order.
QList<int> testCommandIds();

/// Registers a handler for each of testCommandIds() with the frame's router:
/// preparation, test dialog and outcome of that command, with the frame's
/// dialogs, and the segment, keyboard and sound tests (InstallInteractiveTestCommands).
/// Returns the session host it made; the frame owns it. Call once,
/// after frame.Create(). UI thread.
WindowTestSession* InstallTestCommands(CMainFrame& frame,
                                       CTestDialog::Pacing pacing = CTestDialog::Pacing::RealTime);

} // namespace kia
