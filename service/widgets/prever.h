#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace kia {

/// The pre-verification dialog: how to connect the running cash register to
/// the PC (the connection picture, bitmap 300) and the instructions, with
/// "Продолжить" (accept) and "Отменить" (reject). The caller beeps before it
/// opens. UI thread only.
class CPreVer : public QDialog {
    Q_OBJECT
public:
    explicit CPreVer(QWidget* parent = nullptr);

    /// The instructions the text field is filled with on opening.
    static QString instructionText();
    /// Resource of the connection picture.
    static QString pictureResource() { return QStringLiteral(":/bitmaps/300.png"); }

    QLabel* picture() const { return m_picture; }
    QPlainTextEdit* textField() const { return m_text; }
    QPushButton* continueButton() const { return m_continue; }
    QPushButton* cancelButton() const { return m_cancel; }

private:
    QLabel* m_picture = nullptr;
    QPlainTextEdit* m_text = nullptr;
    QPushButton* m_continue = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace kia
