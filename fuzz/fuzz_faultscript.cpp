// The fault script (link rules and board faults): any text is read or refused
// with a message of bounded length; a refused script gives no rule.
#include "core/displaytext.h"
#include "sim/faultscript.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    sim::FaultScript::Contents contents;
    QString error;
    const bool ok = sim::FaultScript::read(text, &contents, &error);
    if (ok != error.isEmpty())
        std::abort();
    if (!ok && (!contents.rules.isEmpty() || error.size() > kia::MaxShownTextLength))
        std::abort();
    return 0;
}
