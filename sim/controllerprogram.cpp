#include "controllerprogram.h"

namespace sim {

bool isKnownSoftwareVersion(const QString& version) {
    for (const SoftwareVersion& v : SoftwareVersions) {
        if (version == QLatin1String(v.name))
            return true;
    }
    return false;
}

QByteArray controllerProgramImage(const QString& version) {
    if (!isKnownSoftwareVersion(version))
        return QByteArray();
    // Seeded by the version's characters, so every version has its own code.
    quint32 x = 0x6A09E667u;
    for (QChar c : version)
        x = (x ^ c.unicode()) * 0x01000193u;
    QByteArray image(ControllerProgramSize, '\0');
    for (char& b : image) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        b = static_cast<char>(x >> 24);
    }
    // The 8051 reset vector: LJMP 0x0030.
    image[0] = char(0x02);
    image[1] = char(0x00);
    image[2] = char(0x30);
    return image;
}

quint16 byteSum16(QByteArrayView bytes) {
    quint16 sum = 0;
    for (char b : bytes)
        sum = static_cast<quint16>(sum + static_cast<quint8>(b));
    return sum;
}

} // namespace sim
