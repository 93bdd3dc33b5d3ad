#pragma once

#include <QDialog>
#include <QStyledItemDelegate>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace kia {

class MemoryErrorModel;

/// Where the parts of a row of the memory-error list stand, in characters of
/// the list's fixed-pitch font (the dialog's base unit): five address digits,
/// then 16 bytes of two digits with half a character between them and a "-"
/// after the eighth. Shared by the painting and by whoever checks it.
struct MemoryRowLayout {
    /// Left edge of byte `index` (0..15) within the data column, in pixels.
    static int byteX(int index, int charWidth);
    /// Left edge of the "-" within the data column.
    static int dashX(int charWidth) { return 20 * charWidth; }
    /// Inner padding of both columns.
    static int padding(int charWidth) { return charWidth / 2; }
};

/// Paints the rows of the memory-error list from the model: the address in
/// dark green, the bytes blue where they match the pattern and red (read
/// data) or black (expected data) where they do not.
class MemoryRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    MemoryRowDelegate(const MemoryErrorModel& model, QObject* parent = nullptr);
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    const MemoryErrorModel& m_model;
};

/// The memory-test error display: the 128-byte block that holds a bad cell,
/// read data next to what the pattern demands. The model has already read
/// and compared the block (a clean block or a failed read never reaches this
/// window). A click on the data column's header switches between read and
/// expected data. Buttons: "Продолжить тест" (1), "Следующий тест" (125),
/// "Диагностика" (123), "Выход" (2, also Esc and the close box), disabled
/// as the model says. Modal, on the UI thread; the model outlives it.
class CMemoryErrorDlg : public QDialog {
    Q_OBJECT
public:
    CMemoryErrorDlg(MemoryErrorModel& model, QWidget* parent = nullptr);

    QTreeWidget* list() const { return m_list; }
    QLabel* hint() const { return m_hint; }
    /// Pixel width of one character of the list font.
    int charWidth() const;

    /// The header click: read data ↔ expected data, with the hint.
    void toggleMode();

    void reject() override;

private:
    QPushButton* addButton(const QString& text, const char* name, int result, bool enabled);
    void fillRows();

    MemoryErrorModel& m_model;
    QTreeWidget* m_list = nullptr;
    QLabel* m_hint = nullptr;
    QList<QPushButton*> m_buttons;
};

} // namespace kia
