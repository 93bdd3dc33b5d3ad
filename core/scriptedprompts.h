#pragma once

#include "userprompts.h"

#include <QList>
#include <QQueue>
#include <QString>

namespace kia {

/// What the program did to the engineer, as the scripted prompts saw it.
struct PromptEvent {
    enum Kind { Beep, Sound, Message, Question, OpenFile, SaveFile };
    Kind kind = Message;
    PromptIcon icon = PromptIcon::None;
    QString title;
    QString text;
    int hz = 0;
    int ms = 0;
    PromptAnswer defaultAnswer = PromptAnswer::Ok;
};

/// Prompts for tests: records every beep, box and question in order and
/// answers questions and file choices from queues. An empty question queue
/// answers No and an empty file queue cancels, so a test that forgot an
/// answer fails visibly rather than hanging.
class ScriptedPrompts final : public UserPrompts {
public:
    void beep(int hz, int ms) override;
    void systemSound(SystemSound sound) override;
    void message(PromptIcon icon, const QString& title, const QString& text) override;
    PromptAnswer question(PromptIcon icon, const QString& title, const QString& text,
                          PromptAnswer defaultAnswer) override;
    QString openFile(const QString& title, const QList<FileFilter>& filters,
                     const QString& directory) override;
    QString saveFile(const QString& title, const QList<FileFilter>& filters,
                     const QString& directory, const QString& suggestedName) override;

    /// Queues answers for the next questions and file choices.
    void answer(PromptAnswer a) { answers.enqueue(a); }
    void chooseFile(const QString& path) { files.enqueue(path); }

    /// Boxes and questions only (no beeps).
    QList<PromptEvent> boxes() const;
    void clear() { events.clear(); }

    QList<PromptEvent> events;
    QQueue<PromptAnswer> answers;
    QQueue<QString> files;
};

} // namespace kia
