#pragma once

#include "boardtests/testenginehost.h"
#include "boardtests/testsessionhost.h"

#include <QString>
#include <QTextStream>

namespace kia {

class BenchContext;

/// The start dialog of a board test on the terminal: its instructions go to
/// `err`, and the test goes on (the engineer started it on purpose).
bool consoleStartDialog(QTextStream& err, int boardType);

/// The software-version choice of the ROM test on the terminal: `version`
/// names an entry of versions.txt or is taken as the value itself; without
/// one the first choice ("меньше 2.10"). A missing versions.txt is said as
/// the workstation says it. Always true (there is nobody to cancel).
bool consoleChooseVersion(BenchContext& ctx, QTextStream& err, bool haveVersion,
                          const QString& version);

/// A test session on the terminal that meets only the start dialog on its
/// way (no version choice, no memory or port-image display): the start
/// dialog's instructions go to `err`, the engine runs to its end.
class ConsoleSessionHost : public TestSessionHost, public TestEngineHost {
public:
    explicit ConsoleSessionHost(QTextStream& err) : m_sessionErr(err) {}
    bool ShowStartDialog(int boardType, bool& dontShowAgain) override;
    bool ChooseSoftwareVersion(BenchContext&) override { return false; }
    int RunTestDialog(TestEngine& engine) override;
    TestEngineHost& engineHost() override { return *this; }
    int ShowMemoryError(MemoryErrorKind, int, quint32) override { return 2; }
    int ShowPortImageError(const PortImageModel&) override { return 2; }

private:
    QTextStream& m_sessionErr;
};

} // namespace kia
