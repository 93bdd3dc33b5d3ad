#include "commandrouter.h"

namespace kia {

void CommandRouter::setHandler(int id, Handler handler) {
    if (handler)
        m_handlers.insert(id, std::move(handler));
    else
        m_handlers.remove(id);
}

bool CommandRouter::dispatch(int id) const {
    const auto it = m_handlers.constFind(id);
    if (it == m_handlers.constEnd())
        return false;
    // A copy: the handler may replace itself while it runs.
    const Handler h = it.value();
    h();
    return true;
}

QString CommandRouter::notAvailableText() {
    return QStringLiteral("Команда будет доступна в следующей версии программы.");
}

} // namespace kia
