#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>
#include <array>

namespace kia {

class UserPrompts;

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
/// load() opens the file for reading and writing without truncating it
/// (creating a missing one), or for reading only when it may not be written,
/// and reads it whole; save() writes that same file. A shorter file gives
/// defaults for the fields it lacks; a longer one keeps its bytes after the
/// 71st. A file that cannot be opened leaves the defaults and nothing is
/// written. A regular file is replaced atomically (QSaveFile), so a failed save
/// (a full disk) keeps the previous file whole. UI thread only.
class SettingsFile {
public:
    static constexpr qint64 RecordSize = 71;

    enum class SaveResult {
        Saved,
        /// load() could not open the file: nothing to write to.
        NotOpened,
        /// The file may only be read and the settings did not change.
        Unchanged,
        /// The file may only be read and the settings changed: they are lost.
        ReadOnly,
        /// Writing failed; the previous file is intact.
        Failed,
    };

    SettingsFile() = default;
    SettingsFile(const SettingsFile&) = delete;
    SettingsFile& operator=(const SettingsFile&) = delete;

    /// Fills `s` from the file at `path` (defaults first). Returns whether the
    /// file could be opened (its values are then applied, even from a file
    /// that may only be read).
    bool load(const QString& path, ShellSettings& s);
    /// Writes the 71 bytes at the start of the file read by load(), keeping
    /// what followed them; afterwards the file counts as closed.
    SaveResult save(const ShellSettings& s);
    bool isOpen() const { return m_opened; }
    bool isWritable() const { return m_writable; }
    QString path() const { return m_path; }

    /// The 71-byte record of `s`.
    static QByteArray encode(const ShellSettings& s);
    /// Fills `s` from the bytes of a settings file of any length, field by
    /// field as far as the bytes reach (the other fields are left alone).
    static void decode(QByteArrayView bytes, ShellSettings& s);

private:
    QString m_path;
    QByteArray m_loaded;
    bool m_opened = false;
    bool m_writable = false;
};

/// Saves the settings at the end of a run and tells the engineer once (beep
/// and box) when they could not be written.
void SaveShellSettings(SettingsFile& file, const ShellSettings& s, UserPrompts& prompts);

/// The text of that box for the file name `fileName`, or an empty text when
/// `result` needs no word to the engineer.
QString settingsSaveMessage(SettingsFile::SaveResult result, const QString& fileName);

} // namespace kia
