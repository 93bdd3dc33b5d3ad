#include "ptybench.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace sim {

namespace {

constexpr size_t kMaxPending = 65536;

qint32 baudFromSpeed(speed_t s) {
    switch (s) {
    case B1200:
        return 1200;
    case B2400:
        return 2400;
    case B4800:
        return 4800;
    case B9600:
        return 9600;
    case B19200:
        return 19200;
    case B38400:
        return 38400;
    case B57600:
        return 57600;
    case B115200:
        return 115200;
    case B230400:
        return 230400;
    default:
        return 0;
    }
}

} // namespace

PtyBench::PtyBench(int boardType) : m_bench(boardType, m_clock) {}

PtyBench::~PtyBench() {
    stop();
}

bool PtyBench::start(QString* error) {
    if (isRunning())
        return true;
    termios tio{};
    cfmakeraw(&tio);
    cfsetispeed(&tio, B9600);
    cfsetospeed(&tio, B9600);
    char name[256] = {};
    if (openpty(&m_master, &m_slave, name, &tio, nullptr) != 0) {
        if (error)
            *error = QStringLiteral("Не удалось открыть псевдотерминал: %1")
                         .arg(QString::fromLocal8Bit(std::strerror(errno)));
        m_master = m_slave = -1;
        return false;
    }
    if (pipe(m_wake) != 0) {
        if (error)
            *error = QStringLiteral("Не удалось создать канал: %1")
                         .arg(QString::fromLocal8Bit(std::strerror(errno)));
        ::close(m_master);
        ::close(m_slave);
        m_master = m_slave = -1;
        return false;
    }
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_slavePath = QString::fromLocal8Bit(name);
    m_stop = false;
    m_pending.clear();
    m_pending.reserve(4096);
    m_thread = std::thread(&PtyBench::run, this);
    return true;
}

void PtyBench::stop() {
    if (m_thread.joinable()) {
        m_stop = true;
        const char c = 0;
        [[maybe_unused]] ssize_t w = ::write(m_wake[1], &c, 1);
        m_thread.join();
    }
    for (int* fd : {&m_master, &m_slave, &m_wake[0], &m_wake[1]}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
    m_slavePath.clear();
}

qint32 PtyBench::currentBaud() const {
    // On Linux the master reports the slave side's settings.
    termios tio{};
    if (tcgetattr(m_master, &tio) != 0)
        return 0;
    return baudFromSpeed(cfgetispeed(&tio));
}

void PtyBench::flush() {
    quint8 buf[4096];
    for (;;) {
        qint64 next = -1;
        const int n = m_bench.takeAvailable(buf, sizeof buf, m_clock.nowUs(), &next);
        if (n <= 0)
            break;
        if (m_pending.size() + static_cast<size_t>(n) <= kMaxPending)
            m_pending.insert(m_pending.end(), buf, buf + n);
    }
    while (!m_pending.empty()) {
        const ssize_t w = ::write(m_master, m_pending.data(), m_pending.size());
        if (w <= 0)
            break; // the reader is behind: keep the rest for the next round
        m_pending.erase(m_pending.begin(), m_pending.begin() + w);
    }
}

void PtyBench::run() {
    quint8 buf[4096];
    while (!m_stop) {
        int timeoutMs = 20;
        qint64 next = -1;
        if (m_bench.peekOutput(next)) {
            const qint64 waitUs = next - m_clock.nowUs();
            timeoutMs = waitUs <= 0 ? 0 : static_cast<int>(qMin<qint64>((waitUs + 999) / 1000, 20));
        }
        if (!m_pending.empty())
            timeoutMs = qMin(timeoutMs, 1);
        pollfd fds[2] = {{m_master, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        const int r = poll(fds, 2, timeoutMs);
        if (r < 0 && errno != EINTR)
            break;
        if (r > 0 && (fds[0].revents & POLLIN)) {
            const ssize_t n = ::read(m_master, buf, sizeof buf);
            if (n > 0)
                m_bench.receive(buf, static_cast<int>(n), currentBaud());
        }
        flush();
    }
}

} // namespace sim
