#pragma once

#include "journal/journalreader.h"

#include <QDialog>

class QComboBox;
class QDateEdit;
class QCheckBox;
class QLabel;
class QTableWidget;
class QTabWidget;
class QTimer;

namespace kia {

class BoardTimeline;
class UserPrompts;

/// What an event's details hold that the engineer may want to see again, one
/// line each: the files written or read, the backups made before a
/// destructive write, DD5's identity, the keyword of a failed test. Shown as
/// the tool tip of the event's row; empty when there is none of these.
QString journalDetailsText(const QJsonObject& details);

/// "Журнал ремонта": the journal's events filtered by board and days, one
/// board's history as a time line, and the shown rows exported as CSV. Reads
/// on a connection of its own while the workstation writes, and looks for new
/// rows every few seconds while it is open. Modeless, on the UI thread.
class JournalWindow : public QDialog {
    Q_OBJECT
public:
    JournalWindow(const QString& journalPath, UserPrompts& prompts, QWidget* parent = nullptr);

    /// Reads the journal again (the filter stays as set).
    void refresh();
    /// Writes the rows shown to a file the engineer chooses; false when
    /// cancelled or the file could not be written (he has been told).
    bool exportCsv();

    const QList<JournalRow>& shownRows() const { return m_rows; }
    JournalFilter filter() const;

    static constexpr int kRefreshMs = 3000;

private:
    void reloadBoards();
    void showRows();
    void boardChosen();

    QString m_path;
    UserPrompts& m_prompts;
    JournalReader m_reader;
    QList<JournalRow> m_rows;
    QComboBox* m_board;
    QCheckBox* m_useDays;
    QDateEdit* m_from;
    QDateEdit* m_to;
    QTabWidget* m_tabs;
    QTableWidget* m_table;
    BoardTimeline* m_timeline;
    QLabel* m_status;
    QTimer* m_poll;
};

} // namespace kia
