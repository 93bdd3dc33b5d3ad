#include "scriptedprompts.h"

namespace kia {

void ScriptedPrompts::beep(int hz, int ms)
{
    PromptEvent e;
    e.kind = PromptEvent::Beep;
    e.hz = hz;
    e.ms = ms;
    events.append(e);
}

void ScriptedPrompts::systemSound(SystemSound sound)
{
    PromptEvent e;
    e.kind = PromptEvent::Sound;
    e.hz = static_cast<int>(sound);
    events.append(e);
}

void ScriptedPrompts::message(PromptIcon icon, const QString& title, const QString& text)
{
    events.append({PromptEvent::Message, icon, title, text, 0, 0, PromptAnswer::Ok});
}

PromptAnswer ScriptedPrompts::question(PromptIcon icon, const QString& title, const QString& text,
                                       PromptAnswer defaultAnswer)
{
    events.append({PromptEvent::Question, icon, title, text, 0, 0, defaultAnswer});
    return answers.isEmpty() ? PromptAnswer::No : answers.dequeue();
}

QString ScriptedPrompts::openFile(const QString& title, const QList<FileFilter>&, const QString&)
{
    events.append({PromptEvent::OpenFile, PromptIcon::None, title, QString(), 0, 0,
                   PromptAnswer::Ok});
    return files.isEmpty() ? QString() : files.dequeue();
}

QString ScriptedPrompts::saveFile(const QString& title, const QList<FileFilter>&, const QString&,
                                  const QString& suggestedName)
{
    events.append({PromptEvent::SaveFile, PromptIcon::None, title, suggestedName, 0, 0,
                   PromptAnswer::Ok});
    return files.isEmpty() ? QString() : files.dequeue();
}

QList<PromptEvent> ScriptedPrompts::boxes() const
{
    QList<PromptEvent> out;
    for (const PromptEvent& e : events)
        if (e.kind == PromptEvent::Message || e.kind == PromptEvent::Question)
            out.append(e);
    return out;
}

} // namespace kia
