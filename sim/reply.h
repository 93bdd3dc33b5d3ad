#pragma once

#include <QtGlobal>
#include <array>

namespace sim {

/// What a reply byte stands for, so that injected faults can spoil exactly
/// the part they are about (a wrong acknowledge, a wrong sum, unequal doubled bytes).
enum ReplyRole : quint8 {
    RoleData = 0,
    RoleAck = 1,        ///< acknowledge of a command frame, echo of a long frame
    RoleSum = 2,        ///< a checksum or a sum answer
    RolePairFirst = 4,  ///< first byte of a doubled answer
    RolePairSecond = 8, ///< second byte of a doubled answer
};

/// One burst of bytes that a peer sends, with the role of every byte.
/// Fixed capacity: replies are built without allocating.
class Reply {
public:
    static constexpr int Capacity = 640;

    void clear() { m_size = 0; }
    void add(quint8 byte, quint8 role = RoleData) {
        if (m_size < Capacity) {
            m_bytes[m_size] = byte;
            m_roles[m_size] = role;
            ++m_size;
        }
    }
    void addAck(quint8 byte) { add(byte, RoleAck); }
    void addSum(quint8 byte) { add(byte, RoleSum); }
    /// The same byte twice, as the doubled answers carry it.
    void addPair(quint8 byte, quint8 extraRole = RoleData) {
        add(byte, static_cast<quint8>(RolePairFirst | extraRole));
        add(byte, static_cast<quint8>(RolePairSecond | extraRole));
    }
    void addBytes(const quint8* data, int n) {
        for (int i = 0; i < n; ++i)
            add(data[i]);
    }

    int size() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }
    quint8 byte(int i) const { return m_bytes[i]; }
    quint8 role(int i) const { return m_roles[i]; }
    quint8* bytes() { return m_bytes.data(); }
    const quint8* bytes() const { return m_bytes.data(); }

private:
    std::array<quint8, Capacity> m_bytes{};
    std::array<quint8, Capacity> m_roles{};
    int m_size = 0;
};

} // namespace sim
