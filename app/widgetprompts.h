#pragma once

#include "core/userprompts.h"

#include <QFileDialog>

class QWidget;

namespace kia {

/// The filter string of the file dialogs: each filter shows its label as
/// written (with the Windows-style "(*.*)" where the product has it) and
/// matches by its pattern, where "*.*" stands for every file, names without
/// a dot included. Use with fileDialogOptions().
QString fileDialogFilter(const QList<FileFilter>& filters);
/// The options that make the dialog show only the labels.
QFileDialog::Options fileDialogOptions();

/// The prompts of the workstation: Qt message boxes, questions and file
/// dialogs parented to the main window (or, before it exists, to nothing).
/// Beeps play their tone on the sound card (blocking for its length) and ring
/// the desktop bell when it cannot be played; system sounds ring the bell.
/// UI thread only.
class WidgetPrompts final : public UserPrompts {
public:
    void setParentWindow(QWidget* parent) { m_parent = parent; }

    void beep(int hz, int ms) override;
    void systemSound(SystemSound sound) override;
    void message(PromptIcon icon, const QString& title, const QString& text) override;
    PromptAnswer question(PromptIcon icon, const QString& title, const QString& text,
                          PromptAnswer defaultAnswer) override;
    QString openFile(const QString& title, const QList<FileFilter>& filters,
                     const QString& directory) override;
    QString saveFile(const QString& title, const QList<FileFilter>& filters,
                     const QString& directory, const QString& suggestedName) override;

private:
    QWidget* m_parent = nullptr;
};

} // namespace kia
