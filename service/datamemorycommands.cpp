// Menu commands of the fiscal memory (ФП) and the data EEPROM (РПЗУ).

#include "datamemorycommands.h"

#include "backupfile.h"
#include "operationmodes.h"
#include "servicehost.h"
#include "servicemessages.h"

#include "app/commandtable.h"
#include "boardtests/testsession.h"
#include "core/benchcontext.h"
#include "core/userprompts.h"
#include "link/linkmessages.h"

#include <QFile>
#include <QFileInfo>

namespace kia {

namespace {

enum class Action { Save, Restore, Clear };

struct DataCommand {
    int id;
    bool fiscal;
    Action action;
    int mode;
    const char* title;
    const char* dialogTitle;
};

const DataCommand kCommands[] = {
    {cmd::SaveFiscalData, true, Action::Save, ModeSaveFiscal, "Сохранение данных ФП в файл",
     "Введите имя файла для сохранения данных ФП..."},
    {cmd::RestoreFiscalData, true, Action::Restore, ModeRestoreFiscal,
     "Восстановление данных ФП из файла", "Выберите файл для восстановления данных ФП..."},
    {cmd::ClearFiscalMemory, true, Action::Clear, ModeClearFiscal, "Очистка ФП", nullptr},
    {cmd::SaveEepromData, false, Action::Save, ModeSaveEeprom, "Сохранение данных РПЗУ в файл",
     "Введите имя файла для сохранения данных РПЗУ..."},
    {cmd::RestoreEepromData, false, Action::Restore, ModeRestoreEeprom,
     "Восстановление данных РПЗУ из файла", "Выберите файл для восстановления данных РПЗУ..."},
    {cmd::ClearEeprom, false, Action::Clear, ModeClearEeprom, "Очистка РПЗУ", nullptr},
};

const DataCommand* find(int id) {
    for (const DataCommand& c : kCommands) {
        if (c.id == id)
            return &c;
    }
    return nullptr;
}

QString s(const char* utf8) { return QString::fromUtf8(utf8); }

// The text of a result, empty where the command shows nothing (123 goes to ShowLinkError).
QString resultText(const DataCommand& c, int result, const QString& path, PromptIcon& icon) {
    const QString mem = c.fiscal ? QStringLiteral("ФП") : QStringLiteral("РПЗУ");
    icon = result == OpDone ? PromptIcon::Exclamation : PromptIcon::Error;
    switch (c.action) {
    case Action::Save:
        if (result == OpDone)
            return QStringLiteral("Данные %1 успешно сохранены !  ").arg(mem);
        if (result == OpFileOpen)
            return QStringLiteral("Ошибка открытия файла ") + path + QStringLiteral(" !");
        return {};
    case Action::Restore:
        switch (result) {
        case OpDone:
            return QStringLiteral("Данные %1 успешно восстановлены !  ").arg(mem);
        case OpFileOpen:
            return QStringLiteral("Ошибка открытия файла ") + path + QStringLiteral(" !  ");
        case OpFileSize:
            return QStringLiteral("Ошибка чтения файла ") + path + QStringLiteral(" !  ");
        case OpFileRead:
            return QStringLiteral("Ошибка записи в %1 !  ").arg(mem);
        case OpCompare:
            return QStringLiteral("Ошибка восстановления данных %1 !  ").arg(mem);
        case OpWrongSize:
            return QStringLiteral("Неверный размер файла ") + path + QStringLiteral(" !  ");
        default:
            return {};
        }
    case Action::Clear:
        if (result == OpDone)
            return c.fiscal ? QStringLiteral("Накопитель ФП пуст!   ")
                            : QStringLiteral("Очистка РПЗУ успешно завершена!   ");
        if (result == OpFileOpen)
            return QStringLiteral("Ошибка очистки %1 !  ").arg(mem);
        return {};
    }
    return {};
}

QList<FileFilter> filtersOf(bool fiscal) {
    return {fiscal ? FileFilter{QStringLiteral("Сохраненные данные ФП (*.fp)"), QStringLiteral("*.fp")}
                   : FileFilter{QStringLiteral("Сохраненные данные РПЗУ (*.fls)"),
                                QStringLiteral("*.fls")},
            {QStringLiteral("Все файлы (*.*)"), QStringLiteral("*.*")}};
}

int stop(BenchContext& ctx) {
    ctx.busy = false;
    return 0;
}

} // namespace

bool isDataMemoryCommand(int commandId) { return find(commandId) != nullptr; }

int RunDataMemoryCommand(BenchContext& ctx, ServiceHost& host, int commandId,
                         const std::function<QDateTime()>& localTime) {
    const DataCommand* c = find(commandId);
    if (!c)
        return 0;
    PreparationFailure why = PreparationFailure::None;
    if (!PrepareTestSession(ctx, host.session(), false, &why))
        return why == PreparationFailure::LinkFailure ? int(OpLinkBase) : 0;
    if (!ctx.link.SetMemoryMap({0, 0, 0x8000, 0x8000, 0}, 185) ||
        !ctx.link.WritePort(1, c->fiscal ? 6 : 7, 7)) {
        ShowServiceLinkError(ctx, host);
        stop(ctx);
        return OpLinkBase;
    }

    OperationArgument argument;
    if (c->action != Action::Clear) {
        host.ClearMarks();
        const QString title = s(c->dialogTitle);
        argument.text = c->action == Action::Save
                            ? ctx.prompts.saveFile(title, filtersOf(c->fiscal), ctx.workingFolder, {})
                            : ctx.prompts.openFile(title, filtersOf(c->fiscal), ctx.workingFolder);
        if (argument.text.isEmpty())
            return stop(ctx);
    }

    if (c->action != Action::Save) {
        // What is on the board now is kept before anything overwrites it.
        // A restore file of the wrong size is refused first, so no backup is
        // made for a command that would not write.
        if (c->action == Action::Restore) {
            QFile file(argument.text);
            const qint64 want = c->fiscal ? 65536 : 131072;
            QString refusal;
            int code = 0;
            if (QFileInfo(argument.text).isDir() || !file.open(QIODevice::ReadOnly)) {
                code = OpFileOpen;
                refusal = QStringLiteral("Ошибка открытия файла ");
            } else if (file.size() != want) {
                code = OpWrongSize;
                refusal = QStringLiteral("Неверный размер файла ");
            }
            if (code != 0) {
                ctx.busy = false;
                ShowServiceMessage(ctx, host, PromptIcon::Error, s(c->title),
                                   refusal + argument.text + QStringLiteral(" !  "));
                return code;
            }
        }
        OperationArgument backup;
        backup.text = backupPath(ctx, c->fiscal ? QStringLiteral("fp") : QStringLiteral("eeprom"),
                                 c->fiscal ? QStringLiteral(".fp") : QStringLiteral(".fls"),
                                 localTime());
        const int b = backup.text.isEmpty()
                          ? int(OpFileOpen)
                          : host.RunProgress(c->fiscal ? ModeSaveFiscal : ModeSaveEeprom, backup);
        if (b != OpDone) {
            ctx.busy = false;
            if (b == OpLinkBase)
                ShowServiceLinkError(ctx, host);
            else
                ShowServiceMessage(ctx, host, PromptIcon::Error, s(c->title),
                                   QStringLiteral("Ошибка создания резервной копии ") +
                                       backup.text + QStringLiteral(" !  "));
            return b;
        }
        host.ShowStatus(QStringLiteral("Резервная копия: ") + backup.text);
        if (!ctx.link.WritePort(1, c->fiscal ? 6 : 7, 7)) {
            ShowServiceLinkError(ctx, host);
            stop(ctx);
            return OpLinkBase;
        }
    }

    const int result = host.RunProgress(c->mode, argument);
    ctx.busy = false;
    if (result == OpLinkBase) {
        ShowServiceLinkError(ctx, host);
        return result;
    }
    PromptIcon icon = PromptIcon::Error;
    const QString text = resultText(*c, result, argument.text, icon);
    if (!text.isEmpty())
        ShowServiceMessage(ctx, host, icon, s(c->title), text);
    return result;
}

} // namespace kia
