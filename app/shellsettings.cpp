#include "shellsettings.h"

#include "core/board.h"
#include "core/userprompts.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>

namespace kia {

void SettingsFile::decode(QByteArrayView bytes, ShellSettings& s) {
    const auto* p = reinterpret_cast<const uchar*>(bytes.data());
    const qsizetype length = bytes.size();
    if (length >= 4)
        s.backgroundColour = qFromLittleEndian<quint32>(p);
    if (length >= 68) {
        for (int i = 0; i < 16; ++i)
            s.customColours[i] = qFromLittleEndian<quint32>(p + 4 + 4 * i);
    }
    if (length >= 69)
        s.comPort = p[68];
    if (length >= 70)
        s.instrument = p[69];
    if (length >= 71)
        s.pictureMode = p[70];
}

bool SettingsFile::load(const QString& path, ShellSettings& s) {
    s = ShellSettings{};
    m_path = QFileInfo(path).absoluteFilePath();
    m_loaded.clear();
    m_opened = m_writable = false;

    QFile file(m_path);
    // ReadWrite creates a missing file and never truncates an existing one;
    // a file we may not write is still read and applied.
    if (file.open(QIODevice::ReadWrite))
        m_writable = true;
    else if (!file.open(QIODevice::ReadOnly))
        return false;
    m_opened = true;

    // Only the length the file says it has: a device stands for no bytes.
    const qint64 length = file.size();
    if (length > 0)
        m_loaded = file.read(length);
    decode(m_loaded, s);
    return true;
}

QByteArray SettingsFile::encode(const ShellSettings& s) {
    QByteArray out(RecordSize, '\0');
    auto* p = reinterpret_cast<uchar*>(out.data());
    qToLittleEndian<quint32>(s.backgroundColour, p);
    for (int i = 0; i < 16; ++i)
        qToLittleEndian<quint32>(s.customColours[i], p + 4 + 4 * i);
    p[68] = s.comPort;
    p[69] = s.instrument;
    p[70] = s.pictureMode;
    return out;
}

SettingsFile::SaveResult SettingsFile::save(const ShellSettings& s) {
    if (!m_opened)
        return SaveResult::NotOpened;
    m_opened = false;
    const QByteArray bytes = encode(s) + m_loaded.mid(RecordSize);
    if (!m_writable)
        return m_loaded.size() >= RecordSize && m_loaded.left(RecordSize) == encode(s)
                   ? SaveResult::Unchanged
                   : SaveResult::ReadOnly;

    const QFileInfo target(m_path);
    if (target.exists() && !QFileInfo(target.canonicalFilePath()).isFile()) {
        // Not a regular file (a device behind a link): it cannot be replaced,
        // only written in place, and every failure up to the close counts.
        QFile direct(m_path);
        if (!direct.open(QIODevice::WriteOnly))
            return SaveResult::Failed;
        const bool written = direct.write(bytes) == bytes.size() && direct.flush();
        direct.close();
        return written && direct.error() == QFileDevice::NoError ? SaveResult::Saved
                                                                 : SaveResult::Failed;
    }

    // A new file beside the old one takes its place only when all of it is on disk.
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return SaveResult::Failed;
    // The flush is checked here: a failed one does not stop commit() from
    // putting a short file in place of the old one.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        file.commit();
        return SaveResult::Failed;
    }
    return file.commit() ? SaveResult::Saved : SaveResult::Failed;
}

QString settingsSaveMessage(SettingsFile::SaveResult result, const QString& fileName) {
    switch (result) {
    case SettingsFile::SaveResult::Failed:
        return QStringLiteral("Ошибка записи файла настроек \"%1\" !  Настройки не сохранены.")
            .arg(fileName);
    case SettingsFile::SaveResult::ReadOnly:
        return QStringLiteral(
                   "Файл настроек \"%1\" доступен только для чтения !  Настройки не сохранены.")
            .arg(fileName);
    default:
        return QString();
    }
}

void SaveShellSettings(SettingsFile& file, const ShellSettings& s, UserPrompts& prompts) {
    const QString text =
        settingsSaveMessage(file.save(s), QFileInfo(file.path()).fileName());
    if (text.isEmpty())
        return;
    prompts.beep(600, 30);
    prompts.message(PromptIcon::Error, applicationTitle(), text);
}

} // namespace kia
