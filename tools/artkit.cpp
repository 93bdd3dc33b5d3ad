#include "artkit.h"
#include "picturematch.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QImageWriter>
#include <QSaveFile>

namespace kia::art {

namespace {

// 96 dpi in dots per metre: written into every PNG so that its pHYs chunk
// does not follow the screen of the machine that runs the generator.
constexpr int DotsPerMetre = 3780;

QString g_monoFamily;
QString g_draftFamily;
QString g_uiFamily;

QString addFont(const QString& path, QString* error) {
    if (!QFileInfo::exists(path)) {
        *error = QStringLiteral("Не найден файл шрифта %1").arg(path);
        return {};
    }
    const int id = QFontDatabase::addApplicationFont(path);
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (id < 0 || families.isEmpty()) {
        *error = QStringLiteral("Ошибка загрузки шрифта %1").arg(path);
        return {};
    }
    return families.first();
}

QFont makeFont(const QString& family, int pixelSize, bool bold, bool antialias) {
    QFont f(family);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferFullHinting);
    f.setStyleStrategy(antialias ? QFont::PreferAntialias : QFont::NoAntialias);
    f.setKerning(false);
    return f;
}

} // namespace

bool loadFonts(const QString& monoFontPath, const QString& fontDir, QString* error) {
    g_monoFamily = addFont(monoFontPath, error);
    if (g_monoFamily.isEmpty())
        return false;
    const QDir dir(fontDir);
    for (const char* file : {"DejaVuSansCondensed.ttf", "DejaVuSansCondensed-Bold.ttf"}) {
        g_draftFamily = addFont(dir.filePath(QString::fromLatin1(file)), error);
        if (g_draftFamily.isEmpty())
            return false;
    }
    for (const char* file : {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf"}) {
        g_uiFamily = addFont(dir.filePath(QString::fromLatin1(file)), error);
        if (g_uiFamily.isEmpty())
            return false;
    }
    return true;
}

QFont draftFont(int pixelSize, bool bold) {
    QFont f = makeFont(g_draftFamily, pixelSize, bold, false);
    f.setStretch(QFont::SemiCondensed);
    return f;
}

QFont monoFont(int pixelSize, bool bold, bool antialias) {
    return makeFont(g_monoFamily, pixelSize, bold, antialias);
}

QFont uiFont(int pixelSize, bool bold) {
    return makeFont(g_uiFamily, pixelSize, bold, true);
}

QImage whiteCanvas(int width, int height) {
    QImage img(width, height, QImage::Format_RGB32);
    img.setDotsPerMeterX(DotsPerMetre);
    img.setDotsPerMeterY(DotsPerMetre);
    img.fill(Qt::white);
    return img;
}

QImage clearCanvas(int width, int height) {
    QImage img(width, height, QImage::Format_ARGB32_Premultiplied);
    img.setDotsPerMeterX(DotsPerMetre);
    img.setDotsPerMeterY(DotsPerMetre);
    img.fill(Qt::transparent);
    return img;
}

QImage toLineArt(const QImage& drawing) {
    QImage mono(drawing.size(), QImage::Format_Mono);
    mono.setDotsPerMeterX(DotsPerMetre);
    mono.setDotsPerMeterY(DotsPerMetre);
    mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    mono.fill(1); // also clears the padding bits at the row ends, which the PNG keeps
    const QImage src = drawing.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < src.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        for (int x = 0; x < src.width(); ++x)
            mono.setPixel(x, y, qGray(line[x]) < 128 ? 0 : 1);
    }
    return mono;
}

bool saveBytes(const QByteArray& bytes, const QString& path, QString* error) {
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes)
        return true;
    existing.close();
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        *error = QStringLiteral("Не удалось создать папку для %1").arg(path);
        return false;
    }
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        *error = QStringLiteral("Ошибка записи файла %1").arg(path);
        return false;
    }
    return true;
}

bool savePng(const QImage& img, const QString& path, QString* error) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setQuality(0); // best zlib compression for PNG
    if (!writer.write(img)) {
        *error = QStringLiteral("Ошибка кодирования %1: %2").arg(path, writer.errorString());
        return false;
    }
    // A picture that differs from the one already there only by the rounding
    // of antialiased edges on this processor is kept, so regenerating on
    // another machine changes no file that did not really change.
    const QImage existing(path);
    if (!existing.isNull() && picturesMatch(existing, img))
        return true;
    return saveBytes(bytes, path, error);
}

} // namespace kia::art
