#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>

namespace sim {

/// A software version of the cash register and the file that holds the
/// program of its controller, as the sample "versions.txt" lists them.
struct SoftwareVersion {
    const char* name;
    const char* file;
};

/// The versions of the sample version list, in file order.
inline constexpr std::array<SoftwareVersion, 3> SoftwareVersions = {{
    {"2.10", "v210.prg"},
    {"2.20", "v220.prg"},
    {"3.01", "v301.prg"},
}};

/// The version a new board of types 0..3 carries: its ROM sums are sealed
/// with the sum of this version's controller program.
inline constexpr const char* DefaultSoftwareVersion = "2.20";

/// Size of a controller program image (the controller's 8 KiB of code).
inline constexpr int ControllerProgramSize = 8192;

/// Whether `version` is one of SoftwareVersions.
bool isKnownSoftwareVersion(const QString& version);

/// The controller program of a version: 8192 bytes of recognisable code,
/// the same on every run (empty for an unknown version). The data folder's
/// program files are these images.
QByteArray controllerProgramImage(const QString& version);

/// 16-bit sum of the bytes, as the ROM test adds up a program file.
quint16 byteSum16(QByteArrayView bytes);

} // namespace sim
