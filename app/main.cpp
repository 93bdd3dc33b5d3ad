// The workstation: single copy, font, board choice, main window.
#include "app/appfont.h"
#include "app/mainframe.h"
#include "app/presentdlg.h"
#include "app/simulatedbench.h"
#include "app/singlecopyguard.h"
#include "app/widgetprompts.h"
#include "core/benchcontext.h"
#include "core/board.h"
#include "core/clock.h"

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

using namespace kia;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(applicationTitle());
    QApplication::setApplicationVersion(QStringLiteral("2.00"));

    QCommandLineParser parser;
    parser.setApplicationDescription(productCaption());
    parser.addHelpOption();
    const QCommandLineOption simOption(
        QStringLiteral("sim"),
        QStringLiteral("Put every COM port on the simulated bench (demo, training, no hardware)."));
    const QCommandLineOption boardOption(
        QStringLiteral("board"),
        QStringLiteral("Start for board type <n> (0..4) without the board choice dialog."),
        QStringLiteral("n"));
    parser.addOption(simOption);
    parser.addOption(boardOption);
    parser.process(app);

    int boardType = -1;
    if (parser.isSet(boardOption)) {
        bool ok = false;
        boardType = parser.value(boardOption).toInt(&ok);
        if (!ok || boardType < 0 || boardType >= BoardTypeCount) {
            std::fprintf(stderr, "kia_nelta2: --board takes a board type 0..4\n");
            return 2;
        }
    }

    // Another copy running, whatever its board: end at once and quietly.
    SingleCopyGuard guard;
    if (!guard.acquire())
        return 0;

    RealClock clock;
    WidgetPrompts prompts;
    if (!RegisterMonoFont()) {
        prompts.beep(600, 30);
        prompts.message(PromptIcon::Error, productCaption(),
                        QStringLiteral("Ошибка установки шрифта \"Courier New\" !"));
        return 1;
    }

    if (boardType < 0) {
        CPresentDlg choice;
        const int result = choice.exec();
        if (result < CPresentDlg::ResultBase)
            return 0;
        boardType = result - CPresentDlg::ResultBase;
    }

    // The simulated bench must outlive the context, whose link may hold a line to it.
    SimulatedBench simulated;
    BenchContext ctx(clock, prompts);
    ctx.boardType = boardType;
    ctx.ports.loadEnvironment();
    simulated.attach(ctx, parser.isSet(simOption));

    CMainFrame frame(ctx);
    prompts.setParentWindow(&frame);
    if (!frame.Create())
        return 1;
    frame.ActivateFrame();
    return app.exec();
}
