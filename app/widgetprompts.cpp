#include "widgetprompts.h"

#include "tonebeeper.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>

namespace kia {

namespace {

QMessageBox::Icon boxIcon(PromptIcon icon) {
    switch (icon) {
    case PromptIcon::Error:
    case PromptIcon::Stop:
        return QMessageBox::Critical;
    case PromptIcon::Exclamation:
        return QMessageBox::Warning;
    case PromptIcon::Information:
        return QMessageBox::Information;
    case PromptIcon::Question:
        return QMessageBox::Question;
    case PromptIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QString fileDialogFilter(const QList<FileFilter>& filters) {
    QStringList parts;
    for (const FileFilter& f : filters) {
        // What the engineer reads: the label as the product words it.
        const QString shown = f.label.contains(u'(') ? f.label
                                                     : f.label + QStringLiteral(" (") + f.pattern +
                                                           QStringLiteral(")");
        // What the dialog matches: the last group in parentheses. A
        // Windows "*.*" means every file, but a dot-less name does not
        // match it here, so it becomes "*"; ';' separates patterns there.
        QStringList patterns =
            f.pattern.split(QRegularExpression(QStringLiteral("[;\\s]+")), Qt::SkipEmptyParts);
        for (QString& p : patterns) {
            if (p == QLatin1String("*.*"))
                p = QStringLiteral("*");
        }
        if (patterns.isEmpty())
            patterns << QStringLiteral("*");
        parts << shown + QStringLiteral(" (") + patterns.join(u' ') + QStringLiteral(")");
    }
    return parts.join(QStringLiteral(";;"));
}

QFileDialog::Options fileDialogOptions() {
    // Shows each filter without the matching group added above.
    return QFileDialog::HideNameFilterDetails;
}

void WidgetPrompts::beep(int hz, int ms) {
    // The tone itself through the sound card; where there is none (or the
    // build has no ALSA) the desktop bell stands in.
    if (!playTone(hz, ms))
        QApplication::beep();
}

void WidgetPrompts::systemSound(SystemSound) {
    QApplication::beep();
}

void WidgetPrompts::message(PromptIcon icon, const QString& title, const QString& text) {
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::Ok, m_parent);
    box.setObjectName(QStringLiteral("promptMessage"));
    box.exec();
}

PromptAnswer WidgetPrompts::question(PromptIcon icon, const QString& title, const QString& text,
                                     PromptAnswer defaultAnswer) {
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::Yes | QMessageBox::No, m_parent);
    box.setObjectName(QStringLiteral("promptQuestion"));
    box.setDefaultButton(defaultAnswer == PromptAnswer::No ? QMessageBox::No : QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes ? PromptAnswer::Yes : PromptAnswer::No;
}

QString WidgetPrompts::openFile(const QString& title, const QList<FileFilter>& filters,
                                const QString& directory) {
    return QFileDialog::getOpenFileName(m_parent, title, directory, fileDialogFilter(filters),
                                        nullptr, fileDialogOptions());
}

QString WidgetPrompts::saveFile(const QString& title, const QList<FileFilter>& filters,
                                const QString& directory, const QString& suggestedName) {
    const QString start =
        suggestedName.isEmpty() ? directory : QDir(directory).filePath(suggestedName);
    return QFileDialog::getSaveFileName(m_parent, title, start, fileDialogFilter(filters), nullptr,
                                        fileDialogOptions());
}

} // namespace kia
