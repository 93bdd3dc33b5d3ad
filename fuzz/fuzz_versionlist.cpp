// versions.txt: any bytes give a list; every entry has a name and no line end.
#include "app/versionlist.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QList<kia::VersionEntry> entries = kia::parseVersionList(bytes);
    for (const kia::VersionEntry& e : entries) {
        if (e.name.contains(u'\n') || e.name.contains(u'\r') || e.value.contains(u'\n') ||
            e.value.contains(u'\r'))
            std::abort();
    }
    if (kia::versionChoices(entries).size() != entries.size() + 1)
        std::abort();
    return 0;
}
