#pragma once

#include <QDialog>

namespace kia {

/// "О программе...": the program picture and the version line.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
    static QString versionText();
};

} // namespace kia
