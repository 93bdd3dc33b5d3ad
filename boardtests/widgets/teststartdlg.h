#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace kia {

/// "Начало тестирования": how to connect the board before a test from the
/// menu. The instructions of the board type, "Продолжить" (accepted) and
/// "Отменить" (rejected), the check box "Больше не выводить это сообщение."
/// and the connection scheme, hidden at first: the dialog opens collapsed
/// (full height less the picture and 20 pixels), centred over its parent
/// window, and "Схема подключения" / "Скрыть схему" shows and hides the
/// picture. Run modally by the window's test session; UI thread.
class CTestStartDlg : public QDialog {
    Q_OBJECT
public:
    explicit CTestStartDlg(int boardType, QWidget* parent = nullptr);

    /// The check box as the engineer left it.
    bool dontShowAgain() const;
    bool isExpanded() const { return m_expanded; }
    /// Height with the picture shown, and without it.
    int fullHeight() const { return m_fullHeight; }
    int collapsedHeight() const { return m_collapsedHeight; }
    int pictureHeight() const;

    /// What the toggle button does: show or hide the scheme.
    void toggleScheme();

private:
    void setExpanded(bool expanded);
    void centreOverParent();

    QLabel* m_text = nullptr;
    QLabel* m_picture = nullptr;
    QCheckBox* m_dontShow = nullptr;
    QPushButton* m_toggle = nullptr;
    bool m_expanded = false;
    int m_fullHeight = 0;
    int m_collapsedHeight = 0;
};

} // namespace kia
