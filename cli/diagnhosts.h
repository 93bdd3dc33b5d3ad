#pragma once

#include "boardtests/testenginehost.h"
#include "boardtests/testsessionhost.h"
#include "diagn/stepdialoghost.h"
#include "view/controlpoint.h"

#include <QList>
#include <QString>

namespace kia {

class BenchContext;

/// The board test a TEST step names, without windows: every display answers
/// as the engineer's "continue" would, the version is the first choice.
class QuietTestHost final : public TestSessionHost, public TestEngineHost {
public:
    explicit QuietTestHost(BenchContext& ctx) : m_ctx(ctx) {}
    bool ShowStartDialog(int, bool& dontShowAgain) override;
    bool ChooseSoftwareVersion(BenchContext& ctx) override;
    int RunTestDialog(TestEngine& engine) override;
    TestEngineHost& engineHost() override { return *this; }
    int ShowMemoryError(MemoryErrorKind kind, int pattern, quint32 blockStart) override;
    int ShowPortImageError(const PortImageModel&) override { return 1; }

private:
    BenchContext& m_ctx;
};

/// The board of a diagnostics run on the terminal: marks are checked against
/// the points file (every name passes when there is none to read).
class PointsFileBoard final : public DiagnosticsBoard {
public:
    PointsFileBoard(const QString& path, int boardType);
    void ClearMarks() override {}
    bool MarkPoint(const QString& name) override;
    bool ShowPoint(const QString& name) override { return MarkPoint(name); }
    QRect MarkRect() const override { return QRect(); }
    void SetMenusLocked(bool) override {}

private:
    QList<ControlPoint> m_points;
    int m_boardType;
    bool m_havePoints = false;
};

/// kia_nelta2 + `ext` in the working folder (the current one when unset).
QString workingDataFile(const BenchContext& ctx, const QString& ext);

} // namespace kia
