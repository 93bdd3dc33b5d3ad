#pragma once

#include "commandrouter.h"
#include "commandtable.h"
#include "diagndoc.h"
#include "shellsettings.h"

#include "probe/probestatus.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>

class QActionGroup;
class QLabel;
class QMenu;
class QToolBar;

namespace kia {

class BenchContext;
class CDiagnView;
class MenuStyle;

/// The main window: menu and tool bar of the command table, the three-pane
/// status bar, the board view, the engineer's settings and the 500 ms probe
/// level display. The constructor reads the settings file of the current
/// folder and the destructor writes it back. Commands that belong to the tests,
/// diagnostics, service and help subsystems go through router(), where those
/// subsystems register their handlers. One per process, made by main(); its
/// context outlives it. UI thread only.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    /// What Create() loads; tests point these at files of their own.
    struct Paths {
        /// Folder (with trailing '/') of the view's highlight and marker icons.
        QString iconFolder = QStringLiteral(":/icons/");
        /// Folder (with trailing '/') of the bitmaps: tool bar strip, menu
        /// icons and board pictures, each named by its id ("128.png").
        QString bitmapFolder = QStringLiteral(":/bitmaps/");
    };

    explicit CMainFrame(BenchContext& ctx, QWidget* parent = nullptr);
    ~CMainFrame() override;

    /// Fixes the working folder, builds menu, tool bar and status bar, makes the
    /// document and the view (icons and points file). False when any of it
    /// fails; the engineer has been told and the program must end.
    bool Create(const Paths& paths);
    bool Create() { return Create(Paths{}); }
    /// Shows the frame maximised; the first activation starts the probe timer.
    void ActivateFrame();

    CommandRouter& router() { return m_router; }
    CDiagnDoc& document() { return m_doc; }
    CDiagnView* view() const { return m_view; }
    ShellSettings& settings() { return m_settings; }
    BenchContext& context() { return m_ctx; }

    /// Client area of the frame in screen coordinates: dialogs that point at
    /// the board place themselves in its corners.
    QRect clientScreenRect() const;

    /// Runs command `id` as the menu and the tool bar do.
    void OnCommand(int id);
    /// Radio marks, COM port correction, relabels and bar checks; runs each
    /// time a popup opens.
    void InitPopup();
    /// One tick of the probe level display.
    void OnProbeTimer();

    QAction* menuAction(int id) const { return m_menuActions.value(id); }
    QAction* toolAction(int id) const { return m_toolActions.value(id); }
    QToolBar* mainToolBar() const { return m_toolBar; }
    /// Status bar panes 0 (prompt), 1 (selection), 2 (probe level).
    QLabel* pane(int index) const;
    QTimer* probeTimer() { return &m_probeTimer; }
    /// Saved scroll positions of the two pictures.
    QPoint savedScroll(int pictureMode) const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool buildMenu();
    QMenu* buildPopup(const MenuEntry& entry, int depth);
    bool buildToolBar();
    void buildStatusBar();
    void updateSelectionPane();
    void switchPicture(int pictureMode);
    void showNotAvailable(int id);

    BenchContext& m_ctx;
    ShellSettings m_settings;
    SettingsFile m_settingsFile;
    CommandRouter m_router;
    CDiagnDoc m_doc;
    CDiagnView* m_view = nullptr;
    MenuStyle* m_menuStyle = nullptr;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_panes[3] = {nullptr, nullptr, nullptr};
    QHash<int, QAction*> m_menuActions;
    QHash<int, QAction*> m_toolActions;
    QString m_bitmapFolder;
    ProbeStatusDisplay m_probeDisplay;
    QTimer m_probeTimer;
    bool m_activated = false;
    /// Scroll position of the layout (index 1) and of the diagram (index 0).
    QPoint m_savedScroll[2];
};

} // namespace kia
