// Board type 4 around the test program: filing DD5's software and loading
// the test program before any test, and putting the software back afterwards.

#include "controllersoftware.h"

#include "controllerprogramming.h"
#include "operationmodes.h"
#include "servicehost.h"
#include "servicemessages.h"

#include "boardtests/testsession.h"
#include "boardtests/testsessionhost.h"
#include "core/benchcontext.h"
#include "core/clock.h"
#include "core/userprompts.h"
#include "link/linkmessages.h"
#include "link/linkstatus.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kia {

namespace {
const QString kRestoreTitle = QStringLiteral("Восстановление ПО контроллера");

bool endCommand(BenchContext& ctx) {
    ctx.busy = false;
    return false;
}
} // namespace

QString softwareNameFor(const QString& identity, const QDateTime& t) {
    if (identity.size() == dd5::NameLength)
        return identity;
    return t.toString(QStringLiteral("ssmmHHddMMyy"));
}

ServiceControllerPreparation::ServiceControllerPreparation(ServiceHost& host) : m_host(host) {}

bool ServiceControllerPreparation::LoadControllerTestProgram(BenchContext& ctx, bool skipSave) {
    QString identity;
    const quint8 id = ctx.link.ReadControllerIdentity(identity);
    if (id != LongOk) {
        ShowServiceIdentificationError(ctx, m_host, id);
        return endCommand(ctx);
    }
    OperationArgument name;
    name.text = softwareNameFor(identity, localTime());

    if (!skipSave) {
        const int r = m_host.RunProgress(ModeSaveControllerSoftware, name);
        if (r == OpFileOpen) {
            m_host.ClearMarks();
            ShowServiceMessage(ctx, m_host, PromptIcon::Error,
                               QStringLiteral("Сохранение ПО контроллера..."),
                               QStringLiteral("Ошибка создания файла ПО на диске! "));
            return endCommand(ctx);
        }
        if (r != OpDone) {
            ShowServiceIdentificationError(ctx, m_host, static_cast<quint8>(r - OpLinkBase));
            return endCommand(ctx);
        }
        if (!name.savedAs.isEmpty()) {
            m_host.ShowStatus(
                QStringLiteral("Файл %1 уже есть и оставлен без изменений; содержимое DD5 "
                               "сохранено в %2")
                    .arg(QFileInfo(controllerSoftwarePath(ctx, name.text)).fileName(),
                         QFileInfo(name.savedAs).fileName()));
        }
    }

    const int w = m_host.RunProgress(ModeWriteTestProgram, name);
    if (w != OpDone) {
        m_host.ClearMarks();
        ctx.busy = false;
        const QString title = QStringLiteral("Запись тест-программы в контроллер...");
        switch (w) {
        case OpFileOpen:
            ShowServiceMessage(ctx, m_host, PromptIcon::Error, title,
                               QStringLiteral("Ошибка открытия файла \"testcpu.052\" !"));
            break;
        case OpFileSize:
            ShowServiceMessage(ctx, m_host, PromptIcon::Error, title,
                               QStringLiteral("Неверный размер файла \"testcpu.052\" !"));
            break;
        case OpFileRead:
            ShowServiceMessage(ctx, m_host, PromptIcon::Error, title,
                               QStringLiteral("Ошибка чтения файла \"testcpu.052\" !"));
            break;
        case OpCompare:
            ShowServiceMessage(ctx, m_host, PromptIcon::Error, title,
                               QStringLiteral("Ошибка записи тест-программы !"));
            break;
        default:
            if (w >= OpLinkBase && w <= OpLinkBase + 6)
                ShowServiceIdentificationError(ctx, m_host, static_cast<quint8>(w - OpLinkBase));
            break;
        }
        return false;
    }

    ctx.clock.sleepMs(100);
    ShowServiceMessage(ctx, m_host, PromptIcon::Exclamation, QStringLiteral("ВНИМАНИЕ"),
                       QStringLiteral("В контроллер DD5 была записана тест-программа,\n"
                                      "а его содержимое (ПО кассы) сохранено !\n"
                                      "После завершения работ по тестированию этого\n"
                                      "блока управления, необходимо будет выполнить\n"
                                      "пункт меню \"Восстановление ПО контроллера\" !"));
    if (ctx.link.PeerPresent()) {
        SetBoardType4MemoryMap(ctx);
        return true;
    }
    if (ctx.linkStatus == LinkReadError || ctx.linkStatus == LinkCheckError) {
        OfferServiceNoConnectDiagnostics(ctx, m_host);
        ctx.busy = false;
    } else {
        ShowServiceLinkError(ctx, m_host);
    }
    return false;
}

