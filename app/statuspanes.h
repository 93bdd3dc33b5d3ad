#pragma once

#include <QString>
#include <QtGlobal>

namespace kia {

/// Idle text of the prompt pane (pane 0).
QString idlePromptText();
/// Pane 1: "Выбор: COM" + port + " и " + the instrument ("лог. пробник." for
/// the logic probe, 1; "осциллограф." otherwise).
QString selectionPaneText(int comPort, quint8 instrument);

} // namespace kia
