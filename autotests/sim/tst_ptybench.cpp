// The bench on a pseudo-terminal: frames through a plain descriptor and
// through the real serial port backend.

#include "simtestutil.h"

#include "sim/boardmodel.h"
#include "sim/ptybench.h"

#include <QDeadlineTimer>
#include <QSerialPort>
#include <QTest>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using namespace simtest;

namespace {

// Reads until `want` bytes came or the deadline passed.
QByteArray readFd(int fd, int want, int ms) {
    QByteArray got;
    QDeadlineTimer deadline(ms);
    while (got.size() < want && !deadline.hasExpired()) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(deadline.remainingTime())) <= 0)
            break;
        char buf[256];
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n <= 0)
            break;
        got.append(buf, n);
    }
    return got;
}

bool setRaw(int fd, speed_t speed) {
    termios tio{};
    if (tcgetattr(fd, &tio) != 0)
        return false;
    cfmakeraw(&tio);
    cfsetispeed(&tio, speed);
    cfsetospeed(&tio, speed);
    return tcsetattr(fd, TCSANOW, &tio) == 0;
}

} // namespace

class PtyBenchTest : public QObject {
    Q_OBJECT

private slots:
    void roundTripThroughADescriptor();
    void roundTripThroughQSerialPort();
    void stopIsClean();
};

void PtyBenchTest::roundTripThroughADescriptor() {
    sim::PtyBench pty(0);
    QString error;
    QVERIFY2(pty.start(&error), qPrintable(error));
    QVERIFY(pty.slavePath().startsWith(QLatin1String("/dev/")));
    {
        auto lock = pty.bench().lock();
        pty.bench().board().port(3).latch = 0x53;
    }
    const int fd = ::open(pty.slavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    QVERIFY(fd >= 0);
    QVERIFY(setRaw(fd, B9600));
    const QByteArray frame = commandFrame(0, 2, 3);
    QCOMPARE(::write(fd, frame.constData(), frame.size()), ssize_t(frame.size()));
    QCOMPARE(readFd(fd, 3, 3000).toHex(), (char(ackOf(frame)) + hex("5353")).toHex());

    // The speed the descriptor is set to is the speed the bench hears: the
    // test processor does not understand 115200 baud.
    QVERIFY(setRaw(fd, B115200));
    QCOMPARE(::write(fd, frame.constData(), frame.size()), ssize_t(frame.size()));
    QCOMPARE(readFd(fd, 1, 300), QByteArray());
    QVERIFY(setRaw(fd, B9600));
    QCOMPARE(::write(fd, frame.constData(), frame.size()), ssize_t(frame.size()));
    QCOMPARE(readFd(fd, 3, 3000).toHex(), (char(ackOf(frame)) + hex("5353")).toHex());
    ::close(fd);
}

void PtyBenchTest::roundTripThroughQSerialPort() {
    sim::PtyBench pty(4);
    QVERIFY(pty.start());
    QSerialPort port(pty.slavePath());
    QVERIFY2(port.open(QIODevice::ReadWrite), qPrintable(port.errorString()));
    QVERIFY(port.setBaudRate(115200));
    const QByteArray request = longFrame(32, hex("00"));
    QCOMPARE(port.write(request), qint64(request.size()));
    QVERIFY(port.waitForBytesWritten(1000));
    QByteArray reply;
    QDeadlineTimer deadline(3000);
    while (reply.size() < 5 && !deadline.hasExpired()) {
        if (port.bytesAvailable() == 0 && !port.waitForReadyRead(100))
            continue;
        reply += port.readAll();
    }
    QCOMPARE(reply.toHex(), longReply(request, hex("2000")).toHex());
    auto lock = pty.bench().lock();
    QVERIFY(pty.bench().dd5().isHeld());
}

void PtyBenchTest::stopIsClean() {
    sim::PtyBench pty(1);
    QVERIFY(pty.start());
    const QString path = pty.slavePath();
    QVERIFY(pty.isRunning());
    pty.stop();
    QVERIFY(!pty.isRunning());
    QVERIFY(pty.slavePath().isEmpty());
    QVERIFY(pty.start()); // and again
    QVERIFY(!pty.slavePath().isEmpty());
}

QTEST_GUILESS_MAIN(PtyBenchTest)
#include "tst_ptybench.moc"
