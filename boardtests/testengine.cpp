#include "testengine.h"

#include "core/benchcontext.h"
#include "core/clock.h"
#include "core/userprompts.h"
#include "testenginehost.h"
#include "testprocedure.h"
#include "testresults.h"

namespace kia {

namespace {
constexpr int kFirstTickMs = 10;
constexpr int kAutoRepeatMs = 500;
constexpr int kBeepHz = 600;
constexpr int kBeepMs = 30;
constexpr quint32 kBlockSize = 128;
} // namespace

TestEngine::TestEngine(BenchContext& ctx, TestEngineHost& host, int testNumber,
                       const QString& controllerProgram, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_host(host), m_testNumber(testNumber),
      m_procedure(makeTestProcedure(testNumber, ctx, controllerProgram)),
      m_resultText(QStringLiteral("Тест прошел !")) {
    if (m_procedure) {
        m_stepCount = m_procedure->stepCount();
        m_text = m_procedure->progressText();
    }
}

TestEngine::~TestEngine() = default;

QString TestEngine::repeatButton() {
    return QStringLiteral("Повтор");
}
QString TestEngine::exitButton() {
    return QStringLiteral("Выход");
}
QString TestEngine::timerErrorText() {
    return QStringLiteral("Ошибка инициализации таймера !");
}

bool TestEngine::diagnosticsActive() const {
    return m_ctx.diagnosticsActive;
}

void TestEngine::start() {
    if (m_state != State::Created)
        return;
    if (!m_procedure) {
        // Not a test of this engine: nothing to run, the dialog closes as if left.
        end(ResultExit);
        return;
    }
    m_state = State::Running;
    m_step = 0;
    emit progressRangeChanged(m_stepCount);
    emit progressChanged(0);
    emit textChanged(m_text);
    m_repeatEnabled = false;
    emit repeatEnabledChanged(false);
    restartTimer(kFirstTickMs);
}

void TestEngine::tick() {
    if (!m_timerRunning || (m_state != State::Running && m_state != State::Completed))
        return;
    const qint64 dueUs = m_nextDueUs;
    m_restartedInTick = false;

    if (m_autoRepeat) {
        end(ResultRepeat);
        return;
    }
    if (m_state != State::Running)
        return;
    if (m_firstTick) {
        m_firstTick = false;
        restartTimer(m_procedure->period());
    }
    // The tick after the last step shows the verdict.
    if (m_step < m_stepCount)
        m_procedure->step(*this);
    else
        complete();

    // A periodic timer that nobody restarted fires one period after the tick
    // was due, or one period from now when the step overran it.
    if (m_timerRunning && !m_restartedInTick) {
        const qint64 nowUs = m_ctx.clock.nowUs();
        m_nextDueUs = dueUs + qint64(m_interval) * 1000;
        if (m_nextDueUs < nowUs)
            m_nextDueUs = nowUs + qint64(m_interval) * 1000;
    }
}

void TestEngine::complete() {
    stopTimer();
    m_state = State::Completed;
    m_reachedEnd = true;
    setText(m_failure ? QStringLiteral("Тест не прошел !") : m_resultText);
    m_ctx.prompts.systemSound(SystemSound::Asterisk);
    m_repeatEnabled = true;
    emit repeatEnabledChanged(true);
    emit completed(m_failure);
    if (diagnosticsActive()) {
        m_autoRepeat = true;
        restartTimer(kAutoRepeatMs);
    }
}

void TestEngine::pressRepeat() {
    if (m_repeatEnabled && m_state != State::Ended)
        end(ResultRepeat);
}

void TestEngine::pressExit() {
    if (m_state != State::Ended)
        end(ResultExit);
}

void TestEngine::end(int result) {
    if (m_state == State::Ended)
        return;
    stopTimer();
    m_state = State::Ended;
    m_result = result;
    emit finished(result);
}

int TestEngine::msUntilNextTick() const {
    if (!m_timerRunning)
        return -1;
    const qint64 left = m_nextDueUs - m_ctx.clock.nowUs();
    return left <= 0 ? 0 : int((left + 999) / 1000);
}

void TestEngine::setStep(int step) {
    m_step = step;
    emit progressChanged(m_step);
}

void TestEngine::setStepCount(int count) {
    m_stepCount = count;
    emit progressRangeChanged(m_stepCount);
}

void TestEngine::advance() {
    setStep(m_step + 1);
}

void TestEngine::restartTimer(int ms) {
    m_timerRunning = true;
    m_interval = ms;
    m_nextDueUs = m_ctx.clock.nowUs() + qint64(ms) * 1000;
    m_restartedInTick = true;
    emit timerRestarted(ms);
}

void TestEngine::stopTimer() {
    if (!m_timerRunning)
        return;
    m_timerRunning = false;
    emit timerStopped();
}

void TestEngine::setText(const QString& text) {
    if (text == m_text)
        return;
    m_text = text;
    emit textChanged(m_text);
}

void TestEngine::playErrorSound() {
    m_ctx.prompts.systemSound(SystemSound::Hand);
}

bool TestEngine::beginErrorDisplay() {
    stopTimer();
    m_failure = true;
    playErrorSound();
    if (diagnosticsActive()) {
        end(ResultDiagnostics);
        return false;
    }
    return true;
}

void TestEngine::askDiagnostics(const QString& title, const QString& text, int yesResult) {
    stopTimer();
    m_failure = true;
    if (diagnosticsActive() || m_ctx.fullCheckRunning) {
        end(yesResult);
        return;
    }
    m_ctx.prompts.beep(kBeepHz, kBeepMs);
    const PromptAnswer a = m_ctx.prompts.question(PromptIcon::Stop, title, text, PromptAnswer::Yes);
    end(a == PromptAnswer::Yes ? yesResult : ResultExit);
}

bool TestEngine::runMemoryErrorLoop(MemoryErrorKind kind, int pattern, quint32 address,
                                    quint32 lastBlock, int continueMs) {
    if (!beginErrorDisplay())
        return false;
    // The indicator displays take the indicator number as their "block".
    const bool indicatorCells =
        kind == MemoryErrorKind::DisplayMemory || kind == MemoryErrorKind::CharacterMemory;
    quint32 block = indicatorCells ? address : address & ~(kBlockSize - 1);
    for (;;) {
        const int r = m_host.ShowMemoryError(kind, pattern, block);
        if (r == ResultRepeat && block < lastBlock) {
            block += kBlockSize;
            continue;
        }
        if (r == ResultRepeat || r == ResultNextStep) {
            restartTimer(continueMs);
            return true;
        }
        // "Выход", "Диагностика", a link failure, or anything unexpected.
        end(r == ResultDiagnostics || r == ResultLinkFailure ? r : ResultExit);
        return false;
    }
}

} // namespace kia
