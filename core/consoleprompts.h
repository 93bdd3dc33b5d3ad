#pragma once

#include "userprompts.h"

#include <cstdio>
#include <functional>

namespace kia {

/// Prompts for the command line: boxes go to stderr as "[title] text", beeps
/// are written as the terminal bell when `bell` is set, and questions are
/// answered from the flags the user gave (--yes / --no) or, without one, by
/// the question's default button. File choices take the path given on the
/// command line. Never reads the terminal, so scripts never hang.
class ConsolePrompts final : public UserPrompts {
public:
    explicit ConsolePrompts(FILE* out = stderr) : m_out(out) {}

    void setAnswer(PromptAnswer a) { m_answer = a; m_haveAnswer = true; }
    void setFile(const QString& path) { m_file = path; }
    void setBell(bool on) { m_bell = on; }
    /// While set, message boxes go here instead of the stream (the service
    /// commands put their result text on stdout).
    using MessageObserver = std::function<void(PromptIcon, const QString&, const QString&)>;
    void setMessageObserver(MessageObserver observer) { m_observer = std::move(observer); }

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
    FILE* m_out;
    PromptAnswer m_answer = PromptAnswer::No;
    bool m_haveAnswer = false;
    bool m_bell = false;
    QString m_file;
    MessageObserver m_observer;
};

} // namespace kia
