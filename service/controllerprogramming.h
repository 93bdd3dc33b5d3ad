#pragma once

#include "operationmodes.h"

#include <QByteArray>
#include <QString>

namespace kia {

class BenchContext;
class ProgressSink;

/// DD5's code memory as the programmer reaches it: 8192 bytes in 32 pages of
/// 256, each page moved as four blocks of 64.
namespace dd5 {
constexpr int ImageSize = 8192;
constexpr int PageSize = 256;
constexpr int BlockSize = 64;
constexpr int Blocks = ImageSize / BlockSize; // 128, one progress step each
constexpr int NameOffset = 8180;              // code addresses 0x1FF4..0x1FFF
constexpr int NameLength = 12;
} // namespace dd5

/// Lets DD5 run (long frame 32 with the data byte 1). Long-frame result.
quint8 LeaveProgramming(BenchContext& ctx);

/// Outcome of EnterProgramming: the long-frame result and which exchange failed.
struct ProgrammingEntry {
    quint8 result = 0;        // LongFrameResult of the failed exchange, 0 on success
    bool firstFailed = false; // the opening LeaveProgramming failed (nothing moved)
    bool accessed = false;    // DD5 answered the programming enable
};

/// LeaveProgramming, 100 ms, reset held, 250 ms, programming enable.
ProgrammingEntry EnterProgramming(BenchContext& ctx);

/// The saved controller software file of a software name in the working folder.
QString controllerSoftwarePath(const BenchContext& ctx, const QString& softwareName);
/// "testcpu.052" in the working folder.
QString testProgramPath(const BenchContext& ctx);

/// Mode 0: reads DD5 into "<name>.cpu". A different file of that name is never
/// replaced: the read contents then go to "<name>-<n>.cpu" (argument.savedAs).
int SaveControllerSoftwareWorker(BenchContext& ctx, ProgressSink& progress,
                                 OperationArgument& argument);
/// Mode 1: writes "testcpu.052" with the software name in its last 12 bytes.
int WriteTestProgramWorker(BenchContext& ctx, ProgressSink& progress,
                           OperationArgument& argument);
/// Mode 2: writes the 8192-byte image of argument.image.
int WriteControllerSoftwareWorker(BenchContext& ctx, ProgressSink& progress,
                                  OperationArgument& argument);

/// Erase, write (blank pages skipped) and check of an 8192-byte image; the
/// second half of modes 1 and 2. `checkCaption` heads the check phase.
int ProgramController(BenchContext& ctx, ProgressSink& progress, const QByteArray& image,
                      const QString& checkCaption);

} // namespace kia
