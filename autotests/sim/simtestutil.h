#pragma once

// Frames built by hand, independent of the link code, and a small rig that
// talks to a bench through a BenchLine on a virtual clock.

#include "link/serialline.h"
#include "sim/bench.h"
#include "sim/benchline.h"
#include "sim/virtualclock.h"

#include <QByteArray>
#include <memory>

namespace simtest {

inline quint8 sumOf(const QByteArray& b, int from = 0, int to = -1) {
    quint8 s = 0;
    if (to < 0)
        to = static_cast<int>(b.size());
    for (int i = from; i < to; ++i)
        s = static_cast<quint8>(s + static_cast<quint8>(b.at(i)));
    return s;
}

/// 7-byte command frame with the fillers of the board type and the inverted sum.
inline QByteArray commandFrame(int boardType, quint8 code, quint8 a = 0, quint8 b = 0,
                               quint8 c = 0) {
    QByteArray f;
    f.append(char(code));
    f.append(char(a));
    f.append(char(b));
    f.append(char(c));
    f.append(char(boardType == 4 ? 0x0F : 0xFF));
    f.append(char(boardType == 4 ? 0x0F : 0x00));
    f.append(char(~sumOf(f)));
    return f;
}

inline quint8 ackOf(const QByteArray& frame) {
    return static_cast<quint8>(frame.at(6));
}

/// Long programmer frame: n + 1, command, data, plain sum.
inline QByteArray longFrame(quint8 command, const QByteArray& data) {
    QByteArray f;
    f.append(char(data.size() + 1));
    f.append(char(command));
    f.append(data);
    f.append(char(sumOf(f)));
    return f;
}

/// The reply the programmer should give: echo, length, data, NOT(sum of length and data).
inline QByteArray longReply(const QByteArray& request, const QByteArray& data) {
    QByteArray r;
    r.append(request.back());
    r.append(char(data.size()));
    r.append(data);
    quint8 s = static_cast<quint8>(data.size());
    s = static_cast<quint8>(s + sumOf(data));
    r.append(char(~s));
    return r;
}

/// Cash-register frame: 00, N, payload, sum of the payload.
inline QByteArray cashFrame(const QByteArray& payload) {
    QByteArray f;
    f.append(char(0));
    f.append(char(payload.size() + 1));
    f.append(payload);
    f.append(char(sumOf(payload)));
    return f;
}

inline QByteArray hex(const char* h) {
    return QByteArray::fromHex(h);
}

inline kia::SerialTimeouts standardTimeouts() {
    kia::SerialTimeouts t;
    t.readInterval = 1000;
    t.readTotalConstant = 1000;
    t.writeTotalMultiplier = 2000;
    return t;
}

/// A bench on a virtual clock with an open line at the board's own speed.
struct Rig {
    explicit Rig(int boardType) : bench(boardType, clock), line(bench, clock) {
        line.open();
        line.configure(boardType == 4 ? 115200 : 9600);
        line.setTimeouts(standardTimeouts());
    }

    /// Purges, writes, and reads up to `expect` bytes in one read.
    QByteArray exchange(const QByteArray& tx, int expect) {
        line.purge();
        send(tx);
        return receive(expect);
    }
    void send(const QByteArray& tx) {
        line.write(reinterpret_cast<const quint8*>(tx.constData()), tx.size());
    }
    QByteArray receive(int expect) {
        QByteArray rx(expect, 0);
        const qint64 n = expect > 0 ? line.read(reinterpret_cast<quint8*>(rx.data()), expect) : 0;
        rx.resize(n < 0 ? 0 : n);
        return rx;
    }
    /// Everything the bench has sent so far, whatever its time.
    QByteArray drain() {
        QByteArray out;
        quint8 b = 0;
        qint64 at = 0;
        while (bench.peekOutput(at) && bench.takeOutput(b))
            out.append(char(b));
        return out;
    }

    sim::VirtualClock clock;
    sim::Bench bench;
    sim::BenchLine line;
};

} // namespace simtest
