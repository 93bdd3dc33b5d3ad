#include "consolesession.h"

#include "app/versionlist.h"
#include "boardtests/startdialogtexts.h"
#include "boardtests/testdriver.h"
#include "boardtests/testengine.h"
#include "core/benchcontext.h"
#include "core/board.h"
#include "core/displaytext.h"
#include "core/userprompts.h"

#include <QDir>
#include <QFile>

namespace kia {

bool consoleStartDialog(QTextStream& err, int boardType) {
    err << "[" << startdialog::title() << "] " << startdialog::instructionText(boardType) << "\n";
    err.flush();
    return true;
}

bool ConsoleSessionHost::ShowStartDialog(int boardType, bool& dontShowAgain) {
    dontShowAgain = false;
    return consoleStartDialog(m_sessionErr, boardType);
}

int ConsoleSessionHost::RunTestDialog(TestEngine& engine) {
    return runTestToEnd(engine, engine.context().clock);
}

bool consoleChooseVersion(BenchContext& ctx, QTextStream& err, bool haveVersion,
                          const QString& version) {
    QList<VersionEntry> fromFile;
    QFile file(QDir(ctx.workingFolder).filePath(QStringLiteral("versions.txt")));
    if (file.open(QIODevice::ReadOnly)) {
        fromFile = parseVersionList(file.readAll());
    } else {
        // As the workstation's version choice says it.
        ctx.prompts.beep(600, 30);
        ctx.prompts.message(PromptIcon::Error, applicationTitle(),
                            QStringLiteral("Ошибка чтения файла \"versions.txt\" !"));
    }
    const QList<VersionEntry> choices = versionChoices(fromFile);
    VersionEntry chosen = choices.constFirst();
    if (haveVersion) {
        chosen = VersionEntry{version, version};
        for (const VersionEntry& e : choices) {
            if (e.name == version) {
                chosen = e;
                break;
            }
        }
    }
    ctx.chosenVersion = chosen.value;
    err << QStringLiteral("Версия ПО ККМ: ") << shortenForDisplay(chosen.name) << " ("
        << shortenForDisplay(chosen.value) << ")\n";
    err.flush();
    return true;
}

} // namespace kia
