#include "operationmodes.h"

#include "controllerprogramming.h"
#include "datamemoryworkers.h"
#include "progresssink.h"
#include "softwareupdate.h"
#include "softwareverification.h"

namespace kia {

namespace {
struct ModeInfo {
    const char* caption; // UTF-8
    int range;
    OperationWorker worker;
};

// Mode 9's caption starts with a Latin "C": it is shown as the program has it.
const ModeInfo kModes[] = {
    {"Сохранение ПО контроллера...", 128, &SaveControllerSoftwareWorker},
    {"Запись тест-программы в контроллер...", 128, &WriteTestProgramWorker},
    {"Запись ПО кассы в контроллер...", 128, &WriteControllerSoftwareWorker},
    {"Сохранение данных ФП в файле...", 512, &SaveFiscalWorker},
    {"Восстановление данных ФП из файла...", 512, &RestoreFiscalWorker},
    {"Очистка ФП...", 2, &ClearFiscalWorker},
    {"Сохранение данных РПЗУ в файле...", 1024, &SaveEepromWorker},
    {"Восстановление данных РПЗУ из файла...", 1024, &RestoreEepromWorker},
    {"Очистка РПЗУ...", 4, &ClearEepromWorker},
    {"Cтирание программного РПЗУ...", 1, &UpdateSoftwareWorker},
    {"Верификация ПО кассы...", 1920, &VerifySoftwareWorker},
};
constexpr int kModeCount = static_cast<int>(std::size(kModes));

bool known(int mode) { return mode >= 0 && mode < kModeCount; }
} // namespace

QString operationCaption(int mode) {
    return known(mode) ? QString::fromUtf8(kModes[mode].caption) : QString();
}

int operationRange(int mode) { return known(mode) ? kModes[mode].range : 0; }

OperationWorker operationWorker(int mode) { return known(mode) ? kModes[mode].worker : nullptr; }

int RunOperation(BenchContext& ctx, ProgressSink& progress, int mode,
                 OperationArgument& argument) {
    const OperationWorker worker = operationWorker(mode);
    if (!worker)
        return OpFileOpen;
    progress.setCaption(operationCaption(mode));
    progress.setRange(operationRange(mode));
    progress.setPosition(0);
    return worker(ctx, progress, argument);
}

} // namespace kia
