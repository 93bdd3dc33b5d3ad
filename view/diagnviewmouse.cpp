// Picking control points with the mouse and by name, and handing the picked
// point to the single-point check.
#include "diagnview.h"

#include "app/commandrouter.h"
#include "app/shellsettings.h"
#include "boardgeometry.h"
#include "core/benchcontext.h"
#include "core/board.h"
#include "core/userprompts.h"
#include "link/linkmessages.h"
#include "pointcheckhost.h"

#include <QMouseEvent>

namespace kia {

bool CDiagnView::pickingAllowed(const QMouseEvent* event) const {
    return !m_ctx.diagnosticsActive && event->buttons() == Qt::LeftButton &&
           !(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier));
}

void CDiagnView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && pickingAllowed(event))
        track(event->position().toPoint());
}

void CDiagnView::mouseMoveEvent(QMouseEvent* event) {
    if (pickingAllowed(event))
        track(event->position().toPoint());
}

void CDiagnView::mouseReleaseEvent(QMouseEvent* event) {
    // Where the button comes up does not matter: the highlighted point is taken.
    if (event->button() == Qt::LeftButton && !m_ctx.diagnosticsActive && m_highlight >= 0)
        selectHighlighted();
}

void CDiagnView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || m_ctx.diagnosticsActive || !m_askName)
        return;
    const std::optional<QString> name = m_askName(this);
    if (!name)
        return;
    if (!ShowPoint(*name, MarkCheck))
        return;
    beginPointCheck(*name);
}

void CDiagnView::track(const QPoint& windowPos) {
    const QPoint pic = windowPos - pictureOffset() + scrollPosition();
    const int found = pickPoint(m_points, pictureKind(), pic.x(), pic.y());
    if (found == m_highlight)
        return;
    if (m_highlight >= 0)
        viewport()->update(highlightRect(m_highlight));
    m_highlight = found;
    if (found >= 0)
        viewport()->update(highlightRect(found));
}

void CDiagnView::selectHighlighted() {
    const int i = m_highlight;
    m_points[i].state = MarkCheck;
    const QRect square = squareOf(i);
    m_markRect = QRect(viewport()->mapToGlobal(square.topLeft()), square.size());
    viewport()->update(highlightRect(i));
    m_highlight = -1;
    viewport()->repaint(square.united(highlightRect(i)));
    beginPointCheck(m_points[i].displayName());
}

void CDiagnView::beginPointCheck(const QString& name) {
    if (!m_ctx.link.EnsureLinkPort()) {
        ClearMarks();
        ShowLinkError(m_ctx);
        return;
    }
    if (!m_host) {
        // Guided diagnostics are not installed in this build.
        ClearMarks();
        m_ctx.prompts.message(PromptIcon::Information, productCaption(),
                              CommandRouter::notAvailableText());
        return;
    }
    m_host->StartPointCheck(name, m_settings.logicProbe(), m_markRect);
}

} // namespace kia
