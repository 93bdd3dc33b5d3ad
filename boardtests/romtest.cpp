#include "romtest.h"

#include "core/benchcontext.h"
#include "core/userprompts.h"
#include "testengine.h"
#include "testresults.h"

namespace kia {

namespace {
QString hex4(quint16 v) {
    return QString::number(v, 16).toUpper().rightJustified(4, QLatin1Char('0'));
}
} // namespace

RomTest::RomTest(int boardType, const ControllerProgramFile& file)
    : m_boardType(boardType), m_file(file),
      m_withFile(file.kind != ControllerProgramFile::Kind::None) {}

quint16 RomTest::sum16(const QByteArray& bytes) {
    quint16 sum = 0;
    for (char c : bytes)
        sum = static_cast<quint16>(sum + static_cast<quint8>(c));
    return sum;
}

// Half 0 or 1 of the program memory: port 1 bit 0 on the test processor; on
// type 4 with a file, port 3 bit 2 of the controller.
bool RomTest::selectHalf(TestEngine& engine, int half) {
    LinkPort& link = engine.context().link;
    if (isProgrammerBoard(m_boardType) && m_withFile)
        return link.WritePort(3, half ? 4 : 0, 4);
    return link.WritePort(1, half ? 1 : 0, 1);
}

void RomTest::step(TestEngine& engine) {
    if (m_withFile)
        stepWithFile(engine);
    else
        stepWithoutFile(engine);
}

void RomTest::stepWithFile(TestEngine& engine) {
    LinkPort& link = engine.context().link;
    const int s = engine.step();
    if (s == 0) {
        QByteArray image;
        const int r = m_file.read(image);
        if (r != 0) {
            engine.end(r);
            return;
        }
        m_work = sum16(image);
        engine.advance();
        return;
    }
    CheckResult reply;
    if (!selectHalf(engine, s - 1) || !link.SumMemoryRange(m_work, reply)) {
        engine.linkFailure();
        return;
    }
    if (s == 1) {
        m_work = static_cast<quint16>(reply.value + reply.data1 + reply.data2);
        engine.advance();
        return;
    }
    m_computed = reply.value;
    compare(engine, reply);
}

void RomTest::stepWithoutFile(TestEngine& engine) {
    LinkPort& link = engine.context().link;
    const int s = engine.step();
    CheckResult reply;
    if (!selectHalf(engine, s) || !link.SumMemory(0x2000, reply)) {
        engine.linkFailure();
        return;
    }
    if (s == 0) {
        // The first half's trailing word counts low byte first.
        m_computed = static_cast<quint16>(reply.value + reply.data2 * 256 + reply.data1);
        engine.advance();
        return;
    }
    m_computed = static_cast<quint16>(m_computed + reply.value);
    compare(engine, reply);
}

void RomTest::compare(TestEngine& engine, const CheckResult& last) {
    // The stored sum: high byte first.
    m_work = static_cast<quint16>(last.data1 * 256 + last.data2);
    if (m_work == m_computed) {
        engine.setResultText(QStringLiteral("Тест прошел ! ( КС = %1 )").arg(hex4(m_computed)));
        engine.advance();
        return;
    }
    engine.askDiagnostics(QStringLiteral("Тест ПЗУ не прошел !"),
                          QStringLiteral("Подсчитанная контрольная сумма = %1.      \n"
                                         "Записанная  контрольная  сумма   = %2.\n\n"
                                         "           Запустить диагностику ?")
                              .arg(hex4(m_computed), hex4(m_work)),
                          ResultDiagnostics);
}

} // namespace kia
