// libFuzzer target: any bytes as a scenario file. The first two bytes choose
// the kind and the board type; the rest is loaded as it stands and once more
// behind a header, so the body rules (END, continuations, step search, the
// breadth-first build) get most of the inputs. The fault-type list reads the
// same bytes. Nothing may crash, hang or leak.
#include "diagn/faulttypes.h"
#include "diagn/scenario.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    const int kind = data[0] % 3;
    const int board = data[1] % 5;
    const QByteArray body(reinterpret_cast<const char*>(data + 2), qsizetype(size - 2));

    kia::Scenario s;
    s.LoadFromBytes(body, QStringLiteral("ROM_ERROR"), kind, board);
    const QByteArray withHeader =
        kia::Scenario::KindKeyword(kind).toLatin1() + QByteArray("31 X\n") + body;
    if (s.LoadFromBytes(withHeader, QStringLiteral("X"), kind, board)) {
        kia::ScenarioNode n;
        for (int i = 1; i <= s.NodeCount(); ++i) {
            if (!s.GetNode(i, n))
                __builtin_trap();
            for (int link : n.links)
                if (link < -1 || link > s.NodeCount())
                    __builtin_trap(); // every link is an index of the table
        }
        if (s.NodeCount() > 1)
            s.ClearFrom(1 + int(data[0]) % s.NodeCount());
    }
    kia::ReadFaultTypes(QByteArrayView(body), board);
    return 0;
}
