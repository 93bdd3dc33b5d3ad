#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <array>

namespace sim {

/// The board's own controller DD5 (board type 4) as the programmer reaches
/// it: the reset line, 8 KiB of code memory and the serial in-system
/// programming interface of the AT89S family. Owned by the Bench; used under its lock.
///
/// Serial instructions (bytes sent, then bytes received):
/// - AC 53 xx → 0x69: programming enable; answered only while DD5 is held in
///   reset. Every other instruction needs it first.
/// - AC 80 xx xx: chip erase, all 8 KiB to 0xFF.
/// - 20 AH AL → byte: read one code byte;  40 AH AL DD: program one byte.
/// - 30 AH: page read; the bytes received are the page from its start, and
///   the following transfers that only receive go on through the 256-byte page.
/// - 50 AH: page write; the bytes of the following transfers that only send
///   fill the page from its start.
/// Programming clears bits only (a cell must be erased before it takes a new
/// value), as on the real chip. Page mode ends after 256 bytes or with the
/// first transfer of the other kind. Anything unknown receives 0xFF.
class Dd5Controller {
public:
    static constexpr int CodeSize = 8192;
    /// What DD5 holds when the bench starts.
    enum class StartState {
        CashSoftware,           ///< the cash register's program with a 12-digit identity at 0x1FF4
        CashSoftwareNoIdentity, ///< the cash register's program, no digits at 0x1FF4..0x1FFF
        TestProgram,            ///< the test program, already written (identity kept at 0x1FF4)
    };
    static QByteArray defaultIdentity() { return QByteArrayLiteral("230607091405"); }
    /// The cash register's controller software the bench starts with, with
    /// `identity` at 0x1FF4 (what the workstation saves to "<identity>.cpu").
    static std::array<quint8, CodeSize> cashSoftwareImage(const QByteArray& identity);

    Dd5Controller();

    /// Loads the start contents; `identity` (12 digits) goes to 0x1FF4..0x1FFF
    /// for CashSoftware and TestProgram. DD5 ends up running.
    void load(StartState state, const QByteArray& identity = defaultIdentity());

    bool isHeld() const { return m_held; }
    /// Moves the reset line: held (programming possible) or running.
    void setHeld(bool held);
    bool holdsTestProgram() const;
    /// The 7-byte protocol is spoken only by a running test program.
    bool runsTestProgram() const { return !m_held && holdsTestProgram(); }
    bool programmingEnabled() const { return m_enabled; }

    /// One serial exchange: `nsend` bytes out, then `nrecv` bytes in.
    void transfer(const quint8* send, int nsend, quint8* recv, int nrecv);

    std::array<quint8, CodeSize>& code() { return m_code; }
    const std::array<quint8, CodeSize>& code() const { return m_code; }
    /// The 12 digits at 0x1FF4..0x1FFF, or empty when any of them is not a digit.
    QByteArray identity() const;
    /// 16-bit sum of the code memory (what the ROM test's controller file adds up to).
    quint16 codeSum() const;
    /// A code byte that reads back through the serial programming with the
    /// bits of `flip` inverted (what is programmed stays as written).
    void setReadFlip(int address, quint8 flip) { m_readFlips[address & (CodeSize - 1)] ^= flip; }
    void clearReadFlips() { m_readFlips.fill(0); }

private:
    quint8 readCode(int a) const {
        const size_t i = static_cast<size_t>(a) & (CodeSize - 1);
        return static_cast<quint8>(m_code[i] ^ m_readFlips[i]);
    }
    enum class PageMode { None, Read, Write };

    std::array<quint8, CodeSize> m_code{};
    std::array<quint8, CodeSize> m_readFlips{};
    bool m_held = false;
    bool m_enabled = false;
    PageMode m_pageMode = PageMode::None;
    int m_pagePtr = 0;
    int m_pageLeft = 0;
};

} // namespace sim
