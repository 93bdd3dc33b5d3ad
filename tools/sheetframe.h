#pragma once

#include "boardtables.h"

#include <QPainter>
#include <QRect>
#include <QSize>

namespace kia::art {

/// The drawing sheet of a circuit diagram: the frame with its filing
/// margin, the title block in the lower right corner, the turned designation
/// box in the upper left and the record boxes of the filing margin.
class SheetFrame {
public:
    explicit SheetFrame(QSize sheet);

    /// Area inside the frame.
    QRect inner() const { return m_inner; }
    /// The title block (no drawing may enter it).
    QRect titleBlock() const { return m_title; }

    void paint(QPainter& p, const QString& designation, const QString& name) const;

private:
    QSize m_sheet;
    QRect m_inner;
    QRect m_title;
};

/// Table of the supply pins of every part (they are not wired on the sheet).
class PowerTable {
public:
    static int width(const BoardTables& board);
    static void paint(QPainter& p, const BoardTables& board, QPoint topLeft);
};

} // namespace kia::art
