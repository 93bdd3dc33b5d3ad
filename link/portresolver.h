#pragma once

#include "serialline.h"

#include <QHash>
#include <QString>
#include <functional>
#include <memory>

namespace kia {

/// Decides which device stands behind "COM1".."COM8". On Linux COMn is
/// /dev/ttyS<n-1> unless overridden, per port, by the environment variable
/// KIA_COMn (a device path, or the word "sim" for the simulated bench), or by
/// setOverride(). setAllSimulated(true) (the programs' --sim switch) puts every
/// port on the simulated bench. On Windows the device is the port's own name.
///
/// The simulated bench is attached through a maker installed by the program,
/// so the core knows nothing of the simulator. Owned by the bench context.
class PortResolver {
public:
    using LineMaker = std::function<std::unique_ptr<SerialLine>(int port)>;
    using DeviceLineMaker = std::function<std::unique_ptr<SerialLine>(const QString& device)>;

    PortResolver();

    /// Reads KIA_COM1..KIA_COM8 from the process environment.
    void loadEnvironment();
    void setOverride(int port, const QString& target);
    void setAllSimulated(bool on) { m_allSimulated = on; }
    bool allSimulated() const { return m_allSimulated; }

    /// Installs how the simulated bench makes a line (nothing installed: "sim" fails to open).
    void setSimulatorMaker(LineMaker maker) { m_simMaker = std::move(maker); }
    /// Replaces how a device path becomes a line (default: the real serial port backend).
    void setDeviceMaker(DeviceLineMaker maker) { m_deviceMaker = std::move(maker); }

    /// "sim", or the device path for port 1..8; empty for other numbers.
    QString targetFor(int port) const;
    static QString defaultDevice(int port);

    /// A closed line for port 1..8, or nullptr for other numbers or when
    /// the target cannot be served.
    std::unique_ptr<SerialLine> makeLine(int port) const;
    /// A closed line for an explicit device path or "sim" (the CLI's --port).
    std::unique_ptr<SerialLine> makeLineFor(const QString& target, int port) const;

private:
    QHash<int, QString> m_overrides;
    bool m_allSimulated = false;
    LineMaker m_simMaker;
    DeviceLineMaker m_deviceMaker;
};

} // namespace kia
