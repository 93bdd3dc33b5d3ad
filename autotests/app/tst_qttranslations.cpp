// Qt's own dialogs and buttons in Russian, and a clear word when the
// translation is missing.
#include "core/qttranslations.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace kia;

class TestQtTranslations : public QObject {
    Q_OBJECT

private slots:
    // Runs first: nothing is installed yet.
    void missingFileIsReportedAndHarmless() {
        QTemporaryDir empty;
        QString warning;
        QVERIFY(!InstallQtTranslations(*qApp, empty.path(), &warning));
        QVERIFY2(warning.contains(QStringLiteral("qtbase_ru.qm")), qPrintable(warning));
        QVERIFY(warning.contains(empty.path()));
        QDialogButtonBox buttons(QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Cancel"));
    }

    void standardButtonsSpeakRussian() {
        QString warning;
        QVERIFY2(InstallQtTranslations(*qApp, QtTranslationsFolder(), &warning),
                 qPrintable(warning));
        QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Отмена"));
        QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("?"),
                        QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box.button(QMessageBox::Yes)->text().remove(u'&'), QStringLiteral("Да"));
        QCOMPARE(box.button(QMessageBox::No)->text().remove(u'&'), QStringLiteral("Нет"));
    }

    void colourChooserSpeaksRussian() {
        // The chooser of "Цвет фона": its labels come from Qt, not from us.
        QColorDialog dlg;
        dlg.setOption(QColorDialog::DontUseNativeDialog);
        QStringList texts;
        for (QLabel* label : dlg.findChildren<QLabel*>())
            texts << label->text();
        for (QPushButton* button : dlg.findChildren<QPushButton*>())
            texts << button->text();
        const QString all = texts.join(u'|');
        QVERIFY2(!all.contains(QStringLiteral("Basic colors")), qPrintable(all));
        QVERIFY2(!all.contains(QStringLiteral("Cancel")), qPrintable(all));
        QVERIFY2(all.contains(QStringLiteral("Отмена")), qPrintable(all));
    }
};

QTEST_MAIN(TestQtTranslations)
#include "tst_qttranslations.moc"
