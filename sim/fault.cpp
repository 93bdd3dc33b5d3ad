#include "fault.h"

namespace sim {

Fault::Fault(FaultKind k) : kind(k) {
    switch (k) {
    case FaultKind::ShortReply:
        bytes = 1;
        break;
    case FaultKind::Garbage:
        bytes = 4;
        break;
    case FaultKind::CablePull:
        bytes = 3;
        break;
    default:
        break;
    }
}

Fault Fault::shortReply(int missing) {
    Fault f(FaultKind::ShortReply);
    f.bytes = missing;
    return f;
}

Fault Fault::garbage(int count, bool insteadOfReply) {
    Fault f(FaultKind::Garbage);
    f.bytes = count;
    f.instead = insteadOfReply;
    return f;
}

Fault Fault::slowPeer(int ms) {
    Fault f(FaultKind::SlowPeer);
    f.delayMs = ms;
    return f;
}

Fault Fault::cablePull(int bytesThrough) {
    Fault f(FaultKind::CablePull);
    f.bytes = bytesThrough;
    return f;
}

Fault& Fault::onCommand(int c) {
    frame = FrameKind::Command;
    code = c;
    return *this;
}

Fault& Fault::onLong(int c) {
    frame = FrameKind::Long;
    code = c;
    return *this;
}

Fault& Fault::onCash(int c) {
    frame = FrameKind::Cash;
    code = c;
    return *this;
}

Fault& Fault::after(int frames) {
    skip = frames < 0 ? 0 : frames;
    return *this;
}

Fault& Fault::times(int n) {
    limit = n < 0 ? 0 : n;
    return *this;
}

Fault& Fault::always() {
    limit = -1;
    return *this;
}

bool Fault::matches(FrameKind k, int c) const {
    if (frame == FrameKind::Any)
        return true;
    return frame == k && (code < 0 || code == c);
}

QString Fault::keyword(FaultKind k) {
    switch (k) {
    case FaultKind::Silence:
        return QStringLiteral("silence");
    case FaultKind::WrongAck:
        return QStringLiteral("wrong-ack");
    case FaultKind::BadChecksum:
        return QStringLiteral("bad-checksum");
    case FaultKind::UnequalPair:
        return QStringLiteral("unequal-pair");
    case FaultKind::ShortReply:
        return QStringLiteral("short");
    case FaultKind::Garbage:
        return QStringLiteral("garbage");
    case FaultKind::SlowPeer:
        return QStringLiteral("slow");
    case FaultKind::CablePull:
        return QStringLiteral("pull-cable");
    case FaultKind::DeviceLost:
        return QStringLiteral("device-lost");
    }
    return QString();
}

} // namespace sim
