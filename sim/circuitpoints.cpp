#include "boardmodel.h"
#include "circuitwiring.h"
#include "pointsignal.h"

#include <QHash>
#include <functional>
#include <optional>

namespace sim {

// The peripheral circuits of the five board types, as a good board wires
// them: stepper-phase drivers, indicator, mains, drawer and paper-end
// circuits, the scanner and printer (ТПГ) lines, the ЭКЛЗ bus, the +12 V
// supply. Each output is worked out from what drives it at this moment: the
// main output latch, the PPI port latches (types 0..3), the board side of the
// controller's port lines and the probe's level driver. Written from the
// board's drawings, not from the workstation's tables.

namespace {

enum : quint8 { Low = Probe::Low, High = Probe::High, Plus12 = Probe::Plus12V, Open = Probe::Open };

struct Board {
    int type;
    quint8 latch;
    quint8 ppi[3];
    quint8 port[4];
    bool driverHigh;
    QString point; // where the tip / the driver is

    bool latchBit(quint8 m) const { return latch & m; }
    bool ppiBit(int p, quint8 m) const { return ppi[p] & m; }
    bool portBit(int p, int b) const { return port[p] >> b & 1; }
};

quint8 level(bool high) { return high ? High : Low; }

// A stepper phase driven by one latch bit (types 0): on pulls the winding end
// low, off leaves it open.
quint8 singlePhase(bool on) { return on ? Low : Open; }

// Types 1..3: the winding end is pulled low by its own bit and sees +12 V
// through the winding when only its partner is on; idle it floats (type 1) or
// sits at +12 V through the pull-up of the later boards.
quint8 pairedPhase(bool own, bool partner, bool pulledUp) {
    if (own)
        return Low;
    if (partner)
        return Plus12;
    return pulledUp ? Plus12 : Open;
}

// Type 4's phases: the common bit (DD12/9) switches the winding's supply, the
// phase bit chooses which end is pulled low.
quint8 controllerPhase(bool common, bool phase, bool firstEnd) {
    if (!common)
        return Open;
    return (phase == firstEnd) ? Plus12 : Low;
}

struct Pulse {
    quint8 idle;
    quint8 active;
    qint64 maxUs;
    bool gated; // the gate is open
};

using LevelFn = std::function<quint8(const Board&)>;
using PulseFn = std::function<Pulse(const Board&)>;

struct Circuit {
    LevelFn level;
    PulseFn pulse; // set for pulse outputs
};

using Wiring = QHash<QString, Circuit>;

constexpr qint64 kNoLimitUs = 1'000'000'000;

void addSupplies(Wiring& w, const char* ground, const char* plus5, const char* plus12) {
    w.insert(QLatin1String(ground), {[](const Board&) { return quint8(Low); }, {}});
    w.insert(QLatin1String(plus5), {[](const Board&) { return quint8(High); }, {}});
    w.insert(QLatin1String(plus12), {[](const Board&) { return quint8(Plus12); }, {}});
}

void add(Wiring& w, const char* point, LevelFn fn) {
    w.insert(QLatin1String(point), {std::move(fn), {}});
}

void addPulse(Wiring& w, const char* point, PulseFn fn) {
    w.insert(QLatin1String(point), {[fn](const Board& b) { return fn(b).idle; }, fn});
}

// Types 0..3 share most circuits; the connectors moved between revisions.
Wiring testProcessorWiring(int type) {
    Wiring w;
    addSupplies(w, "DD3/20", "DD3/40", type == 3 ? "X3/1" : "X3/7");
    const bool pulledUp = type >= 2;
    if (type == 0) {
        add(w, "X5/1", [](const Board& b) { return singlePhase(b.latchBit(0x01)); });
        add(w, "X5/2", [](const Board& b) { return singlePhase(b.latchBit(0x02)); });
        add(w, "X5/3", [](const Board& b) { return singlePhase(b.latchBit(0x04)); });
        add(w, "X5/4", [](const Board& b) { return singlePhase(b.latchBit(0x08)); });
    } else {
        // Type 3 switches the stepper driver on with PPI port A bit 3.
        const char* names[4] = {"X5/1", "X5/2", "X5/3", "X5/4"};
        const char* names3[4] = {"X6/1", "X6/2", "X6/3", "X6/4"};
        const quint8 own[4] = {0x01, 0x04, 0x02, 0x08};
        const quint8 partner[4] = {0x04, 0x01, 0x08, 0x02};
        for (int i = 0; i < 4; ++i) {
            const quint8 o = own[i];
            const quint8 p = partner[i];
            add(w, type == 3 ? names3[i] : names[i], [o, p, pulledUp, type](const Board& b) {
                if (type == 3 && !b.ppiBit(0, 0x08))
                    return pairedPhase(false, false, pulledUp);
                return pairedPhase(b.latchBit(o), b.latchBit(p), pulledUp);
            });
        }
    }
    add(w, "X3/9", [](const Board& b) { return level(b.latchBit(0x40)); });
    add(w, "X3/11", [](const Board& b) { return level(b.ppiBit(1, 0x80)); });
    if (type != 3)
        add(w, "X3/14", [](const Board& b) { return level(!b.latchBit(0x80)); });
    if (type == 3)
        add(w, "X3/15", [](const Board& b) { return level(b.ppiBit(0, 0x04)); });
    else
        add(w, "X3/15", [](const Board& b) { return level(b.ppiBit(2, 0x10)); });
    if (type == 1 || type == 2)
        add(w, "X6/1", [](const Board& b) { return b.latchBit(0x08) ? quint8(Low) : quint8(Plus12); });
    if (type == 3) {
        add(w, "X7/1", [](const Board& b) { return b.ppiBit(0, 0x08) ? quint8(Low) : quint8(Open); });
        add(w, "X8/1", [](const Board& b) { return b.ppiBit(0, 0x08) ? quint8(Plus12) : quint8(Low); });
        add(w, "X5/5", [](const Board& b) { return level(b.portBit(1, 1)); });
        add(w, "X5/4", [](const Board& b) { return level(b.portBit(1, 2)); });
    }
    if (type == 0)
        add(w, "X5/7", [](const Board& b) { return level(b.portBit(3, 5)); });
    const char* printer[3][4] = {{"X6/14", "X6/3", "X6/12", "X6/6"},
                                 {"X7/14", "X7/9", "X7/12", "X7/6"},
                                 {"X8/14", "X8/9", "X8/12", "X8/6"}};
    const auto& p = printer[type == 0 ? 0 : type == 3 ? 2 : 1];
    add(w, p[0], [](const Board& b) { return level(b.portBit(3, 5)); });
    add(w, p[1], [](const Board& b) { return level(!b.latchBit(0x20)); });
    add(w, p[2], [](const Board& b) { return level(!b.portBit(3, 4)); });
    // The print pulse is cut by the protection at 14 ms; the printer's
    // strobe line (DD3/16) must be high for it to pass.
    addPulse(w, p[3], [](const Board& b) { return Pulse{High, Low, 14'000, b.portBit(3, 6)}; });
    if (type != 3)
        addPulse(w, "X3/18",
                 [](const Board& b) { return Pulse{Low, High, kNoLimitUs, b.portBit(3, 6)}; });
    return w;
}

Wiring controllerWiring() {
    Wiring w;
    addSupplies(w, "DD5/16", "DD5/38", "X3/1");
    add(w, "X5/1", [](const Board& b) { return controllerPhase(b.latchBit(0x08), b.latchBit(0x01), true); });
    add(w, "X5/2", [](const Board& b) { return controllerPhase(b.latchBit(0x08), b.latchBit(0x01), false); });
    add(w, "X5/3", [](const Board& b) { return controllerPhase(b.latchBit(0x08), b.latchBit(0x02), true); });
    add(w, "X5/4", [](const Board& b) { return controllerPhase(b.latchBit(0x08), b.latchBit(0x02), false); });
    add(w, "X3/9", [](const Board& b) { return level(b.latchBit(0x80)); });
    auto supply12 = [](const Board& b) { return b.latchBit(0x08) ? quint8(Plus12) : quint8(Open); };
    add(w, "X3/12", supply12);
    add(w, "X7/1", supply12);
    add(w, "X7/15", supply12);
    add(w, "X3/14", [](const Board& b) { return level(b.latchBit(0x20)); });
    add(w, "X6/1", [](const Board& b) { return level(!b.latchBit(0x08)); });
    add(w, "X2/7", [](const Board& b) { return level(b.latchBit(0x40)); });
    // The printer's write and strobe are decoded from the window lines (port 1
    // bits 0..2), the enable on port 2 bit 7 and port 3 bit 6.
    add(w, "X7/9", [](const Board& b) {
        return level(!((b.port[1] & 7) == 2 && b.portBit(2, 7)));
    });
    add(w, "X7/12", [](const Board& b) {
        return level((b.port[1] & 7) == 1 && b.portBit(2, 7) && !b.portBit(3, 6));
    });
    add(w, "X7/14", [](const Board& b) { return level(b.portBit(0, 0)); });
    // The print pulse comes from latch bit 2, whose data line is port 0 bit 2;
    // the protection cuts it at 6 ms.
    addPulse(w, "X7/6", [](const Board& b) { return Pulse{High, Low, 6'000, b.portBit(0, 2)}; });
    add(w, "X10/6", [](const Board& b) { return level(b.portBit(3, 5)); });
    add(w, "X10/8", [](const Board& b) { return level(b.portBit(3, 4)); });
    return w;
}

const Wiring& wiring(int type) {
    static const Wiring w[5] = {testProcessorWiring(0), testProcessorWiring(1),
                                testProcessorWiring(2), testProcessorWiring(3), controllerWiring()};
    return w[type < 0 || type > 4 ? 0 : type];
}

// The controller pins by name: an 8051-style pinout (P1 pins 1..8, P3 10..17,
// P2 21..28, P0 39..32) in DD3 on types 0..3, DD5's package on type 4, and
// the PPI 82C55 (DD14, DD15 on type 3) on types 0..3. Port 0..3 lines, or
// 4 + PPI port (A, B, C), with the bit.
struct PinLine {
    int port = -1;
    int bit = 0;
};

PinLine pinLine(int type, const QString& name) {
    const int slash = name.indexOf(QLatin1Char('/'));
    if (slash < 0)
        return {};
    const QString chip = name.left(slash);
    bool ok = false;
    const int n = name.mid(slash + 1).toInt(&ok);
    if (!ok)
        return {};
    if (type == 4) {
        if (chip != QLatin1String("DD5"))
            return {};
        if (n >= 30 && n <= 37)
            return {0, 37 - n};
        const int p1[8] = {40, 41, 42, 43, 44, 1, 2, 3};
        const int p3[8] = {5, 7, 8, 9, 10, 11, 12, 13};
        for (int b = 0; b < 8; ++b) {
            if (p1[b] == n)
                return {1, b};
            if (p3[b] == n)
                return {3, b};
        }
        if (n >= 18 && n <= 25)
            return {2, n - 18};
        return {};
    }
    if (chip == QLatin1String("DD3")) {
        if (n >= 1 && n <= 8)
            return {1, n - 1};
        if (n >= 10 && n <= 17)
            return {3, n - 10};
        if (n >= 21 && n <= 28)
            return {2, n - 21};
        if (n >= 32 && n <= 39)
            return {0, 39 - n};
        return {};
    }
    if (chip != QLatin1String("DD14") && chip != QLatin1String("DD15"))
        return {};
    const int pa[8] = {4, 3, 2, 1, 40, 39, 38, 37};
    const int pc[8] = {14, 15, 16, 17, 13, 12, 11, 10};
    for (int b = 0; b < 8; ++b) {
        if (pa[b] == n)
            return {4, b};
        if (pc[b] == n)
            return {6, b};
    }
    if (n >= 18 && n <= 25)
        return {5, n - 18};
    return {};
}

Board boardOf(const PointContext& ctx, const QString& point) {
    Board b;
    b.type = ctx.boardType;
    b.latch = ctx.board.outputLatch();
    for (int i = 0; i < 3; ++i)
        b.ppi[i] = ctx.board.ppi().latch(i);
    for (int p = 0; p < 4; ++p)
        b.port[p] = ctx.board.boardLevel(p);
    b.driverHigh = !ctx.probe.dtr();
    b.point = point;
    return b;
}

bool lineLevel(const Board& b, PinLine l) {
    if (l.port < 0)
        return true;
    if (l.port < 4)
        return b.portBit(l.port, l.bit);
    return b.ppiBit(l.port - 4, static_cast<quint8>(1u << l.bit));
}

std::optional<quint8> faultFreeLevel(int type, const QString& point, const Board& b) {
    const Wiring& w = wiring(type);
    const auto it = w.constFind(point);
    if (it == w.constEnd())
        return std::nullopt;
    return it->level(b);
}

} // namespace

QString driverOutputPoint() {
    return QStringLiteral("выход формирователя");
}

bool circuitPointSignal(const QString& point, const PointContext& ctx, PointSignal& out) {
    const Board b = boardOf(ctx, point);
    if (point == driverOutputPoint()) {
        out.level = level(b.driverHigh);
        return true;
    }
    const Wiring& w = wiring(ctx.boardType);
    const auto it = w.constFind(point);
    if (it == w.constEnd())
        return false;
    out.level = it->level(b);
    if (it->pulse) {
        const Pulse p = it->pulse(b);
        out.level = p.idle;
        out.pulse.connected = p.gated;
        out.pulse.activeLevel = p.active;
        out.pulse.minUs = 0;
        out.pulse.maxUs = p.maxUs;
    }
    for (const BoardFault& f : ctx.faults) {
        if (f.key != point)
            continue;
        switch (f.kind) {
        case BoardFaultKind::CircuitStuckLow:
        case BoardFaultKind::CircuitStuckHigh:
        case BoardFaultKind::CircuitOpen:
            out.level = f.kind == BoardFaultKind::CircuitStuckLow    ? quint8(Low)
                        : f.kind == BoardFaultKind::CircuitStuckHigh ? quint8(High)
                                                                     : quint8(Open);
            out.pulse = Probe::PulseWiring();
            break;
        case BoardFaultKind::CircuitCoupled:
            if (faultFreeLevel(ctx.boardType, f.key2, b).value_or(Open) == Low)
                out.level = Low;
            break;
        case BoardFaultKind::PinShorted:
            if (!lineLevel(b, pinLine(ctx.boardType, f.key2)))
                out.level = Low;
            break;
        case BoardFaultKind::PulseSplit:
            out.pulse.split = true;
            break;
        default:
            break;
        }
    }
    return true;
}

void applyDriverWiring(BoardModel& board, const QString& point, bool driverHigh) {
    const int type = board.boardType();
    auto at = [&point](const char* p) { return point == QLatin1String(p); };
    // Inverting inputs (the scanner data, type 3's paper sensor): an open
    // connector reads as a high input, so the port line is low.
    auto inverting = [&](const char* p, int port, int bit) {
        board.setLineHeldLow(port, bit, !at(p) || driverHigh);
    };
    if (type == 4) {
        inverting("X2/2", 3, 3);
        quint8 in = 0xE0;
        if (at("X3/11") && !driverHigh)
            in &= ~0x80;
        if (at("X6/2") && !driverHigh)
            in &= ~0x20;
        if (at("X2/8") && driverHigh)
            in &= ~0x40;
        board.setControllerInputs(in);
        return;
    }
    inverting("X2/2", 3, 3);
    if (type == 3)
        inverting("X7/2", 1, 6);
    if (type == 1 || type == 2)
        board.setLineHeldLow(3, 5, at("X6/2") && !driverHigh);
}

QString checkCircuitFault(int boardType, const BoardFault& fault) {
    const Wiring& w = wiring(boardType);
    auto known = [&w](const QString& p) { return w.contains(p); };
    if (!known(fault.key))
        return QStringLiteral("на плате типа %1 нет выхода цепи \"%2\"").arg(boardType).arg(fault.key);
    if (fault.kind == BoardFaultKind::CircuitCoupled) {
        if (!known(fault.key2))
            return QStringLiteral("на плате типа %1 нет выхода цепи \"%2\"")
                .arg(boardType)
                .arg(fault.key2);
        if (fault.key2 == fault.key)
            return QStringLiteral("цепь \"%1\" не может быть связана сама с собой").arg(fault.key);
    }
    if (fault.kind == BoardFaultKind::PinShorted && pinLine(boardType, fault.key2).port < 0)
        return QStringLiteral("на плате типа %1 нет вывода \"%2\"").arg(boardType).arg(fault.key2);
    return QString();
}

} // namespace sim
