#pragma once

#include <QRect>
#include <QString>

namespace kia {

/// Where a single-point check goes once the engineer has picked a control
/// point on the board view (by mouse or by name) and the link port is open.
/// The guided-diagnostics subsystem implements it: it prepares the board for
/// signal checks, locks the menus (CDiagnView::SetMenusLocked), sets the
/// context's diagnosticsActive flag, clears its step list and opens the probe
/// step (logic probe) or oscilloscope step for the point, placed away from
/// `markRect` (screen coordinates). Installed on the view; UI thread.
class PointCheckHost {
public:
    virtual ~PointCheckHost() = default;
    virtual void StartPointCheck(const QString& pointName, bool logicProbe,
                                 const QRect& markRect) = 0;
};

} // namespace kia
