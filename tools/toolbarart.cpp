#include "toolbarart.h"

#include "artkit.h"
#include "commandglyphs.h"

#include <map>

namespace kia::art {

namespace {

const std::vector<std::pair<int, Glyph>>& toolbarGlyphs() {
    static const std::vector<std::pair<int, Glyph>> table = {
        {32786, Glyph::BusTest},
        {32788, Glyph::Rom},
        {32787, Glyph::Ram},
        {32789, Glyph::Timer},
        {32790, Glyph::Eeprom},
        {32791, Glyph::SerialEeprom},
        {32794, Glyph::FiscalBlank},
        {32795, Glyph::FiscalWrite},
        {32842, Glyph::Ppi},
        {32798, Glyph::CashierDisplay},
        {32837, Glyph::CashierCells},
        {32840, Glyph::CustomerDisplay},
        {32841, Glyph::CustomerCells},
        {32802, Glyph::Sound},
        {32806, Glyph::Keyboard},
        {32808, Glyph::Peripherals},
        {32870, Glyph::RestoreSoftware},
        {32785, Glyph::ScanBus},
        {32811, Glyph::ScanControl},
        {32851, Glyph::ScanRegister},
        {32812, Glyph::ScanDecoder},
        {32813, Glyph::ScanPpi},
        {32850, Glyph::FiscalPulse},
        {32816, Glyph::FaultTypes},
        {32818, Glyph::LogicProbe},
        {32819, Glyph::Oscilloscope},
        {32820, Glyph::ProbeCheck},
        {32778, Glyph::Schematic},
        {32771, Glyph::Layout},
    };
    return table;
}

// Bitmap id -> pictogram of the menu items that show it.
const std::map<int, Glyph>& menuGlyphs() {
    static const std::map<int, Glyph> table = {
        {260, Glyph::BusTest},         {262, Glyph::Chip},           {263, Glyph::Timer},
        {264, Glyph::Eeprom},          {265, Glyph::SerialEeprom},   {266, Glyph::FiscalBlank},
        {267, Glyph::FiscalWrite},     {268, Glyph::CashierDisplay}, {269, Glyph::CashierCells},
        {270, Glyph::CustomerDisplay}, {271, Glyph::CustomerCells},  {272, Glyph::Sound},
        {273, Glyph::Keyboard},        {274, Glyph::Peripherals},    {275, Glyph::ScanBus},
        {276, Glyph::ScanControl},     {277, Glyph::ScanChip},       {278, Glyph::FiscalPulse},
        {279, Glyph::FaultTypes},      {280, Glyph::ProbeCheck},     {285, Glyph::RestoreSoftware},
    };
    return table;
}

const QRgb MenuKey = qRgb(192, 192, 192);

} // namespace

const std::vector<int>& toolbarCommands() {
    static const std::vector<int> ids = [] {
        std::vector<int> out;
        for (const auto& [id, glyph] : toolbarGlyphs())
            out.push_back(id);
        return out;
    }();
    return ids;
}

QImage toolbarStrip() {
    const auto& glyphs = toolbarGlyphs();
    QImage img = clearCanvas(32 * static_cast<int>(glyphs.size()), 32);
    QPainter p(&img);
    for (size_t i = 0; i < glyphs.size(); ++i) {
        p.save();
        p.translate(32.0 * static_cast<double>(i), 0);
        p.setClipRect(0, 0, 32, 32);
        paintGlyph(p, glyphs[i].second, false);
        p.restore();
    }
    p.end();
    return img;
}

std::vector<int> menuIconBitmaps() {
    std::vector<int> out;
    for (const auto& [bitmap, glyph] : menuGlyphs())
        out.push_back(bitmap);
    return out;
}

QImage menuIcon(int bitmap) {
    QImage layer = clearCanvas(16, 16);
    {
        QPainter p(&layer);
        p.scale(0.5, 0.5);
        paintGlyph(p, menuGlyphs().at(bitmap), true);
    }
    // Flatten onto the key colour: a pixel is either the icon's own colour,
    // made opaque, or the key. Partly covered edge pixels decide by coverage,
    // so the icon keeps no grey halo on a differently coloured menu.
    QImage out(16, 16, QImage::Format_RGB32);
    out.setDotsPerMeterX(layer.dotsPerMeterX());
    out.setDotsPerMeterY(layer.dotsPerMeterY());
    const QImage src = layer.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const QRgb c = src.pixel(x, y);
            QRgb v = qAlpha(c) >= 110 ? qRgb(qRed(c), qGreen(c), qBlue(c)) : MenuKey;
            if (qAlpha(c) >= 110 && v == MenuKey)
                v = qRgb(190, 190, 190);
            out.setPixel(x, y, v);
        }
    return out;
}

} // namespace kia::art
