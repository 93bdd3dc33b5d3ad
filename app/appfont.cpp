#include "appfont.h"

#include <QFontDatabase>
#include <QStringList>

namespace kia {

namespace {
QString g_family;
}

QString monoFontResource() {
    return QStringLiteral(":/fonts/kia-mono.ttf");
}

bool RegisterMonoFont(const QString& path) {
    const int id = QFontDatabase::addApplicationFont(path.isEmpty() ? monoFontResource() : path);
    if (id < 0)
        return false;
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty())
        return false;
    g_family = families.first();
    return true;
}

QString MonoFontFamily() {
    if (!g_family.isEmpty())
        return g_family;
    return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

} // namespace kia
