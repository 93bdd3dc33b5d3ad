#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace sim {

/// One board fault a trainer can put on the simulated board: its fault-script
/// line (the same text --faults reads), what it is in the engineer's words,
/// the keyword of the test that finds it, and what a right conclusion of the
/// diagnostics names.
struct CatalogueFault {
    QString id;          ///< stable name, e.g. "ram-cell"
    QString script;      ///< fault-script line(s) for this board type
    QString description; ///< Russian, for the trainer's list
    QString keyword;     ///< the keyword the failing test hands to diagnostics ("" when it depends on the line)
    QStringList names;   ///< any of these in a conclusion names the fault (case-insensitive)
    bool interactive = false; ///< found only by a test the engineer drives (keys, sound)
};

/// The faults of the catalogue that exist on a board type, in list order.
QList<CatalogueFault> faultCatalogue(int boardType);
/// The entry with that id on the board type; null when there is none.
const CatalogueFault* findCatalogueFault(const QList<CatalogueFault>& catalogue, const QString& id);
/// Whether a diagnostics conclusion names the fault.
bool conclusionNamesFault(const CatalogueFault& fault, const QString& conclusion);

} // namespace sim
