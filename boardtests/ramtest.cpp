#include "ramtest.h"

#include "core/benchcontext.h"
#include "testengine.h"

namespace kia {

namespace {
QString passText(int pass) {
    return QStringLiteral("Тест %1...").arg(pass);
}
} // namespace

int RamTest::period() const {
    return isProgrammerBoard(m_boardType) ? 2600 : 1300;
}

quint32 RamTest::lastBlock(int boardType) {
    return isProgrammerBoard(boardType) ? 0x7F80 : 0x1F80;
}

void RamTest::step(TestEngine& engine) {
    LinkPort& link = engine.context().link;
    const int s = engine.step();
    if (s == 0) {
        // Type 4: the RAM sits behind the window that port 1 selects.
        if (isProgrammerBoard(m_boardType) && !link.WritePort(1, 5, 7)) {
            engine.linkFailure();
            return;
        }
        engine.setText(passText(1));
        if (!link.StartMemoryPass(1)) {
            engine.linkFailure();
            return;
        }
        engine.advance();
        return;
    }

    CheckResult r;
    if (!link.GetMemoryPassResult(static_cast<quint8>(s), r)) {
        engine.linkFailure();
        return;
    }
    if (!r.passed && !engine.runMemoryErrorLoop(MemoryErrorKind::Ram, s, r.value,
                                                lastBlock(m_boardType), period()))
        return;
    if (s == stepCount() - 1) {
        engine.advance();
        return;
    }
    engine.setText(passText(s + 1));
    if (!link.StartMemoryPass(static_cast<quint8>(s + 1))) {
        engine.linkFailure();
        return;
    }
    engine.advance();
}

} // namespace kia
