#include "boardtimeline.h"

#include <QPaintEvent>
#include <QPainter>

namespace kia {

BoardTimeline::BoardTimeline(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("boardTimeline"));
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void BoardTimeline::setRows(const QList<JournalRow>& rows) {
    m_rows = rows;
    updateGeometry();
    resize(sizeHint());
    update();
}

QString BoardTimeline::markText(const JournalRow& row) {
    QString text = row.at.toString(QStringLiteral("HH:mm")) + QStringLiteral("  ") +
                   journalKindLabel(row.kind) + QStringLiteral(": ") + row.name;
    if (!row.verdict.isEmpty())
        text += QStringLiteral(" — ") + row.verdict.simplified();
    return text;
}

bool BoardTimeline::startsDay(int i) const {
    if (i < 0 || i >= m_rows.size())
        return false;
    return i == 0 || m_rows[i].at.date() != m_rows[i - 1].at.date();
}

QColor BoardTimeline::markColour(JournalEvent::Outcome outcome) {
    switch (outcome) {
    case JournalEvent::Outcome::Passed:
        return QColor(0, 159, 0);
    case JournalEvent::Outcome::Failed:
        return QColor(159, 0, 0);
    case JournalEvent::Outcome::None:
        break;
    }
    return QColor(128, 128, 128);
}

int BoardTimeline::rowHeight() const {
    return fontMetrics().height() + 6;
}

int BoardTimeline::dayCount() const {
    int days = 0;
    for (int i = 0; i < m_rows.size(); ++i)
        days += startsDay(i) ? 1 : 0;
    return days;
}

QSize BoardTimeline::sizeHint() const {
    return QSize(520, 8 + rowHeight() * int(m_rows.size() + dayCount()) + 8);
}

void BoardTimeline::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.fillRect(event->rect(), palette().base());
    const int h = rowHeight();
    const int lineX = 24;
    if (m_rows.isEmpty()) {
        p.setPen(palette().color(QPalette::PlaceholderText));
        p.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignLeft | Qt::AlignTop,
                   QStringLiteral("Событий нет."));
        return;
    }
    p.setPen(QPen(palette().color(QPalette::Mid), 2));
    p.drawLine(lineX, 8, lineX, height() - 8);
    int y = 8;
    for (int i = 0; i < m_rows.size(); ++i) {
        const JournalRow& row = m_rows[i];
        if (startsDay(i)) {
            QFont bold = font();
            bold.setBold(true);
            p.setFont(bold);
            p.setPen(palette().color(QPalette::Text));
            p.drawText(QRect(lineX + 14, y, width() - lineX - 20, h), Qt::AlignVCenter,
                       row.at.toString(QStringLiteral("dd.MM.yyyy")));
            p.setFont(font());
            y += h;
        }
        p.setPen(Qt::NoPen);
        p.setBrush(markColour(row.outcome));
        p.drawEllipse(QPoint(lineX, y + h / 2), 5, 5);
        p.setPen(palette().color(QPalette::Text));
        p.drawText(QRect(lineX + 14, y, width() - lineX - 20, h), Qt::AlignVCenter,
                   markText(row));
        y += h;
    }
}

} // namespace kia
