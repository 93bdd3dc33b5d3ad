#include "portresolver.h"

#include "qserialline.h"

#include <QProcessEnvironment>

namespace kia {

namespace {
const QString kSim = QStringLiteral("sim");
}

PortResolver::PortResolver()
    : m_deviceMaker([](const QString& device) -> std::unique_ptr<SerialLine> {
          return std::make_unique<QSerialLine>(device);
      })
{
}

void PortResolver::loadEnvironment()
{
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (int port = 1; port <= 8; ++port) {
        const QString value = env.value(QStringLiteral("KIA_COM%1").arg(port)).trimmed();
        if (!value.isEmpty())
            m_overrides.insert(port, value);
    }
}

void PortResolver::setOverride(int port, const QString& target)
{
    if (target.isEmpty())
        m_overrides.remove(port);
    else
        m_overrides.insert(port, target);
}

QString PortResolver::defaultDevice(int port)
{
    if (port < 1 || port > 8)
        return QString();
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(port);
#else
    return QStringLiteral("/dev/ttyS%1").arg(port - 1);
#endif
}

QString PortResolver::targetFor(int port) const
{
    if (port < 1 || port > 8)
        return QString();
    if (m_allSimulated)
        return kSim;
    return m_overrides.value(port, defaultDevice(port));
}

std::unique_ptr<SerialLine> PortResolver::makeLine(int port) const
{
    const QString target = targetFor(port);
    if (target.isEmpty())
        return nullptr;
    return makeLineFor(target, port);
}

std::unique_ptr<SerialLine> PortResolver::makeLineFor(const QString& target, int port) const
{
    if (target == kSim)
        return m_simMaker ? m_simMaker(port) : nullptr;
    return m_deviceMaker ? m_deviceMaker(target) : nullptr;
}

} // namespace kia
