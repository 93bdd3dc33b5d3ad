#include "diagnhosts.h"

#include "app/versionlist.h"
#include "boardtests/memoryerrormodel.h"
#include "boardtests/testdriver.h"
#include "core/benchcontext.h"

#include <QDir>
#include <QFile>

namespace kia {

bool QuietTestHost::ShowStartDialog(int, bool& dontShowAgain) {
    dontShowAgain = false;
    return true;
}

bool QuietTestHost::ChooseSoftwareVersion(BenchContext& ctx) {
    QList<VersionEntry> fromFile;
    QFile file(QDir(ctx.workingFolder).filePath(QStringLiteral("versions.txt")));
    if (file.open(QIODevice::ReadOnly))
        fromFile = parseVersionList(file.readAll());
    ctx.chosenVersion = versionChoices(fromFile).constFirst().value;
    return true;
}

int QuietTestHost::RunTestDialog(TestEngine& engine) { return runTestToEnd(engine, m_ctx.clock); }

int QuietTestHost::ShowMemoryError(MemoryErrorKind kind, int pattern, quint32 blockStart) {
    MemoryErrorModel model(m_ctx, kind, pattern, blockStart);
    return showMemoryErrorWith(model, [](MemoryErrorModel&) {
        return MemoryErrorModel::DiagnosticsResult;
    });
}

PointsFileBoard::PointsFileBoard(const QString& path, int boardType) : m_boardType(boardType) {
    m_havePoints = LoadPointsFile(path, boardType, m_points);
}

bool PointsFileBoard::MarkPoint(const QString& name) {
    return !m_havePoints || FindPoint(m_points, m_boardType, name) >= 0;
}

QString workingDataFile(const BenchContext& ctx, const QString& ext) {
    const QString folder = ctx.workingFolder.isEmpty() ? QDir::currentPath() + QLatin1Char('/')
                                                       : ctx.workingFolder;
    return folder + QStringLiteral("kia_nelta2") + ext;
}

} // namespace kia
