#pragma once

#include "core/benchcontext.h"
#include "core/clock.h"
#include "core/scriptedprompts.h"
#include "link/serialline.h"

#include <QByteArray>
#include <QList>

// A clock that only moves when told to: sleeps and time-outs cost nothing.
class FakeClock final : public kia::Clock {
public:
    void sleepMs(int ms) override { now += qint64(ms) * 1000; }
    void sleepUs(qint64 us) override { now += us; }
    qint64 nowUs() const override { return now; }
    qint64 counter() const override { return now; }
    qint64 counterFrequency() const override { return 1000000; }
    void wireTimeUs(qint64) override {}
    qint64 now = 0;
};

// A line whose peer is a fixed script: everything written is recorded, reads
// are served from `incoming` in order, and a read that runs dry waits out its
// total time-out on the fake clock and returns what it got.
class FakeLine final : public kia::SerialLine {
public:
    explicit FakeLine(FakeClock& c) : clock(c) {}

    QString deviceName() const override { return QStringLiteral("fake"); }
    bool open() override {
        opened = openOk;
        return openOk;
    }
    void close() override { opened = false; }
    bool isOpen() const override { return opened; }
    bool configure(qint32 b) override {
        baud = b;
        return configureOk;
    }
    bool setBaudRate(qint32 b) override {
        baud = b;
        return configureOk;
    }
    qint32 baudRate() const override { return baud; }
    bool setTimeouts(const kia::SerialTimeouts& t) override {
        timeouts = t;
        timeoutHistory.append(t);
        return timeoutsOk;
    }
    bool getTimeouts(kia::SerialTimeouts& t) const override {
        t = timeouts;
        return true;
    }
    bool purge() override {
        ++purges;
        return purgeOk;
    }
    qint64 write(const quint8* data, qint64 n) override {
        if (writesLeft == 0)
            return -1;
        if (writesLeft > 0)
            --writesLeft;
        const qint64 k = shortWrite >= 0 ? std::min(n, shortWrite) : n;
        written.append(reinterpret_cast<const char*>(data), int(k));
        writeSizes.append(int(n));
        return k;
    }
    qint64 read(quint8* data, qint64 n) override {
        const qint64 k = std::min<qint64>(n, incoming.size() - readPos);
        for (qint64 i = 0; i < k; ++i)
            data[i] = quint8(incoming[int(readPos + i)]);
        readPos += k;
        if (k < n)
            clock.sleepMs(int(timeouts.readTotalConstant + timeouts.readTotalMultiplier * n));
        return k;
    }
    bool setRts(bool on) override {
        rts = on;
        return true;
    }
    bool setDtr(bool on) override {
        dtr = on;
        return true;
    }
    bool modemStatus(quint8& bits) override {
        bits = modem;
        return true;
    }

    FakeClock& clock;
    QByteArray written;
    QList<int> writeSizes;
    QByteArray incoming;
    qint64 readPos = 0;
    kia::SerialTimeouts timeouts;
    QList<kia::SerialTimeouts> timeoutHistory;
    int purges = 0;
    int writesLeft = -1; // -1: every write succeeds; k: the (k+1)-th write fails
    qint64 shortWrite = -1;
    bool openOk = true, opened = false, configureOk = true, timeoutsOk = true, purgeOk = true;
    bool rts = false, dtr = false;
    quint8 modem = 0;
    qint32 baud = 0;
};

inline QByteArray hex(const char* text) {
    return QByteArray::fromHex(QByteArray(text));
}

// A context whose link is attached to a fresh FakeLine, on a fake clock.
struct FakeRig {
    FakeClock clock;
    kia::ScriptedPrompts prompts;
    kia::BenchContext ctx{clock, prompts};
    FakeLine* line = nullptr;
    explicit FakeRig(int boardType = 0) {
        ctx.boardType = boardType;
        auto l = std::make_unique<FakeLine>(clock);
        line = l.get();
        ctx.link.attachLine(std::move(l), 1, 0);
    }
};
