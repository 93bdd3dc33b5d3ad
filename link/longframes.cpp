// Programmer frames of board type 4: length-prefixed requests that carry one
// serial-programming exchange with DD5 (command 16) or move its reset line
// (command 32). They report their own result code and leave the link status alone.

#include "core/benchcontext.h"
#include "core/clock.h"
#include "linkport.h"
#include "linkstatus.h"

#include <QByteArray>

namespace kia {

namespace {
constexpr int kLongTimeoutMs = 100;
constexpr int kTries = 3;
constexpr int kMaxLongData = 254; // the length byte n + 1 must fit in a byte
} // namespace

QByteArray buildLongRequest(quint8 command, std::span<const quint8> data)
{
    QByteArray req;
    const int n = static_cast<int>(data.size());
    req.reserve(n + 3);
    req.append(static_cast<char>(n + 1));
    req.append(static_cast<char>(command));
    for (quint8 b : data)
        req.append(static_cast<char>(b));
    unsigned sum = 0;
    for (char c : req)
        sum += static_cast<quint8>(c);
    quint8 cs = static_cast<quint8>(sum);
    if (command != LongTransfer && command != LongControl)
        cs = static_cast<quint8>(~cs);
    req.append(static_cast<char>(cs));
    return req;
}

quint8 LinkPort::SendLongFrame(quint8 command, int n, int timeoutMs)
{
    ++m_stats.frames;
    const quint8 r = sendLongFrame(command, n, timeoutMs);
    if (r != LongOk)
        ++m_stats.failures;
    return r;
}

quint8 LinkPort::sendLongFrame(quint8 command, int n, int timeoutMs)
{
    if (!m_line || n < 0 || n > kMaxLongData)
        return LongWriteFailed;
    std::array<quint8, 256>& buf = m_ctx.longFrameBuffer;
    const QByteArray req =
        buildLongRequest(command, std::span<const quint8>(buf.data(), static_cast<size_t>(n)));
    const quint8 cs = static_cast<quint8>(req.back());

    if (!m_line->purge())
        return LongWriteFailed;
    if (m_line->write(reinterpret_cast<const quint8*>(req.constData()), req.size()) != req.size())
        return LongWriteFailed;

    quint8 echo = 0;
    if (m_line->read(&echo, 1) != 1 || echo != cs)
        return LongNoReply;

    SerialTimeouts t;
    if (!m_line->getTimeouts(t))
        return LongNoReply;
    const int constant = t.readTotalConstant > 0 ? static_cast<int>(t.readTotalConstant) : 1;
    const int attempts = timeoutMs / constant + 1;
    quint8 length = 0;
    bool gotLength = false;
    for (int i = 0; i < attempts && !gotLength; ++i) {
        const qint64 got = m_line->read(&length, 1);
        if (got < 0)
            return LongNoReply;
        gotLength = got == 1;
    }
    if (!gotLength)
        return LongNoReply;

    quint8 rest[256];
    const qint64 want = length + 1;
    if (m_line->read(rest, want) != want)
        return LongNoReply;
    unsigned sum = length;
    for (int i = 0; i < length; ++i)
        sum += rest[i];
    if (static_cast<quint8>(~sum) != rest[length])
        return LongNoReply;

    buf[0] = length;
    std::copy(rest, rest + length, buf.begin() + 1);
    return LongOk;
}

// One transfer request, tried up to three times while it fails.
quint8 LinkPort::transferWithRetries(int n, int pauseMs)
{
    std::array<quint8, 256> request;
    std::copy(m_ctx.longFrameBuffer.begin(), m_ctx.longFrameBuffer.begin() + n, request.begin());
    quint8 r = LongNoReply;
    for (int i = 0; i < kTries; ++i) {
        if (i > 0)
            ++m_stats.retries;
        if (pauseMs > 0)
            m_ctx.clock.sleepMs(pauseMs);
        // A failed exchange may have left a partial reply in the shared buffer.
        std::copy(request.begin(), request.begin() + n, m_ctx.longFrameBuffer.begin());
        r = SendLongFrame(LongTransfer, n, kLongTimeoutMs);
        if (r == LongOk)
            return r;
    }
    return r;
}

// Command 32 with the given data byte: 1 lets DD5 run, 0 holds it for programming.
quint8 LinkPort::controlLineTries(quint8 dataByte)
{
    quint8 r = LongNoReply;
    for (int i = 0; i < kTries; ++i) {
        if (i > 0)
            ++m_stats.retries;
        m_ctx.clock.sleepMs(100);
        m_ctx.longFrameBuffer[0] = dataByte;
        r = SendLongFrame(LongControl, 1, kLongTimeoutMs);
        if (r == LongOk)
            return r;
    }
    return r;
}

quint8 LinkPort::ControlLine(quint8 value) { return controlLineTries(value == 0 ? 1 : 0); }

quint8 LinkPort::ProgrammingEnable(bool& accepted)
{
    static constexpr quint8 kEnable[5] = {0x03, 0x01, 0xAC, 0x53, 0xFF};
    accepted = false;
    quint8 r = LongNoReply;
    for (int i = 0; i < kTries; ++i) {
        if (i > 0)
            ++m_stats.retries;
        std::copy(std::begin(kEnable), std::end(kEnable), m_ctx.longFrameBuffer.begin());
        r = SendLongFrame(LongTransfer, 5, kLongTimeoutMs);
        if (r == LongOk && m_ctx.longFrameBuffer[0] >= 4 && m_ctx.longFrameBuffer[4] == 0x69) {
            accepted = true;
            return LongOk;
        }
    }
    return r;
}

quint8 LinkPort::ChipErase()
{
    static constexpr quint8 kErase[6] = {0x04, 0x00, 0xAC, 0x80, 0xFF, 0xFF};
    std::copy(std::begin(kErase), std::end(kErase), m_ctx.longFrameBuffer.begin());
    return transferWithRetries(6, 0);
}

quint8 LinkPort::BeginPageWrite(quint16 address)
{
    const quint8 req[4] = {0x02, 0x00, 0x50, static_cast<quint8>(address >> 8)};
    std::copy(std::begin(req), std::end(req), m_ctx.longFrameBuffer.begin());
    return transferWithRetries(4, 0);
}

quint8 LinkPort::BeginPageRead(quint16 address, quint8 count)
{
    const quint8 req[4] = {0x02, count, 0x30, static_cast<quint8>(address >> 8)};
    std::copy(std::begin(req), std::end(req), m_ctx.longFrameBuffer.begin());
    return transferWithRetries(4, 0);
}

quint8 LinkPort::SendChunk(std::span<const quint8> data, quint8 count)
{
    if (count > 64 || data.size() < count)
        return LongWriteFailed;
    std::array<quint8, 256>& buf = m_ctx.longFrameBuffer;
    buf[0] = count;
    buf[1] = 0x00;
    std::fill(buf.begin() + 2, buf.begin() + 66, quint8(0xFF));
    std::copy(data.begin(), data.begin() + count, buf.begin() + 2);
    return transferWithRetries(66, 0);
}

quint8 LinkPort::ReceiveChunk(quint8 count)
{
    m_ctx.longFrameBuffer[0] = 0x00;
    m_ctx.longFrameBuffer[1] = count;
    return transferWithRetries(2, 0);
}

quint8 LinkPort::ReadControllerIdentity(QString& identity)
{
    identity.clear();
    quint8 r = controlLineTries(1);
    if (r != LongOk)
        return r;

    quint8 failure = LongOk;
    m_ctx.clock.sleepMs(100);
    r = controlLineTries(0);
    if (r != LongOk) {
        failure = r;
    } else {
        m_ctx.clock.sleepMs(250);
        bool accepted = false;
        r = ProgrammingEnable(accepted);
        if (r != LongOk)
            failure = r;
        else if (!accepted)
            failure = LongNoAccess;
    }
    if (failure == LongOk) {
        r = BeginPageRead(0x1F00, 64);
        for (int i = 0; i < 3 && r == LongOk; ++i)
            r = ReceiveChunk(64);
        if (r != LongOk) {
            failure = r;
        } else if (m_ctx.longFrameBuffer[0] >= 67) {
            // The last 12 bytes of the page: code addresses 0x1FF4..0x1FFF.
            for (int i = 56; i < 68; ++i) {
                const quint8 c = m_ctx.longFrameBuffer[i];
                if (c < '0' || c > '9') {
                    identity.clear();
                    break;
                }
                identity.append(QLatin1Char(static_cast<char>(c)));
            }
        }
    }

    controlLineTries(1);
    if (failure != LongOk)
        return failure;
    // The journal tells type-4 boards apart by it.
    m_ctx.controllerIdentity = identity;
    m_ctx.clock.sleepMs(100);
    return LongOk;
}

} // namespace kia
