// The three workers that read and write DD5 through the programmer: the
// in-system programming exchanges of long frame 16 wrapped into page reads
// and writes, with the reset line moved around them.

#include "controllerprogramming.h"

#include "progresssink.h"

#include "core/benchcontext.h"
#include "core/clock.h"
#include "link/linkstatus.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace kia {

namespace {

int linkFailure(quint8 longResult) { return OpLinkBase + longResult; }

// Page read at a page start, continued reads elsewhere; the block lands at
// offset 4 of the shared long-frame buffer.
quint8 readBlock(BenchContext& ctx, int address, quint8* block) {
    const quint8 r = address % dd5::PageSize == 0
                         ? ctx.link.BeginPageRead(static_cast<quint16>(address), dd5::BlockSize)
                         : ctx.link.ReceiveChunk(dd5::BlockSize);
    if (r != LongOk)
        return r;
    if (ctx.longFrameBuffer[0] < 3 + dd5::BlockSize)
        return LongNoReply; // a reply without the block is no reply
    std::copy_n(ctx.longFrameBuffer.begin() + 4, dd5::BlockSize, block);
    return LongOk;
}

// Result code of a failed EnterProgramming, with DD5 let go where it was held.
int entryFailure(BenchContext& ctx, const ProgrammingEntry& e) {
    if (e.firstFailed)
        return linkFailure(e.result);
    LeaveProgramming(ctx);
    return e.result != LongOk ? linkFailure(e.result) : linkFailure(LongNoAccess);
}

bool sameFileContents(const QString& path, const QByteArray& image) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && f.size() == image.size() && f.readAll() == image;
}

bool writeWhole(const QString& path, const QByteArray& image) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    if (f.write(image) != image.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

} // namespace

quint8 LeaveProgramming(BenchContext& ctx) { return ctx.link.ControlLine(0); }

ProgrammingEntry EnterProgramming(BenchContext& ctx) {
    ProgrammingEntry e;
    e.result = LeaveProgramming(ctx);
    if (e.result != LongOk) {
        e.firstFailed = true;
        return e;
    }
    ctx.clock.sleepMs(100);
    e.result = ctx.link.ControlLine(1);
    if (e.result != LongOk)
        return e;
    ctx.clock.sleepMs(250);
    e.result = ctx.link.ProgrammingEnable(e.accessed);
    return e;
}

QString controllerSoftwarePath(const BenchContext& ctx, const QString& softwareName) {
    return ctx.workingFolder + softwareName + QStringLiteral(".cpu");
}

QString testProgramPath(const BenchContext& ctx) {
    return ctx.workingFolder + QStringLiteral("testcpu.052");
}

int SaveControllerSoftwareWorker(BenchContext& ctx, ProgressSink& progress,
                                 OperationArgument& argument) {
    argument.savedAs.clear();
    const ProgrammingEntry e = EnterProgramming(ctx);
    if (e.result != LongOk || !e.accessed)
        return entryFailure(ctx, e);

    QByteArray image(dd5::ImageSize, char(0xFF));
    auto* bytes = reinterpret_cast<quint8*>(image.data());
    for (int address = 0; address < dd5::ImageSize; address += dd5::BlockSize) {
        progress.step();
        const quint8 r = readBlock(ctx, address, bytes + address);
        if (r != LongOk) {
            LeaveProgramming(ctx);
            return linkFailure(r);
        }
    }
    LeaveProgramming(ctx);

    // A file of this name may hold the real software saved earlier while DD5
    // now holds something else under the same name (a test program that does
    // not answer carries the name in its last bytes). Never replace it.
    QString path = controllerSoftwarePath(ctx, argument.text);
    if (QFileInfo::exists(path)) {
        if (sameFileContents(path, image))
            return OpDone;
        for (int n = 1;; ++n) {
            const QString other =
                controllerSoftwarePath(ctx, argument.text + QLatin1Char('-') + QString::number(n));
            if (!QFileInfo::exists(other)) {
                path = other;
                break;
            }
        }
        argument.savedAs = path;
    }
    return writeWhole(path, image) ? OpDone : OpFileOpen;
}

int ProgramController(BenchContext& ctx, ProgressSink& progress, const QByteArray& image,
                      const QString& checkCaption) {
    const ProgrammingEntry e = EnterProgramming(ctx);
    if (e.result != LongOk || !e.accessed)
        return entryFailure(ctx, e);
    quint8 r = ctx.link.ChipErase();
    if (r != LongOk) {
        LeaveProgramming(ctx);
        return linkFailure(r);
    }
    ctx.clock.sleepMs(500);

    const auto* bytes = reinterpret_cast<const quint8*>(image.constData());
    bool skipPage = false;
    for (int address = 0; address < dd5::ImageSize; address += dd5::BlockSize) {
        progress.step();
        if (address % dd5::PageSize == 0) {
            skipPage = std::all_of(bytes + address, bytes + address + dd5::PageSize,
                                   [](quint8 b) { return b == 0xFF; });
            if (!skipPage) {
                ctx.clock.sleepMs(40);
                r = ctx.link.BeginPageWrite(static_cast<quint16>(address));
                if (r != LongOk) {
                    LeaveProgramming(ctx);
                    return linkFailure(r);
                }
            }
        }
        if (skipPage)
            continue;
        r = ctx.link.SendChunk(std::span<const quint8>(bytes + address, dd5::BlockSize),
                               dd5::BlockSize);
        if (r != LongOk) {
            LeaveProgramming(ctx);
            return linkFailure(r);
        }
    }

    progress.setPosition(0);
    progress.setCaption(checkCaption);
    quint8 block[dd5::BlockSize];
    for (int address = 0; address < dd5::ImageSize; address += dd5::BlockSize) {
        progress.step();
        r = readBlock(ctx, address, block);
        if (r != LongOk) {
            LeaveProgramming(ctx);
            return linkFailure(r);
        }
        if (!std::equal(block, block + dd5::BlockSize, bytes + address)) {
            LeaveProgramming(ctx);
            return OpCompare;
        }
    }
    LeaveProgramming(ctx);
    return OpDone;
}

int WriteTestProgramWorker(BenchContext& ctx, ProgressSink& progress,
                           OperationArgument& argument) {
    QFile f(testProgramPath(ctx));
    if (!f.open(QIODevice::ReadOnly))
        return OpFileOpen;
    const qint64 length = f.size();
    if (length > dd5::ImageSize)
        return OpFileSize;
    QByteArray image(dd5::ImageSize, char(0xFF));
    if (f.read(image.data(), length) != length)
        return OpFileRead;
    f.close();
    const QByteArray name = argument.text.toLatin1().left(dd5::NameLength);
    std::copy(name.begin(), name.end(), image.begin() + dd5::NameOffset);
    return ProgramController(ctx, progress, image, QStringLiteral("Проверка записи тест-программы..."));
}

int WriteControllerSoftwareWorker(BenchContext& ctx, ProgressSink& progress,
                                  OperationArgument& argument) {
    QByteArray image = argument.image.left(dd5::ImageSize);
    if (image.size() < dd5::ImageSize)
        image.append(QByteArray(dd5::ImageSize - image.size(), char(0xFF)));
    return ProgramController(ctx, progress, image,
                             QStringLiteral("Проверка записи ПО кассы в контроллер..."));
}

} // namespace kia
