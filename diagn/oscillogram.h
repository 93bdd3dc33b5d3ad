#pragma once

#include <QLineF>
#include <QList>
#include <QString>

namespace kia {

/// One expected item of an oscilloscope step: a level in tenths of a volt,
/// or "HI" (no defined level), with an extra length after ":".
struct OscItem {
    int level = 0;
    bool hi = false;
    int extra = 0;
};

/// A tolerance band in tenths of a volt.
struct OscBand {
    int top = 0;
    int bottom = 0;
};

/// The command line of a point looked at with the oscilloscope.
struct OscCommand {
    int row = -1;          ///< "SET-"
    QList<int> inputs;     ///< "IN-"
    QList<OscItem> items;  ///< "OUT-"
    int picture = -1;      ///< "OSC-": stored reference picture
    int timeMs = 1;        ///< "TIME-": stimulus timer period
    int sync = -1;         ///< "SYNC-": item the waveform starts with
    QList<OscBand> bands;  ///< "LIM-"
    bool hasBands = false;
    int zeroLine = -1;     ///< "NULL-": 0 or 1, -1 by scale
    QString connectTo;     ///< "CON-"
};

/// Parses the oscilloscope fields of a command line; false with a Russian
/// reason for a malformed field (a row outside the stimulus table, numbers
/// that are none, a period of 0, "NULL-" other than 0 or 1, a "SYNC-" item
/// that is not there).
bool parseOscCommand(const QString& line, OscCommand& out, QString* error = nullptr);

/// Geometry of the drawn reference oscillogram in the 151 × 121 picture.
struct Oscillogram {
    static constexpr int Width = 151;
    static constexpr int Height = 121;

    QString scaleText;        ///< "1.0v/дел." …
    double pixelsPerTenth = 0;
    int zeroY = 0;
    struct BandRect {
        double top = 0;
        double bottom = 0;
    };
    QList<BandRect> bands;    ///< y range of each band, full width
    QString label;
    int startItem = 0;
    QList<QLineF> levelSegments; ///< 3 px wide, one per drawn step
    QList<QLineF> edges;         ///< 1 px verticals between levels
    QList<QLineF> zigzags;       ///< thin lines of "HI" items

    /// The y of a level in tenths of a volt.
    double yOf(int tenths) const { return zeroY - tenths * pixelsPerTenth; }
};

/// Scale text, pixels per tenth of a volt and zero line for the span of the
/// expected levels ("HI" items left out) and the "NULL-" field (-1: by scale).
void oscScale(const QList<OscItem>& items, int zeroLine, Oscillogram& out);

/// The whole drawing: scale, zero line, bands (the "LIM-" pairs or the
/// scale's defaults), label (with the row's time text when there is more
/// than one item) and waveform (64 steps from the start item, each the row's
/// step in tenths of a pixel plus the item's extra × step / 9; 10000 without
/// a row), cut at the right edge.
Oscillogram buildOscillogram(const OscCommand& command, int rowStep, const QString& rowTimeText);

/// The item the waveform starts with: "SYNC-", else the first item at the
/// lowest level that follows an item at another level, else 0.
int oscStartItem(const OscCommand& command);

} // namespace kia
