#pragma once

#include <QList>

namespace kia {

class CMainFrame;
class WindowServiceHost;
class WindowTestSession;

/// The commands of the "Сервис" menu (and the two ФП commands without a menu
/// entry) that run a service operation: the controller software restore, the
/// save, restore and clear of the ФП and the РПЗУ, the software update and
/// the software verification.
QList<int> serviceCommandIds();

/// Registers a handler for each of serviceCommandIds() with the frame's
/// router and installs the board-type-4 controller preparation. Returns the
/// service host it made; the frame owns it. Call once, after
/// InstallTestCommands (whose session it uses). UI thread.
WindowServiceHost* InstallServiceCommands(CMainFrame& frame, WindowTestSession& tests);

} // namespace kia
