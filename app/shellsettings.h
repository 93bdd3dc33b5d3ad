#pragma once

#include <QFile>
#include <QString>
#include <QtGlobal>
#include <array>

namespace kia {

/// A colour as the settings file keeps it: red in the low byte, then green,
/// then blue, high byte zero.
using ColourRef = quint32;

constexpr ColourRef makeColourRef(int r, int g, int b) {
    return ColourRef(r & 0xFF) | (ColourRef(g & 0xFF) << 8) | (ColourRef(b & 0xFF) << 16);
}

/// The engineer's choices that live from one run to the next. The main frame
/// owns the one instance; the board view reads and changes the colours.
struct ShellSettings {
    ColourRef backgroundColour = makeColourRef(128, 128, 128);
    std::array<ColourRef, 16> customColours = [] {
        std::array<ColourRef, 16> c{};
        c.fill(makeColourRef(255, 255, 255));
        return c;
    }();
    /// 1..8 normally; whatever the file held until a menu corrects it.
    quint8 comPort = 1;
    /// 1 logic probe, anything else the oscilloscope.
    quint8 instrument = 1;
    /// 1 component layout, anything else the circuit diagram.
    quint8 pictureMode = 0;

    bool logicProbe() const { return instrument == 1; }
    bool layoutShown() const { return pictureMode == 1; }
};

/// The settings file "kia_nelta2.cfg": 71 raw little-endian bytes
/// (background colour, 16 custom colours, COM port, instrument, picture mode).
///
/// load() opens the file for reading and writing without truncating it and
/// keeps it open until save(), so a file that could be opened at start-up is
/// the one written at the end. A shorter file gives defaults for the fields it
/// lacks; a longer one keeps its bytes after the 71st. A file that cannot be
/// opened leaves the defaults and nothing is written. UI thread only.
class SettingsFile {
public:
    static constexpr qint64 RecordSize = 71;

    SettingsFile() = default;
    SettingsFile(const SettingsFile&) = delete;
    SettingsFile& operator=(const SettingsFile&) = delete;
    ~SettingsFile();

    /// Fills `s` from the file at `path` (defaults first). Returns whether the
    /// file could be opened (and will be written by save()).
    bool load(const QString& path, ShellSettings& s);
    /// Writes the 71 bytes at the start of the file opened by load() and
    /// closes it; does nothing when load() could not open it.
    bool save(const ShellSettings& s);
    bool isOpen() const { return m_file.isOpen(); }

    /// The 71-byte record of `s`.
    static QByteArray encode(const ShellSettings& s);

private:
    QFile m_file;
};

} // namespace kia
