#pragma once

#include "boardtests/portimagemodel.h"

#include <QDialog>
#include <QStyledItemDelegate>

class QListWidget;

namespace kia {

/// Paints the rows of the port-image list in the fixed-pitch font: pin
/// headers blue, the labels green, the bits black and the read bits that
/// differ from the expected ones red. Bits stand under their pin numbers.
class PortImageDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    PortImageDelegate(const PortImageModel& model, QObject* parent = nullptr);
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    /// Left edge (pixels from the row's text start) of the bit `bit`.
    static int bitX(int bit, int charWidth) { return PortImageModel::bitColumn(bit) * charWidth; }
    /// Inner padding of a row.
    static int padding(int charWidth) { return charWidth / 2; }

private:
    const PortImageModel& m_model;
};

/// The port-image error list of the bus test ("Тест шин контроллера не
/// прошел !", four ports) and of the PPI test ("Тест ППИ не прошел !", three
/// ports): per port the pin header, the expected and the read levels.
/// "Диагностика" ends with 1, "Выход" (also Esc and the close box) with 2.
/// Modal, on the UI thread.
class CPortImageDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int DiagnosticsResult = 1;
    static constexpr int ExitResult = 2;

    CPortImageDlg(const PortImageModel& model, QWidget* parent = nullptr);

    QListWidget* list() const { return m_list; }
    const PortImageModel& model() const { return m_model; }
    int charWidth() const;

    void reject() override;

private:
    PortImageModel m_model;
    QListWidget* m_list = nullptr;
};

} // namespace kia
