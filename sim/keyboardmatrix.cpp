#include "keyboardmatrix.h"

namespace sim {

namespace {
// Columns of the matrix, each listing its keys from row 0 down; "" is a
// place with no key.
QStringList column(std::initializer_list<const char*> keys) {
    QStringList out;
    for (const char* k : keys)
        out << QString::fromUtf8(k);
    return out;
}
} // namespace

KeyboardMatrix::KeyboardMatrix(int boardType) : m_boardType(boardType) {
    if (boardType == 4) {
        m_layout = {column({"T1", "|", "MH", "ФЦ", "БН"}),  column({"T2", "7", "4", "1", "0"}),
                    column({"T3", "8", "5", "2", "00"}),    column({"T4", "9", "6", "3", "."}),
                    column({"T5", "СБ", "ПВ", "", "BB"}),   column({"T6", "%", "-2", "x", "ИТОГ"}),
                    column({"", "КЛ", "+", "-3", ""})};
    } else {
        if (boardType == 3)
            m_layout.push_back(column({"T1", "T2", "T3", "T4", "T5", "T6", ""}));
        m_layout.push_back(column({"|", "7", "8", "9", "СБ", "%", "КЛ"}));
        m_layout.push_back(column({"MH", "4", "5", "6", "ПВ", "-2", "+"}));
        m_layout.push_back(column({"ФЦ", "1", "2", "3", "", "x", "-3"}));
        m_layout.push_back(column({"БН", "0", "00", ".", "BB", "ИТОГ", ""}));
    }
    for (int c = 0; c < columns(); ++c) {
        const QStringList& keys = m_layout[static_cast<size_t>(c)];
        for (int r = 0; r < keys.size(); ++r) {
            if (keys[r].isEmpty())
                continue;
            Key key;
            key.name = keys[r];
            key.column = c;
            key.row = r;
            m_keys.push_back(key);
        }
    }
}

QStringList KeyboardMatrix::keyNames() const {
    QStringList out;
    for (const Key& k : m_keys)
        out << k.name;
    return out;
}

KeyboardMatrix::Key* KeyboardMatrix::find(const QString& name) {
    for (Key& k : m_keys) {
        if (k.name == name)
            return &k;
    }
    return nullptr;
}

const KeyboardMatrix::Key* KeyboardMatrix::find(const QString& name) const {
    return const_cast<KeyboardMatrix*>(this)->find(name);
}

bool KeyboardMatrix::hasKey(const QString& name) const {
    return find(name) != nullptr;
}

bool KeyboardMatrix::press(const QString& name) {
    Key* k = find(name);
    if (k)
        k->pressed = true;
    return k != nullptr;
}

bool KeyboardMatrix::release(const QString& name) {
    Key* k = find(name);
    if (k)
        k->pressed = false;
    return k != nullptr;
}

void KeyboardMatrix::releaseAll() {
    for (Key& k : m_keys) {
        k.pressed = false;
        k.script.clear();
    }
    m_firstScanUs = -1;
}

bool KeyboardMatrix::scriptPress(const QString& name, int atMs, int holdMs) {
    Key* k = find(name);
    if (k)
        k->script.emplace_back(atMs, holdMs);
    return k != nullptr;
}

bool KeyboardMatrix::setStuck(const QString& name) {
    Key* k = find(name);
    if (k)
        k->stuck = true;
    return k != nullptr;
}

bool KeyboardMatrix::setDead(const QString& name) {
    Key* k = find(name);
    if (k)
        k->dead = true;
    return k != nullptr;
}

void KeyboardMatrix::clearFaults() {
    for (Key& k : m_keys) {
        k.stuck = false;
        k.dead = false;
    }
}

quint8 KeyboardMatrix::rowLines(quint8 columnLines, qint64 nowUs) {
    if (m_firstScanUs < 0)
        m_firstScanUs = nowUs;
    const qint64 ms = (nowUs - m_firstScanUs) / 1000;
    quint8 lines = 0xFF;
    for (const Key& k : m_keys) {
        if ((columnLines >> k.column) & 1)
            continue; // column not driven
        bool down = k.pressed || k.stuck;
        for (const auto& [at, hold] : k.script)
            down = down || (ms >= at && ms < at + hold);
        if (down && !k.dead)
            lines = static_cast<quint8>(lines & ~(1u << k.row));
    }
    return lines;
}

} // namespace sim
