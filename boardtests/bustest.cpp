#include "bustest.h"

#include "busfault.h"
#include "core/benchcontext.h"
#include "portimagemodel.h"
#include "testengine.h"
#include "testenginehost.h"
#include "testresults.h"

#include <array>

namespace kia {

namespace {
quint8 byteOf(quint32 image, int port) {
    return static_cast<quint8>(image >> (8 * port));
}

// Ports 0..2 take the whole byte; port 3 only the bits of its mask.
bool writeImage(LinkPort& link, quint32 image, quint8 port3Mask) {
    return link.WritePort(0, byteOf(image, 0), 0xFF) && link.WritePort(1, byteOf(image, 1), 0xFF) &&
           link.WritePort(2, byteOf(image, 2), 0xFF) &&
           link.WritePort(3, byteOf(image, 3), port3Mask);
}

// Reads the four ports into an image; false on a link failure.
bool readImage(LinkPort& link, std::array<quint8, 4>& ports) {
    for (int p = 0; p < 4; ++p) {
        const quint16 v = link.ReadPort(static_cast<quint8>(p));
        if (v > 0xFF)
            return false;
        ports[static_cast<size_t>(p)] = static_cast<quint8>(v);
    }
    return true;
}
} // namespace

BusTest::BusTest(int boardType, int boardRevision)
    : m_boardType(boardType), m_revision(boardRevision ? 1 : 0) {}

int BusTest::stepCount() const {
    return isProgrammerBoard(m_boardType) ? 33 : 32 - m_revision;
}

QString BusTest::progressText() const {
    return QStringLiteral("Тест шин контроллера...");
}

quint32 BusTest::walkingZero(int boardType, int boardRevision, int step, bool& skip) {
    skip = false;
    quint32 g = step <= 0 || step > 32 ? 0 : quint32(1) << (step - 1);
    if (isProgrammerBoard(boardType)) {
        // Port 3 bits 0, 1 and 3 are not walked on the controller.
        skip = g == 0x01000000u || g == 0x02000000u || g == 0x08000000u;
        return g;
    }
    // Port 1 bit 6 is not walked on the test processor.
    if (g == 0x4000u) {
        skip = true;
        return g;
    }
    if (g > 0x800000u) {
        const int shift = (boardRevision ? 1 : 0) + 2;
        g = shift < 32 ? static_cast<quint32>(quint64(g) << shift) : 0;
    }
    return g;
}

void BusTest::step(TestEngine& engine) {
    if (isProgrammerBoard(m_boardType))
        stepController(engine);
    else
        stepTestProcessor(engine);
}

void BusTest::stepTestProcessor(TestEngine& engine) {
    LinkPort& link = engine.context().link;
    const int s = engine.step();
    bool skip = false;
    const quint32 g = walkingZero(m_boardType, m_revision, s, skip);
    if (skip) {
        engine.advance();
        return;
    }
    const quint32 h = ~g;
    if (!writeImage(link, h, m_revision ? 0xF8 : 0xFC)) {
        engine.linkFailure();
        return;
    }
    const quint32 expected = h | 0x08000000u;
    std::array<quint8, 4> p{};
    if (!readImage(link, p)) {
        engine.linkFailure();
        return;
    }
    const quint32 read = quint32(p[0]) | quint32(p[1] | 0x40) << 8 | quint32(p[2]) << 16 |
                         quint32(p[3] | (m_revision * 4) | 0x0B) << 24;
    if (read != expected) {
        AnalyseBusFault(engine, s, expected, read);
        return;
    }
    engine.advance();
}

void BusTest::stepController(TestEngine& engine) {
    LinkPort& link = engine.context().link;
    const int s = engine.step();
    bool skip = false;
    const quint32 g = walkingZero(m_boardType, m_revision, s, skip);
    if (skip) {
        engine.advance();
        return;
    }
    const quint32 h = ~g;
    if (!writeImage(link, h, 0xF4)) {
        engine.linkFailure();
        return;
    }
    quint32 expected = h | 0x0B000000u;
    std::array<quint8, 4> p{};
    if (!readImage(link, p)) {
        engine.linkFailure();
        return;
    }
    const quint32 read =
        quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3] | 0x0B) << 24;
    if (read != expected) {
        if (s == 32 && ((read ^ expected) & 0xFF) != 0) {
            // The zero on port 3 bit 7 is the read strobe: port 0 then carries
            // what the memory drives. Look again with the memory window switched.
            const bool ok1 = link.WritePort(1, 5, 7);
            const quint16 p0 = ok1 ? link.ReadPort(0) : 0xFFFF;
            if (!ok1 || p0 > 0xFF || !link.WritePort(1, 7, 7)) {
                engine.linkFailure();
                return;
            }
            if (p0 == 0xFF) {
                engine.advance();
                return;
            }
            expected = h;
        }
        AnalyseBusFault(engine, s, expected, read);
        return;
    }
    engine.advance();
}

void BusTest::AnalyseBusFault(TestEngine& engine, int step, quint32 expected, quint32 read) {
    BenchContext& ctx = engine.context();
    engine.stopTimer();
    engine.setFailure();
    engine.playErrorSound();
    if (!engine.diagnosticsActive()) {
        const PortImageModel image(ctx.boardType, expected, read, false);
        if (engine.host().ShowPortImageError(image) != 1) {
            engine.end(ResultExit);
            return;
        }
    }
    ctx.lastErrorKeyword = busFaultKeyword(ctx.boardType, step, expected, read);
    ctx.reportText = busFaultReport(ctx.boardType, expected, read);
    engine.end(ResultDiagnostics);
}

} // namespace kia
