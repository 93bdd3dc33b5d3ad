#include "mainframe.h"

#include "aboutdlg.h"
#include "commandtable.h"
#include "core/benchcontext.h"
#include "core/board.h"
#include "core/userprompts.h"
#include "menustyle.h"
#include "statuspanes.h"
#include "view/diagnview.h"

#include <QDir>
#include <QLabel>
#include <QScreen>
#include <QShowEvent>
#include <QStatusBar>
#include <QToolBar>

namespace kia {

CMainFrame::CMainFrame(BenchContext& ctx, QWidget* parent) : QMainWindow(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("CMainFrame"));
    m_ctx.busy = false;
    m_ctx.diagnosticsActive = false;
    m_ctx.dontShowStartDialog = false;
    m_ctx.peerAnswered = 0;

    // The settings file of the folder we start in; the same file is written when we end.
    m_settingsFile.load(applicationTitle() + QStringLiteral(".cfg"), m_settings);
    m_ctx.selectedPort = m_settings.comPort;

    m_probeTimer.setObjectName(QStringLiteral("probeTimer"));
    m_probeTimer.setInterval(500);
    connect(&m_probeTimer, &QTimer::timeout, this, &CMainFrame::OnProbeTimer);
}

CMainFrame::~CMainFrame() {
    m_probeTimer.stop();
    m_settings.comPort = quint8(m_ctx.selectedPort);
    SaveShellSettings(m_settingsFile, m_settings, m_ctx.prompts);
    delete m_view; // it refers to our settings
    m_view = nullptr;
}

bool CMainFrame::Create(const Paths& paths) {
    const QString cwd = QDir::currentPath();
    m_ctx.workingFolder = cwd.isEmpty() ? QString() : cwd + u'/';

    m_bitmapFolder = paths.bitmapFolder;
    m_menuStyle = new MenuStyle;
    m_menuStyle->setParent(this);
    if (!buildMenu() || !buildToolBar())
        return false;
    buildStatusBar();

    m_doc.setPictureFolder(paths.bitmapFolder);
    m_doc.OnNewDocument(m_ctx.boardType, m_settings.pictureMode);
    setWindowTitle(m_doc.title() + QStringLiteral(" - ") + applicationTitle());
    setWindowIcon(QIcon(QStringLiteral(":/icons/128.png")));

    m_view = new CDiagnView(m_ctx, m_settings, this);
    setCentralWidget(m_view);
    if (!m_view->Create(m_ctx.workingFolder + applicationTitle(), paths.iconFolder))
        return false;
    m_view->OnInitialUpdate(m_doc);
    return true;
}

void CMainFrame::ActivateFrame() {
    // Without a window manager a maximise request is not honoured: start with
    // the whole available screen so that the window fills it either way.
    if (QScreen* s = screen())
        setGeometry(s->availableGeometry());
    showMaximized();
}

void CMainFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!m_activated && !event->spontaneous()) {
        m_activated = true;
        m_probeTimer.start();
    }
}

QRect CMainFrame::clientScreenRect() const {
    // Below the menu and tool bars and above the status bar: the area the
    // central widget (the board view) takes once the frame is laid out.
    const QWidget* client = centralWidget();
    if (isVisible() && client && !client->size().isEmpty())
        return QRect(client->mapToGlobal(QPoint(0, 0)), client->size());
    return QRect(mapToGlobal(QPoint(0, 0)), size());
}

QLabel* CMainFrame::pane(int index) const {
    return index >= 0 && index < 3 ? m_panes[index] : nullptr;
}

QPoint CMainFrame::savedScroll(int pictureMode) const {
    return m_savedScroll[pictureMode == 1 ? 1 : 0];
}

void CMainFrame::updateSelectionPane() {
    if (m_panes[1])
        m_panes[1]->setText(selectionPaneText(m_ctx.selectedPort, m_settings.instrument));
}

void CMainFrame::OnProbeTimer() {
    if (const std::optional<QString> text = m_probeDisplay.tick(m_ctx))
        m_panes[2]->setText(*text);
}

void CMainFrame::switchPicture(int pictureMode) {
    // The position being left is kept for the other picture; the one shown
    // next comes back where it was left.
    m_savedScroll[pictureMode == 1 ? 0 : 1] = m_view->scrollPosition();
    m_settings.pictureMode = quint8(pictureMode);
    m_doc.OnNewDocument(m_ctx.boardType, pictureMode);
    m_view->OnInitialUpdate(m_doc);
    m_view->scrollTo(m_savedScroll[pictureMode == 1 ? 1 : 0]);
}

void CMainFrame::showNotAvailable(int id) {
    const CommandInfo* info = findCommand(id);
    m_ctx.prompts.message(PromptIcon::Information, info ? info->prompt : productCaption(),
                          CommandRouter::notAvailableText());
}

void CMainFrame::OnCommand(int id) {
    if (!commandEnabled(id, m_ctx.boardType))
        return;
    if (const int port = comPortOfCommand(id)) {
        // The link opens the new port at its next operation.
        m_ctx.selectedPort = port;
        updateSelectionPane();
        return;
    }
    switch (id) {
    case cmd::LogicProbe:
    case cmd::Oscilloscope:
        m_settings.instrument = id == cmd::LogicProbe ? 1 : 0;
        updateSelectionPane();
        return;
    case cmd::Schematic:
        switchPicture(0);
        return;
    case cmd::Layout:
        switchPicture(1);
        return;
    case cmd::BackgroundColour:
        m_view->OnBackgroundColour();
        return;
    case cmd::ToolBar:
        m_toolBar->setVisible(m_toolBar->isHidden());
        return;
    case cmd::StatusBar:
        statusBar()->setVisible(statusBar()->isHidden());
        return;
    case cmd::About: {
        CAboutDlg about(this);
        about.exec();
        return;
    }
    case cmd::Exit:
        close();
        return;
    default:
        break;
    }
    if (!m_router.dispatch(id))
        showNotAvailable(id);
}

} // namespace kia
