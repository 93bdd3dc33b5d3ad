#include "shellsettings.h"

#include <QtEndian>

namespace kia {

SettingsFile::~SettingsFile() {
    if (m_file.isOpen())
        m_file.close();
}

bool SettingsFile::load(const QString& path, ShellSettings& s) {
    s = ShellSettings{};
    if (m_file.isOpen())
        m_file.close();
    m_file.setFileName(path);
    // ReadWrite creates a missing file and never truncates an existing one.
    if (!m_file.open(QIODevice::ReadWrite))
        return false;

    const qint64 length = m_file.size();
    auto readColour = [this](ColourRef& into) {
        uchar b[4];
        if (m_file.read(reinterpret_cast<char*>(b), 4) == 4)
            into = qFromLittleEndian<quint32>(b);
    };
    auto readByte = [this](quint8& into, bool keepOnShortRead, quint8 fallback) {
        char c;
        if (m_file.read(&c, 1) == 1)
            into = quint8(c);
        else if (!keepOnShortRead)
            into = fallback;
    };

    if (length > 3)
        readColour(s.backgroundColour);
    if (length > 67) {
        for (ColourRef& c : s.customColours)
            readColour(c);
    }
    if (length > 68)
        readByte(s.comPort, false, 1);
    if (length > 69)
        readByte(s.instrument, false, 1);
    if (length > 70)
        readByte(s.pictureMode, true, 0);
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

bool SettingsFile::save(const ShellSettings& s) {
    if (!m_file.isOpen())
        return false;
    const QByteArray record = encode(s);
    const bool ok = m_file.seek(0) && m_file.write(record) == RecordSize;
    m_file.close();
    return ok;
}

} // namespace kia
