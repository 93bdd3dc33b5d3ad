#include "boardwalk.h"

#include "sim/benchline.h"
#include "sim/controllerprogram.h"
#include "sim/dd5controller.h"
#include "sim/patterns.h"

#include <array>

namespace simtest {

namespace {

quint8 byteOf(quint32 image, int port) {
    return static_cast<quint8>(image >> (8 * port));
}

// The pattern of bank i in pattern group g: g + 1 + i through 1..6, 7 (erase) last.
quint8 bankPattern(int group, int bank) {
    return group >= 6 ? 7 : static_cast<quint8>((group + bank) % 6 + 1);
}

} // namespace

QString testName(BoardTest t) {
    switch (t) {
    case BoardTest::Bus:
        return QStringLiteral("bus");
    case BoardTest::Ram:
        return QStringLiteral("ram");
    case BoardTest::Rom:
        return QStringLiteral("rom");
    case BoardTest::RomNoFile:
        return QStringLiteral("rom-none");
    case BoardTest::Timer:
        return QStringLiteral("timer");
    case BoardTest::Flash:
        return QStringLiteral("flash");
    case BoardTest::Flash2:
        return QStringLiteral("flash2");
    case BoardTest::FpBlank:
        return QStringLiteral("fp-blank");
    case BoardTest::FpWrite:
        return QStringLiteral("fp-write");
    case BoardTest::Ppi:
        return QStringLiteral("ppi");
    }
    return QString();
}

QString Outcome::describe() const {
    static const char* verdicts[] = {"pass", "fail", "link failure"};
    return QStringLiteral("%1 after %2 steps, step %3, kind %4, pattern %5, address 0x%6 "
                          "(%7 bad in block, first 0x%8), images %9/%10, timer %11, sums %12/%13")
        .arg(QLatin1String(verdicts[verdict]))
        .arg(steps)
        .arg(failStep)
        .arg(displayKind)
        .arg(pattern)
        .arg(address, 0, 16)
        .arg(badInBlock)
        .arg(firstBad, 0, 16)
        .arg(expected, 8, 16, QLatin1Char('0'))
        .arg(read, 8, 16, QLatin1Char('0'))
        .arg(timerKind)
        .arg(computed, 4, 16, QLatin1Char('0'))
        .arg(stored, 4, 16, QLatin1Char('0'));
}

BoardRig::BoardRig(int boardType) : bench(boardType, clock), m_type4(boardType == 4) {
    ctx.boardType = boardType;
    if (m_type4) {
        // The workstation saved the controller software and wrote the test program.
        bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
        fileSum = 0;
        for (quint8 b :
             sim::Dd5Controller::cashSoftwareImage(sim::Dd5Controller::defaultIdentity()))
            fileSum = static_cast<quint16>(fileSum + b);
    } else {
        fileSum =
            sim::byteSum16(sim::controllerProgramImage(QLatin1String(sim::DefaultSoftwareVersion)));
    }
    ctx.link.attachLine(std::make_unique<sim::BenchLine>(bench, clock), 1, 0);
}

bool BoardRig::prepare() {
    kia::LinkPort& l = link();
    if (m_type4) {
        bool ok = true;
        for (quint8 p = 0; p < 4; ++p)
            ok = ok && l.WritePort(p, 0xFF, 0xFF);
        ok = ok && l.WritePort(1, 0, 7) && l.WriteMemoryByte(0x8000, 0) && l.WritePort(1, 7, 7);
        return ok && l.SetMemoryMap({0x0000, 0x8000, 0xC000, 0x4000, 0xFFFF}, 185);
    }
    if (!l.PeerPresent() || !l.WritePort(1, 0xDF, 0xFF) || !l.WritePort(2, 0xFF, 0xFF) ||
        !l.WritePort(3, 0xFF, 0xFC) || !l.WriteMemoryByte(0x7FFF, 0xF0) ||
        !l.WriteMemoryByte(0x5FFF, 0x80) || !l.WriteMemoryByte(0x5FFC, 0xFF) ||
        !l.WriteMemoryByte(0x5FFD, 0xFF) || !l.WriteMemoryByte(0x5FFE, 0xFF))
        return false;
    const quint16 p3 = l.ReadPort(3);
    if (p3 > 0xFF)
        return false;
    ctx.boardRevision = (p3 & 0x04) ? 0 : 1;
    return l.SetMemoryMap({0, 0, 0, 0, 0xFFFF}, 185);
}

Outcome BoardRig::linkFailure(Outcome o, int step) {
    o.verdict = Outcome::LinkFailure;
    o.failStep = step;
    return o;
}

Outcome BoardRig::run(BoardTest test) {
    if (!prepare())
        return linkFailure(Outcome(), -1);
    switch (test) {
    case BoardTest::Bus:
        return bus();
    case BoardTest::Ram:
        return ram();
    case BoardTest::Rom:
        return rom(true);
    case BoardTest::RomNoFile:
        return rom(false);
    case BoardTest::Timer:
        return timer();
    case BoardTest::Flash:
        return flash();
    case BoardTest::Flash2:
        return serialEeprom();
    case BoardTest::FpBlank:
        return fpBlank();
    case BoardTest::FpWrite:
        return m_type4 ? fpWriteType4() : fpWrite();
    case BoardTest::Ppi:
        return ppi();
    }
    return Outcome();
}

Outcome BoardRig::bus() {
    kia::LinkPort& l = link();
    Outcome o;
    const int flag = m_type4 ? 0 : ctx.boardRevision;
    const int steps = m_type4 ? 33 : 32 - flag;
    for (int s = 0; s < steps; ++s, ++o.steps) {
        wait(10);
        quint32 g = s == 0 ? 0 : (1u << (s - 1));
        if (m_type4 && (g == 0x01000000u || g == 0x02000000u || g == 0x08000000u))
            continue;
        if (!m_type4) {
            if (g == 0x4000u)
                continue;
            if (g > 0x800000u)
                g = static_cast<quint32>(quint64(g) << (flag + 2));
        }
        const quint32 h = ~g;
        const quint8 mask3 = m_type4 ? 0xF4 : (flag ? 0xF8 : 0xFC);
        if (!l.WritePort(0, byteOf(h, 0), 0xFF) || !l.WritePort(1, byteOf(h, 1), 0xFF) ||
            !l.WritePort(2, byteOf(h, 2), 0xFF) || !l.WritePort(3, byteOf(h, 3), mask3))
            return linkFailure(o, s);
        std::array<quint16, 4> p{};
        for (int i = 0; i < 4; ++i) {
            p[static_cast<size_t>(i)] = l.ReadPort(static_cast<quint8>(i));
            if (p[static_cast<size_t>(i)] > 0xFF)
                return linkFailure(o, s);
        }
        quint32 expected = 0;
        quint32 read = 0;
        if (m_type4) {
            expected = h | 0x0B000000u;
            read = p[0] | (p[1] << 8) | (p[2] << 16) | (quint32(p[3] | 0x0B) << 24);
        } else {
            expected = h | 0x08000000u;
            read = p[0] | (quint32(p[1] | 0x40) << 8) | (p[2] << 16) |
                   (quint32(p[3] | (flag * 4) | 0x0B) << 24);
        }
        if (read == expected)
            continue;
        if (m_type4 && s == 32 && ((read ^ expected) & 0xFF)) {
            // The read strobe is low: look at port 0 with no memory in the window.
            if (!l.WritePort(1, 5, 7))
                return linkFailure(o, s);
            const quint16 p0 = l.ReadPort(0);
            if (p0 > 0xFF || !l.WritePort(1, 7, 7))
                return linkFailure(o, s);
            if (p0 == 0xFF)
                continue;
            expected = h;
        }
        o.verdict = Outcome::Fail;
        o.failStep = s;
        o.expected = expected;
        o.read = read;
        return o;
    }
    return o;
}

Outcome BoardRig::ram() {
    kia::LinkPort& l = link();
    Outcome o;
    if (!m_type4 && !l.SetMemoryMap({0x0000, 0x2000, 0, 0, 0}, 200))
        return linkFailure(o, -1);
    const int period = m_type4 ? 2600 : 1300;
    wait(10);
    if ((m_type4 && !l.WritePort(1, 5, 7)) || !l.StartMemoryPass(1))
        return linkFailure(o, 0);
    ++o.steps;
    for (int s = 1; s < 7; ++s, ++o.steps) {
        wait(period);
        kia::CheckResult r;
        if (!l.GetMemoryPassResult(static_cast<quint8>(s), r))
            return linkFailure(o, s);
        if (!r.passed) {
            o.verdict = Outcome::Fail;
            o.failStep = s;
            o.displayKind = 0;
            o.pattern = s;
            o.address = r.value;
            if (!readDisplayBlock(o))
                return linkFailure(o, s);
            return o;
        }
        if (s < 6 && !l.StartMemoryPass(static_cast<quint8>(s + 1)))
            return linkFailure(o, s);
    }
    return o;
}

Outcome BoardRig::rom(bool withFile) {
    kia::LinkPort& l = link();
    Outcome o;
    auto half = [&](int h) {
        return m_type4 ? l.WritePort(3, h ? 4 : 0, 4) : l.WritePort(1, h ? 1 : 0, 1);
    };
    kia::CheckResult r;
    if (withFile) {
        wait(10);
        quint16 work = fileSum;
        ++o.steps;
        wait(1100);
        if (!half(0) || !l.SumMemoryRange(work, r))
            return linkFailure(o, 1);
        work = static_cast<quint16>(r.value + r.data1 + r.data2);
        ++o.steps;
        wait(1100);
        if (!half(1) || !l.SumMemoryRange(work, r))
            return linkFailure(o, 2);
        o.computed = r.value;
    } else {
        wait(10);
        if (!half(0) || !l.SumMemory(0x2000, r))
            return linkFailure(o, 0);
        o.computed = static_cast<quint16>(r.value + r.data2 * 256 + r.data1);
        ++o.steps;
        wait(1100);
        if (!half(1) || !l.SumMemory(0x2000, r))
            return linkFailure(o, 1);
        o.computed = static_cast<quint16>(o.computed + r.value);
    }
    ++o.steps;
    o.stored = static_cast<quint16>(r.data1 * 256 + r.data2);
    if (o.computed != o.stored) {
        o.verdict = Outcome::Fail;
        o.failStep = o.steps - 1;
    }
    return o;
}

Outcome BoardRig::timer() {
    kia::LinkPort& l = link();
    Outcome o;
    const quint8 address = m_type4 ? 0xD0 : 0xA0;
    if (!l.SelectMode(0) || !l.SetSerialDevice({1, 0x20, address, 1, 1, 0x10, 8}))
        return linkFailure(o, -1);
    auto fail = [&o](int step, int kind) {
        o.verdict = Outcome::Fail;
        o.failStep = step;
        o.timerKind = kind;
        return o;
    };
    static constexpr quint8 mask4[8] = {0, 0, 0, 0x07, 0, 0, 0, 0x93};
    wait(10);
    for (int s = 0; s < 2; ++s, ++o.steps) {
        if (s > 0)
            wait(100);
        std::array<quint8, 18> written{};
        for (int i = 0; i < 18; ++i)
            written[static_cast<size_t>(i)] =
                sim::expectedByte(static_cast<quint8>(5 + s), static_cast<quint16>(i));
        if (!l.WriteDevice(0, written))
            return linkFailure(o, s);
        if (ctx.deviceResult != 0)
            return fail(s, 2);
        std::array<quint8, 18> back{};
        if (!l.ReadDevice(0, back))
            return linkFailure(o, s);
        for (size_t i = 0; i < 18; ++i) {
            const quint8 mask = m_type4 ? (i < 8 ? mask4[i] : 0xFF) : 0xFF;
            if ((back[i] & mask) != (written[i] & mask))
                return fail(s, 0);
        }
    }
    wait(100);
    const std::array<quint8, 18> zeros{};
    const std::array<quint8, 7> clock4 = {0x59, 0x59, 0x23, 0x07, 0x31, 0x12, 0x00};
    const std::array<quint8, 7> clock0 = {0x00, 0x00, 0x59, 0x59, 0x23, 0x31, 0x12};
    const std::array<quint8, 7>& time = m_type4 ? clock4 : clock0;
    if (!l.WriteDevice(0, zeros) || !l.WriteDevice(0, time) || !l.WriteDevice(0, time))
        return linkFailure(o, 2);
    ++o.steps;
    wait(3100);
    std::array<quint8, 7> t{};
    if (!l.ReadDevice(0, t))
        return linkFailure(o, 3);
    ++o.steps;
    const bool rolled = m_type4 ? (t[1] == 0 && t[2] == 0 && t[4] == 1 && t[5] == 1 && t[6] == 1)
                                : (t[3] == 0 && t[4] == 0 && t[5] == 0x41 && t[6] == 0x21);
    return rolled ? o : fail(3, 1);
}

Outcome BoardRig::flash() {
    kia::LinkPort& l = link();
    Outcome o;
    if (m_type4) {
        if (!l.SelectMode(1) || !l.SetMemoryMap({0, 0, 0x8000, 0x8000, 0}, 185) ||
            !l.WritePort(1, 7, 7))
            return linkFailure(o, -1);
    } else if (!l.SelectMode(1) || !l.SetMemoryMap({0, 0, 0xC000, 0x4000, 0}, 200)) {
        return linkFailure(o, -1);
    }
    const int steps = m_type4 ? 56 : 28;
    const int banks = m_type4 ? 4 : 2;
    const quint32 bankSize = m_type4 ? 0x8000 : 0x4000;
    const int period = m_type4 ? 100 : 4000;
    bool verify = false;
    wait(10);
    for (int s = 0; s < steps; ++s, ++o.steps) {
        if (s > 0)
            wait(verify ? 100 : period);
        const int group = s / (2 * banks);
        const int b = s % banks;
        const quint8 pattern = bankPattern(group, b);
        if (s == 0)
            verify = false;
        if (!m_type4 && !l.WritePort(1, b ? 0xFF : 0, 4))
            return linkFailure(o, s);
        if (!verify) {
            bool failed = false;
            if (!l.FillBank(pattern, m_type4 ? static_cast<quint8>(b) : 64, failed))
                return linkFailure(o, s);
            if (b == banks - 1)
                verify = true;
            continue;
        }
        if (m_type4 && !l.WritePort(1, static_cast<quint8>(b * 32), 0x60))
            return linkFailure(o, s);
        kia::CheckResult r;
        if (!l.CheckBankPattern(pattern, r))
            return linkFailure(o, s);
        if (!r.passed) {
            o.verdict = Outcome::Fail;
            o.failStep = s;
            o.displayKind = 1;
            o.pattern = pattern;
            o.address = r.value + static_cast<quint32>(b) * bankSize;
            if (!readDisplayBlock(o))
                return linkFailure(o, s);
            return o;
        }
        if (b == banks - 1)
            verify = false;
    }
    return o;
}

Outcome BoardRig::serialEeprom() {
    kia::LinkPort& l = link();
    Outcome o;
    if (!l.SelectMode(1) || !l.SetSerialDevice({2, 0x20, 0xA2, 1, 1, 0x10, 8}) ||
        !l.SetMemoryMap({0, 0, 0, 0x8000, 0}, 200))
        return linkFailure(o, -1);
    wait(10);
    const std::array<quint8, 1> blank = {0xFF};
    if (!l.WriteDevice(0, blank))
        return linkFailure(o, 0);
    if (ctx.deviceResult != 0) {
        o.verdict = Outcome::Fail;
        o.failStep = 0;
        o.timerKind = 2;
        return o;
    }
    ++o.steps;
    static constexpr quint8 patterns[7] = {0, 1, 1, 2, 2, 7, 7};
    for (int s = 1; s < 7; ++s, ++o.steps) {
        wait(s % 2 ? 100 : 17000);
        const quint8 pattern = patterns[s];
        if (s % 2) {
            if (!l.FillDevice(pattern, 0x7FFF))
                return linkFailure(o, s);
            continue;
        }
        kia::ShortResult r;
        if (!l.CheckDevice(pattern, 0, r))
            return linkFailure(o, s);
        if (!r.passed) {
            o.verdict = Outcome::Fail;
            o.failStep = s;
            o.displayKind = 2;
            o.pattern = pattern;
            o.address = r.value;
            if (!readDisplayBlock(o))
                return linkFailure(o, s);
            return o;
        }
    }
    return o;
}

Outcome BoardRig::pollFiscalCheck(Outcome o, int steps, int kind, quint8 pattern) {
    kia::LinkPort& l = link();
    for (int s = 1; s < steps; ++s) {
        wait(100);
        kia::ShortResult r;
        ++o.steps;
        if (!l.ReadCheckResult(r)) {
            if (s == steps - 1)
                return linkFailure(o, s);
            continue;
        }
        if (r.passed)
            return o;
        o.verdict = Outcome::Fail;
        o.failStep = s;
        o.displayKind = kind;
        o.pattern = pattern;
        o.address = r.value;
        if (!readDisplayBlock(o))
            return linkFailure(o, s);
        // "Продолжить тест": the peer checks on from the next block.
        const quint32 next = (o.address & ~0x7Fu) + 128;
        if (next <= 0xFFFF) {
            if (!l.StartMemoryCheck(static_cast<quint16>(next), pattern))
                return linkFailure(o, s);
            wait(100);
            kia::ShortResult again;
            o.continuedCheckPassed = l.ReadCheckResult(again) && again.passed;
        }
        return o;
    }
    return o;
}

Outcome BoardRig::fpBlank() {
    kia::LinkPort& l = link();
    Outcome o;
    if (m_type4) {
        if (!l.SetMemoryMap({0, 0, 0x8000, 0x8000, 0}, 185) || !l.WritePort(1, 6, 7))
            return linkFailure(o, -1);
        for (int s = 0; s < 2; ++s, ++o.steps) {
            wait(s ? 100 : 10);
            kia::CheckResult r;
            if (!l.WritePort(1, static_cast<quint8>((s % 8) * 32), 0x20) ||
                !l.CheckBankPattern(7, r))
                return linkFailure(o, s);
            if (!r.passed) {
                o.verdict = Outcome::Fail;
                o.failStep = s;
                o.displayKind = 3;
                o.pattern = 7;
                o.address = r.value + static_cast<quint32>(s % 2) * 0x8000;
                if (!readDisplayBlock(o))
                    return linkFailure(o, s);
                return o;
            }
        }
        return o;
    }
    if (!l.SetMemoryMap({0, 0, 0, 0, 0xFFFF}, 200))
        return linkFailure(o, -1);
    wait(10);
    if (!l.StartMemoryCheck(0, 7))
        return linkFailure(o, 0);
    ++o.steps;
    return pollFiscalCheck(o, 8, 3, 7);
}

Outcome BoardRig::fpWrite() {
    kia::LinkPort& l = link();
    Outcome o;
    if (!l.SetMemoryMap({0, 0, 0, 0, 0xFFFF}, 200))
        return linkFailure(o, -1);
    quint16 work = 1;
    wait(10);
    for (int s = 0; s < 32; ++s, ++o.steps) {
        if (s > 0)
            wait(100);
        quint8 result = 0;
        if (!l.WriteCellPattern(work, sim::expectedByte(8, work), result))
            return linkFailure(o, s);
        work = static_cast<quint16>(work << 1);
        if (work >= 0x8001 || work == 0x7FFE)
            work |= 1;
        if (work == 0)
            work = 0xFFFE;
    }
    wait(100);
    if (!l.StartMemoryCheck(0, 8))
        return linkFailure(o, 32);
    ++o.steps;
    return pollFiscalCheck(o, 17, 4, 8);
}

Outcome BoardRig::fpWriteType4() {
    kia::LinkPort& l = link();
    Outcome o;
    std::array<quint8, 10> head{};
    if (!l.SetMemoryMap({0, 0, 0x8000, 0x8000, 0}, 185) || !l.WritePort(1, 6, 7) ||
        !l.WritePort(1, 0, 0x20) || !l.ReadMemory(0x8000, head))
        return linkFailure(o, -1);
    bool verify = false;
    wait(10);
    for (int s = 0; s < 28; ++s, ++o.steps) {
        if (s > 0)
            wait(100);
        const int group = s / 4;
        const int bank = s % 2;
        const quint8 pattern = bankPattern(group, bank);
        if (s == 0)
            verify = false;
        if (!verify) {
            bool failed = false;
            if (!l.FillBank(pattern, static_cast<quint8>(bank), failed))
                return linkFailure(o, s);
            verify = bank == 1;
            continue;
        }
        kia::CheckResult r;
        if (!l.WritePort(1, static_cast<quint8>(bank * 32), 0x20) ||
            !l.CheckBankPattern(pattern, r))
            return linkFailure(o, s);
        if (!r.passed) {
            o.verdict = Outcome::Fail;
            o.failStep = s;
            o.displayKind = 7;
            o.pattern = pattern;
            o.address = r.value + static_cast<quint32>(bank) * 0x8000;
            if (!readDisplayBlock(o))
                return linkFailure(o, s);
            return o;
        }
        if (bank == 1)
            verify = false;
    }
    return o;
}

Outcome BoardRig::ppi() {
    kia::LinkPort& l = link();
    Outcome o;
    if (!l.WriteMemoryByte(0x5FFF, 0x80))
        return linkFailure(o, -1);
    for (int s = 0; s < 26; ++s, ++o.steps) {
        wait(s ? 100 : 10);
        const quint32 image = (s == 0 ? 0xFFFFFFFFu : ~(1u << (s - 1))) & 0xFFFFFF;
        quint32 read = 0;
        for (int i = 0; i < 3; ++i) {
            if (!l.WriteMemoryByte(static_cast<quint16>(0x5FFC + i), byteOf(image, i)))
                return linkFailure(o, s);
        }
        for (int i = 0; i < 3; ++i) {
            const quint16 v = l.ReadMemoryByte(static_cast<quint16>(0x5FFC + i));
            if (v > 0xFF)
                return linkFailure(o, s);
            read |= quint32(v) << (8 * i);
        }
        if (read != image) {
            o.verdict = Outcome::Fail;
            o.failStep = s;
            o.expected = image;
            o.read = read;
            return o;
        }
    }
    return o;
}

bool BoardRig::readDisplayBlock(Outcome& o) {
    kia::LinkPort& l = link();
    const quint32 block = o.address & ~0x7Fu;
    std::array<quint8, 128> data{};
    quint32 expectedBase = block; // the address ExpectedByte counts from
    bool ok = false;
    switch (o.displayKind) {
    case 0:
        ok = l.ReadMemory(static_cast<quint16>(block), data);
        break;
    case 1:
        if (m_type4) {
            ok = l.WritePort(1, static_cast<quint8>(((block >> 15) * 32) & 0xFF), 0x60) &&
                 l.ReadMemory(static_cast<quint16>((block & 0x7FFF) + 0x8000), data);
            expectedBase = block & 0x7FFF;
        } else {
            const quint32 inBank = block >= 0x4000 ? block - 0x4000 : block;
            ok = l.WritePort(1, block >= 0x4000 ? 0xFF : 0, 4) &&
                 l.ReadMemory(static_cast<quint16>((inBank - 0x4000) & 0xFFFF), data);
            expectedBase = inBank;
        }
        break;
    case 2:
        ok = l.ReadDevice(static_cast<quint16>(block), data);
        break;
    case 3:
    case 4:
    case 7:
        if (m_type4) {
            ok = l.WritePort(1, static_cast<quint8>(((block >> 15) * 32) & 0xFF), 0x20) &&
                 l.ReadMemory(static_cast<quint16>((block & 0x7FFF) + 0x8000), data);
            expectedBase = block & 0x7FFF;
        } else {
            ok = l.ReadFiscalBlock(static_cast<quint16>(block), data);
        }
        break;
    default:
        return true;
    }
    if (!ok)
        return false;
    o.badInBlock = 0;
    for (int i = 0; i < 128; ++i) {
        const quint8 want = sim::expectedByte(static_cast<quint8>(o.pattern),
                                              static_cast<quint16>(expectedBase + i));
        if (data[static_cast<size_t>(i)] != want) {
            if (o.badInBlock++ == 0)
                o.firstBad = block + static_cast<quint32>(i);
        }
    }
    return true;
}

} // namespace simtest
