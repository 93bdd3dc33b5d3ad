#include "backupfile.h"

#include "core/benchcontext.h"

#include <QDir>
#include <QFileInfo>

namespace kia {

QString backupPath(const BenchContext& ctx, const QString& kind, const QString& extension,
                   const QDateTime& localTime) {
    const QString folder = ctx.workingFolder + QStringLiteral("backups");
    if (!QDir().mkpath(folder))
        return {};
    const QString stem = folder + QLatin1Char('/') + kind + QLatin1Char('-') +
                         localTime.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString path = stem + extension;
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = stem + QLatin1Char('-') + QString::number(n) + extension;
    return path;
}

bool isBackupPath(const BenchContext& ctx, const QString& path) {
    if (path.isEmpty())
        return false;
    const QString folder =
        QFileInfo(ctx.workingFolder + QStringLiteral("backups")).absoluteFilePath();
    return QFileInfo(QFileInfo(path).absolutePath()).absoluteFilePath() == folder;
}

} // namespace kia
