#include "circuittable.h"

#include <initializer_list>
#include <utility>

namespace kia {

namespace {

using Levels = std::initializer_list<quint8>;

void setSteps(CircuitRow& r, Levels in, Levels out) {
    r.steps = static_cast<int>(in.size());
    r.values.fill(0);
    int i = 0;
    for (quint8 v : in)
        r.values[static_cast<size_t>(i++)] = v;
    i = 8;
    for (quint8 v : out)
        r.values[static_cast<size_t>(i++)] = v;
}

CircuitRow levelRow(const char16_t* name, QStringList inputs, const char16_t* output, Levels in,
                    Levels out) {
    CircuitRow r;
    r.kind = CircuitKind::Level;
    r.name = QString::fromUtf16(name);
    r.inputs = std::move(inputs);
    r.output = QString::fromUtf16(output);
    setSteps(r, in, out);
    return r;
}

CircuitRow pulseRow(const char16_t* name, const char16_t* input, const char16_t* output,
                    quint8 inLevel, int inLength, quint8 outLevel, quint8 minLen, quint8 maxLen,
                    int windowMs) {
    CircuitRow r;
    r.kind = CircuitKind::Pulse;
    r.name = QString::fromUtf16(name);
    r.inputs = QStringList{QString::fromUtf16(input)};
    r.output = QString::fromUtf16(output);
    r.steps = 1;
    r.values[0] = inLevel;
    r.values[1] = static_cast<quint8>(inLength % 100);
    r.values[2] = static_cast<quint8>(inLength / 100);
    r.values[8] = outLevel;
    r.values[9] = minLen;
    r.values[10] = maxLen;
    r.read = CircuitRead::Pulse;
    r.pulseWindowMs = windowMs;
    return r;
}

CircuitRow& latch(CircuitRow& r, quint8 b0, quint8 b1 = 0) {
    r.drive = CircuitDrive::LatchBits;
    r.bits = {b0, b1};
    return r;
}

CircuitRow& aux(CircuitRow& r, quint8 index, quint8 bit) {
    r.drive = CircuitDrive::AuxBit;
    r.aux = index;
    r.bits = {bit, 0};
    return r;
}

CircuitRow& portDrive(CircuitRow& r, quint8 port, quint8 bit) {
    r.drive = CircuitDrive::PortBit;
    r.drivePort = port;
    r.driveBit = bit;
    return r;
}

CircuitRow& driver(CircuitRow& r) {
    r.drive = CircuitDrive::LevelDriver;
    return r;
}

CircuitRow& readPort(CircuitRow& r, quint8 port, quint8 bit) {
    r.read = CircuitRead::PortBit;
    r.readPort = port;
    r.readBit = bit;
    return r;
}

CircuitRow& readLatch(CircuitRow& r, quint8 bit) {
    r.read = CircuitRead::LatchInput;
    r.readBit = bit;
    return r;
}

CircuitRow absent(CircuitRow r) {
    r.kind = CircuitKind::Absent;
    return r;
}

QStringList in(std::initializer_list<const char16_t*> names) {
    QStringList l;
    for (const char16_t* n : names)
        l << QString::fromUtf16(n);
    return l;
}

quint32 pinSet(std::initializer_list<std::pair<int, int>> ranges) {
    quint32 s = 0;
    for (const auto& [from, to] : ranges) {
        for (int k = from; k <= to; ++k)
            s |= 1u << k;
    }
    return s;
}

const char16_t* const kHighImpedance = u"Высокоимпедансное состояние(проверка пробника).";
const char16_t* const kCommon = u"\"Общий\" провод (проверка пробника).";
const char16_t* const kPlus5 = u"\"+5B\" (проверка пробника).";
const char16_t* const kPlus12 = u"\"+12B\" (проверка пробника).";
const char16_t* const kDriver = u"Проверка формирователя лог. уровней.";

CircuitTable typeZeroTable() {
    CircuitTable t;
    t[0] = levelRow(kHighImpedance, {}, u"", {3}, {3});
    t[1] = levelRow(kCommon, in({u"DD3/20"}), u"DD3/20", {0}, {0});
    t[2] = levelRow(kPlus5, in({u"DD3/40"}), u"DD3/40", {1}, {1});
    t[3] = levelRow(kPlus12, in({u"X3/7"}), u"X3/7", {2}, {2});
    t[4] = levelRow(kDriver, {}, u"", {0, 1}, {0, 1});
    driver(t[4]);
    t[5] = levelRow(u"Фаза 1 шагового двигателя.", in({u"DD8/2"}), u"X5/1", {1, 0}, {0, 3});
    latch(t[5], 0x01);
    t[6] = levelRow(u"Фаза 2 шагового двигателя.", in({u"DD8/5"}), u"X5/2", {1, 0}, {0, 3});
    latch(t[6], 0x02);
    t[7] = levelRow(u"Фаза 3 шагового двигателя.", in({u"DD8/6"}), u"X5/3", {1, 0}, {0, 3});
    latch(t[7], 0x04);
    t[8] = levelRow(u"Фаза 4 шагового двигателя.", in({u"DD8/9"}), u"X5/4", {1, 0}, {0, 3});
    latch(t[8], 0x08);
    t[9] = levelRow(u"Управление индикацией.", in({u"DD8/16"}), u"X3/9", {0, 1}, {0, 1});
    latch(t[9], 0x40);
    t[10] = levelRow(u"Сигнал \"Наличие сети\".", in({u"DD14/25"}), u"X3/11", {0, 1}, {0, 1});
    aux(t[10], 1, 0x80);
    t[11] = levelRow(u"Включение дополнительного \"C\".", in({u"DD8/19"}), u"X3/14", {0, 1},
                     {1, 0});
    latch(t[11], 0x80);
    t[12] = levelRow(u"Управление электромагнитом ящика.", in({u"DD14/13"}), u"X3/15", {0, 1},
                     {0, 1});
    aux(t[12], 2, 0x10);
    t[13] = levelRow(u"\"-\" светодиода датчика конца бумаги.", in({u"DD8/9"}), u"X6/1", {1, 0},
                     {0, 2});
    latch(t[13], 0x08);
    t[13] = absent(t[13]);
    t[14] = levelRow(u"Данные сканера штрих-кодов.", in({u"X2/2"}), u"DD3/13", {0, 1}, {1, 0});
    readPort(driver(t[14]), 3, 3);
    t[15] = levelRow(u"Датчик конца бумаги.", in({u"DD3/15"}), u"X5/7", {0, 1}, {0, 1});
    portDrive(t[15], 3, 5);
    t[16] = levelRow(u"Данные ТПГ.", in({u"DD3/15"}), u"X6/14", {0, 1}, {0, 1});
    portDrive(t[16], 3, 5);
    t[17] = levelRow(u"Запись в память ТПГ.", in({u"DD8/15"}), u"X6/3", {0, 1}, {1, 0});
    latch(t[17], 0x20);
    t[18] = levelRow(u"Синхроимпульс ТПГ.", in({u"DD3/14"}), u"X6/12", {0, 1}, {1, 0});
    portDrive(t[18], 3, 4);
    t[19] = pulseRow(u"Импульс печати ТПГ (макс. по защите).", u"DD8/12", u"X6/6", 0, 400, 0, 80,
                     200, 200);
    t[20] = pulseRow(u"Импульс печати ТПГ (макс. программный).", u"DD8/12", u"X6/6", 0, 80, 0, 70,
                     90, 100);
    t[21] = pulseRow(u"Включение +12в ТПГ.", u"DD8/12", u"X3/18", 0, 10, 1, 5, 15, 50);
    t[22] = levelRow(u"Включение +12в ТПГ.", in({u"DD15/1"}), u"X8/1", {0}, {0});
    latch(t[22], 0x08);
    t[22] = absent(t[22]);
    t[23] = levelRow(u"Сигнал SDA ЭКЛЗ.", in({u"DD3/2"}), u"X5/5", {0}, {0});
    t[23] = absent(portDrive(t[23], 1, 1));
    for (int r = 24; r < CircuitRowCount; ++r) {
        t[r] = levelRow(u"Сигнал SCL ЭКЛЗ.", in({u"DD3/3"}), u"X5/4", {0}, {0});
        t[r] = absent(portDrive(t[r], 1, 2));
    }
    return t;
}

// Stepper phases of types 1..3: two latch bits per phase, three steps.
void twoBitPhases(CircuitTable& t, int type) {
    const quint8 idle = type == 1 ? 3 : 2;
    const struct {
        int row;
        const char16_t* a;
        const char16_t* b;
        quint8 bitA, bitB;
        bool first;
    } phases[] = {{5, u"DD8/2", u"DD8/6", 0x01, 0x04, true},
                  {6, u"DD8/2", u"DD8/6", 0x01, 0x04, false},
                  {7, u"DD8/5", u"DD8/9", 0x02, 0x08, true},
                  {8, u"DD8/5", u"DD8/9", 0x02, 0x08, false}};
    for (const auto& p : phases) {
        CircuitRow& r = t[p.row];
        r.inputs = in({p.a, p.b});
        latch(r, p.bitA, p.bitB);
        if (p.first)
            setSteps(r, {1, 2, 0}, {0, 2, idle});
        else
            setSteps(r, {1, 2, 0}, {2, 0, idle});
    }
}

CircuitTable typeOneTwoTable(int type) {
    CircuitTable t = typeZeroTable();
    twoBitPhases(t, type);
    t[13].kind = CircuitKind::Level;
    t[15].inputs = in({u"X6/2"});
    t[15].output = QStringLiteral("DD3/15");
    readPort(driver(t[15]), 3, 5);
    t[16].output = QStringLiteral("X7/14");
    t[17].output = QStringLiteral("X7/9");
    t[18].output = QStringLiteral("X7/12");
    t[19].output = QStringLiteral("X7/6");
    t[20].output = QStringLiteral("X7/6");
    return t;
}

CircuitTable typeThreeTable() {
    CircuitTable t = typeZeroTable();
    t[3].inputs = in({u"X3/1"});
    t[3].output = QStringLiteral("X3/1");
    twoBitPhases(t, 2);
    t[5].output = QStringLiteral("X6/1");
    t[6].output = QStringLiteral("X6/2");
    t[7].output = QStringLiteral("X6/3");
    t[8].output = QStringLiteral("X6/4");
    t[10].inputs = in({u"DD15/25"});
    t[11].kind = CircuitKind::Absent;
    t[12].inputs = in({u"DD15/2"});
    aux(t[12], 0, 0x04);
    t[13].kind = CircuitKind::Level;
    t[13].inputs = in({u"DD15/1"});
    t[13].output = QStringLiteral("X7/1");
    setSteps(t[13], {0, 1}, {3, 0});
    aux(t[13], 0, 0x08);
    t[15].inputs = in({u"X7/2"});
    t[15].output = QStringLiteral("DD3/7");
    setSteps(t[15], {0, 1}, {1, 0});
    readPort(driver(t[15]), 1, 6);
    t[16].output = QStringLiteral("X8/14");
    t[17].output = QStringLiteral("X8/9");
    t[18].output = QStringLiteral("X8/12");
    t[19].output = QStringLiteral("X8/6");
    t[20].output = QStringLiteral("X8/6");
    t[21].name = QStringLiteral("Импульс печати ТПГ (мин. программный).");
    t[21].output = QStringLiteral("X8/6");
    t[21].values[8] = 0;
    t[21].values[9] = 5;
    t[21].values[10] = 15;
    aux(t[22], 0, 0x08);
    for (int r = 22; r <= 24; ++r)
        t[r].kind = CircuitKind::Level;
    return t;
}

CircuitTable typeFourTable() {
    CircuitTable t;
    t[0] = levelRow(kHighImpedance, {}, u"", {3}, {3});
    t[1] = levelRow(kCommon, in({u"DD5/16"}), u"DD5/16", {0}, {0});
    t[2] = levelRow(kPlus5, in({u"DD5/38"}), u"DD5/38", {1}, {1});
    t[3] = levelRow(kPlus12, in({u"X3/1"}), u"X3/1", {2}, {2});
    t[4] = levelRow(kDriver, {}, u"", {0, 1}, {0, 1});
    driver(t[4]);
    t[5] = levelRow(u"Фаза 1 шагового двигателя.", in({u"DD12/2", u"DD12/9"}), u"X5/1",
                    {1, 2, 3, 0}, {3, 0, 2, 3});
    latch(t[5], 0x01, 0x08);
    t[6] = levelRow(u"Фаза 2 шагового двигателя.", in({u"DD12/2", u"DD12/9"}), u"X5/2",
                    {1, 2, 3, 0}, {3, 2, 0, 3});
    latch(t[6], 0x01, 0x08);
    t[7] = levelRow(u"Фаза 3 шагового двигателя.", in({u"DD12/5", u"DD12/9"}), u"X5/3",
                    {1, 2, 3, 0}, {3, 0, 2, 3});
    latch(t[7], 0x02, 0x08);
    t[8] = levelRow(u"Фаза 4 шагового двигателя.", in({u"DD12/5", u"DD12/9"}), u"X5/4",
                    {1, 2, 3, 0}, {3, 2, 0, 3});
    latch(t[8], 0x02, 0x08);
    t[9] = levelRow(u"Управление индикацией.", in({u"DD12/19"}), u"X3/9", {0, 1}, {0, 1});
    latch(t[9], 0x80);
    t[10] = levelRow(u"Сигнал \"Наличие сети\".", in({u"X3/11"}), u"чтение DD11/9", {0, 1},
                     {0, 1});
    readLatch(driver(t[10]), 7);
    t[11] = levelRow(u"Цепь конденсатора БП для 12в ТПГ.", in({u"DD12/9"}), u"X3/12", {1, 0},
                     {2, 3});
    latch(t[11], 0x08);
    t[12] = levelRow(u"Управление электромагнитом ящика.", in({u"DD12/15"}), u"X3/14", {1, 0},
                     {1, 0});
    latch(t[12], 0x20);
    t[13] = levelRow(u"\"-\" светодиода датчика конца бумаги.", in({u"DD12/9"}), u"X6/1", {1, 0},
                     {0, 1});
    latch(t[13], 0x08);
    t[14] = levelRow(u"Датчик конца бумаги.", in({u"X6/2"}), u"чтение DD11/7", {0, 1}, {0, 1});
    readLatch(driver(t[14]), 5);
    t[15] = levelRow(u"Сигнал разрешения сканера.", in({u"DD12/16"}), u"X2/7", {1, 0}, {1, 0});
    latch(t[15], 0x40);
    t[16] = levelRow(u"Данные сканера.", in({u"X2/2"}), u"DD5/9", {1, 0}, {0, 1});
    readPort(driver(t[16]), 3, 3);
    t[17] = levelRow(u"Сигнал готовности сканера.", in({u"X2/8"}), u"чтение DD11/8", {1, 0},
                     {0, 1});
    readLatch(driver(t[17]), 6);
    t[18] = levelRow(u"Запись в память ТПГ.", in({u"DD5/40", u"DD5/41", u"DD5/42", u"DD5/25"}),
                     u"X7/9", {8, 9, 10, 2, 13, 15}, {1, 1, 0, 1, 1, 1});
    t[18].drive = CircuitDrive::WindowStrobe;
    t[19] = levelRow(u"Синхроимпульс ТПГ.",
                     in({u"DD5/40", u"DD5/41", u"DD5/42", u"DD5/25", u"DD5/12"}), u"X7/12",
                     {9, 1, 25, 31}, {1, 0, 0, 0});
    t[19].drive = CircuitDrive::WindowStrobePort3;
    t[20] = levelRow(u"Данные ТПГ.", in({u"DD5/37"}), u"X7/14", {0, 1}, {0, 1});
    portDrive(t[20], 0, 0);
    t[21] = levelRow(u"Включение +12В/1 ТПГ.", in({u"DD12/9"}), u"X7/1", {1, 0}, {2, 3});
    latch(t[21], 0x08);
    t[22] = levelRow(u"Включение +12В/2 ТПГ.", in({u"DD12/9"}), u"X7/15", {1, 0}, {2, 3});
    latch(t[22], 0x08);
    t[23] = pulseRow(u"Импульс печати ТПГ (макс.по защите).", u"DD12/6", u"X7/6", 1, 400, 0, 25,
                     100, 200);
    t[24] = pulseRow(u"Импульс печати ТПГ (макс.программный).", u"DD12/6", u"X7/6", 1, 20, 0, 15,
                     25, 100);
    t[25] = pulseRow(u"Импульс печати ТПГ (мин.программный).", u"DD12/6", u"X7/6", 1, 5, 0, 3, 7,
                     50);
    t[26] = levelRow(u"Сигнал \"SCL\" ЭКЛЗ.", in({u"DD5/11"}), u"X10/6", {0, 1}, {0, 1});
    portDrive(t[26], 3, 5);
    t[27] = levelRow(u"Сигнал \"SDA\" ЭКЛЗ.", in({u"DD5/10"}), u"X10/8", {0, 1}, {0, 1});
    portDrive(t[27], 3, 4);

    // Rows excused from the cross-check while an earlier row is tested.
    const std::pair<int, std::initializer_list<int>> excused[] = {
        {6, {5}},
        {7, {5, 6}},
        {8, {5, 6, 7}},
        {11, {5, 6, 7, 8}},
        {13, {5, 6, 7, 8, 11}},
        {14, {10}},
        {16, {10, 14}},
        {17, {10, 14, 16}},
        {19, {18}},
        {21, {5, 6, 7, 8, 11, 13}},
        {22, {5, 6, 7, 8, 11, 13, 21}},
    };
    for (const auto& [row, tested] : excused) {
        for (int r : tested)
            t[row].crossFlags[static_cast<size_t>(r)] = 0;
    }

    const quint32 common = pinSet({{11, 22}, {26, 26}});
    t[5].pins = pinSet({{1, 2}, {4, 7}, {31, 31}}) | common;
    t[7].pins = pinSet({{0, 0}, {2, 2}, {4, 7}, {31, 31}}) | common;
    t[9].pins = pinSet({{0, 6}, {31, 31}}) | common;
    t[10].pins = pinSet({{0, 6}, {30, 30}}) | common;
    t[11].pins = pinSet({{0, 2}, {4, 7}, {31, 31}}) | common;
    t[12].pins = pinSet({{0, 4}, {6, 7}, {31, 31}}) | common;
    t[14].pins = pinSet({{0, 4}, {6, 7}, {30, 30}}) | common;
    t[15].pins = pinSet({{0, 5}, {7, 7}, {31, 31}}) | common;
    t[16].pins = pinSet({{0, 23}, {26, 26}, {30, 31}});
    t[17].pins = pinSet({{0, 5}, {7, 7}, {30, 30}}) | common;
    t[18].pins = pinSet({{0, 7}, {30, 31}}) | common;
    t[19].pins = pinSet({{0, 7}, {31, 31}}) | common;
    t[20].pins = pinSet({{1, 23}, {26, 26}, {30, 31}});
    t[25].pins = pinSet({{0, 1}, {3, 7}}) | common;
    t[26].pins = pinSet({{0, 23}, {26, 26}, {30, 31}});
    t[27].pins = t[26].pins;
    return t;
}

QStringList pinNames(bool dd15) {
    QStringList l;
    for (int n : {1, 2, 3, 4, 5, 8, 21, 22, 23, 24, 25, 26, 27, 28, 16})
        l << QStringLiteral("DD3/%1").arg(n);
    const int ppi[] = {4, 3, 2, 1, 40, 39, 38, 37, 18, 19, 20, 21, 22, 23, 24, 14, 15, 16, 17,
                       12, 11, 10};
    for (int i = 0; i < 22; ++i) {
        const int pin = 15 + i;
        const bool other = dd15 && pin != 17;
        l << QStringLiteral("DD%1/%2").arg(other ? 15 : 14).arg(ppi[i]);
    }
    return l;
}

QStringList controllerPinNames() {
    QStringList l;
    for (int n : {37, 36, 35, 34, 33, 32, 31, 30, 40, 41, 42, 43, 44, 1, 2, 3, 18, 19, 20, 21, 22,
                  23, 24, 25, 5, 7, 8, 9, 10, 11, 12, 13})
        l << QStringLiteral("DD5/%1").arg(n);
    return l;
}

} // namespace


const CircuitTable& circuitTable(int boardType) {
    static const std::array<CircuitTable, 5> tables = {typeZeroTable(), typeOneTwoTable(1),
                                                       typeOneTwoTable(2), typeThreeTable(),
                                                       typeFourTable()};
    if (boardType < 0 || boardType > 4)
        boardType = 0;
    return tables[static_cast<size_t>(boardType)];
}

const QStringList& circuitPinNames(int boardType) {
    static const QStringList plain = pinNames(false);
    static const QStringList dd15 = pinNames(true);
    static const QStringList controller = controllerPinNames();
    if (boardType == 4)
        return controller;
    return boardType == 3 ? dd15 : plain;
}

} // namespace kia
