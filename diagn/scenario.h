#pragma once

#include "scenarionode.h"

#include <QByteArrayView>
#include <QIODevice>
#include <QList>
#include <QString>
#include <memory>

namespace kia {

/// Scenario kinds of the scenario file, told by the header keyword.
enum ScenarioKind : int { KindCommon = 0, KindOscilloscope = 1, KindProbe = 2 };

/// One scenario of the scenario file as a node table: the graph reached from
/// step 1, built breadth-first. Index 0 is never a node; node 1 is step 1.
/// A link to a step that already has a node holds that node's index, so the
/// engine can follow every link as an index whatever the file's numbering.
/// Owned by the diagnostics engine; UI thread. The file is read once per
/// load, in Windows-1251.
class Scenario {
public:
    /// "CDIAGN", "ODIAGN" or "PDIAGN"; empty for other kinds.
    static QString KindKeyword(int kind);

    /// Whether a line of the scenario file is the header of scenario `name`
    /// of `kind` for `boardType`, by the rule Load finds a scenario with:
    /// trailing blanks cut, the kind keyword anywhere, the first occurrence of
    /// the name at the very end after a blank, the mask after the keyword.
    static bool IsHeaderOf(QByteArrayView line, int kind, const QString& name, int boardType);
    /// The name a header line of `kind` is written for: what follows the
    /// keyword's first occurrence, its two mask characters and the blanks
    /// after them (trailing blanks cut); empty when the line lacks the keyword.
    /// Whether Load finds the scenario by that name is IsHeaderOf's answer.
    static QString HeaderName(QByteArrayView line, int kind);

    /// Loads scenario `name` of `kind` for `boardType` from the file. On a
    /// missing file, header, body or step 1 the table stays as it was; a
    /// branch to a missing step from a point or text step empties it.
    bool Load(const QString& fileName, const QString& name, int kind, int boardType);
    /// The same from an open device (tests, fuzzing, the benchmark).
    bool Load(QIODevice& device, const QString& name, int kind, int boardType);
    bool LoadFromBytes(QByteArrayView bytes, const QString& name, int kind, int boardType);

    /// Copies node `index` when 1 <= index < table size.
    bool GetNode(int index, ScenarioNode& node) const;
    const ScenarioNode* node(int index) const;
    /// Number of nodes (the table size less the empty slot 0).
    int NodeCount() const { return int(m_nodes.size()); }
    /// Kind and name of the scenario last loaded successfully.
    int Kind() const { return m_kind; }
    QString Name() const { return m_name; }

    /// Deletes node `index` and every node below it through the parent
    /// relation, clears the links to them and closes the gaps. ClearFrom(1)
    /// empties the table.
    void ClearFrom(int index);

private:
    QList<ScenarioNode> m_nodes; // m_nodes[i] is node i + 1
    int m_kind = KindCommon;
    QString m_name;
};

} // namespace kia
