#pragma once

#include <QString>

namespace kia {

/// Where a failed test or link check hands over to guided diagnostics.
/// The workstation's board view implements it; until guided diagnostics are
/// installed the context holds none, and callers report that nothing started.
/// Called on the UI thread.
class ScenarioHost {
public:
    virtual ~ScenarioHost() = default;

    /// Starts the scenario named by an error keyword ("RAM_ERROR", "SCAN_BUS" ...).
    /// `kind` selects the scenario kind of the scenario file. Returns false when
    /// no scenario could be started.
    virtual bool StartScenario(const QString& keyword, int kind) = 0;
    /// Starts an oscilloscope scenario ("NO_CONNECT", "NO_PROGCONNECT", "NO_PROGACCESS").
    virtual bool StartOscilloscopeScenario(const QString& keyword) = 0;
};

} // namespace kia
