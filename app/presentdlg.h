#pragma once

#include <QDialog>
#include <QFont>
#include <QPixmap>

namespace kia {

/// The board choice shown at start-up: the program picture with the five
/// board designations over it. Arrow keys or the mouse move the selection;
/// Enter or a click on a designation chooses. exec() returns 10 + the chosen
/// row (the board type plus 10), or 2 when the engineer cancels (Esc, close box).
class CPresentDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int ResultBase = 10;
    static constexpr int ResultCancel = 2;
    static constexpr int RowCount = 5;

    explicit CPresentDlg(QWidget* parent = nullptr);

    int selection() const { return m_selection; }
    /// Dialog base units: Y vertical, W horizontal + 1.
    int unitY() const { return m_unitY; }
    int unitW() const { return m_unitW; }
    /// Area of the designations that reacts to the mouse, in the picture
    /// control's coordinates.
    QRect hitArea() const;
    /// The owner-drawn picture control that fills the dialog.
    QWidget* pictureControl() const;

    void accept() override;
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    class Picture;
    friend class Picture;

    void setSelection(int row);
    /// Row under a point of the picture control, or -1 outside the hit area.
    int rowAt(const QPoint& pos) const;
    void paintPicture(QPainter& painter, const QRect& r) const;

    int m_selection = 0;
    int m_unitY = 16;
    int m_unitW = 9;
    QPixmap m_background;
    QFont m_font;
    Picture* m_picture = nullptr;
};

} // namespace kia
