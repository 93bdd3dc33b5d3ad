// kia-startup-bench: how long the workstation takes from start-up to a painted
// main window, on the simulated bench, for board types 0 and 4. Runs offscreen
// in a scratch copy of the data folder; prints the first (cold) run and the
// median of the following ones.
#include "app/appfont.h"
#include "app/mainframe.h"
#include "app/simulatedbench.h"
#include "core/benchcontext.h"
#include "core/clock.h"
#include "core/scriptedprompts.h"
#include "view/diagnview.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace kia;

namespace {

QElapsedTimer g_process;
/// Milliseconds from the process start to the first painted main window.
double g_firstPaint = -1;

/// Notes the first paint of a widget.
class PaintWatch : public QObject {
public:
    bool painted = false;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(o, e);
    }
};

/// One start-up: context, simulated bench, main frame, first paint of the view.
double startOnce(int boardType, bool& ok) {
    QElapsedTimer timer;
    timer.start();
    RealClock clock;
    ScriptedPrompts prompts;
    SimulatedBench simulated;
    BenchContext ctx(clock, prompts);
    ctx.boardType = boardType;
    simulated.attach(ctx);
    double ms = -1;
    {
        CMainFrame frame(ctx);
        ok = frame.Create();
        if (!ok) {
            for (const PromptEvent& e : prompts.boxes())
                std::fprintf(stderr, "%s\n", qPrintable(e.text));
            return -1;
        }
        PaintWatch watch;
        frame.view()->viewport()->installEventFilter(&watch);
        frame.ActivateFrame();
        while (!watch.painted && timer.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        ms = timer.nsecsElapsed() / 1e6;
        ok = watch.painted;
        if (g_firstPaint < 0)
            g_firstPaint = g_process.nsecsElapsed() / 1e6;
    }
    QFile::remove(applicationTitle() + QStringLiteral(".cfg"));
    return ms;
}

void quietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    // The offscreen platform warns about every fixed-size widget; not our business here.
    if (text.contains(QStringLiteral("propagateSizeHints")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
}

} // namespace

int main(int argc, char** argv) {
    g_process.start();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietOffscreen);
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(2, std::atoi(argv[1])) : 7;

    const QString data = QStringLiteral(KIA_DATA_DIR);
    QTemporaryDir work;
    if (!QFile::copy(data + QStringLiteral("/kia_nelta2.dot"),
                     work.filePath(QStringLiteral("kia_nelta2.dot")))) {
        std::fprintf(stderr, "no points file in %s\n", qPrintable(data));
        return 1;
    }
    QDir::setCurrent(work.path());
    if (!RegisterMonoFont()) {
        std::fprintf(stderr, "the bundled font could not be registered\n");
        return 1;
    }
    std::printf("application and font ready: %.1f ms\n", g_process.nsecsElapsed() / 1e6);

    bool allOk = true;
    bool firstOfProcess = true;
    for (int boardType : {0, 4}) {
        std::vector<double> times;
        for (int i = 0; i < runs; ++i) {
            bool ok = false;
            times.push_back(startOnce(boardType, ok));
            allOk = allOk && ok;
        }
        const double first = times.front();
        if (firstOfProcess) {
            std::printf("process start to the first painted main window: %.1f ms\n", g_firstPaint);
            firstOfProcess = false;
        }
        std::vector<double> rest(times.begin() + 1, times.end());
        std::sort(rest.begin(), rest.end());
        std::printf("board type %d: first start %.1f ms, median of %zu more %.1f ms, max %.1f ms\n",
                    boardType, first, rest.size(), rest[rest.size() / 2], rest.back());
    }
    return allOk ? 0 : 1;
}
