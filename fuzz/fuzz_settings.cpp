// The settings file: any bytes decode; a record of 71 bytes or more encodes
// back to its first 71 bytes.
#include "app/shellsettings.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    kia::ShellSettings s;
    kia::SettingsFile::decode(bytes, s);
    const QByteArray record = kia::SettingsFile::encode(s);
    if (record.size() != kia::SettingsFile::RecordSize)
        std::abort();
    if (bytes.size() >= kia::SettingsFile::RecordSize &&
        record != bytes.left(kia::SettingsFile::RecordSize))
        std::abort();
    return 0;
}
