#pragma once

#include <QDir>
#include <QString>

// Files of the source tree; the test runner sets KIA_SOURCE_DIR.
inline QString sourceFile(const QString& relative) {
    return QDir(qEnvironmentVariable("KIA_SOURCE_DIR")).filePath(relative);
}

inline QString bitmapFile(int id) {
    return sourceFile(QStringLiteral("res/bitmaps/%1.png").arg(id));
}

// Schematic and layout bitmap of each board type.
struct BoardBitmaps {
    int schematic;
    int layout;
};
constexpr BoardBitmaps BoardPictureIds[5] = {
    {131, 132}, {133, 134}, {240, 241}, {244, 245}, {281, 282}};
