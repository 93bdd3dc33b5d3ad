#pragma once

#include <QFont>
#include <QImage>
#include <QString>

namespace kia::art {

/// Fonts, canvases and file output shared by every painter of kia-makeart.
/// The generator is single-threaded; call loadFonts() once after the
/// QGuiApplication exists and before any text is drawn.

/// Registers the drawing fonts: the bundled mono font and the DejaVu faces
/// found in fontDir. Returns false and fills error when a file is missing.
bool loadFonts(const QString& monoFontPath, const QString& fontDir, QString* error);

/// Narrow drafting face for the line drawings, rendered without anti-aliasing.
QFont draftFont(int pixelSize, bool bold = false);
/// The bundled fixed-pitch face (the same file the workstation registers).
QFont monoFont(int pixelSize, bool bold = false, bool antialias = true);
/// Face for colour pictures and icons (anti-aliased).
QFont uiFont(int pixelSize, bool bold = false);

/// White RGB32 canvas with a fixed resolution, so that the PNG bytes never
/// depend on the screen the generator happens to run on.
QImage whiteCanvas(int width, int height);
/// Transparent ARGB32 canvas with the same fixed resolution.
QImage clearCanvas(int width, int height);
/// Reduces a drawing to pure black and white (1 bit per pixel): every pixel
/// darker than mid grey becomes black, every other pixel white.
QImage toLineArt(const QImage& drawing);

/// Writes img as PNG to path, creating folders as needed. The file is left
/// untouched when it already holds exactly these bytes.
bool savePng(const QImage& img, const QString& path, QString* error);
/// Same contract for raw bytes.
bool saveBytes(const QByteArray& bytes, const QString& path, QString* error);

} // namespace kia::art
