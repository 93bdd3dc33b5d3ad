#pragma once

#include <QHash>
#include <QString>
#include <functional>

namespace kia {

/// Where the commands of the main window go. The frame handles its own
/// commands (COM port, instrument, picture mode, bars, colour, about, exit);
/// every test, scan, diagnostics, service and help command is dispatched here
/// to the handler that its subsystem registers at start-up. A command without
/// a handler tells the engineer that it is not available yet.
/// Owned by the main frame; UI thread only.
class CommandRouter {
public:
    using Handler = std::function<void()>;

    /// Installs (or, with an empty handler, removes) the handler of `id`.
    void setHandler(int id, Handler handler);
    bool hasHandler(int id) const { return m_handlers.contains(id); }
    /// Runs the handler of `id`; false when there is none.
    bool dispatch(int id) const;

    /// What the engineer is told about a command without a handler.
    static QString notAvailableText();

private:
    QHash<int, Handler> m_handlers;
};

} // namespace kia
