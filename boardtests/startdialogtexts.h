#pragma once

#include <QString>

namespace kia {

/// Texts and layout rules of the start dialog "Начало тестирования", which
/// tells the engineer how to connect the board before a test. The dialog is a
/// widget of the workstation; its words live here. Pure, any thread.
namespace startdialog {

QString title();
/// The connection instructions of the board type.
QString instructionText(int boardType);
/// Bitmap id of the connection scheme: 302 (types 0..3) or 301 (type 4).
int schemePictureId(int boardType);
QString continueButton();
QString cancelButton();
QString dontShowCheckBox();
/// The toggle button: "Схема подключения" while collapsed, "Скрыть схему" while expanded.
QString schemeButton(bool expanded);
/// Collapsed height: the full height without the picture and 20 pixels.
int collapsedHeight(int fullHeight, int pictureHeight);

} // namespace startdialog

} // namespace kia
