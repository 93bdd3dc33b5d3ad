// libFuzzer target: any bytes as a step file. The first byte chooses the
// board type; the first line is the point name a scenario would hand to a
// step dialog (suffixes and all), the rest is the step file. Every line is
// also read as a command line by both step dialogs' parsers, and the
// reference oscillogram is built from what parses. Nothing may crash, hang
// or leak, and the drawing stays inside its picture.
#include "diagn/oscillogram.h"
#include "diagn/stepfile.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    const int board = data[0] % 5;
    const QByteArrayView rest(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const qsizetype nl = rest.indexOf('\n');
    const QString point = QString::fromLatin1(rest.first(nl < 0 ? rest.size() : nl));

    kia::StepFile file;
    file.loadFromBytes(nl < 0 ? QByteArrayView() : rest.sliced(nl + 1));
    kia::StepCommand command;
    file.find(point, board, command);
    for (const QString& line : file.lines()) {
        kia::StepCommand c;
        kia::parseStepCommand(line, c);
        c.examinable();
        kia::StepFile::circuitPoints(line);
        kia::OscCommand o;
        if (!kia::parseOscCommand(line, o))
            continue;
        const kia::Oscillogram g = kia::buildOscillogram(o, 1 + data[0] % 800, QStringLiteral("10ms"));
        if (g.levelSegments.size() > 64 || g.startItem < 0 || (g.startItem > 0 && g.startItem >= o.items.size()))
            __builtin_trap();
        for (const QLineF& l : g.levelSegments)
            if (l.x1() < 0 || l.x2() > kia::Oscillogram::Width)
                __builtin_trap();
    }
    return 0;
}
