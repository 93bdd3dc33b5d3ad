// Loads the last scenario of a 1 MB scenario file, as a failed test at the
// end of a long file would, and prints the times. The file is made here:
// fault-type entries, then scenarios of 40 steps each with point and text
// steps, continuations and tests, for every board type.
#include "core/cp1251.h"
#include "diagn/scenario.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

QByteArray scenarioFile(int targetBytes, int& scenarios) {
    QString text;
    for (int i = 0; i < 30; ++i)
        text += QStringLiteral("IDIAGN31 T-Неисправность №%1;D1-S%1\n").arg(i);
    scenarios = 0;
    while (text.size() < targetBytes) {
        text += QStringLiteral("PDIAGN31 S%1\n").arg(scenarios++);
        for (int s = 1; s <= 40; ++s) {
            if (s % 13 == 0) {
                text += QStringLiteral("%1: TEST_RAM\n").arg(s);
                continue;
            }
            text += QStringLiteral("%1: P-DD3/%2;T-Проверьте уровень сигнала на выводе %2\\\n"
                                   "      микросхемы DD3 логическим пробником;PASS-%3;FAIL0-%4;"
                                   "FAIL1-%5\n")
                        .arg(s).arg(s % 40 + 1).arg(s < 40 ? s + 1 : 0)
                        .arg(std::min(40, s * 2)).arg(std::min(40, s + 3));
        }
        text += QStringLiteral("END\n\n");
    }
    return kia::toCp1251(text);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    int scenarios = 0;
    const QByteArray bytes = scenarioFile(1 << 20, scenarios);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kia_nelta2.dgn"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        return 2;
    f.close();
    const QString last = QStringLiteral("S%1").arg(scenarios - 1);

    std::vector<double> ms;
    for (int run = 0; run < 20; ++run) {
        kia::Scenario s;
        QElapsedTimer t;
        t.start();
        const bool ok = s.Load(path, last, kia::KindProbe, run % 5);
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
        if (!ok || s.NodeCount() < 30) {
            std::fprintf(stderr, "load of %s failed\n", qPrintable(last));
            return 1;
        }
    }
    std::sort(ms.begin(), ms.end());
    std::printf("file %lld bytes, %d scenarios; last scenario %s: median %.2f ms, worst %.2f ms "
                "over %zu loads\n",
                static_cast<long long>(bytes.size()), scenarios, qPrintable(last),
                ms[ms.size() / 2], ms.back(), ms.size());
    return ms[ms.size() / 2] < 20.0 ? 0 : 1;
}
