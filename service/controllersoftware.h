#pragma once

#include "boardtests/controllerpreparation.h"

#include <QDateTime>
#include <QString>
#include <functional>

namespace kia {

class BenchContext;
class ServiceHost;

/// The software name DD5's contents are filed under: the identity when it has
/// 12 characters, else the local time as seconds, minutes, hours, day, month,
/// year (two digits each).
QString softwareNameFor(const QString& identity, const QDateTime& localTime);

/// Board type 4: files the controller software (mode 0, unless skipped) and
/// writes the test program (mode 1) when DD5 does not answer, then checks that
/// it does. Installed as the context's ControllerPreparation. UI thread.
class ServiceControllerPreparation final : public ControllerPreparation {
public:
    explicit ServiceControllerPreparation(ServiceHost& host);
    bool LoadControllerTestProgram(BenchContext& ctx, bool skipSave) override;

    /// Where the time-stamp name comes from (tests fix it).
    std::function<QDateTime()> localTime = [] { return QDateTime::currentDateTime(); };

private:
    ServiceHost& m_host;
};

/// Command 32870 "Восстановление ПО контроллера": writes the saved software
/// back into DD5 (the file named by DD5's identity, else one the engineer
/// picks) and deletes an automatically found file after success.
/// Returns the progress result, 123 + status when the link failed before it,
/// or 0 when the command ended otherwise.
int RestoreControllerSoftware(BenchContext& ctx, ServiceHost& host);

} // namespace kia
