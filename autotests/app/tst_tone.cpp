#include "app/widgetprompts.h"
#include "core/tone.h"

#include <QElapsedTimer>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

using namespace kia;

namespace {

/// Sign changes between non-zero samples: twice the cycles a sine makes.
int zeroCrossings(const std::vector<std::int16_t>& s) {
    int count = 0;
    int sign = 0;
    for (std::int16_t v : s) {
        const int now = (v > 0) - (v < 0);
        if (now != 0 && sign != 0 && now != sign)
            ++count;
        if (now != 0)
            sign = now;
    }
    return count;
}

int peakOf(const std::vector<std::int16_t>& s, std::size_t from, std::size_t to) {
    int peak = 0;
    for (std::size_t i = from; i < to && i < s.size(); ++i)
        peak = std::max(peak, std::abs(int(s[i])));
    return peak;
}

} // namespace

class TestTone : public QObject {
    Q_OBJECT
private slots:
    void render_data();
    void render();
    void beepDoesNotBlock();
};

void TestTone::render_data() {
    QTest::addColumn<int>("hz");
    QTest::addColumn<int>("ms");
    QTest::addColumn<int>("rate");
    QTest::addColumn<double>("amplitude");
    QTest::addColumn<int>("samples");
    QTest::addColumn<int>("peak");       // the level asked for, in sample units
    QTest::addColumn<double>("reached"); // share of it the loudest sample must reach

    QTest::newRow("error beep, 8000 Hz") << 600 << 30 << 8000 << 0.5 << 240 << 16384 << 0.95;
    QTest::newRow("error beep, 44100 Hz") << 600 << 30 << 44100 << 0.5 << 1323 << 16384 << 0.99;
    QTest::newRow("full scale") << 600 << 30 << 48000 << 1.0 << 1440 << 32767 << 0.99;
    QTest::newRow("above full scale clamps") << 600 << 30 << 48000 << 4.0 << 1440 << 32767 << 0.99;
    QTest::newRow("1 kHz, 100 ms, 22050 Hz")
        << 1000 << 100 << 22050 << 0.8 << 2205 << 26214 << 0.99;
    QTest::newRow("3 ms: the fades meet") << 600 << 3 << 48000 << 0.5 << 144 << 16384 << 0.3;
    QTest::newRow("0 ms: silence") << 600 << 0 << 8000 << 0.5 << 0 << 0 << 0.0;
    QTest::newRow("0 Hz: silence") << 0 << 30 << 8000 << 0.5 << 0 << 0 << 0.0;
    QTest::newRow("at half the rate") << 4000 << 30 << 8000 << 0.5 << 0 << 0 << 0.0;
    QTest::newRow("no rate") << 600 << 30 << 0 << 0.5 << 0 << 0 << 0.0;
    QTest::newRow("shorter than a sample") << 600 << 1 << 500 << 0.5 << 0 << 0 << 0.0;
}

void TestTone::render() {
    QFETCH(int, hz);
    QFETCH(int, ms);
    QFETCH(int, rate);
    QFETCH(double, amplitude);
    QFETCH(int, samples);
    QFETCH(int, peak);
    QFETCH(double, reached);

    const std::vector<std::int16_t> tone = renderTone(hz, ms, rate, amplitude);
    QCOMPARE(int(tone.size()), samples);
    if (samples == 0)
        return;

    // Pitch: a sine crosses zero twice a cycle.
    const double expectedCrossings = 2.0 * hz * ms / 1000.0;
    QVERIFY2(std::abs(zeroCrossings(tone) - expectedCrossings) <= 2.0,
             qPrintable(QStringLiteral("%1 zero crossings, expected about %2")
                            .arg(zeroCrossings(tone))
                            .arg(expectedCrossings)));

    // Level: reaches the amplitude asked for, never beyond it (nor to -32768).
    const int loudest = peakOf(tone, 0, tone.size());
    QVERIFY2(loudest <= peak && loudest >= reached * peak,
             qPrintable(QStringLiteral("peak %1 of %2").arg(loudest).arg(peak)));

    // No sample wrapped around: neighbours differ by no more than the sine's
    // steepest slope allows (a wrap jumps by about 65536).
    const double maxStep = 2.0 * std::numbers::pi * hz / rate * peak + 2.0;
    for (std::size_t i = 1; i < tone.size(); ++i)
        QVERIFY2(std::abs(int(tone[i]) - int(tone[i - 1])) <= maxStep,
                 qPrintable(QString::number(i)));

    // Fades: silent at both ends and, within the first and last quarter of the
    // 2 ms fade, no louder than a quarter of the peak.
    QCOMPARE(tone.front(), 0);
    QCOMPARE(tone.back(), 0);
    const std::size_t fade =
        std::min<std::size_t>(std::size_t(rate) * ToneFadeMs / 1000, (tone.size() - 1) / 2);
    const std::size_t edge = fade / 4;
    QVERIFY(edge > 0);
    QVERIFY(peakOf(tone, 0, edge) <= peak / 4 + 1);
    QVERIFY(peakOf(tone, tone.size() - edge, tone.size()) <= peak / 4 + 1);
}

void TestTone::beepDoesNotBlock() {
    // Without a sound device the beep falls back to the bell at once; with one
    // it plays 30 ms. Either way the UI thread is back at once; the bound is
    // loose so that a busy machine cannot fail it, and still catches a beep
    // that waits on a sound device that does not answer.
    WidgetPrompts prompts;
    QElapsedTimer timer;
    timer.start();
    prompts.beep(600, 30);
    QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
}

QTEST_MAIN(TestTone)
#include "tst_tone.moc"
