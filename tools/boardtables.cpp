#include "boardtables.h"

namespace kia::art {

namespace {

using Labels = std::vector<std::pair<int, QString>>;
using Net = std::vector<QString>;

QString s(const char* text) {
    return QString::fromUtf8(text);
}

Labels labels(std::initializer_list<std::pair<int, const char*>> rows) {
    Labels out;
    for (const auto& [pin, text] : rows)
        out.emplace_back(pin, s(text));
    return out;
}

PlacedPart place(const char* ref, PartDef def, int column, QPoint layoutAt,
                 Orient orient = Orient::Horizontal) {
    return PlacedPart{s(ref), std::move(def), column, layoutAt, orient};
}

Net net(std::initializer_list<const char*> pins) {
    Net out;
    for (const char* pin : pins)
        out.push_back(s(pin));
    return out;
}

QString pinName(const char* ref, int pin) {
    return QStringLiteral("%1/%2").arg(s(ref)).arg(pin);
}

// D inputs of the octal register in bit order.
constexpr int RegisterD[8] = {3, 4, 7, 8, 13, 14, 17, 18};

Decoration deco(Decoration::Kind kind, const char* ref, QPoint at, bool vertical = false) {
    return Decoration{kind, s(ref), at, vertical};
}

// Holes, output transistors and protection diodes, the same on every board.
void addCommonDecorations(BoardTables& b) {
    const char* transistors[] = {"VT1", "VT2", "VT3", "VT4"};
    for (int i = 0; i < 4; ++i)
        b.decorations.push_back(deco(Decoration::Transistor, transistors[i], {540 + 40 * i, 340}));
    const char* diodes[] = {"VD1", "VD2", "VD3"};
    for (int i = 0; i < 3; ++i)
        b.decorations.push_back(deco(Decoration::Diode, diodes[i], {540 + 60 * i, 392}));
    for (QPoint p : {QPoint(22, 22), QPoint(758, 22), QPoint(22, 426), QPoint(758, 426)})
        b.decorations.push_back(deco(Decoration::MountingHole, "", p));
}

// Connectors every test-processor board carries.
Labels probeConnector() {
    return labels({{1, "+5В"}, {2, "RXD"}, {3, "TXD"}, {5, "Общ."}, {6, "Общ."}});
}
Labels keyboardConnector() {
    return labels({{1, "КЛ1"},
                   {2, "КЛ2"},
                   {3, "КЛ3"},
                   {4, "КЛ4"},
                   {5, "КЛ5"},
                   {6, "КЛ6"},
                   {7, "КЛ7"},
                   {8, "КЛ8"},
                   {9, "+5В"},
                   {10, "Общ."}});
}

// Controller, address latch, register and decoder of the boards with the test
// processor socket, and the bus between them. ppi names the 82C55.
void addProcessorCore(BoardTables& b, const char* ppi, int ppiColumn, QPoint ppiAt) {
    b.parts.push_back(place("DD3", microcontroller40(), 0, {90, 80}));
    b.parts.push_back(place("DD4", addressLatch(), 1, {330, 90}));
    b.parts.push_back(place("DD8", octalRegister(), 1, {470, 90}));
    b.parts.push_back(place("DD11", decoder3to8(), 0, {90, 250}));
    b.parts.push_back(place(ppi, peripheralInterface(), ppiColumn, ppiAt));
    b.parts.push_back(place("DA1", driverArray(), 1, {580, 220}));

    for (int bit = 0; bit < 8; ++bit)
        b.nets.push_back({pinName("DD3", 39 - bit), pinName("DD4", 2 + bit), pinName(ppi, 34 - bit),
                          pinName("DD8", RegisterD[bit])});
    b.nets.push_back(net({"DD3/30", "DD4/11"}));
    b.nets.push_back({s("DD4/19"), pinName(ppi, 9)});
    b.nets.push_back({s("DD4/18"), pinName(ppi, 8)});
    b.nets.push_back(net({"DD3/26", "DD11/1"}));
    b.nets.push_back(net({"DD3/27", "DD11/2"}));
    b.nets.push_back(net({"DD3/28", "DD11/3"}));
    b.nets.push_back({s("DD3/17"), pinName(ppi, 5)});
    b.nets.push_back({s("DD3/16"), pinName(ppi, 36)});
    b.nets.push_back({s("DD11/13"), pinName(ppi, 6)});
    b.nets.push_back(net({"DD11/12", "DD8/11"}));
    b.nets.push_back({s("DD3/9"), pinName(ppi, 35)});
    b.nets.push_back(net({"DD3/10", "X1/2"}));
    b.nets.push_back(net({"DD3/11", "X1/3"}));

    b.decorations = {deco(Decoration::Crystal, "ZQ1", {120, 178}),
                     deco(Decoration::Capacitor, "C1", {190, 178}),
                     deco(Decoration::Capacitor, "C2", {225, 178}),
                     deco(Decoration::Capacitor, "C3", {440, 104}),
                     deco(Decoration::Capacitor, "C4", {580, 104}),
                     deco(Decoration::Electrolytic, "C5", {680, 70}),
                     deco(Decoration::Capacitor, "C6", {505, 250}),
                     deco(Decoration::Capacitor, "C7", {175, 266}),
                     deco(Decoration::Electrolytic, "C8", {350, 380}),
                     deco(Decoration::Resistor, "R1", {670, 224}),
                     deco(Decoration::Resistor, "R2", {670, 244}),
                     deco(Decoration::Resistor, "R3", {670, 264}),
                     deco(Decoration::Resistor, "R4", {670, 284})};
    addCommonDecorations(b);
}

void addKeyboard(BoardTables& b, const char* ppi, const int (&pins)[8]) {
    for (int line = 0; line < 8; ++line)
        b.nets.push_back({pinName(ppi, pins[line]), pinName("X4", line + 1)});
}

constexpr int PortA[8] = {4, 3, 2, 1, 40, 39, 38, 37};
constexpr int PortC[8] = {14, 15, 16, 17, 13, 12, 11, 10};

BoardTables board0() {
    BoardTables b;
    b.boardType = 0;
    b.designation = s("402615.123");
    b.schematicBitmap = 131;
    b.layoutBitmap = 132;
    b.schematicSize = {1189, 961};
    b.layoutSize = {780, 481};
    addProcessorCore(b, "DD14", 2, {300, 220});
    b.parts.push_back(place("X1", connector(6, probeConnector()), 0, {34, 90}, Orient::Vertical));
    b.parts.push_back(place("X2", connector(8, labels({{1, "+5В"}, {2, "ДАНН.СК"}, {5, "Общ."}})),
                            0, {34, 200}, Orient::Vertical));
    b.parts.push_back(place("X4", connector(10, keyboardConnector()), 2, {230, 418}));
    b.parts.push_back(place("X7",
                            connector(10, labels({{1, "+5В"},
                                                  {2, "ИНД1"},
                                                  {3, "ИНД2"},
                                                  {4, "ИНД3"},
                                                  {5, "ИНД4"},
                                                  {6, "ИНД5"},
                                                  {7, "ИНД6"},
                                                  {8, "ИНД7"},
                                                  {10, "Общ."}})),
                            2, {530, 30}));
    b.parts.push_back(place("X3",
                            connector(18, labels({{1, "+5В"},
                                                  {2, "+5В"},
                                                  {3, "Общ."},
                                                  {4, "Общ."},
                                                  {5, "Общ."},
                                                  {7, "+12В"},
                                                  {8, "+12В"},
                                                  {9, "УПР.ИНД"},
                                                  {11, "СЕТЬ"},
                                                  {14, "ДОП.С"},
                                                  {15, "ЯЩИК"},
                                                  {17, "Общ."},
                                                  {18, "+12В ТПГ"}})),
                            3, {300, 30}));
    b.parts.push_back(place("X5",
                            connector(8, labels({{1, "ФАЗА1"},
                                                 {2, "ФАЗА2"},
                                                 {3, "ФАЗА3"},
                                                 {4, "ФАЗА4"},
                                                 {5, "+12В"},
                                                 {6, "Общ."},
                                                 {7, "ДКБ"},
                                                 {8, "Общ."}})),
                            3, {748, 70}, Orient::Vertical));
    b.parts.push_back(place("X6",
                            connector(16, labels({{1, "СД ДКБ"},
                                                  {2, "+5В"},
                                                  {3, "ЗАП.ТПГ"},
                                                  {4, "Общ."},
                                                  {6, "ПЕЧ.ТПГ"},
                                                  {7, "+12В"},
                                                  {8, "+12В"},
                                                  {9, "Общ."},
                                                  {10, "Общ."},
                                                  {12, "СТРОБ"},
                                                  {14, "ДАНН.ТПГ"},
                                                  {16, "Общ."}})),
                            3, {748, 190}, Orient::Vertical));

    b.nets.push_back(net({"DD8/2", "DA1/1"}));
    b.nets.push_back(net({"DA1/16", "X5/1"}));
    b.nets.push_back(net({"DD8/5", "DA1/2"}));
    b.nets.push_back(net({"DA1/15", "X5/2"}));
    b.nets.push_back(net({"DD8/6", "DA1/3"}));
    b.nets.push_back(net({"DA1/14", "X5/3"}));
    b.nets.push_back(net({"DD8/9", "DA1/4"}));
    b.nets.push_back(net({"DA1/13", "X5/4"}));
    b.nets.push_back(net({"DD8/16", "X3/9"}));
    b.nets.push_back(net({"DD14/25", "X3/11"}));
    b.nets.push_back(net({"DD8/19", "DA1/5"}));
    b.nets.push_back(net({"DA1/12", "X3/14"}));
    b.nets.push_back(net({"DD14/13", "DA1/6"}));
    b.nets.push_back(net({"DA1/11", "X3/15"}));
    b.nets.push_back(net({"X2/2", "DD3/13"}));
    b.nets.push_back(net({"DD3/15", "X5/7", "X6/14"}));
    b.nets.push_back(net({"DD8/15", "X6/3"}));
    b.nets.push_back(net({"DD3/14", "X6/12"}));
    b.nets.push_back(net({"DD8/12", "X6/6", "X3/18"}));
    addKeyboard(b, "DD14", PortA);
    for (int line = 0; line < 7; ++line)
        b.nets.push_back({pinName("DD14", 18 + line), pinName("X7", 2 + line)});
    return b;
}

// Types 1 and 2 are two issues of the same board; only the designation differs.
BoardTables board148(int type) {
    BoardTables b;
    b.boardType = type;
    b.designation = type == 1 ? s("402615.148 LIT.- LIT.2") : s("402615.148 LIT.3");
    b.schematicBitmap = type == 1 ? 133 : 240;
    b.layoutBitmap = type == 1 ? 134 : 241;
    b.schematicSize = {1189, 961};
    b.layoutSize = {780, 481};
    addProcessorCore(b, "DD14", 2, {300, 220});
    b.parts.push_back(place("X1", connector(6, probeConnector()), 0, {34, 90}, Orient::Vertical));
    b.parts.push_back(place("X2", connector(8, labels({{1, "+5В"}, {2, "ДАНН.СК"}, {5, "Общ."}})),
                            0, {34, 200}, Orient::Vertical));
    b.parts.push_back(place("X4", connector(10, keyboardConnector()), 2, {230, 418}));
    b.parts.push_back(place("X3",
                            connector(18, labels({{1, "+5В"},
                                                  {2, "+5В"},
                                                  {3, "Общ."},
                                                  {4, "Общ."},
                                                  {5, "Общ."},
                                                  {7, "+12В"},
                                                  {8, "+12В"},
                                                  {9, "УПР.ИНД"},
                                                  {11, "СЕТЬ"},
                                                  {14, "ДОП.С"},
                                                  {15, "ЯЩИК"},
                                                  {17, "Общ."},
                                                  {18, "+12В ТПГ"}})),
                            3, {300, 30}));
    b.parts.push_back(place("X5",
                            connector(6, labels({{1, "ФАЗА1"},
                                                 {2, "ФАЗА2"},
                                                 {3, "ФАЗА3"},
                                                 {4, "ФАЗА4"},
                                                 {5, "+12В"},
                                                 {6, "Общ."}})),
                            3, {748, 60}, Orient::Vertical));
    b.parts.push_back(
        place("X6", connector(4, labels({{1, "СД ДКБ"}, {2, "ДКБ"}, {3, "+5В"}, {4, "Общ."}})), 3,
              {748, 140}, Orient::Vertical));
    b.parts.push_back(place("X7",
                            connector(16, labels({{1, "+12В"},
                                                  {2, "+12В"},
                                                  {3, "Общ."},
                                                  {4, "Общ."},
                                                  {6, "ПЕЧ.ТПГ"},
                                                  {9, "ЗАП.ТПГ"},
                                                  {12, "СТРОБ"},
                                                  {14, "ДАНН.ТПГ"},
                                                  {15, "+5В"},
                                                  {16, "Общ."}})),
                            3, {748, 210}, Orient::Vertical));

    b.nets.push_back(net({"DD8/2", "DA1/1"}));
    b.nets.push_back(net({"DA1/16", "X5/1"}));
    b.nets.push_back(net({"DD8/6", "DA1/2"}));
    b.nets.push_back(net({"DA1/15", "X5/2"}));
    b.nets.push_back(net({"DD8/5", "DA1/3"}));
    b.nets.push_back(net({"DA1/14", "X5/3"}));
    b.nets.push_back(net({"DD8/9", "DA1/4", "DA1/7"}));
    b.nets.push_back(net({"DA1/13", "X5/4"}));
    b.nets.push_back(net({"DA1/10", "X6/1"}));
    b.nets.push_back(net({"DD8/16", "X3/9"}));
    b.nets.push_back(net({"DD14/25", "X3/11"}));
    b.nets.push_back(net({"DD8/19", "DA1/5"}));
    b.nets.push_back(net({"DA1/12", "X3/14"}));
    b.nets.push_back(net({"DD14/13", "DA1/6"}));
    b.nets.push_back(net({"DA1/11", "X3/15"}));
    b.nets.push_back(net({"X2/2", "DD3/13"}));
    b.nets.push_back(net({"DD3/15", "X6/2", "X7/14"}));
    b.nets.push_back(net({"DD8/15", "X7/9"}));
    b.nets.push_back(net({"DD3/14", "X7/12"}));
    b.nets.push_back(net({"DD8/12", "X7/6", "X3/18"}));
    addKeyboard(b, "DD14", PortA);
    return b;
}

BoardTables board3() {
    BoardTables b;
    b.boardType = 3;
    b.designation = s("402615.174 LIT.");
    b.schematicBitmap = 244;
    b.layoutBitmap = 245;
    b.schematicSize = {1189, 961};
    b.layoutSize = {780, 481};
    addProcessorCore(b, "DD15", 2, {300, 220});
    b.parts.push_back(place("DD14", hexInverter(), 2, {200, 330}));
    b.parts.push_back(place("X1", connector(6, probeConnector()), 0, {34, 90}, Orient::Vertical));
    b.parts.push_back(place("X2", connector(8, labels({{1, "+5В"}, {2, "ДАНН.СК"}, {5, "Общ."}})),
                            0, {34, 200}, Orient::Vertical));
    b.parts.push_back(place("X4", connector(10, keyboardConnector()), 2, {230, 418}));
    b.parts.push_back(place("X5",
                            connector(8, labels({{1, "+5В"}, {2, "Общ."}, {4, "SCL"}, {5, "SDA"}})),
                            2, {400, 418}));
    b.parts.push_back(place("X3",
                            connector(18, labels({{1, "+12В"},
                                                  {2, "+5В"},
                                                  {3, "Общ."},
                                                  {4, "Общ."},
                                                  {9, "УПР.ИНД"},
                                                  {11, "СЕТЬ"},
                                                  {15, "ЯЩИК"},
                                                  {17, "Общ."},
                                                  {18, "Общ."}})),
                            3, {300, 30}));
    b.parts.push_back(place("X6",
                            connector(6, labels({{1, "ФАЗА1"},
                                                 {2, "ФАЗА2"},
                                                 {3, "ФАЗА3"},
                                                 {4, "ФАЗА4"},
                                                 {5, "+12В"},
                                                 {6, "Общ."}})),
                            3, {748, 60}, Orient::Vertical));
    b.parts.push_back(
        place("X7", connector(4, labels({{1, "СД ДКБ"}, {2, "ДКБ"}, {3, "+5В"}, {4, "Общ."}})), 3,
              {748, 140}, Orient::Vertical));
    b.parts.push_back(place("X8",
                            connector(16, labels({{1, "+12В ТПГ"},
                                                  {2, "+12В"},
                                                  {3, "Общ."},
                                                  {4, "Общ."},
                                                  {6, "ПЕЧ.ТПГ"},
                                                  {9, "ЗАП.ТПГ"},
                                                  {12, "СТРОБ"},
                                                  {14, "ДАНН.ТПГ"},
                                                  {15, "+5В"},
                                                  {16, "Общ."}})),
                            3, {748, 210}, Orient::Vertical));

    b.nets.push_back(net({"DD8/2", "DA1/1"}));
    b.nets.push_back(net({"DA1/16", "X6/1"}));
    b.nets.push_back(net({"DD8/6", "DA1/2"}));
    b.nets.push_back(net({"DA1/15", "X6/2"}));
    b.nets.push_back(net({"DD8/5", "DA1/3"}));
    b.nets.push_back(net({"DA1/14", "X6/3"}));
    b.nets.push_back(net({"DD8/9", "DA1/4"}));
    b.nets.push_back(net({"DA1/13", "X6/4"}));
    b.nets.push_back(net({"DD8/16", "X3/9"}));
    b.nets.push_back(net({"DD15/25", "X3/11"}));
    b.nets.push_back(net({"DD15/2", "DA1/6"}));
    b.nets.push_back(net({"DA1/11", "X3/15"}));
    b.nets.push_back(net({"DD15/1", "DA1/5", "DA1/7"}));
    b.nets.push_back(net({"DA1/12", "X7/1"}));
    b.nets.push_back(net({"DA1/10", "X8/1"}));
    b.nets.push_back(net({"X7/2", "DD14/1"}));
    b.nets.push_back(net({"DD14/2", "DD3/7"}));
    b.nets.push_back(net({"X2/2", "DD14/3"}));
    b.nets.push_back(net({"DD14/4", "DD3/13"}));
    b.nets.push_back(net({"DD3/15", "X8/14"}));
    b.nets.push_back(net({"DD8/15", "X8/9"}));
    b.nets.push_back(net({"DD3/14", "X8/12"}));
    b.nets.push_back(net({"DD8/12", "X8/6"}));
    b.nets.push_back(net({"DD3/2", "X5/5"}));
    b.nets.push_back(net({"DD3/3", "X5/4"}));
    addKeyboard(b, "DD15", PortC);
    return b;
}

BoardTables board4() {
    BoardTables b;
    b.boardType = 4;
    b.designation = s("402615.276");
    b.schematicBitmap = 281;
    b.layoutBitmap = 282;
    b.schematicSize = {1189, 864};
    b.layoutSize = {780, 481};
    b.parts.push_back(place("DD5", microcontroller44(), 0, {100, 110}));
    b.parts.push_back(place("X1", connector(6, probeConnector()), 0, {34, 90}, Orient::Vertical));
    b.parts.push_back(place(
        "X4",
        connector(
            6, labels({{1, "MOSI"}, {2, "MISO"}, {3, "SCK"}, {4, "RST"}, {5, "+5В"}, {6, "Общ."}})),
        0, {34, 220}, Orient::Vertical));
    b.parts.push_back(place("DD4", addressLatch(), 1, {260, 90}));
    b.parts.push_back(place("DD12", octalRegister(), 1, {400, 90}));
    b.parts.push_back(place("DD8", decoder3to8(), 1, {260, 230}));
    b.parts.push_back(place("DD11", busBuffer(), 2, {400, 230}));
    b.parts.push_back(place("DA1", driverArray(), 2, {580, 230}));
    b.parts.push_back(place(
        "X2",
        connector(8,
                  labels({{1, "+5В"}, {2, "ДАНН.СК"}, {5, "Общ."}, {7, "РАЗР.СК"}, {8, "ГОТ.СК"}})),
        2, {150, 418}));
    b.parts.push_back(
        place("X10", connector(10, labels({{1, "+5В"}, {2, "Общ."}, {6, "SCL"}, {8, "SDA"}})), 2,
              {330, 418}));
    b.parts.push_back(place("X3",
                            connector(18, labels({{1, "+12В"},
                                                  {2, "+5В"},
                                                  {3, "Общ."},
                                                  {4, "Общ."},
                                                  {9, "УПР.ИНД"},
                                                  {11, "СЕТЬ"},
                                                  {12, "КОНД.12В"},
                                                  {14, "ЯЩИК"},
                                                  {17, "Общ."},
                                                  {18, "Общ."}})),
                            3, {300, 30}));
    b.parts.push_back(place("X5",
                            connector(6, labels({{1, "ФАЗА1"},
                                                 {2, "ФАЗА2"},
                                                 {3, "ФАЗА3"},
                                                 {4, "ФАЗА4"},
                                                 {5, "+12В"},
                                                 {6, "Общ."}})),
                            3, {748, 60}, Orient::Vertical));
    b.parts.push_back(
        place("X6", connector(4, labels({{1, "СД ДКБ"}, {2, "ДКБ"}, {3, "+5В"}, {4, "Общ."}})), 3,
              {748, 140}, Orient::Vertical));
    b.parts.push_back(place("X7",
                            connector(16, labels({{1, "+12В/1"},
                                                  {3, "Общ."},
                                                  {4, "Общ."},
                                                  {6, "ПЕЧ.ТПГ"},
                                                  {9, "ЗАП.ТПГ"},
                                                  {12, "СТРОБ"},
                                                  {14, "ДАНН.ТПГ"},
                                                  {15, "+12В/2"},
                                                  {16, "Общ."}})),
                            3, {748, 210}, Orient::Vertical));

    for (int bit = 0; bit < 8; ++bit) {
        Net n{pinName("DD5", 37 - bit), pinName("DD4", 2 + bit), pinName("DD12", RegisterD[bit]),
              pinName("DD11", 18 - bit)};
        if (bit == 0)
            n.push_back(s("X7/14"));
        b.nets.push_back(n);
    }
    b.nets.push_back(net({"DD5/27", "DD4/11"}));
    b.nets.push_back(net({"DD5/40", "DD8/1"}));
    b.nets.push_back(net({"DD5/41", "DD8/2"}));
    b.nets.push_back(net({"DD5/42", "DD8/3"}));
    b.nets.push_back(net({"DD5/12", "DD8/4"}));
    b.nets.push_back(net({"DD5/25", "DD8/6"}));
    b.nets.push_back(net({"DD8/15", "DD12/11"}));
    b.nets.push_back(net({"DD8/14", "DD11/1"}));
    b.nets.push_back(net({"DD8/13", "X7/9"}));
    b.nets.push_back(net({"DD8/12", "X7/12"}));
    b.nets.push_back(net({"DD12/2", "DA1/1"}));
    b.nets.push_back(net({"DA1/16", "X5/1"}));
    b.nets.push_back(net({"DD12/5", "DA1/2"}));
    b.nets.push_back(net({"DA1/15", "X5/3"}));
    b.nets.push_back(net({"DD12/9", "DA1/3", "DA1/4", "DA1/7", "X3/12", "X7/1", "X7/15"}));
    b.nets.push_back(net({"DA1/14", "X5/2"}));
    b.nets.push_back(net({"DA1/13", "X5/4"}));
    b.nets.push_back(net({"DA1/10", "X6/1"}));
    b.nets.push_back(net({"DD12/19", "X3/9"}));
    b.nets.push_back(net({"DD12/16", "X2/7"}));
    b.nets.push_back(net({"DD12/15", "DA1/5"}));
    b.nets.push_back(net({"DA1/12", "X3/14"}));
    b.nets.push_back(net({"DD12/6", "DA1/6"}));
    b.nets.push_back(net({"DA1/11", "X7/6"}));
    b.nets.push_back(net({"X6/2", "DD11/7"}));
    b.nets.push_back(net({"X2/8", "DD11/8"}));
    b.nets.push_back(net({"X3/11", "DD11/9"}));
    b.nets.push_back(net({"X2/2", "DD5/9"}));
    b.nets.push_back(net({"DD5/11", "X10/6"}));
    b.nets.push_back(net({"DD5/10", "X10/8"}));
    b.nets.push_back(net({"DD5/5", "X1/2"}));
    b.nets.push_back(net({"DD5/7", "X1/3"}));
    b.nets.push_back(net({"DD5/1", "X4/1"}));
    b.nets.push_back(net({"DD5/2", "X4/2"}));
    b.nets.push_back(net({"DD5/3", "X4/3"}));
    b.nets.push_back(net({"DD5/4", "X4/4"}));

    b.decorations = {deco(Decoration::Crystal, "ZQ1", {110, 240}),
                     deco(Decoration::Capacitor, "C1", {175, 240}),
                     deco(Decoration::Capacitor, "C2", {205, 240}),
                     deco(Decoration::Capacitor, "C3", {368, 104}),
                     deco(Decoration::Capacitor, "C4", {508, 104}),
                     deco(Decoration::Electrolytic, "C5", {680, 70}),
                     deco(Decoration::Capacitor, "C6", {505, 260}),
                     deco(Decoration::Capacitor, "C7", {345, 260}),
                     deco(Decoration::Electrolytic, "C8", {470, 380}),
                     deco(Decoration::Resistor, "R1", {670, 234}),
                     deco(Decoration::Resistor, "R2", {670, 254}),
                     deco(Decoration::Resistor, "R3", {670, 274}),
                     deco(Decoration::Resistor, "R4", {670, 294})};
    addCommonDecorations(b);
    return b;
}

} // namespace

std::vector<BoardTables> allBoards() {
    return {board0(), board148(1), board148(2), board3(), board4()};
}

} // namespace kia::art
