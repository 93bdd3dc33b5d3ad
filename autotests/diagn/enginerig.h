#pragma once

// The diagnostics engine on the simulated bench: a scenario file in the
// rig's folder, step dialogs answered from a list, a board that knows a few
// points, and a trace of what the engineer would have seen.

#include "benchrig.h"

#include "core/cp1251.h"
#include "diagn/diagnosticsengine.h"

#include <QFile>
#include <QSet>
#include <QStringList>

namespace testhost {

class ScriptedBoard final : public kia::DiagnosticsBoard {
public:
    QSet<QString> known{QStringLiteral("DD1"), QStringLiteral("DD2"), QStringLiteral("DD3"),
                        QStringLiteral("XS1")};
    QStringList marks; // "DD1" marked, ">DD3" shown
    bool locked = false;
    int lockChanges = 0;
    void ClearMarks() override { marks.clear(); }
    bool MarkPoint(const QString& n) override {
        marks << n;
        return known.contains(n);
    }
    bool ShowPoint(const QString& n) override {
        marks << QLatin1Char('>') + n;
        return known.contains(n);
    }
    QRect MarkRect() const override { return QRect(10, 20, 64, 64); }
    void SetMenusLocked(bool l) override {
        locked = l;
        ++lockChanges;
    }
};

class ScriptedDialogs final : public kia::StepDialogHost {
public:
    QStringList trace;
    QList<kia::StepRequest> requests;
    bool open = false;
    void OpenStepDialog(const kia::StepRequest& r) override {
        requests << r;
        open = true;
        QString text = r.text;
        text.replace(QLatin1Char('\n'), QLatin1Char('/'));
        trace << QStringLiteral("%1:%2 %3%4 [%5] %6")
                     .arg(r.scenario).arg(r.node)
                     .arg(r.oscilloscope ? QStringLiteral("osc") : QStringLiteral("probe"))
                     .arg(r.oscilloscope ? QString::number(r.mode) : QString())
                     .arg(r.point, text);
    }
    void TestStepDone(const QString& name, int result) override {
        trace << QStringLiteral("test %1=%2").arg(name).arg(result);
    }
    void RunEnded(kia::RunEnd how, const QString& message) override {
        static const char* words[] = {"path", "stopped", "error"};
        trace << QStringLiteral("end %1 %2").arg(QLatin1String(words[int(how)]), message).trimmed();
    }
};

struct EngineRig {
    explicit EngineRig(int boardType = 0)
        : rig(boardType), engine(rig.ctx, rig.host, dialogs, board) {
        rig.ctx.scenarios = &engine;
    }

    void writeScenarios(const QString& utf8) {
        QFile f(rig.ctx.workingFolder + QStringLiteral("kia_nelta2.dgn"));
        f.open(QIODevice::WriteOnly);
        f.write(kia::toCp1251(utf8));
    }

    // Answers the open dialogs: pass, fail0, fail1, stop, back=I, code=N.
    void answer(const QStringList& answers) {
        for (const QString& a : answers) {
            if (!engine.running() || !dialogs.open)
                return;
            dialogs.open = false;
            if (a == QStringLiteral("pass"))
                engine.HandleOutcome(kia::CodePass);
            else if (a == QStringLiteral("fail0"))
                engine.HandleOutcome(kia::CodeFail, 0);
            else if (a == QStringLiteral("fail1"))
                engine.HandleOutcome(kia::CodeFail, 1);
            else if (a == QStringLiteral("stop"))
                engine.HandleOutcome(kia::CodeStop);
            else if (a.startsWith(QStringLiteral("back=")))
                engine.HandleOutcome(kia::CodeBackToStep, a.mid(5).toInt());
            else if (a.startsWith(QStringLiteral("code=")))
                engine.HandleOutcome(a.mid(5).toInt(), 0);
        }
    }

    BenchRig rig;
    ScriptedBoard board;
    ScriptedDialogs dialogs;
    kia::DiagnosticsEngine engine;
};

} // namespace testhost
