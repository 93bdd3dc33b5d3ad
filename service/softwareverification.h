#pragma once

#include "operationmodes.h"

namespace kia {

class BenchContext;
class ServiceHost;

/// Mode 10: compares the running cash register's memory with a reference
/// image, 64 bytes a block: bank 0 0x0000..0xFFFF, bank 1 0x2000..0xFFFF.
int VerifySoftwareWorker(BenchContext& ctx, ProgressSink& progress, OperationArgument& argument);

/// The speeds the cash register is looked for at, in this order.
inline constexpr qint32 kCashRegisterSpeeds[4] = {9600, 19200, 57600, 115200};

/// Command 32891 "Верификация ПО кассы": the pre-verification dialog, the
/// speed search, 115200 for the comparison and back, mode 10, the message.
/// The busy flag is held from the dialog to the last message so that the
/// probe display stays off the port; the port is left closed. Returns the
/// operation result, 123 + link status when no register was reached, 0 when
/// the command was cancelled. UI thread.
int RunSoftwareVerification(BenchContext& ctx, ServiceHost& host);

} // namespace kia
