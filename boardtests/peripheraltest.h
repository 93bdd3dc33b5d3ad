#pragma once

#include <QString>

namespace kia {

class BenchContext;
class CircuitTestHost;
class TestSessionHost;

/// Marker states the peripheral test marks points with (as the board view's).
constexpr quint16 CircuitMarkCheck = 16;
constexpr quint16 CircuitMarkDriver = 64;

/// How a whole peripheral test or probe self-test ended.
enum class PeripheralOutcome {
    NotPrepared,  ///< the session preparation stopped it (already reported)
    LinkFailure,  ///< a link failure (ShowLinkError shown)
    Exit,         ///< "Выход"
    Diagnostics,  ///< handed to guided diagnostics with the circuit name
    Completed,    ///< every row up to the last has run
    ProbeHealthy, ///< self-test: rows 0..4 passed, "Логический пробник исправен !  " shown
};

/// The menu command "Тест цепей периферии": session preparation and the
/// memory map, the probe question ("Да" starts at row 0, "Нет" at row 5),
/// then the row walk: each row's point marked (the driver's point for rows
/// above 4 fed by the level driver), the circuit dialog of the row, and the
/// next row from its end code. UI thread.
PeripheralOutcome RunPeripheralTest(BenchContext& ctx, TestSessionHost& session,
                                    CircuitTestHost& host);

/// The menu command "Тест логического пробника": rows 0..4 of the circuit
/// table, each in its circuit dialog. UI thread.
PeripheralOutcome RunProbeSelfTest(BenchContext& ctx, TestSessionHost& session,
                                   CircuitTestHost& host);

/// Marks the point of circuit `row` as the whole test does for a new point
/// (first input with MarkDriver when it begins with "X" on rows above 4,
/// else the output with MarkCheck).
void ShowCircuitPoint(const BenchContext& ctx, CircuitTestHost& host, int row);

/// "Провести проверку    \nлогичесгого пробника !"
QString probeQuestionText();
/// "Логический пробник исправен !  "
QString probeHealthyText();

} // namespace kia
