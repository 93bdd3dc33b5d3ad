#pragma once

#include <QLockFile>
#include <QString>
#include <QStringList>
#include <memory>

namespace kia {

/// Keeps a second workstation from starting while one runs, whatever board
/// variant either was started for: the running copy holds a lock file in the
/// user's runtime folder for its whole life. A copy that ended without
/// releasing it (a crash) leaves a stale lock that the next start takes over.
///
/// A folder where no lock can be made (not writable, not a folder, after su)
/// is skipped for the next per-user one; only a lock held by a running copy
/// refuses the start. Owned by main(); UI thread only.
class SingleCopyGuard {
public:
    enum class Outcome {
        Acquired,        ///< this process holds the lock
        AnotherCopyRuns, ///< a running copy holds it: end the start quietly
        Unavailable,     ///< no folder takes a lock: start anyway, problem() says why
    };

    /// `folder` empty: the default folders (defaultFolders()), else that one only.
    explicit SingleCopyGuard(const QString& folder = QString());
    /// The folders to try, in order.
    explicit SingleCopyGuard(const QStringList& folders);
    ~SingleCopyGuard();

    Outcome acquire();
    /// The lock file of the first folder, or the one held after acquire().
    QString lockPath() const { return m_path; }
    /// After Unavailable: every lock file tried and why it failed, in Russian.
    QString problem() const { return m_problem; }

    /// The user's runtime folder (XDG_RUNTIME_DIR) when there is one, then a
    /// per-user folder in the temp folder, then the user's cache folder.
    static QStringList defaultFolders();

private:
    QStringList m_folders;
    QString m_path;
    QString m_problem;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace kia
