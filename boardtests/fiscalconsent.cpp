#include "fiscalconsent.h"

#include "core/benchcontext.h"
#include "core/userprompts.h"

namespace kia {

namespace {
QString attentionTitle() {
    return QStringLiteral("Внимание !");
}
} // namespace

QString fiscalWriteWarningText() {
    return QStringLiteral("Тест проводит запись в некоторые ячейки ФП,поэтому\t\t\n"
                          "после проведения теста потребуется стирание накопителя ФП.\n"
                          "Перед проведением теста накопитель ФП должен быть пуст !\n\n"
                          "\t\t  Продолжить ?");
}

QString fiscalDataWarningText() {
    return QStringLiteral("Возможно ФП содержит фискальные данные!\t\t\n"
                          "Для сохранения этих данных сначала воспользуйтесь сервисом\n"
                          "\"Сохранение данных ФП в файл\",а после завершения этого теста\n"
                          "сервисом \"Восстановление данных ФП из файла\"!\n"
                          "Продолжение, без сохранения данных ФП приведет к их\n"
                          "безвозвратной потере!\n\n"
                          "\t\t  Продолжить ?");
}

bool looksLikeFiscalData(const QByteArray& first10) {
    if (first10.size() < 10)
        return false;
    bool allBlank = true;
    for (int i = 0; i < 10; ++i)
        allBlank = allBlank && static_cast<quint8>(first10.at(i)) == 0xFF;
    return !allBlank && first10.left(5) == first10.mid(5, 5);
}

bool askFiscalWriteConsent(BenchContext& ctx) {
    ctx.prompts.beep(600, 30);
    return ctx.prompts.question(PromptIcon::Exclamation, attentionTitle(), fiscalWriteWarningText(),
                                PromptAnswer::No) == PromptAnswer::Yes;
}

bool askFiscalDataConsent(BenchContext& ctx, const QByteArray& first10) {
    if (!looksLikeFiscalData(first10))
        return true;
    return ctx.prompts.question(PromptIcon::Exclamation, attentionTitle(), fiscalDataWarningText(),
                                PromptAnswer::No) == PromptAnswer::Yes;
}

} // namespace kia
