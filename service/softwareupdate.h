#pragma once

#include "operationmodes.h"

#include <QDateTime>
#include <functional>

namespace kia {

class BenchContext;
class ServiceHost;

/// The cash register's software image "*.bin": 131072 bytes; 0x0000..0x1FFF
/// the controller software, 0x2000..0xFFFF and 0x12000..0x1FFFF the program
/// (program EEPROM banks 0 and 1 from 0x2000), 0x10000..0x11FFF unused.
namespace softwareimage {
constexpr qint64 Size = 131072;
constexpr int ProgramStart = 0x2000;
constexpr int BankSpan = 0x10000;
constexpr int PageSize = 128;
constexpr int PagesPerBank = (BankSpan - ProgramStart) / PageSize; // 448
} // namespace softwareimage

/// Mode 9: (backup of the program EEPROM when asked,) erase, write and check
/// of the program EEPROM, then the controller software into DD5 (mode 2).
int UpdateSoftwareWorker(BenchContext& ctx, ProgressSink& progress, OperationArgument& argument);

/// Command 32884 "Обновление ПО кассы". Returns the operation result, 123 (+
/// identification result) when the link failed before it, 0 when it ended
/// otherwise. UI thread.
/// The box text of an image file that cannot be opened, has the wrong size or
/// cannot be read (update and verification alike); empty for other results.
QString softwareFileProblemText(int result, const QString& path);

int RunSoftwareUpdate(BenchContext& ctx, ServiceHost& host,
                      const std::function<QDateTime()>& localTime =
                          [] { return QDateTime::currentDateTime(); });

} // namespace kia
