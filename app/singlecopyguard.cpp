#include "singlecopyguard.h"

#include "core/board.h"

#include <QDir>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace kia {

namespace {

QString lockFileIn(const QString& folder) {
    return QDir(folder).filePath(applicationTitle() + QStringLiteral(".lock"));
}

QString reasonOf(QLockFile::LockError e) {
    return e == QLockFile::PermissionError ? QStringLiteral("нет прав на запись")
                                           : QStringLiteral("ошибка создания файла");
}

} // namespace

SingleCopyGuard::SingleCopyGuard(const QString& folder)
    : SingleCopyGuard(folder.isEmpty() ? defaultFolders() : QStringList{folder}) {}

SingleCopyGuard::SingleCopyGuard(const QStringList& folders) : m_folders(folders) {
    if (!m_folders.isEmpty())
        m_path = lockFileIn(m_folders.constFirst());
}

SingleCopyGuard::~SingleCopyGuard() = default;

QStringList SingleCopyGuard::defaultFolders() {
    QStringList folders;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists())
        folders << runtime;
    // The shared temp folder: one lock per user.
#ifdef Q_OS_UNIX
    const QString user = QString::number(::getuid());
#else
    const QString user = qEnvironmentVariable("USERNAME");
#endif
    folders << QDir::temp().filePath(QStringLiteral("kia_nelta2-") + user);
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (!cache.isEmpty())
        folders << QDir(cache).filePath(applicationTitle());
    return folders;
}

SingleCopyGuard::Outcome SingleCopyGuard::acquire() {
    if (m_lock && m_lock->isLocked())
        return Outcome::Acquired;
    m_lock.reset();
    QStringList failures;
    for (const QString& folder : std::as_const(m_folders)) {
        QDir().mkpath(folder);
        auto lock = std::make_unique<QLockFile>(lockFileIn(folder));
        lock->setStaleLockTime(0); // stale only when its owner is gone
        if (lock->tryLock(0)) {
            m_path = lock->fileName();
            m_lock = std::move(lock);
            m_problem.clear();
            return Outcome::Acquired;
        }
        if (lock->error() == QLockFile::LockFailedError) {
            m_path = lock->fileName();
            return Outcome::AnotherCopyRuns;
        }
        failures << QStringLiteral("%1: %2").arg(lock->fileName(), reasonOf(lock->error()));
    }
    m_problem = QStringLiteral("не удалось создать файл блокировки (%1); запуск без проверки "
                               "второй копии программы.")
                    .arg(failures.isEmpty() ? QStringLiteral("нет папки") : failures.join(u"; "));
    return Outcome::Unavailable;
}

} // namespace kia
