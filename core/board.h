#pragma once

#include <QString>
#include <QtGlobal>

namespace kia {

/// Board variants 0..4. Types 0..3 carry a test processor fitted in place of
/// DD3 and talk at 9600 baud; type 4 is reached through the programmer and its
/// own controller DD5 at 115200 baud.
constexpr int BoardTypeCount = 5;

inline bool isProgrammerBoard(int boardType) { return boardType == 4; }

/// Board designation as printed on the board, by board type.
QString boardDesignation(int boardType);

/// " КИА ККМ "Нельта-02Ф" и "Нельта-02К" плата " (blanks at both ends belong to it).
QString titlePrefix();
/// The short caption used by the board choice and the font error box.
QString productCaption();
/// The application title: names the window and the data files.
inline QString applicationTitle() { return QStringLiteral("kia_nelta2"); }
/// The main window title: prefix + designation + " - " + application title.
QString mainWindowTitle(int boardType);

/// Serial speed a board type uses when the caller asks for the default (0).
inline qint32 defaultLinkSpeed(int boardType) { return isProgrammerBoard(boardType) ? 115200 : 9600; }

/// Filler bytes 4 and 5 of every command frame.
inline quint8 frameFiller1(int boardType) { return isProgrammerBoard(boardType) ? 0x0F : 0xFF; }
inline quint8 frameFiller2(int boardType) { return isProgrammerBoard(boardType) ? 0x0F : 0x00; }

} // namespace kia
