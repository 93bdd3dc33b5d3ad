// The Windows-1251 codec: decoding any bytes and encoding back gives the same
// bytes, but for 0x98 (no character), which comes back as '?'.
#include "core/cp1251.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = kia::fromCp1251(bytes);
    if (text.size() != bytes.size())
        std::abort();
    const QByteArray back = kia::toCp1251(text);
    if (back.size() != bytes.size())
        std::abort();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char want = bytes[i] == '\x98' ? '?' : bytes[i];
        if (back[i] != want)
            std::abort();
    }
    // Any UTF-16 text (the fuzz bytes read as UTF-8) encodes to one byte a character.
    const QString any = QString::fromUtf8(bytes);
    if (kia::toCp1251(any).size() != any.size())
        std::abort();
    return 0;
}
