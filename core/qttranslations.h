#pragma once

#include <QString>

class QCoreApplication;

namespace kia {

/// Where Qt keeps its own translations on this system.
QString QtTranslationsFolder();

/// Installs Qt's own Russian texts (qtbase_ru.qm from `folder`) into `app`,
/// whatever the system locale, so that the standard dialogs and buttons
/// (colour chooser, file dialogs, "Отмена") speak the product's language.
/// The translator lives as long as `app`. Returns false when the file is
/// missing or unreadable; the program then goes on with English standard
/// buttons and `warning` says why (the caller prints it once on stderr).
/// Called on the main thread before any window exists.
bool InstallQtTranslations(QCoreApplication& app, const QString& folder, QString* warning);

} // namespace kia
