#pragma once

#include "app/shellsettings.h"

#include <QColorDialog>

namespace kia {

QColor toQColor(ColourRef c);
ColourRef toColourRef(const QColor& c);

/// "Цвет фона": the colour chooser preset with the background colour and the
/// 16 custom colours of the settings. applyTo() copies the choice back. Modal.
class CMyColorDlg : public QColorDialog {
    Q_OBJECT
public:
    explicit CMyColorDlg(const ShellSettings& settings, QWidget* parent = nullptr);
    /// Stores the chosen colour and the dialog's custom colours in `settings`.
    void applyTo(ShellSettings& settings) const;
};

} // namespace kia
