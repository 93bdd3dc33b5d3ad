#pragma once

#include <QByteArray>
#include <QString>

namespace kia {

/// The controller program file that the ROM test sums: named by the chosen
/// software version (types 0..3, from "versions.txt") or by the controller
/// identity plus ".cpu" (type 4), and looked up in the working folder.
/// A name that leads out of the working folder (absolute, a drive, "..", or a
/// link pointing elsewhere) is refused: the test then ends as for a version
/// without a file, and the command says why. Pure file logic, any thread.
struct ControllerProgramFile {
    enum class Kind {
        None,      // "нет": software older than 2.10, the ROM test sums the board only
        Undefined, // the version names no file (empty value)
        Refused,   // the name points outside the working folder
        File,      // `path` is the file to read
    };

    Kind kind = Kind::Undefined;
    QString name;
    QString path;

    static constexpr int ImageSize = 8192;

    /// The version value of software without a controller program file.
    static QString noFileName() { return QStringLiteral("нет"); }

    /// `workingFolder` with or without its trailing separator; empty: the current directory.
    static ControllerProgramFile resolve(const QString& workingFolder, const QString& name);

    /// Reads the first 8192 bytes: 0 when done, else the test result 125 (no
    /// usable name), 126 (cannot be opened) or 127 (shorter or unreadable).
    int read(QByteArray& image) const;
};

/// The ROM test's box for results 125..127 (title "Тест ПЗУ"); a refused name
/// gets its own text under the 125 result.
QString romFileMessageText(int result, const ControllerProgramFile& file);

} // namespace kia
