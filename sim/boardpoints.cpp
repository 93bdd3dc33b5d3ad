// What a good board drives on its own control points (supply, ground, clock,
// reset, the processor's ports with the address/data bus and the strobes, the
// address latch, the output register, the address decoder, the 82C55 and the
// supply pins of the connectors), and how the board faults change it. The
// wiring follows the board drawings; the circuit outputs of the peripheral
// rows are circuitpoints.cpp's.

#include "pointsignal.h"

#include "boardmodel.h"
#include "dd5controller.h"

#include <algorithm>
#include <iterator>

namespace sim {

namespace {

// Where the level on a point comes from.
enum class Source {
    High,      // +5 V, a pull-up or an input tied high
    Low,       // ground or an input tied low
    Plus12,    // the +12 V supply
    Clock,     // a free-running signal (crystal, ALE): far too fast for a static reading
    Reset,     // the processor's reset input
    PortPin,   // a processor pin: a = port, b = bit
    PortNet,   // the board side of a port line: a = port, b = bit
    Latch,     // an output of the output register: a = bit
    Decoder,   // an output of the address decoder: a = output 0..7
    Ppi,       // a pin of the 82C55: a = port 0..2 (A, B, C), b = bit
    Driver,    // an input the probe's level driver feeds through its connector
    Pulsed,    // the register output that GeneratePulses drives: a = bit
    None,
};

struct Wire {
    Source source = Source::None;
    int a = 0;
    int b = 0;
};

constexpr Wire high{Source::High};
constexpr Wire low{Source::Low};
constexpr Wire plus12{Source::Plus12};
constexpr Wire clock{Source::Clock};
constexpr Wire none{Source::None};

constexpr Wire pin(int port, int bit) {
    return {Source::PortPin, port, bit};
}
constexpr Wire net(int port, int bit) {
    return {Source::PortNet, port, bit};
}
constexpr Wire latch(int bit) {
    return {Source::Latch, bit};
}
constexpr Wire ppi(int port, int bit) {
    return {Source::Ppi, port, bit};
}

// The 40-pin controller of types 0..3 in the DD3 socket (the test processor).
Wire dip40(int n) {
    if (n >= 1 && n <= 8)
        return pin(1, n - 1);
    if (n >= 10 && n <= 17)
        return pin(3, n - 10);
    if (n >= 21 && n <= 28)
        return pin(2, n - 21);
    if (n >= 32 && n <= 39)
        return pin(0, 39 - n);
    switch (n) {
    case 9:
        return {Source::Reset};
    case 18:
    case 19:
    case 30:
        return clock; // X2, X1, ALE
    case 20:
        return low;
    case 29: // PSEN: the test processor runs from its own memory, idle high
    case 31: // EA
    case 40:
        return high;
    default:
        return none;
    }
}

// DD5 of type 4 (44-pin package).
Wire qfp44(int n) {
    if (n >= 1 && n <= 3)
        return pin(1, n + 4);
    if (n >= 40 && n <= 44)
        return pin(1, n - 40);
    if (n == 5)
        return pin(3, 0);
    if (n >= 7 && n <= 13)
        return pin(3, n - 6);
    if (n >= 18 && n <= 25)
        return pin(2, n - 18);
    if (n >= 30 && n <= 37)
        return pin(0, 37 - n);
    switch (n) {
    case 4:
        return {Source::Reset};
    case 14:
    case 15:
    case 27:
        return clock;
    case 16:
        return low;
    case 26:
    case 29:
    case 38:
        return high;
    default:
        return none;
    }
}

// The address latch (DD4): D inputs on the bus, Q outputs the low address
// byte it holds at every ALE, which follows the bus while the ports are idle.
Wire addressLatch(int n) {
    if (n >= 2 && n <= 9)
        return net(0, n - 2);
    if (n >= 12 && n <= 19)
        return net(0, 19 - n);
    switch (n) {
    case 1:
    case 10:
        return low;
    case 11:
        return clock;
    case 20:
        return high;
    default:
        return none;
    }
}

constexpr int RegisterD[8] = {3, 4, 7, 8, 13, 14, 17, 18};
constexpr int RegisterQ[8] = {2, 5, 6, 9, 12, 15, 16, 19};

// The output register (DD8 on types 0..3, DD12 on type 4).
Wire outputRegister(int n, int clockOutput) {
    const int pulsedBit = clockOutput == 0 ? 2 : 4;
    for (int bit = 0; bit < 8; ++bit) {
        if (n == RegisterD[bit])
            return net(0, bit);
        if (n == RegisterQ[bit])
            return bit == pulsedBit ? Wire{Source::Pulsed, bit} : latch(bit);
    }
    switch (n) {
    case 1:
    case 10:
        return low;
    case 11:
        return {Source::Decoder, clockOutput};
    case 20:
        return high;
    default:
        return none;
    }
}

constexpr int DecoderOutput[8] = {15, 14, 13, 12, 11, 10, 9, 7};

// The 3-to-8 decoder: inputs A13..A15 (types 0..3) or port 1 bits 0..2 (type 4).
Wire decoder(int n, bool programmer) {
    for (int y = 0; y < 8; ++y)
        if (n == DecoderOutput[y])
            return {Source::Decoder, y};
    switch (n) {
    case 1:
    case 2:
    case 3:
        return programmer ? net(1, n - 1) : net(2, n + 4);
    case 4:
        return programmer ? net(3, 6) : low; // E1: the write strobe on type 4
    case 5:
    case 8:
        return low;
    case 6:
        return programmer ? net(2, 7) : high; // E3: A15 on type 4
    case 16:
        return high;
    default:
        return none;
    }
}

constexpr int PpiA[8] = {4, 3, 2, 1, 40, 39, 38, 37};
constexpr int PpiC[8] = {14, 15, 16, 17, 13, 12, 11, 10};

Wire peripheralInterface(int n) {
    for (int bit = 0; bit < 8; ++bit) {
        if (n == PpiA[bit])
            return ppi(0, bit);
        if (n == 18 + bit)
            return ppi(1, bit);
        if (n == PpiC[bit])
            return ppi(2, bit);
        if (n == 34 - bit)
            return net(0, bit);
    }
    switch (n) {
    case 5:
        return net(3, 7);
    case 36:
        return net(3, 6);
    case 6:
        return {Source::Decoder, 2};
    case 7:
        return low;
    case 8:
        return net(0, 1); // A1 and A0 from the address latch
    case 9:
        return net(0, 0);
    case 26:
        return high;
    case 35:
        return {Source::Reset};
    default:
        return none;
    }
}

// The driver array's inputs, ground and common (+12 V); its outputs are circuits.
Wire driverArray(int n, int type) {
    if (n == 8)
        return low;
    if (n == 9)
        return plus12;
    if (type == 4) {
        static constexpr int q[8] = {-1, 0, 1, 3, 3, 5, 2, 3};
        return n >= 1 && n <= 7 ? latch(q[n]) : none;
    }
    switch (n) {
    case 1:
        return latch(0);
    case 2:
        return latch(type == 0 ? 1 : 2);
    case 3:
        return latch(type == 0 ? 2 : 1);
    case 4:
        return latch(3);
    case 5:
        return type == 3 ? ppi(0, 3) : latch(7);
    case 6:
        return type == 3 ? ppi(0, 2) : ppi(2, 4);
    case 7:
        return type == 0 ? none : type == 3 ? ppi(0, 3) : latch(3);
    default:
        return none;
    }
}

struct SupplyPins {
    const char* connector;
    std::initializer_list<int> plus5;
    std::initializer_list<int> ground;
    std::initializer_list<int> plus12;
};

Wire connectorSupply(const QString& ref, int n, int type) {
    static const SupplyPins type0[] = {
        {"X1", {1}, {5, 6}, {}},           {"X2", {1}, {5}, {}},
        {"X4", {9}, {10}, {}},             {"X7", {1}, {10}, {}},
        {"X3", {1, 2}, {3, 4, 5, 17}, {7, 8}}, {"X5", {}, {6, 8}, {5}},
        {"X6", {2}, {4, 9, 10, 16}, {7, 8}},
    };
    static const SupplyPins type12[] = {
        {"X1", {1}, {5, 6}, {}},           {"X2", {1}, {5}, {}},
        {"X4", {9}, {10}, {}},             {"X3", {1, 2}, {3, 4, 5, 17}, {7, 8}},
        {"X5", {}, {6}, {5}},              {"X6", {3}, {4}, {}},
        {"X7", {15}, {3, 4, 16}, {1, 2}},
    };
    static const SupplyPins type3[] = {
        {"X1", {1}, {5, 6}, {}},       {"X2", {1}, {5}, {}},
        {"X4", {9}, {10}, {}},         {"X5", {1}, {2}, {}},
        {"X3", {2}, {3, 4, 17, 18}, {1}}, {"X6", {}, {6}, {5}},
        {"X7", {3}, {4}, {}},          {"X8", {15}, {3, 4, 16}, {2}},
    };
    static const SupplyPins type4[] = {
        {"X1", {1}, {5, 6}, {}},       {"X4", {5}, {6}, {}},
        {"X2", {1}, {5}, {}},          {"X10", {1}, {2}, {}},
        {"X3", {2}, {3, 4, 17, 18}, {1}}, {"X5", {}, {6}, {5}},
        {"X6", {3}, {4}, {}},          {"X7", {}, {3, 4, 16}, {}},
    };
    const SupplyPins* begin = type0;
    const SupplyPins* end = type0 + std::size(type0);
    if (type == 1 || type == 2) {
        begin = type12;
        end = type12 + std::size(type12);
    } else if (type == 3) {
        begin = type3;
        end = type3 + std::size(type3);
    } else if (type == 4) {
        begin = type4;
        end = type4 + std::size(type4);
    }
    auto has = [n](std::initializer_list<int> pins) {
        return std::find(pins.begin(), pins.end(), n) != pins.end();
    };
    for (const SupplyPins* s = begin; s != end; ++s) {
        if (ref != QLatin1String(s->connector))
            continue;
        if (has(s->plus5))
            return high;
        if (has(s->ground))
            return low;
        if (has(s->plus12))
            return plus12;
    }
    return none;
}

// Connector pins that are wired straight to a port line or a chip pin.
Wire connectorSignal(const QString& ref, int n, int type) {
    if (ref == QLatin1String("X1") && (n == 2 || n == 3))
        return type == 4 ? qfp44(n == 2 ? 5 : 7) : dip40(n == 2 ? 10 : 11);
    if (ref == QLatin1String("X4")) {
        if (type == 4)
            return n >= 1 && n <= 3 ? net(1, n + 4) : n == 4 ? Wire{Source::Reset} : none;
        if (n >= 1 && n <= 8)
            return type == 3 ? ppi(2, n - 1) : ppi(0, n - 1);
    }
    if (type == 0 && ref == QLatin1String("X7") && n >= 2 && n <= 8)
        return ppi(1, n - 2);
    return none;
}

Wire wireOf(const QString& point, int type) {
    const qsizetype slash = point.indexOf(QLatin1Char('/'));
    if (slash <= 0)
        return none;
    bool ok = false;
    const int n = point.mid(slash + 1).toInt(&ok);
    if (!ok)
        return none;
    const QString ref = point.left(slash);
    const bool programmer = type == 4;
    Wire w = connectorSupply(ref, n, type);
    if (w.source != Source::None)
        return w;
    if (ref.startsWith(QLatin1Char('X')))
        return connectorSignal(ref, n, type);
    if (ref == QLatin1String("DA1"))
        return driverArray(n, type);
    if (ref == QLatin1String("DD4"))
        return addressLatch(n);
    if (!programmer) {
        if (ref == QLatin1String("DD3"))
            return dip40(n);
        if (ref == QLatin1String("DD8"))
            return outputRegister(n, 3);
        if (ref == QLatin1String("DD11"))
            return decoder(n, false);
        if (ref == (type == 3 ? QLatin1String("DD15") : QLatin1String("DD14")))
            return peripheralInterface(n);
        if (type == 3 && ref == QLatin1String("DD14")) { // the hex inverter
            switch (n) {
            case 2:
                return net(1, 6);
            case 4:
                return net(3, 3);
            case 7:
                return low;
            case 14:
                return high;
            default:
                return none;
            }
        }
        return none;
    }
    if (ref == QLatin1String("DD5"))
        return qfp44(n);
    if (ref == QLatin1String("DD12"))
        return outputRegister(n, 0);
    if (ref == QLatin1String("DD8"))
        return decoder(n, true);
    if (ref == QLatin1String("DD11")) { // the bus buffer onto the data bus
        if (n >= 11 && n <= 18)
            return net(0, 18 - n);
        if (n == 7 || n == 9) // X6/2, X3/11: fed by the level driver while checked
            return {Source::Driver};
        if (n == 8) // X2/8 through the scanner-ready inverter
            return {Source::Driver, 1};
        switch (n) {
        case 1:
            return {Source::Decoder, 1};
        case 10:
        case 19:
            return low;
        case 20:
            return high;
        default:
            return none;
        }
    }
    return none;
}

quint8 levelOf(bool bit) {
    return bit ? Probe::High : Probe::Low;
}

bool decoderActive(int output, const PointContext& ctx) {
    BoardModel& board = ctx.board;
    if (board.isSelectDead(output))
        return false;
    if (ctx.boardType == 4) {
        const bool enabled = (board.boardLevel(3) & 0x40) == 0 && (board.boardLevel(2) & 0x80) != 0;
        return enabled && (board.boardLevel(1) & 7) == output;
    }
    return (board.boardLevel(2) >> 5) == output;
}

} // namespace

bool boardPointSignal(const QString& point, const PointContext& ctx, PointSignal& out) {
    const Wire w = wireOf(point, ctx.boardType);
    BoardModel& board = ctx.board;
    switch (w.source) {
    case Source::None:
        return false;
    case Source::High:
        out.level = Probe::High;
        break;
    case Source::Low:
        out.level = Probe::Low;
        break;
    case Source::Plus12:
        out.level = Probe::Plus12V;
        break;
    case Source::Clock:
        // Megahertz under a probe that samples now and then: whatever it
        // happens to catch.
        out.level = levelOf(((ctx.nowUs / 3) & 1) != 0);
        break;
    case Source::Reset:
        out.level = levelOf(ctx.boardType == 4 && ctx.dd5.isHeld());
        break;
    case Source::PortPin: {
        const BoardModel::PortLines& lines = board.port(w.a);
        const quint8 mask = static_cast<quint8>(1u << w.b);
        if (lines.open & mask) {
            // Cut from the board: the pin shows only what the processor does
            // with it; port 0 has no pull-up, so a 1 leaves it floating.
            if ((lines.latch & mask) == 0)
                out.level = Probe::Low;
            else
                out.level = w.a == 0 ? Probe::Open : Probe::High;
        } else {
            out.level = levelOf(board.boardLevel(w.a) & mask);
        }
        break;
    }
    case Source::PortNet:
        out.level = levelOf(board.boardLevel(w.a) & (1u << w.b));
        break;
    case Source::Latch:
        out.level = levelOf(board.outputLatch() & (1u << w.a));
        break;
    case Source::Decoder:
        out.level = levelOf(!decoderActive(w.a, ctx));
        break;
    case Source::Ppi:
        out.level = levelOf(board.ppi().read(w.a) & (1u << w.b));
        break;
    case Source::Driver:
        // The driver inverts DTR: DTR clear gives logic 1 (a = 1: inverted once more).
        out.level = levelOf(ctx.probe.dtr() == (w.a != 0));
        break;
    case Source::Pulsed:
        // The print-pulse bit: idle at its latch level, and every GeneratePulses
        // shows on it as it is (active low on types 0..3, high on type 4).
        out.level = levelOf(board.outputLatch() & (1u << w.a));
        out.pulse.connected = true;
        out.pulse.activeLevel = ctx.boardType == 4 ? Probe::High : Probe::Low;
        break;
    }
    return true;
}

} // namespace sim
