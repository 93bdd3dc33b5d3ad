#pragma once

#include "testprocedure.h"

namespace kia {

/// Test 6: the fiscal memory must read 0xFF everywhere. Types 0..3 let the
/// test processor check it in the background and poll the result (8 steps);
/// type 4 checks both 32 KiB banks through the memory window (2 steps).
/// 100 ms a step; a passed check reads "Накопитель ФП пуст !".
class FiscalBlankTest final : public TestProcedure {
public:
    explicit FiscalBlankTest(int boardType) : m_boardType(boardType) {}

    int stepCount() const override;
    int period() const override { return 100; }
    QString progressText() const override { return QStringLiteral("Проверка чистоты ФП..."); }
    void step(TestEngine& engine) override;

    static QString blankText() { return QStringLiteral("Накопитель ФП пуст !"); }

private:
    void stepBanks(TestEngine& engine);

    int m_boardType;
};

} // namespace kia
