#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace kia {

/// Keeps a second workstation from starting while one runs, whatever board
/// variant either was started for: the running copy holds a lock file in the
/// user's runtime folder for its whole life. A copy that ended without
/// releasing it (a crash) leaves a stale lock that the next start takes over.
/// Owned by main(); UI thread only.
class SingleCopyGuard {
public:
    /// `folder` empty: the user's runtime folder (XDG_RUNTIME_DIR), else the temp folder.
    explicit SingleCopyGuard(const QString& folder = QString());
    ~SingleCopyGuard();

    /// True when this process now owns the lock; false while another copy runs.
    bool acquire();
    QString lockPath() const { return m_path; }

    /// The folder used when none is given.
    static QString defaultFolder();

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace kia
