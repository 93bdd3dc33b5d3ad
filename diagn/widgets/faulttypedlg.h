#pragma once

#include "diagn/faulttypes.h"

#include <QDialog>

class QListWidget;

namespace kia {

/// "Выберите тип неисправности...": the listed fault types in file order;
/// "OK" with a selected line closes with OK, without one does nothing;
/// "Отменить" cancels. UI thread.
class CFaultTypeDlg : public QDialog {
    Q_OBJECT
public:
    CFaultTypeDlg(const FaultTypeList& list, QWidget* parent = nullptr);
    int chosenRow() const;
    void OnOK();

private:
    QListWidget* m_list = nullptr;
};

} // namespace kia
