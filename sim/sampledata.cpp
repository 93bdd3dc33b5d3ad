#include "sampledata.h"

#include "cashregister.h"

#include "controllerprogram.h"
#include "core/cp1251.h"
#include "dd5controller.h"
#include "testprogram.h"

namespace sim {

namespace {

QByteArray versionList() {
    // Lines that do not start with "V" are comments to the workstation; the
    // file is Windows text, hence the CR LF.
    QString text = QStringLiteral("Список версий ПО ККМ и файлов \"прошивки\" контроллера\r\n"
                                  "(версии меньше 2.10 файла не имеют)\r\n");
    for (const SoftwareVersion& v : SoftwareVersions)
        text += QStringLiteral("V%1 %2\r\n").arg(QLatin1String(v.name), QLatin1String(v.file));
    return kia::toCp1251(text);
}

} // namespace

QList<DataFile> sampleDataFiles() {
    QList<DataFile> files;
    files.append({QStringLiteral("versions.txt"), versionList()});
    for (const SoftwareVersion& v : SoftwareVersions)
        files.append({QLatin1String(v.file), controllerProgramImage(QLatin1String(v.name))});
    const QByteArray identity = Dd5Controller::defaultIdentity();
    const auto image = Dd5Controller::cashSoftwareImage(identity);
    files.append({QString::fromLatin1(identity) + QStringLiteral(".cpu"),
                  QByteArray(reinterpret_cast<const char*>(image.data()),
                             static_cast<qsizetype>(image.size()))});
    files.append({QStringLiteral("testcpu.052"), testProgramImage()});
    files.append({QStringLiteral("kassa.bin"), CashRegister::softwareImage()});
    return files;
}

} // namespace sim
