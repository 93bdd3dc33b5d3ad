#pragma once

#include "memoryerrormodel.h"

#include <QString>

namespace kia {

class TestEngine;

/// The ФП tests of board types 0..3 let the test processor check the fiscal
/// memory in the background (StartMemoryCheck) and poll its short result once
/// a step. Nothing arrived: the step just advances, but at the last step that
/// is a link failure. A bad cell opens the memory-error display; "Продолжить
/// тест" restarts the peer's check behind the shown block (step counter 0,
/// 100 ms). A passed check jumps to the end, with `passText` as result text
/// when it is not empty.
void pollFiscalCheck(TestEngine& engine, MemoryErrorKind kind, int pattern,
                     const QString& passText);

} // namespace kia
