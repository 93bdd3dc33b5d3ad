// The link's reply decoders behind an in-process line whose peer sends the
// fuzz bytes: every operation ends with a status of its own kind, within its
// time-outs on the virtual clock, whatever arrives.
//
// Input: byte 0 picks the board type, byte 1 how many operations run, then one
// byte per operation (which one); the rest is what the peer sends, in order.
#include "link/fakeline.h"
#include "link/linkstatus.h"

#include <cstdint>
#include <cstdlib>

namespace {

// The longest a single operation may take on the virtual clock: the longest
// read time-out of the link (the device check) with room for its retries.
constexpr qint64 kLongestOperationUs = 30LL * 1000 * 1000;

void check(bool condition) {
    if (!condition)
        std::abort();
}

void checkStatus(const FakeRig& rig, bool ok) {
    const quint8 s = rig.ctx.linkStatus;
    if (ok)
        check(s == kia::LinkOk);
    else
        check(s == kia::LinkWriteError || s == kia::LinkReadError || s == kia::LinkCheckError ||
              s == kia::LinkPortError || s == kia::LinkEraseMismatch);
}

void checkLong(quint8 result) {
    check(result == kia::LongOk || result == kia::LongNoReply || result == kia::LongWriteFailed ||
          result == kia::LongNoAccess);
}

void runOperation(FakeRig& rig, quint8 which) {
    kia::LinkPort& link = rig.ctx.link;
    kia::CheckResult cr;
    kia::ShortResult sr;
    std::array<quint8, 128> page{};
    quint8 buffer[255] = {};
    quint8 result = 0;
    switch (which % 24) {
    case 0: {
        const quint16 v = link.ReadPort(which & 3);
        check(v <= 0xFF || v == 0xFFFF);
        checkStatus(rig, v <= 0xFF);
        break;
    }
    case 1: checkStatus(rig, link.WritePort(1, 0x0F, 0xFF)); break;
    case 2: checkStatus(rig, link.ReadMemory(0x0100, std::span<quint8>(buffer, 1 + which))); break;
    case 3: checkStatus(rig, link.WriteMemory(0x0100, std::span<const quint8>(buffer, 16))); break;
    case 4: {
        const quint16 v = link.ReadMemoryByte(0x1234);
        check(v <= 0xFF || v == 0xFFFF);
        break;
    }
    case 5: checkStatus(rig, link.SetMemoryMap({0, 0x2000, 0, 0, 0xFFFF}, 200)); break;
    case 6: checkStatus(rig, link.GetMemoryPassResult(1, cr)); break;
    case 7: checkStatus(rig, link.CheckBankPattern(0x55, cr)); break;
    case 8: checkStatus(rig, link.SumMemory(0x2000, cr)); break;
    case 9: checkStatus(rig, link.CheckDevice(0xAA, 0, sr)); break;
    case 10: checkStatus(rig, link.ReadCheckResult(sr)); break;
    case 11: checkStatus(rig, link.ReadFiscalBlock(0, std::span<quint8>(buffer, 64))); break;
    case 12: checkStatus(rig, link.WriteCellPattern(0x10, 0x55, result)); break;
    case 13: checkStatus(rig, link.ReadProgramPage(0, 0, page)); break;
    case 14: checkStatus(rig, link.WriteProgramPage(0, 0, page, result)); break;
    case 15: checkStatus(rig, link.EraseProgramMemory()); break;
    case 16: checkStatus(rig, link.PeerPresent()); break;
    case 17: checkLong(link.ControlLine(which)); break;
    case 18: {
        bool accepted = false;
        checkLong(link.ProgrammingEnable(accepted));
        break;
    }
    case 19: checkLong(link.BeginPageRead(0x0100, 16)); break;
    case 20: checkLong(link.ReceiveChunk(32)); break;
    case 21: {
        QString identity;
        checkLong(link.ReadControllerIdentity(identity));
        check(identity.size() <= 255);
        break;
    }
    case 22: checkStatus(rig, link.CashRegisterPing()); break;
    default: checkStatus(rig, link.CashRegisterRead(1, 0x0200, std::span<quint8>(buffer, 32))); break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3)
        return 0;
    FakeRig rig(data[0] % 5);
    const size_t count = 1 + data[1] % 4;
    if (size < 2 + count)
        return 0;
    rig.line->incoming =
        QByteArray(reinterpret_cast<const char*>(data + 2 + count), qsizetype(size - 2 - count));
    for (size_t i = 0; i < count; ++i) {
        const qint64 before = rig.clock.now;
        runOperation(rig, data[2 + i]);
        check(rig.clock.now - before <= kLongestOperationUs);
        check(rig.line->readPos <= rig.line->incoming.size());
    }
    return 0;
}
