#pragma once

#include <QString>
#include <QStringList>

namespace kia {

enum class PromptIcon { None, Error, Stop, Exclamation, Information, Question };
enum class PromptAnswer { Ok, Cancel, Yes, No };
enum class SystemSound { Default, Asterisk, Exclamation, Hand, Question };

/// One file filter of an open or save dialog: the text shown and its patterns.
struct FileFilter {
    QString label;   // "Сохраненное ПО (*.cpu)"
    QString pattern; // "*.cpu"
};

/// Everything the program asks of the engineer or tells him: beeps, message
/// boxes, yes/no questions and file choices. Logic never opens a box itself;
/// it goes through this seam so that tests answer from a script and the CLI
/// from its flags. Called on the UI thread only.
class UserPrompts {
public:
    virtual ~UserPrompts() = default;

    virtual void beep(int hz, int ms) = 0;
    virtual void systemSound(SystemSound sound) = 0;
    virtual void message(PromptIcon icon, const QString& title, const QString& text) = 0;
    /// Yes/No question; returns Yes or No. `defaultAnswer` is the button that Enter presses.
    virtual PromptAnswer question(PromptIcon icon, const QString& title, const QString& text,
                                  PromptAnswer defaultAnswer) = 0;
    /// Returns the chosen path, or an empty text when the engineer cancels.
    virtual QString openFile(const QString& title, const QList<FileFilter>& filters,
                             const QString& directory) = 0;
    virtual QString saveFile(const QString& title, const QList<FileFilter>& filters,
                             const QString& directory, const QString& suggestedName) = 0;
};

} // namespace kia
