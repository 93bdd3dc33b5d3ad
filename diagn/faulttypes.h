#pragma once

#include <QByteArrayView>
#include <QIODevice>
#include <QList>
#include <QString>

namespace kia {

class BenchContext;
class DiagnosticsEngine;
class TestSessionHost;

/// One line of the fault-type list and the scenario it starts.
struct FaultTypeEntry {
    QString description; // "T-"
    QString scenario;    // "D0-" or "D1-"
    int startFlag = 1;   // 0 oscilloscope scenario, 1 the common path
};

/// The fault-type entries at the head of the scenario file for one board
/// type, in file order. An entry that names both "D0-" and "D1-", or
/// neither, is left out (and counted), so every listed line starts the
/// scenario written on it. Pure; any thread.
struct FaultTypeList {
    bool readable = false; // false: no file, or no scenario header of the board after the entries
    QList<FaultTypeEntry> entries;
    int skipped = 0;
};

FaultTypeList ReadFaultTypes(QIODevice& device, int boardType);
FaultTypeList ReadFaultTypes(QByteArrayView text, int boardType);
FaultTypeList ReadFaultTypes(const QString& fileName, int boardType);

/// Results of the fault-type list dialog.
enum FaultTypeResult : int { FaultTypeCancel = 0, FaultTypeOk = 1, FaultTypeUnreadable = 124 };

/// What the fault-type command needs from the windows: the list dialog,
/// modal. Returns the result and, on OK, the chosen row in `row` (-1: none
/// chosen, the dialog stays open, so a host returns OK only with a row).
class FaultTypeChooser {
public:
    virtual ~FaultTypeChooser() = default;
    virtual int ChooseFaultType(const FaultTypeList& list, int& row) = 0;
};

/// "Диагностика по типам неисправностей": nothing while diagnostics run;
/// the list from the scenario file; the load error on 124; on OK the link
/// prepared as for a test, the chosen name into the report text and the
/// scenario started. Returns true when a run started. UI thread.
bool RunFaultTypeCommand(BenchContext& ctx, TestSessionHost& tests, FaultTypeChooser& chooser,
                         DiagnosticsEngine& engine);

/// The dialog's title.
QString faultTypeTitle();

} // namespace kia
