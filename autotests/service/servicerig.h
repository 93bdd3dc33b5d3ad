#pragma once

// A board-type-4 bench whose DD5 starts with the cash register's software, a
// working folder with "testcpu.052", and a service host that runs every
// operation on the calling thread and records what it showed.

#include "boardtests/benchrig.h"

#include "service/controllerprogramming.h"
#include "service/controllersoftware.h"
#include "service/operationmodes.h"
#include "service/progresssink.h"
#include "service/servicehost.h"

#include <QFile>
#include <QList>
#include <QStringList>

namespace testhost {

/// Counts what a worker reported.
struct RecordingSink final : kia::ProgressSink {
    void step() override { ++steps; ++position; maxPosition = std::max(maxPosition, position); }
    void setPosition(int p) override { position = p; }
    void setRange(int m) override { ranges << m; }
    void setCaption(const QString& c) override { captions << c; }
    int steps = 0;
    int position = 0;
    int maxPosition = 0;
    QList<int> ranges;
    QStringList captions;
};

struct RecordingServiceHost final : kia::ServiceHost {
    RecordingServiceHost(kia::BenchContext& c, ScriptedTestHost& s) : ctx(c), sessionHost(s) {}
    int RunProgress(int mode, kia::OperationArgument& argument) override {
        modes << mode;
        RecordingSink sink;
        const int r = kia::RunOperation(ctx, sink, mode, argument);
        sinks << sink;
        results << r;
        return r;
    }
    kia::TestSessionHost& session() override { return sessionHost; }
    void ClearMarks() override { ++marksCleared; }
    void ShowStatus(const QString& text) override { status << text; }
    bool ShowPreVerification() override {
        ++preVerifications;
        return continueVerification;
    }

    kia::BenchContext& ctx;
    ScriptedTestHost& sessionHost;
    QList<int> modes;
    QList<int> results;
    QList<RecordingSink> sinks;
    QStringList status;
    int marksCleared = 0;
    int preVerifications = 0;
    bool continueVerification = true;
};

struct ServiceRig {
    ServiceRig() : rig(4), service(rig.ctx, rig.host), preparation(service) {
        rig.bench.setDd5StartState(sim::Dd5Controller::StartState::CashSoftware);
        rig.ctx.dontShowStartDialog = true;
        rig.ctx.controllerPreparation = &preparation;
        const QString source = qEnvironmentVariable("KIA_SOURCE_DIR") + QStringLiteral("/data/testcpu.052");
        QFile::copy(source, folder() + QStringLiteral("testcpu.052"));
        preparation.localTime = [] {
            return QDateTime(QDate(2007, 6, 23), QTime(9, 14, 5));
        };
    }
    QString folder() const { return rig.ctx.workingFolder; }
    QByteArray dd5Code() {
        const auto& c = rig.bench.dd5().code();
        return QByteArray(reinterpret_cast<const char*>(c.data()), int(c.size()));
    }
    static QByteArray image(const std::array<quint8, 8192>& c) {
        return QByteArray(reinterpret_cast<const char*>(c.data()), int(c.size()));
    }

    BenchRig rig;
    RecordingServiceHost service;
    kia::ServiceControllerPreparation preparation;
};

inline QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace testhost
