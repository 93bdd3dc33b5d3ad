#pragma once

#include "controlpoint.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QPixmap>
#include <array>
#include <functional>
#include <optional>

namespace kia {

class BenchContext;
class CDiagnDoc;
class PointCheckHost;
struct ShellSettings;

/// The board view: the picture of the board drawn over the background colour
/// (white areas take the colour, black lines stay), scrolled; markers on the
/// control points; picking a point with the mouse or by name to start a
/// single-point check. The one view of the main frame; it reads the board type,
/// the picture mode and the colours through the context and the settings it is
/// given, which outlive it. UI thread only.
class CDiagnView : public QAbstractScrollArea {
    Q_OBJECT
public:
    /// Asks the engineer for a point name; nothing when he cancels.
    using NameAsker = std::function<std::optional<QString>(QWidget* parent)>;
    /// Lets the engineer choose the background and custom colours; false on cancel.
    using ColourChooser = std::function<bool(QWidget* parent, ShellSettings& settings)>;

    CDiagnView(BenchContext& ctx, ShellSettings& settings, QWidget* parent = nullptr);
    ~CDiagnView() override;

    /// Loads the highlight and marker icons from `iconFolder` and the control
    /// points of the board type from `pointsBase` + ".dot". On failure: the
    /// 600 Hz beep, the error box under `pointsBase`, and false (the program ends).
    bool Create(const QString& pointsBase, const QString& iconFolder = defaultIconFolder());
    static QString defaultIconFolder() { return QStringLiteral(":/icons/"); }

    /// Takes the picture of a new document; resets the scroll range to it.
    void OnInitialUpdate(const CDiagnDoc& doc);
    void OnInitialUpdate(const QImage& picture);

    // --- operations for the tests and diagnostics -----------------------
    int FindPoint(const QString& name) const;
    bool ShowPoint(const QString& name, quint16 state);
    bool MarkPoint(const QString& name, quint16 state);
    void ClearMarks();
    /// 64 x 64 square around the last point shown or selected, screen coordinates.
    QRect MarkRect() const { return m_markRect; }
    /// Greys (or enables) the first two top-level menus of the main window.
    void SetMenusLocked(bool locked);

    /// "Изменить цвет фона схем".
    void OnBackgroundColour();

    QPoint scrollPosition() const;
    void scrollTo(const QPoint& pos);

    void setPointCheckHost(PointCheckHost* host) { m_host = host; }
    void setNameAsker(NameAsker asker) { m_askName = std::move(asker); }
    void setColourChooser(ColourChooser chooser) { m_chooseColour = std::move(chooser); }

    const QList<ControlPoint>& points() const { return m_points; }
    QList<ControlPoint>& points() { return m_points; }
    int highlightedPoint() const { return m_highlight; }
    QSize pictureSize() const { return m_picture.size(); }
    /// Where the picture's top-left corner sits in the window (centring).
    QPoint pictureOffset() const;
    /// Current picture kind (PictureSchematic or PictureLayout).
    int pictureKind() const;

signals:
    /// ShowPoint was asked to mark `name` (the point the engineer is to
    /// probe next); the simulated bench puts its probe tip there.
    void pointShown(const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    /// Window position of picture position (x, y).
    QPoint toWindow(int x, int y) const;
    QRect squareOf(int index) const;
    QRect highlightRect(int index) const;
    bool pickingAllowed(const QMouseEvent* event) const;
    void track(const QPoint& windowPos);
    void selectHighlighted();
    /// From the link port on: the check of a point that is already marked.
    void beginPointCheck(const QString& name);
    void updateScrollRanges();
    void composePicture();
    const QPixmap* markerIcon(quint16 state, int quadrant) const;

    BenchContext& m_ctx;
    ShellSettings& m_settings;
    QList<ControlPoint> m_points;
    int m_highlight = -1;
    QImage m_picture;
    /// The picture ANDed over the background colour, as it is drawn.
    QImage m_composed;
    QPixmap m_highlightIcon;
    std::array<QPixmap, 4> m_checkIcons;
    std::array<QPixmap, 4> m_driverIcons;
    QRect m_markRect;
    PointCheckHost* m_host = nullptr;
    NameAsker m_askName;
    ColourChooser m_chooseColour;
};

} // namespace kia
