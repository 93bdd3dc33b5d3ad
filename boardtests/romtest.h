#pragma once

#include "controllerprogramfile.h"
#include "link/checkresult.h"
#include "testprocedure.h"

#include <QtGlobal>

namespace kia {

/// Test 2: the sum over both halves of the board's program memory, compared
/// with the sum stored at its end. With a controller program file the file's
/// own sum is the seed (3 steps: read the file, half 0, half 1); without one
/// ("нет") the first 8 KiB of both halves are summed (2 steps). A file problem
/// ends the test with 125..127 before any link traffic; a wrong sum asks
/// whether to start diagnostics. 1100 ms a step.
class RomTest final : public TestProcedure {
public:
    RomTest(int boardType, const ControllerProgramFile& file);

    int stepCount() const override { return m_withFile ? 3 : 2; }
    int period() const override { return 1100; }
    QString progressText() const override { return QStringLiteral("Тест ПЗУ..."); }
    void step(TestEngine& engine) override;

    /// 16-bit sum of the bytes.
    static quint16 sum16(const QByteArray& bytes);

private:
    bool selectHalf(TestEngine& engine, int half);
    void compare(TestEngine& engine, const CheckResult& last);
    void stepWithFile(TestEngine& engine);
    void stepWithoutFile(TestEngine& engine);

    int m_boardType;
    ControllerProgramFile m_file;
    bool m_withFile;
    quint16 m_computed = 0;
    quint16 m_work = 0;
};

} // namespace kia
