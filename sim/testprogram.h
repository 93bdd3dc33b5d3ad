#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <array>

namespace sim {

/// The first 16 code bytes of the test program "testcpu.052". DD5 answers the
/// 7-byte command frames only while its code memory starts with these bytes
/// and it runs; the data folder's testcpu.052 begins with the same bytes.
inline constexpr std::array<quint8, 16> TestProgramSignature = {
    'K', 'I', 'A', ' ', 'T', 'E', 'S', 'T', 'C', 'P', 'U', ' ', '0', '5', '2', 0};

/// The stand-in test program "testcpu.052": the signature and a little code
/// behind it, 1024 bytes in all. The workstation writes it to DD5 padded with
/// 0xFF and with the software name at 0x1FF4; DD5's TestProgram start state
/// holds exactly that.
QByteArray testProgramImage();

} // namespace sim
