#pragma once

#include "versionlist.h"

#include <QDialog>

class QComboBox;

namespace kia {

class BenchContext;

/// "Выберите версию ПО ККМ...": the engineer picks the cash-register software
/// version before the ROM test of board types 0..3. The list is read from
/// "versions.txt" of the working folder each time the dialog is made; a
/// missing file is reported and leaves only the oldest-version entry.
/// OK writes the chosen value into the context's chosenVersion and ends with 1;
/// "Отменить" ends with 2. Run modally on the UI thread.
class CSelVersionDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int ResultOk = 1;
    static constexpr int ResultCancel = 2;

    explicit CSelVersionDlg(BenchContext& ctx, QWidget* parent = nullptr);

    const QList<VersionEntry>& entries() const { return m_entries; }
    QComboBox* list() const { return m_list; }

    void accept() override;
    void reject() override;

private:
    BenchContext& m_ctx;
    QList<VersionEntry> m_entries;
    QComboBox* m_list = nullptr;
};

} // namespace kia
