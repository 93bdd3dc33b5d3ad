#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <vector>

namespace sim {

/// The key matrix of the board's keyboard, with the board's own wiring per
/// board type: types 0..2 four columns of seven rows, type 3 a fifth column
/// for the top row "T1".."T6", type 4 seven columns of five rows. Keys are
/// named as printed on them ("7", "СБ", "ИТОГ", "BB", "T1" …; the two minus
/// keys "-2" and "-3", the arrow key "|"). A key is down while pressed by a
/// test or the CLI, during a scripted press (from the first scan on), or
/// always when stuck; a dead key never closes its contact. Plain state, used
/// under the Bench's lock.
class KeyboardMatrix {
public:
    explicit KeyboardMatrix(int boardType);

    int columns() const { return static_cast<int>(m_layout.size()); }
    int rows() const { return m_boardType == 4 ? 5 : 7; }
    /// Every key of this board type, column by column.
    QStringList keyNames() const;
    bool hasKey(const QString& name) const;

    /// False for a name this keyboard does not have.
    bool press(const QString& name);
    bool release(const QString& name);
    void releaseAll();
    /// The key goes down `atMs` after the first scan for `holdMs`.
    bool scriptPress(const QString& name, int atMs, int holdMs);

    bool setStuck(const QString& name);
    bool setDead(const QString& name);
    void clearFaults();

    /// Row lines (active low, bit r = row r, unused bits high) seen with the
    /// columns whose bits are 0 in `columnLines` driven low.
    quint8 rowLines(quint8 columnLines, qint64 nowUs);

private:
    struct Key {
        QString name;
        int column = 0;
        int row = 0;
        bool pressed = false;
        bool stuck = false;
        bool dead = false;
        std::vector<std::pair<int, int>> script; // (at, hold) in ms after the first scan
    };
    Key* find(const QString& name);
    const Key* find(const QString& name) const;

    int m_boardType;
    std::vector<QStringList> m_layout;
    std::vector<Key> m_keys;
    qint64 m_firstScanUs = -1;
};

/// The board's sound emitter: what it was driven with. A tone is one pulse
/// train: half-period units a and the number of periods n as the firmware
/// was asked to play them. A silent emitter (a fault) records nothing.
class SoundEmitter {
public:
    struct Tone {
        int a = 0;
        int periods = 0;
        qint64 atUs = 0;
    };
    void drive(int a, int periods, qint64 atUs) {
        if (!m_silent)
            m_tones.push_back({a, periods, atUs});
    }
    const std::vector<Tone>& tones() const { return m_tones; }
    void clear() { m_tones.clear(); }
    void setSilent(bool silent) { m_silent = silent; }
    bool isSilent() const { return m_silent; }

private:
    std::vector<Tone> m_tones;
    bool m_silent = false;
};

} // namespace sim
