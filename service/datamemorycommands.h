#pragma once

#include <QDateTime>
#include <functional>

namespace kia {

class BenchContext;
class ServiceHost;

/// The six commands of the fiscal memory and the data EEPROM (save, restore,
/// clear of each): preparation, memory map, device selection, file choice,
/// the operation and its message. Before a restore or a clear the memory is
/// first read into a backup file (backups/), and nothing is written when that
/// fails. Returns the operation result, 0 when the command stopped before it
/// (or for an id that is none of the six). UI thread.
int RunDataMemoryCommand(BenchContext& ctx, ServiceHost& host, int commandId,
                         const std::function<QDateTime()>& localTime =
                             [] { return QDateTime::currentDateTime(); });

/// Whether `commandId` is one of the six.
bool isDataMemoryCommand(int commandId);

} // namespace kia
