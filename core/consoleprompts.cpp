#include "consoleprompts.h"

namespace kia {

namespace {
const char* iconWord(PromptIcon icon)
{
    switch (icon) {
    case PromptIcon::Error: return "ошибка";
    case PromptIcon::Stop: return "стоп";
    case PromptIcon::Exclamation: return "внимание";
    case PromptIcon::Question: return "вопрос";
    case PromptIcon::Information: return "сообщение";
    case PromptIcon::None: break;
    }
    return "сообщение";
}
} // namespace

void ConsolePrompts::beep(int, int)
{
    if (m_bell) {
        std::fputc('\a', m_out);
        std::fflush(m_out);
    }
}

void ConsolePrompts::systemSound(SystemSound) { beep(0, 0); }

void ConsolePrompts::message(PromptIcon icon, const QString& title, const QString& text)
{
    if (m_observer) {
        m_observer(icon, title, text);
        return;
    }
    std::fprintf(m_out, "[%s] %s: %s\n", qPrintable(title), iconWord(icon), qPrintable(text));
    std::fflush(m_out);
}

PromptAnswer ConsolePrompts::question(PromptIcon icon, const QString& title, const QString& text,
                                      PromptAnswer defaultAnswer)
{
    const PromptAnswer a = m_haveAnswer ? m_answer : defaultAnswer;
    std::fprintf(m_out, "[%s] %s: %s\n  -> %s\n", qPrintable(title), iconWord(icon),
                 qPrintable(text), a == PromptAnswer::Yes ? "Да" : "Нет");
    std::fflush(m_out);
    return a;
}

QString ConsolePrompts::openFile(const QString& title, const QList<FileFilter>&, const QString&)
{
    if (m_file.isEmpty())
        std::fprintf(m_out, "[%s] файл не указан\n", qPrintable(title));
    return m_file;
}

QString ConsolePrompts::saveFile(const QString& title, const QList<FileFilter>&, const QString&,
                                 const QString& suggestedName)
{
    if (!m_file.isEmpty())
        return m_file;
    // Never write a file the user did not name: the suggestion is only shown.
    std::fprintf(m_out, "[%s] файл не указан (предлагается %s)\n", qPrintable(title),
                 qPrintable(suggestedName));
    return QString();
}

} // namespace kia
