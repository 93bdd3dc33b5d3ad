#include "qttranslations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace kia {

QString QtTranslationsFolder() {
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

bool InstallQtTranslations(QCoreApplication& app, const QString& folder, QString* warning) {
    // Parented to the application: it must outlive every window.
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_ru"), folder) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        if (warning)
            *warning = QStringLiteral("нет перевода Qt на русский язык (%1): стандартные кнопки "
                                      "и диалоги Qt будут на английском")
                           .arg(QDir(folder).filePath(QStringLiteral("qtbase_ru.qm")));
        return false;
    }
    return true;
}

} // namespace kia
