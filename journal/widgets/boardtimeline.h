#pragma once

#include "journal/journalreader.h"

#include <QWidget>

namespace kia {

/// One board's history as a time line: a vertical line, one mark per event
/// (green for a pass, red for a fault, grey otherwise), the day written where
/// it changes, and the event's name and verdict beside its mark.
class BoardTimeline : public QWidget {
    Q_OBJECT
public:
    explicit BoardTimeline(QWidget* parent = nullptr);

    void setRows(const QList<JournalRow>& rows);
    const QList<JournalRow>& rows() const { return m_rows; }

    /// What one mark says, as drawn: "HH:mm  Вид: что — итог".
    static QString markText(const JournalRow& row);
    /// Whether a day heading goes before row i (the first row, or a new day).
    bool startsDay(int i) const;
    static QColor markColour(JournalEvent::Outcome outcome);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int rowHeight() const;
    int dayCount() const;
    QList<JournalRow> m_rows;
};

} // namespace kia
