#pragma once

#include <QString>

namespace kia {

/// The fixed-pitch font with Cyrillic glyphs that the workstation ships in
/// its resources. Registered once at start-up; dialogs that need a fixed
/// pitch (the board choice, the test displays) use its family. UI thread.

/// Resource path of the bundled font.
QString monoFontResource();
/// Registers the font from `path` (default: the bundled one). False when the
/// font could not be added.
bool RegisterMonoFont(const QString& path = QString());
/// Family of the registered font; the platform's fixed-pitch family when none
/// is registered (tests that skip the start-up).
QString MonoFontFamily();

} // namespace kia
