#pragma once

#include <QString>
#include <QtGlobal>

namespace kia {

/// The port-image error list of the bus test and the PPI test, as data: per
/// port a header row with the pin numbers, a row of expected levels and a row
/// of read levels with the differing bits marked. The list dialog draws it in
/// a fixed-pitch font (colours in testcolours.h); the console prints rowText().
/// Pure value, any thread.
class PortImageModel {
public:
    enum class RowKind { Header, Expected, Read };

    struct Row {
        RowKind kind = RowKind::Header;
        int port = 0;
        /// Header: the whole row; level rows: the label ("Ожидаемый уров.:").
        QString label;
        /// Level rows: bit 0..7 of the port, in bit order.
        quint8 bits = 0;
        /// Read row: the bits that differ from the expected ones.
        quint8 differing = 0;
    };

    /// A bus image (32 bits, four ports) or, with `ppi`, a PPI image (24 bits, ports A..C).
    PortImageModel(int boardType, quint32 expected, quint32 read, bool ppi);

    bool isPpi() const { return m_ppi; }
    quint32 expected() const { return m_expected; }
    quint32 read() const { return m_read; }

    /// "Тест шин контроллера не прошел !" or "Тест ППИ не прошел !".
    QString title() const;
    int portCount() const { return m_ppi ? 3 : 4; }
    /// Three rows a port: 12 for the bus, 9 for the PPI.
    int rowCount() const { return portCount() * 3; }
    Row row(int index) const;
    /// The row as one line of text: the header, or the label and the bits in
    /// three-character columns under the pin numbers.
    QString rowText(int index) const;

    /// Column in rowText() where the bit of `bit` (0..7) stands.
    static int bitColumn(int bit) { return 17 + 3 * bit; }
    /// The list's fixed-pitch font: "Courier New", Cyrillic, weight 500.
    static QString fontFamily() { return QStringLiteral("Courier New"); }
    static constexpr int FontWeight = 500;

    static QString expectedLabel();
    static QString readLabel();
    static QString diagnosticsButton();
    static QString exitButton();

private:
    int m_boardType;
    quint32 m_expected;
    quint32 m_read;
    bool m_ppi;
};

} // namespace kia
