// Writing a new cash-register software image: the program into the program
// EEPROM through the test program, the first 8 KiB into DD5 through the
// programmer.

#include "softwareupdate.h"

#include "backupfile.h"
#include "controllerprogramming.h"
#include "progresssink.h"
#include "servicehost.h"
#include "servicemessages.h"

#include "boardtests/testsession.h"
#include "boardtests/testsessionhost.h"
#include "core/benchcontext.h"
#include "core/userprompts.h"
#include "link/linkmessages.h"

#include <QFile>
#include <QSaveFile>

namespace kia {

namespace {
using namespace softwareimage;
const QString kTitle = QStringLiteral("Обновление ПО кассы");

// Reads both program banks into an image of the file's layout and files it.
int backupProgramMemory(BenchContext& ctx, ProgressSink& progress, const QString& path) {
    progress.setCaption(QStringLiteral("Сохранение программного РПЗУ..."));
    progress.setRange(2 * PagesPerBank);
    progress.setPosition(0);
    QByteArray image(int(Size), char(0xFF));
    std::array<quint8, 128> page{};
    for (int bank = 0; bank < 2; ++bank) {
        for (int address = ProgramStart; address < BankSpan; address += PageSize) {
            if (!ctx.link.ReadProgramPage(static_cast<quint16>(address), static_cast<quint8>(bank),
                                          page))
                return OpLinkBase;
            std::copy(page.begin(), page.end(), image.begin() + bank * BankSpan + address);
            progress.step();
        }
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(image) != image.size() || !file.commit())
        return OpBackupFailed;
    return OpDone;
}
} // namespace

int UpdateSoftwareWorker(BenchContext& ctx, ProgressSink& progress, OperationArgument& argument) {
    QFile file(argument.text);
    if (!file.open(QIODevice::ReadOnly))
        return OpFileOpen;
    if (file.size() != Size)
        return OpFileSize;

    if (!argument.backup.isEmpty()) {
        const int b = backupProgramMemory(ctx, progress, argument.backup);
        if (b != OpDone)
            return b;
        progress.setCaption(operationCaption(ModeUpdateSoftware));
        progress.setRange(1);
        progress.setPosition(0);
    }

    progress.step();
    if (!ctx.link.EraseProgramMemory())
        return OpLinkBase;

    progress.setPosition(0);
    progress.setRange(2 * PagesPerBank);
    progress.setCaption(QStringLiteral("Запись ПО в программное РПЗУ..."));
    std::array<quint8, 128> page{};
    for (int bank = 0; bank < 2; ++bank) {
        if (!file.seek(ProgramStart + bank * BankSpan))
            return OpFileRead;
        for (int address = ProgramStart; address < BankSpan; address += PageSize) {
            if (file.read(reinterpret_cast<char*>(page.data()), PageSize) != PageSize)
                return OpFileRead;
            quint8 written = 0;
            if (!ctx.link.WriteProgramPage(static_cast<quint16>(address), static_cast<quint8>(bank),
                                           page, written))
                return OpLinkBase;
            if (!written)
                return OpWrongSize; // a program-memory page write reported failure
            progress.step();
        }
    }

    const quint8 release[1] = {0x80};
    if (!ctx.link.WriteDevice(7, release))
        return OpLinkBase;

    progress.setPosition(0);
    progress.setRange(2 * PagesPerBank);
    progress.setCaption(QStringLiteral("Проверка ПО в программном РПЗУ..."));
    std::array<quint8, 128> expected{};
    for (int bank = 0; bank < 2; ++bank) {
        if (!file.seek(ProgramStart + bank * BankSpan))
            return OpFileRead;
        for (int address = ProgramStart; address < BankSpan; address += PageSize) {
            if (file.read(reinterpret_cast<char*>(expected.data()), PageSize) != PageSize)
                return OpFileRead;
            if (!ctx.link.ReadProgramPage(static_cast<quint16>(address), static_cast<quint8>(bank),
                                          page))
                return OpLinkBase;
            if (page != expected)
                return OpProgramCompare;
            progress.step();
        }
    }

    progress.setPosition(0);
    progress.setRange(dd5::Blocks);
    progress.setCaption(operationCaption(ModeWriteControllerSoftware));
    if (!file.seek(0))
        return OpFileRead;
    const QByteArray controller = file.read(dd5::ImageSize);
    if (controller.size() != dd5::ImageSize)
        return OpFileRead;
    OperationArgument software;
    software.image = controller;
    return WriteControllerSoftwareWorker(ctx, progress, software);
}

QString softwareFileProblemText(int result, const QString& path) {
    switch (result) {
    case OpFileOpen:
        return QStringLiteral("Ошибка открытия файла ") + path + QStringLiteral(" !  ");
    case OpFileSize:
        return QStringLiteral("Неверный размер файла ") + path + QStringLiteral(" !  ");
    case OpFileRead:
        return QStringLiteral("Ошибка чтения файла ") + path + QStringLiteral(" !  ");
    default:
        return QString();
    }
}

int RunSoftwareUpdate(BenchContext& ctx, ServiceHost& host,
                      const std::function<QDateTime()>& localTime) {
    host.ClearMarks();
    ctx.prompts.beep(600, 30);
    if (ctx.prompts.question(PromptIcon::Exclamation, QStringLiteral("Обновление ПО кассы..."),
                             QStringLiteral("Установите на блоке управления перемычку \"JP1\" !   \n\n"
                                            "                        Продолжить ?"),
                             PromptAnswer::No) != PromptAnswer::Yes)
        return 0;
    PreparationFailure why = PreparationFailure::None;
    if (!PrepareTestSession(ctx, host.session(), true, &why))
        return why == PreparationFailure::LinkFailure ? int(OpLinkBase) : 0;

    QString identity;
    const quint8 id = ctx.link.ReadControllerIdentity(identity);
    if (id != 0) {
        ShowServiceIdentificationError(ctx, host, id);
        ctx.busy = false;
        return OpLinkBase + id;
    }
    const quint8 closed[1] = {0x00};
    if (!ctx.link.SelectMode(0) || !InitTestProcessorPorts(ctx) ||
        !ctx.link.SetSerialDevice({1, 0x20, 0xD0, 1, 1, 0x10, 8}) ||
        !ctx.link.WriteDevice(7, closed)) {
        ShowServiceLinkError(ctx, host);
        return OpLinkBase;
    }

    OperationArgument argument;
    argument.text = ctx.prompts.openFile(QStringLiteral("Выберите файл ПО кассы..."),
                                         {{QStringLiteral("Бинарные файлы (*.bin)"), QStringLiteral("*.bin")},
                                          {QStringLiteral("Все файлы (*.*)"), QStringLiteral("*.*")}},
                                         ctx.workingFolder);
    if (argument.text.isEmpty()) {
        ctx.busy = false;
        return 0;
    }
    // The backup is made only for a file that will be written.
    {
        QFile probe(argument.text);
        if (probe.open(QIODevice::ReadOnly) && probe.size() == softwareimage::Size)
            argument.backup = backupPath(ctx, QStringLiteral("program"), QStringLiteral(".bin"),
                                         localTime());
    }
    const int result = host.RunProgress(ModeUpdateSoftware, argument);
    ctx.busy = false;
    if (!argument.backup.isEmpty() && QFile::exists(argument.backup))
        host.ShowStatus(QStringLiteral("Резервная копия: ") + argument.backup);

    const QString path = argument.text;
    switch (result) {
    case OpDone:
        ShowServiceMessage(ctx, host, PromptIcon::Exclamation, kTitle,
                           QStringLiteral("ПО кассы успешно обновлено !  \n"
                                          "Не забудте удалить перемычку \"GP1\".  "));
        if (identity.size() == dd5::NameLength)
            QFile::remove(controllerSoftwarePath(ctx, identity));
        break;
    case OpLinkBase:
        ShowServiceLinkError(ctx, host);
        break;
    case OpFileOpen:
    case OpFileSize:
    case OpFileRead:
        ShowServiceMessage(ctx, host, PromptIcon::Error, kTitle,
                           softwareFileProblemText(result, path));
        break;
    case OpCompare:
        ShowServiceMessage(ctx, host, PromptIcon::Error, kTitle,
                           QStringLiteral("Ошибка обновления ПО в контроллере !  "));
        break;
    case OpWrongSize:
        ShowServiceMessage(ctx, host, PromptIcon::Error, kTitle,
                           QStringLiteral("Ошибка записи в программное РПЗУ !  "));
        break;
    case OpProgramCompare:
        ShowServiceMessage(ctx, host, PromptIcon::Error, kTitle,
                           QStringLiteral("Ошибка обновления ПО в программном РПЗУ !  "));
        break;
    case OpBackupFailed:
        ShowServiceMessage(ctx, host, PromptIcon::Error, kTitle,
                           QStringLiteral("Ошибка создания резервной копии ") + argument.backup +
                               QStringLiteral(" !  "));
        break;
    default:
        if (result > OpLinkBase && result < OpFileOpen)
            ShowServiceIdentificationError(ctx, host, static_cast<quint8>(result - OpLinkBase));
        break;
    }
    return result;
}

} // namespace kia
