#include "mycolordlg.h"

namespace kia {

QColor toQColor(ColourRef c) {
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

ColourRef toColourRef(const QColor& c) {
    return makeColourRef(c.red(), c.green(), c.blue());
}

CMyColorDlg::CMyColorDlg(const ShellSettings& settings, QWidget* parent) : QColorDialog(parent) {
    setObjectName(QStringLiteral("CMyColorDlg"));
    setOption(QColorDialog::DontUseNativeDialog);
    setWindowTitle(QStringLiteral("Цвет фона"));
    // The chooser keeps one set of custom colours for the whole program.
    for (int i = 0; i < 16; ++i)
        QColorDialog::setCustomColor(i, toQColor(settings.customColours[i]));
    setCurrentColor(toQColor(settings.backgroundColour));
}

void CMyColorDlg::applyTo(ShellSettings& settings) const {
    settings.backgroundColour = toColourRef(currentColor());
    for (int i = 0; i < 16; ++i)
        settings.customColours[i] = toColourRef(QColorDialog::customColor(i));
}

} // namespace kia
