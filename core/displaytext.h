#pragma once

#include <QString>

namespace kia {

/// The longest text taken from a file that a box or the terminal shows whole.
constexpr qsizetype MaxShownTextLength = 200;

/// `text` when it is at most `maxLength` characters long; otherwise its
/// beginning and its end joined by "…", `maxLength` characters in all, so that
/// a huge line from a file neither freezes a box nor floods the terminal and
/// the end of a message ("… !") still shows. Pure function, any thread.
QString shortenForDisplay(const QString& text, qsizetype maxLength = MaxShownTextLength);

} // namespace kia
