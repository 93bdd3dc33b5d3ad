#include "controllerprogramfile.h"

#include "testresults.h"

#include "core/displaytext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace kia {

namespace {
bool leavesFolder(const QString& name) {
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:"));
    if (name.startsWith(QLatin1Char('/')) || name.startsWith(QLatin1Char('\\')) ||
        drive.match(name).hasMatch() || QDir::isAbsolutePath(name))
        return true;
    const QStringList parts = name.split(QRegularExpression(QStringLiteral("[/\\\\]")));
    return parts.contains(QStringLiteral(".."));
}

bool isInside(const QString& folder, const QString& path) {
    const QString f = QFileInfo(folder).canonicalFilePath();
    const QString p = QFileInfo(path).canonicalFilePath();
    if (f.isEmpty() || p.isEmpty())
        return true; // nothing there to point elsewhere; opening it will fail on its own
    return p.startsWith(f + QLatin1Char('/'));
}
} // namespace

ControllerProgramFile ControllerProgramFile::resolve(const QString& workingFolder,
                                                     const QString& name) {
    ControllerProgramFile f;
    f.name = name;
    const QString trimmed = name.trimmed();
    if (trimmed == noFileName()) {
        f.kind = Kind::None;
        return f;
    }
    if (trimmed.isEmpty()) {
        f.kind = Kind::Undefined;
        return f;
    }
    if (leavesFolder(trimmed)) {
        f.kind = Kind::Refused;
        return f;
    }
    const QString folder = workingFolder.isEmpty() ? QDir::currentPath() : workingFolder;
    QString relative = trimmed;
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QString path = QDir(folder).filePath(relative);
    if (!isInside(folder, path)) {
        f.kind = Kind::Refused;
        return f;
    }
    f.kind = Kind::File;
    f.path = path;
    return f;
}

int ControllerProgramFile::read(QByteArray& image) const {
    if (kind != Kind::File)
        return ResultNoProgramFile;
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return ResultProgramFileMissing;
    image = file.read(ImageSize);
    if (image.size() != ImageSize)
        return ResultProgramFileUnreadable;
    return 0;
}

QString romFileMessageText(int result, const ControllerProgramFile& file) {
    switch (result) {
    case ResultNoProgramFile:
        if (file.kind == ControllerProgramFile::Kind::Refused)
            return QStringLiteral("Файл \"прошивки\" контроллера \"%1\"\nдолжен находиться в "
                                  "рабочей папке программы!")
                .arg(shortenForDisplay(file.name));
        return QStringLiteral("Для версии ПО не определен файл \"прошивки\" контроллера!");
    case ResultProgramFileMissing:
        return QStringLiteral("Не найден файл \"") + shortenForDisplay(file.name) + QStringLiteral("\"!");
    case ResultProgramFileUnreadable:
        return QStringLiteral("Ошибка чтения файла \"") + shortenForDisplay(file.name) + QStringLiteral("\"!");
    default:
        return QString();
    }
}

} // namespace kia