int RestoreControllerSoftware(BenchContext& ctx, ServiceHost& host) {
    if (ctx.prompts.question(PromptIcon::Exclamation, kRestoreTitle,
                             QStringLiteral("Вы действительно хотите восстановить ПО контроллера? "),
                             PromptAnswer::No) != PromptAnswer::Yes)
        return 0;
    ctx.busy = true;
    host.ClearMarks();
    if (!ctx.dontShowStartDialog) {
        bool dontShow = false;
        if (!host.session().ShowStartDialog(ctx.boardType, dontShow))
            return endCommand(ctx);
        ctx.dontShowStartDialog = dontShow;
    }
    if (!ctx.link.EnsureLinkPort()) {
        ShowServiceLinkError(ctx, host);
        endCommand(ctx);
        return OpLinkBase + ctx.linkStatus;
    }
    QString identity;
    const quint8 id = ctx.link.ReadControllerIdentity(identity);
    if (id != LongOk) {
        ShowServiceIdentificationError(ctx, host, id);
        endCommand(ctx);
        return OpLinkBase + id;
    }

    QString path;
    bool found = false;
    if (identity.size() == dd5::NameLength) {
        const QString own = controllerSoftwarePath(ctx, identity);
        QFile probe(own);
        if (probe.open(QIODevice::ReadOnly)) {
            path = own;
            found = true;
        }
    } else if (ctx.prompts.question(PromptIcon::Exclamation, kRestoreTitle,
                                    QStringLiteral("Возможно контроллер уже содержит ПО кассы!  \n"
                                                   "             Все равно продолжить?"),
                                    PromptAnswer::No) != PromptAnswer::Yes) {
        return endCommand(ctx);
    }

    if (!found) {
        path = ctx.prompts.openFile(QStringLiteral("Выберите файл ПО контроллера..."),
                                    {{QStringLiteral("Сохраненное ПО (*.cpu)"), QStringLiteral("*.cpu")},
                                     {QStringLiteral("Все файлы (*.*)"), QStringLiteral("*.*")}},
                                    ctx.workingFolder);
        if (path.isEmpty())
            return endCommand(ctx);
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || QFileInfo(path).isDir()) {
        ShowServiceMessage(ctx, host, PromptIcon::Error, kRestoreTitle,
                           QStringLiteral("Ошибка открытия файла ") + path + QStringLiteral(" !"));
        return endCommand(ctx);
    }
    const qint64 length = file.size();
    if (length > dd5::ImageSize) {
        ShowServiceMessage(ctx, host, PromptIcon::Error, kRestoreTitle,
                           QStringLiteral("Неверный размер файла ") + path + QStringLiteral(" !"));
        return endCommand(ctx);
    }
    OperationArgument image;
    image.text = path; // where the image came from, for the journal
    image.image = file.read(length);
    file.close();
    if (image.image.size() != length) {
        ShowServiceMessage(ctx, host, PromptIcon::Error, kRestoreTitle,
                           QStringLiteral("Ошибка чтения файла ") + path + QStringLiteral(" !"));
        return endCommand(ctx);
    }

    const int r = host.RunProgress(ModeWriteControllerSoftware, image);
    if (r == OpDone) {
        if (found)
            QFile::remove(path);
        ShowServiceMessage(ctx, host, PromptIcon::Exclamation, kRestoreTitle,
                           QStringLiteral("ПО контроллера успешно восстановлено!"));
    } else if (r >= OpFileOpen) {
        ShowServiceMessage(ctx, host, PromptIcon::Error, kRestoreTitle,
                           QStringLiteral("Ошибка записи ПО кассы!"));
    } else {
        ShowServiceIdentificationError(ctx, host, static_cast<quint8>(r - OpLinkBase));
    }
    ctx.busy = false;
    return r;
}

} // namespace kia
