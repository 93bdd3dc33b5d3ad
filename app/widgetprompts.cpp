#include "widgetprompts.h"

#include "tonebeeper.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

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

QString filterString(const QList<FileFilter>& filters) {
    QStringList parts;
    for (const FileFilter& f : filters) {
        if (f.label.contains(u'('))
            parts << f.label;
        else
            parts << f.label + QStringLiteral(" (") + f.pattern + QStringLiteral(")");
    }
    return parts.join(QStringLiteral(";;"));
}

} // namespace

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
    return QFileDialog::getOpenFileName(m_parent, title, directory, filterString(filters));
}

QString WidgetPrompts::saveFile(const QString& title, const QList<FileFilter>& filters,
                                const QString& directory, const QString& suggestedName) {
    const QString start =
        suggestedName.isEmpty() ? directory : QDir(directory).filePath(suggestedName);
    return QFileDialog::getSaveFileName(m_parent, title, start, filterString(filters));
}

} // namespace kia
