// The file dialogs' filters: the labels the engineer reads stay as written
// ("Все файлы (*.*)"), and each choice lets through the files it names —
// "all files" every file, names without a dot included.

#include "app/widgetprompts.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QTest>

using namespace kia;

Q_DECLARE_METATYPE(QList<FileFilter>)

namespace {
const FileFilter kFp{QStringLiteral("Сохраненные данные ФП (*.fp)"), QStringLiteral("*.fp")};
const FileFilter kAll{QStringLiteral("Все файлы (*.*)"), QStringLiteral("*.*")};

/// The non-native dialog as the prompts open it, with filter `index` chosen.
struct Dialog {
    Dialog(const QList<FileFilter>& filters, int index) {
        dlg.setOptions(fileDialogOptions() | QFileDialog::DontUseNativeDialog);
        dlg.setNameFilter(fileDialogFilter(filters));
        if (index >= 0 && index < dlg.nameFilters().size())
            dlg.selectNameFilter(dlg.nameFilters().at(index));
    }
    QStringList shown() const {
        QStringList texts;
        if (auto* combo = dlg.findChild<QComboBox*>(QStringLiteral("fileTypeCombo")))
            for (int i = 0; i < combo->count(); ++i)
                texts << combo->itemText(i);
        return texts;
    }
    bool lets(const QString& name) const {
        auto* model = dlg.findChild<QFileSystemModel*>();
        return model && QDir::match(model->nameFilters(), name);
    }
    QFileDialog dlg;
};
} // namespace

class TestFileDialogFilter : public QObject {
    Q_OBJECT
private slots:
    void labelsStayAsWritten();
    void choiceLetsThrough_data();
    void choiceLetsThrough();
};

void TestFileDialogFilter::labelsStayAsWritten() {
    Dialog d({kFp, kAll, {QStringLiteral("Таблица CSV"), QStringLiteral("*.csv")}}, 0);
    QCOMPARE(d.shown(), (QStringList{QStringLiteral("Сохраненные данные ФП (*.fp)"),
                                     QStringLiteral("Все файлы (*.*)"),
                                     QStringLiteral("Таблица CSV (*.csv)")}));
}

void TestFileDialogFilter::choiceLetsThrough_data() {
    QTest::addColumn<QList<FileFilter>>("filters");
    QTest::addColumn<int>("choice");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("shown");
    const QList<FileFilter> fp{kFp, kAll};
    QTest::newRow("all files: a name without a dot") << fp << 1 << "README" << true;
    QTest::newRow("all files: a name with a dot") << fp << 1 << "kassa.bin" << true;
    QTest::newRow(".fp: its own file") << fp << 0 << "data.fp" << true;
    QTest::newRow(".fp: a name without a dot") << fp << 0 << "README" << false;
    QTest::newRow(".fp: another extension") << fp << 0 << "data.fls" << false;
    const QList<FileFilter> two{
        {QStringLiteral("Образы (*.bin;*.rom)"), QStringLiteral("*.bin;*.rom")}};
    QTest::newRow("two Windows patterns: the second") << two << 0 << "dump.rom" << true;
    QTest::newRow("two Windows patterns: neither") << two << 0 << "dump.txt" << false;
}

void TestFileDialogFilter::choiceLetsThrough() {
    QFETCH(QList<FileFilter>, filters);
    QFETCH(int, choice);
    QFETCH(QString, name);
    QFETCH(bool, shown);
    Dialog d(filters, choice);
    QCOMPARE(d.lets(name), shown);
}

QTEST_MAIN(TestFileDialogFilter)
#include "tst_filedialogfilter.moc"
