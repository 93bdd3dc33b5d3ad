#pragma once

#include "memoryerrormodel.h"

namespace kia {

class PortImageModel;

/// The nested displays that a running test opens. The test dialog implements
/// it with the memory-error dialog and the port-image list; tests answer from
/// a script and the CLI prints and answers from its flags. Called on the UI
/// thread from inside TestEngine::tick(); each call is modal (returns when
/// the engineer has chosen). The engine's timer is stopped meanwhile.
class TestEngineHost {
public:
    virtual ~TestEngineHost() = default;

    /// Shows the 128-byte block at `blockStart` (use MemoryErrorModel: a clean
    /// block returns 1 and a failed read 124 without becoming visible).
    /// Returns 1 (next block), 125 ("Следующий тест"), 123 ("Диагностика"),
    /// 2 ("Выход") or 124 (link failure).
    virtual int ShowMemoryError(MemoryErrorKind kind, int pattern, quint32 blockStart) = 0;

    /// The port-image list of the bus or PPI test. Returns 1 ("Диагностика")
    /// or 2 ("Выход").
    virtual int ShowPortImageError(const PortImageModel& image) = 0;
};

/// Opens the model and, when the block holds bad bytes, lets `show` decide;
/// otherwise returns the display's immediate result. Helps hosts stay thin.
template <typename ShowFn> int showMemoryErrorWith(MemoryErrorModel& model, ShowFn show) {
    if (model.open() != MemoryErrorModel::Opening::Shown)
        return model.immediateResult();
    return show(model);
}

} // namespace kia
