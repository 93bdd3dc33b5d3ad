#include "journalsink.h"

#include <array>

namespace kia {

namespace {
struct KindName {
    JournalEvent::Kind kind;
    const char* name;
    const char* label;
};
constexpr std::array<KindName, 5> kKinds{{
    {JournalEvent::Kind::Test, "test", "Тест"},
    {JournalEvent::Kind::Diagnostics, "diagnostics", "Диагностика"},
    {JournalEvent::Kind::Service, "service", "Сервис"},
    {JournalEvent::Kind::FullCheck, "check", "Полная проверка"},
    {JournalEvent::Kind::Training, "training", "Обучение"},
}};
} // namespace

QString journalKindName(JournalEvent::Kind kind) {
    for (const KindName& k : kKinds)
        if (k.kind == kind)
            return QString::fromLatin1(k.name);
    return QString();
}

bool journalKindFromName(const QString& name, JournalEvent::Kind* kind) {
    for (const KindName& k : kKinds)
        if (name == QLatin1String(k.name)) {
            *kind = k.kind;
            return true;
        }
    return false;
}

QString journalKindLabel(JournalEvent::Kind kind) {
    for (const KindName& k : kKinds)
        if (k.kind == kind)
            return QString::fromUtf8(k.label);
    return QString();
}

QString journalOutcomeLabel(JournalEvent::Outcome outcome) {
    switch (outcome) {
    case JournalEvent::Outcome::Passed:
        return QStringLiteral("норма");
    case JournalEvent::Outcome::Failed:
        return QStringLiteral("неисправность");
    case JournalEvent::Outcome::None:
        break;
    }
    return QStringLiteral("");
}

} // namespace kia
