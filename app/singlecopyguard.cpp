#include "singlecopyguard.h"

#include "core/board.h"

#include <QDir>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace kia {

SingleCopyGuard::SingleCopyGuard(const QString& folder) {
    const QString dir = folder.isEmpty() ? defaultFolder() : folder;
    m_path = QDir(dir).filePath(applicationTitle() + QStringLiteral(".lock"));
}

SingleCopyGuard::~SingleCopyGuard() = default;

QString SingleCopyGuard::defaultFolder() {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(QString::fromLocal8Bit(runtime)).exists())
        return QString::fromLocal8Bit(runtime);
        // The shared temp folder: one lock per user.
#ifdef Q_OS_UNIX
    const QString user = QString::number(::getuid());
#else
    const QString user = qEnvironmentVariable("USERNAME");
#endif
    const QString dir = QDir::temp().filePath(QStringLiteral("kia_nelta2-") + user);
    QDir().mkpath(dir);
    return dir;
}

bool SingleCopyGuard::acquire() {
    if (m_lock && m_lock->isLocked())
        return true;
    m_lock = std::make_unique<QLockFile>(m_path);
    m_lock->setStaleLockTime(0); // stale only when its owner is gone
    return m_lock->tryLock(0);
}

} // namespace kia
