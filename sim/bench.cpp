#include "bench.h"

#include "boardmodel.h"
#include "cashregister.h"
#include "controllerprogram.h"
#include "core/clock.h"
#include "faultinjector.h"
#include "faultscript.h"
#include "outputqueue.h"
#include "peerlink.h"
#include "circuitwiring.h"
#include "pointsignal.h"
#include "probe.h"
#include "programmer.h"
#include "testprocessor.h"

namespace sim {

/// The board-type dependent part of the bench, rebuilt by setBoardType().
struct Bench::Models {
    Models(int boardType, PeerLink& link)
        : board(boardType), testProcessor(board, link), programmer(dd5, testProcessor, link) {}
    BoardModel board;
    Dd5Controller dd5;
    TestProcessor testProcessor;
    Programmer programmer;
};

namespace {
constexpr qint32 kTestProcessorBaud = 9600;
constexpr qint64 kModemStatusCostUs = 4;
constexpr qint32 kProgrammerBaud = 115200;
} // namespace

Bench::Bench(int boardType, kia::Clock& clock)
    : m_clock(clock), m_faults(std::make_unique<FaultInjector>()),
      m_output(std::make_unique<OutputQueue>()),
      m_link(std::make_unique<PeerLink>(*m_output, *m_faults)), m_probe(std::make_unique<Probe>()),
      m_cashRegister(std::make_unique<CashRegister>(*m_link)),
      m_romVersion(QLatin1String(DefaultSoftwareVersion)) {
    buildModels(boardType);
}

Bench::~Bench() = default;

void Bench::buildModels(int boardType) {
    m_models = std::make_unique<Models>(boardType, *m_link);
    m_controllerSum = m_models->dd5.codeSum();
    refreshBoardLocked(true);
}

int Bench::boardType() const {
    std::lock_guard g(m_mutex);
    return m_models->board.boardType();
}

void Bench::setBoardType(int boardType) {
    std::lock_guard g(m_mutex);
    buildModels(boardType);
    m_output->clear();
    m_link->reset();
}

void Bench::setDd5StartState(Dd5Controller::StartState state, const QByteArray& identity) {
    std::lock_guard g(m_mutex);
    m_models->dd5.load(state, identity);
    m_models->testProcessor.reset();
    // On type 4 the ROM test adds the saved controller software (the cash
    // register's software that DD5 held before the test program) to the sums.
    if (state == Dd5Controller::StartState::TestProgram) {
        quint16 sum = 0;
        for (quint8 b : Dd5Controller::cashSoftwareImage(identity))
            sum = static_cast<quint16>(sum + b);
        m_controllerSum = sum;
    } else {
        m_controllerSum = m_models->dd5.codeSum();
    }
    refreshBoardLocked(true);
}

void Bench::refreshBoardLocked(bool reseal) {
    BoardModel& b = m_models->board;
    b.clearFaults();
    b.setOlderRevision(m_olderRevision);
    if (reseal) {
        b.sealProgramChecksum(b.isProgrammerBoard()
                                  ? m_controllerSum
                                  : byteSum16(controllerProgramImage(m_romVersion)));
    }
    m_models->dd5.clearReadFlips();
    m_cashRegister->memory().clearCellFaults();
    for (const BoardFault& f : m_boardFaults) {
        b.applyFault(f);
        if (f.kind == BoardFaultKind::ReadFlip && f.bank == BoardFault::FlipDd5)
            m_models->dd5.setReadFlip(static_cast<int>(f.address), f.value);
        else if (f.kind == BoardFaultKind::ReadFlip && f.bank == BoardFault::FlipRegister)
            m_cashRegister->memory().setReadFlip(f.address, f.value);
    }
}

bool Bench::addBoardFault(const BoardFault& fault, QString* error) {
    std::lock_guard g(m_mutex);
    const QString reason = fault.checkFor(m_models->board.boardType());
    if (error)
        *error = reason;
    if (!reason.isEmpty())
        return false;
    m_boardFaults.append(fault);
    m_models->board.applyFault(fault);
    return true;
}

void Bench::clearBoardFaults() {
    std::lock_guard g(m_mutex);
    m_boardFaults.clear();
    refreshBoardLocked(false);
}

QList<BoardFault> Bench::boardFaults() const {
    std::lock_guard g(m_mutex);
    return m_boardFaults;
}

void Bench::setOlderRevision(bool older) {
    std::lock_guard g(m_mutex);
    m_olderRevision = older;
    m_models->board.setOlderRevision(older);
}

bool Bench::isOlderRevision() const {
    std::lock_guard g(m_mutex);
    return m_olderRevision;
}

bool Bench::setRomVersion(const QString& version) {
    if (!isKnownSoftwareVersion(version))
        return false;
    std::lock_guard g(m_mutex);
    m_romVersion = version;
    refreshBoardLocked(true);
    return true;
}

QString Bench::romVersion() const {
    std::lock_guard g(m_mutex);
    return m_romVersion;
}

qint32 Bench::peerSpeedLocked() const {
    if (m_cable == Cable::CashRegister)
        return m_cashRegister->speed();
    return m_models->board.isProgrammerBoard() ? kProgrammerBaud : kTestProcessorBaud;
}

void Bench::applyDriverWiringLocked() {
    applyDriverWiring(m_models->board, m_driverPoint.isEmpty() ? m_probePoint : m_driverPoint,
                      !m_probe->dtr());
}

void Bench::receive(const quint8* data, int n, qint32 baud) {
    std::lock_guard g(m_mutex);
    if (m_unplugged || n <= 0 || baud != peerSpeedLocked())
        return; // at a wrong speed the peer sees only framing errors
    applyDriverWiringLocked();
    const qint64 now = m_clock.nowUs();
    m_link->setNowUs(now);
    const bool type4 = m_models->board.isProgrammerBoard();
    for (int i = 0; i < n; ++i) {
        if (m_link->isCablePulled())
            break;
        if (m_cable == Cable::CashRegister)
            m_cashRegister->receiveByte(data[i], now);
        else if (type4)
            m_models->programmer.receiveByte(data[i], now);
        else
            m_models->testProcessor.receiveByte(data[i], now);
        m_link->afterByte();
        if (m_link->takeDeviceLost()) {
            m_unplugged = true;
            ++m_generation;
            m_owner = nullptr;
            m_output->clear();
            break;
        }
    }
}

bool Bench::peekOutput(qint64& availableAtUs) {
    std::lock_guard g(m_mutex);
    return !m_unplugged && m_output->peek(availableAtUs);
}

bool Bench::takeOutput(quint8& byte) {
    std::lock_guard g(m_mutex);
    return !m_unplugged && m_output->take(byte);
}

int Bench::takeAvailable(quint8* dst, int max, qint64 upToUs, qint64* nextAtUs,
                         quint64 generation) {
    std::lock_guard g(m_mutex);
    if (m_unplugged || (generation != AnyGeneration && generation != m_generation))
        return -1;
    const int n = m_output->takeAvailable(dst, max, upToUs);
    if (nextAtUs) {
        qint64 at = -1;
        *nextAtUs = m_output->peek(at) ? at : -1;
    }
    return n;
}

void Bench::purgeAvailable() {
    std::lock_guard g(m_mutex);
    m_output->dropAvailable(m_clock.nowUs());
}

void Bench::discardOutput() {
    std::lock_guard g(m_mutex);
    m_output->clear();
}

void Bench::setRts(bool on) {
    std::lock_guard g(m_mutex);
    m_probe->setRts(on);
}

void Bench::setDtr(bool on) {
    std::lock_guard g(m_mutex);
    m_probe->setDtr(on);
    applyDriverWiringLocked();
}

quint8 Bench::modemStatus() {
    std::lock_guard g(m_mutex);
    // A modem-status call costs a few microseconds on a real port; on the
    // virtual clock this is what lets a polling loop run out of its window.
    m_clock.wireTimeUs(kModemStatusCostUs);
    bool broken = false;
    for (const BoardFault& f : m_boardFaults)
        broken = broken || f.kind == BoardFaultKind::ProbeBroken;
    if (broken || m_probeBrokenByFault)
        m_probe->setBroken(broken);
    m_probeBrokenByFault = broken;
    if (!m_probePoint.isEmpty()) {
        const PointContext context{m_models->board.boardType(), m_models->board, m_models->dd5,
                                   m_boardFaults, *m_probe, m_clock.nowUs()};
        const PointSignal signal = pointSignal(m_probePoint, context);
        m_probe->setTipLevel(signal.level);
        m_probe->setPulseWiring(signal.pulse);
    }
    const TestProcessor::PulseRequest& pulses = m_models->testProcessor.lastPulses();
    qint64 widthUs = 0;
    qint64 startUs = 0;
    if (pulses.count > 0) {
        // Word 1 is the active time, in 0.2 ms units on the test processor
        // and 0.1 ms on DD5. The test processor waits word 3 units before the
        // pulse; DD5 starts at once, while its answer is still on the wire.
        const bool dd5 = m_models->board.isProgrammerBoard();
        const qint64 unit = dd5 ? 100 : 200;
        widthUs = qint64(pulses.words[1]) * unit;
        startUs = pulses.atUs + (dd5 ? 0 : qint64(pulses.words[3]) * unit);
    }
    return m_probe->modemStatusAt(m_clock.nowUs(), startUs, widthUs);
}

void Bench::setProbePoint(const QString& point) {
    std::lock_guard g(m_mutex);
    m_probePoint = point;
    applyDriverWiringLocked();
}

void Bench::setDriverPoint(const QString& point) {
    std::lock_guard g(m_mutex);
    m_driverPoint = point;
    applyDriverWiringLocked();
}

QString Bench::probePoint() const {
    std::lock_guard g(m_mutex);
    return m_probePoint;
}

bool Bench::claim(const void* line, quint64& generation) {
    std::lock_guard g(m_mutex);
    if (m_unplugged || (m_owner && m_owner != line))
        return false;
    m_owner = line;
    generation = m_generation;
    return true;
}

void Bench::release(const void* line) {
    std::lock_guard g(m_mutex);
    if (m_owner == line)
        m_owner = nullptr;
}

bool Bench::isAlive(quint64 generation) {
    std::lock_guard g(m_mutex);
    return !m_unplugged && generation == m_generation;
}

void Bench::setCable(Cable cable) {
    std::lock_guard g(m_mutex);
    if (m_cable == cable)
        return;
    m_cable = cable;
    m_output->clear();
    resetFramingLocked();
}

Bench::Cable Bench::cable() const {
    std::lock_guard g(m_mutex);
    return m_cable;
}

void Bench::setUnplugged(bool unplugged) {
    std::lock_guard g(m_mutex);
    if (unplugged == m_unplugged)
        return;
    m_unplugged = unplugged;
    if (unplugged) {
        ++m_generation; // handles open now are dead for good
        m_owner = nullptr;
        m_output->clear();
        resetFramingLocked();
    }
}

bool Bench::isUnplugged() const {
    std::lock_guard g(m_mutex);
    return m_unplugged;
}

void Bench::plugCable() {
    std::lock_guard g(m_mutex);
    m_link->plugCable();
    resetFramingLocked();
}

void Bench::pullCable() {
    std::lock_guard g(m_mutex);
    m_link->setNowUs(m_clock.nowUs());
    m_link->pullCable();
}

bool Bench::isCablePulled() const {
    std::lock_guard g(m_mutex);
    return m_link->isCablePulled();
}

void Bench::resetFramingLocked() {
    m_models->programmer.resetFraming();
    m_models->testProcessor.resetFraming();
    m_cashRegister->resetFraming();
    m_link->reset();
}

void Bench::addFault(const Fault& fault) {
    std::lock_guard g(m_mutex);
    m_faults->add(fault);
}

void Bench::clearFaults() {
    std::lock_guard g(m_mutex);
    m_faults->clear();
}

bool Bench::loadFaultScript(const QString& text, QString* error) {
    FaultScript::Contents contents;
    QString message;
    if (!FaultScript::read(text, &contents, &message)) {
        if (error)
            *error = message;
        return false;
    }
    std::lock_guard g(m_mutex);
    const BoardSetup& board = contents.board;
    for (qsizetype i = 0; i < board.faults.size(); ++i) {
        const QString reason = board.faults.at(i).checkFor(m_models->board.boardType());
        if (!reason.isEmpty()) {
            if (error)
                *error = QStringLiteral("Строка %1: %2.").arg(board.faultLines.at(i)).arg(reason);
            return false;
        }
    }
    m_faults->setRules(contents.rules);
    m_boardFaults = board.faults;
    m_olderRevision = board.olderRevision;
    m_romVersion =
        board.romVersion.isEmpty() ? QLatin1String(DefaultSoftwareVersion) : board.romVersion;
    if (board.registerSpeed != 0)
        m_cashRegister->setSpeed(board.registerSpeed);
    if (board.registerCable && m_cable != Cable::CashRegister) {
        m_cable = Cable::CashRegister;
        m_output->clear();
        resetFramingLocked();
    }
    refreshBoardLocked(true);
    if (error)
        error->clear();
    return true;
}

BoardModel& Bench::board() {
    return m_models->board;
}
TestProcessor& Bench::testProcessor() {
    return m_models->testProcessor;
}
Programmer& Bench::programmer() {
    return m_models->programmer;
}
Dd5Controller& Bench::dd5() {
    return m_models->dd5;
}
CashRegister& Bench::cashRegister() {
    return *m_cashRegister;
}
Probe& Bench::probe() {
    return *m_probe;
}
FaultInjector& Bench::faults() {
    return *m_faults;
}
OutputQueue& Bench::output() {
    return *m_output;
}

} // namespace sim
