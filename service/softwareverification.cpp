// Verifying a running cash register's software against a reference image
// over its own protocol (no programmer, no test program).

#include "softwareverification.h"

#include "progresssink.h"
#include "servicehost.h"
#include "servicemessages.h"
#include "softwareupdate.h"

#include "core/benchcontext.h"
#include "core/userprompts.h"
#include "link/linkmessages.h"
#include "link/linkstatus.h"

#include <QFile>

namespace kia {

namespace {
constexpr int kBlock = 64;
const QString kTitle = QStringLiteral("Верификация ПО кассы");

int compareBank(BenchContext& ctx, ProgressSink& progress, QFile& file, int bank, int from) {
    std::array<quint8, 69> reply{};
    char expected[kBlock];
    for (int address = from; address < softwareimage::BankSpan; address += kBlock) {
        if (!ctx.link.CashRegisterRead(static_cast<quint8>(bank), static_cast<quint16>(address),
                                       reply))
            return OpLinkBase + ctx.linkStatus;
        if (file.read(expected, kBlock) != kBlock)
            return OpFileRead;
        if (!std::equal(reply.begin() + 4, reply.begin() + 4 + kBlock,
                        reinterpret_cast<const quint8*>(expected)))
            return OpCompare;
        progress.step();
    }
    return OpDone;
}
} // namespace

int VerifySoftwareWorker(BenchContext& ctx, ProgressSink& progress, OperationArgument& argument) {
    QFile file(argument.text);
    if (!file.open(QIODevice::ReadOnly))
        return OpFileOpen;
    if (file.size() != softwareimage::Size)
        return OpFileSize;
    int r = compareBank(ctx, progress, file, 0, 0);
    if (r != OpDone)
        return r;
    if (!file.seek(0x12000))
        return OpFileRead;
    return compareBank(ctx, progress, file, 1, softwareimage::ProgramStart);
}

int RunSoftwareVerification(BenchContext& ctx, ServiceHost& host) {
    const bool wasBusy = ctx.busy;
    ctx.busy = true;
    auto end = [&](int result) {
        ctx.linkStatus = 0;
        ctx.link.CloseLinkPort();
        ctx.busy = wasBusy;
        return result;
    };
    ctx.prompts.beep(600, 30);
    if (!host.ShowPreVerification()) {
        ctx.busy = wasBusy;
        return 0;
    }
    if (ctx.link.openPort() == ctx.selectedPort)
        ctx.link.CloseLinkPort();

    qint32 found = 0;
    for (qint32 speed : kCashRegisterSpeeds) {
        if (!ctx.link.OpenLinkPort(ctx.selectedPort, speed)) {
            ctx.linkStatus = LinkPortError;
            ctx.prompts.beep(600, 30);
            const StatusMessage m = CashLinkStatusText(ctx.linkStatus, ctx.selectedPort);
            ShowServiceMessage(ctx, host, PromptIcon::Error, m.title, m.text);
            ctx.linkStatus = 0;
            ctx.busy = wasBusy;
            return int(OpLinkBase) + LinkPortError;
        }
        if (ctx.link.CashRegisterPing()) {
            found = speed;
            break;
        }
        ctx.link.CloseLinkPort();
    }
    if (found == 0 || (found != 115200 && !ctx.link.CashRegisterSetSpeed(115200))) {
        const int failure = OpLinkBase + ctx.linkStatus;
        ShowServiceCashLinkError(ctx, host);
        return end(failure);
    }

    OperationArgument argument;
    argument.text = ctx.prompts.openFile(
        QStringLiteral("Выберите файл эталонного ПО кассы..."),
        {{QStringLiteral("Бинарные файлы (*.bin)"), QStringLiteral("*.bin")},
         {QStringLiteral("Все файлы (*.*)"), QStringLiteral("*.*")}},
        ctx.workingFolder);
    if (argument.text.isEmpty()) {
        if (found != 115200)
            ctx.link.CashRegisterSetSpeed(found);
        return end(0);
    }

    const int result = host.RunProgress(ModeVerifySoftware, argument);
    if (found != 115200 && (result == OpDone || result == OpLinkBase))
        ctx.link.CashRegisterSetSpeed(found);
    ctx.link.CloseLinkPort();
    ctx.prompts.beep(600, 30);
    const QString path = argument.text;
    switch (result) {
    case OpDone:
        ShowServiceMessage(ctx, host, PromptIcon::Exclamation, kTitle,
                           QStringLiteral("ПО кассы соответствует эталонному !  "));
        break;
    case OpFileOpen:
    case OpFileSize:
    case OpFileRead:
        ShowServiceMessage(ctx, host, PromptIcon::Error, kTitle,
                           softwareFileProblemText(result, path));
        break;
    case OpCompare:
        ShowServiceMessage(ctx, host, PromptIcon::Error, kTitle,
                           QStringLiteral("Ошибка сравнения ПО кассы с эталонной версией!  "));
        break;
    default:
        if (result > OpLinkBase && result < OpFileOpen) {
            ctx.linkStatus = static_cast<quint8>(result - OpLinkBase);
            ShowServiceCashLinkError(ctx, host);
        }
        break;
    }
    return end(result);
}

} // namespace kia
