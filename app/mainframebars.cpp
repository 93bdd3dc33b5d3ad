// Menu, tool bar and status bar of the main frame, built from the command table.
#include "mainframe.h"

#include "commandtable.h"
#include "core/benchcontext.h"
#include "core/board.h"
#include "core/userprompts.h"
#include "menustyle.h"
#include "statuspanes.h"

#include <QActionGroup>
#include <QBitmap>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <QToolBar>

namespace kia {

namespace {

constexpr int ToolImageSize = 32;

/// Grey RGB(192, 192, 192) of the bitmaps is see-through.
QPixmap withTransparentGrey(QPixmap pm) {
    if (!pm.isNull())
        pm.setMask(pm.createMaskFromColor(QColor(192, 192, 192), Qt::MaskInColor));
    return pm;
}

/// A gap of a given width between groups of tool bar buttons.
class ToolBarGap : public QWidget {
public:
    ToolBarGap(int width, QToolBar* bar) : QWidget(bar), m_width(width) {
        setObjectName(QStringLiteral("toolBarGap"));
        follow(bar->orientation());
        QObject::connect(bar, &QToolBar::orientationChanged, this, &ToolBarGap::follow);
    }
    int gapWidth() const { return m_width; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setPen(palette().color(QPalette::Mid));
        if (width() == m_width) {
            const int x = width() / 2;
            p.drawLine(x, 3, x, height() - 4);
        } else {
            const int y = height() / 2;
            p.drawLine(3, y, width() - 4, y);
        }
    }

private:
    void follow(Qt::Orientation o) {
        if (o == Qt::Horizontal) {
            setFixedWidth(m_width);
            setMinimumHeight(0);
            setMaximumHeight(QWIDGETSIZE_MAX);
        } else {
            setFixedHeight(m_width);
            setMinimumWidth(0);
            setMaximumWidth(QWIDGETSIZE_MAX);
        }
    }
    int m_width;
};

} // namespace

QMenu* CMainFrame::buildPopup(const MenuEntry& entry, int depth) {
    auto* menu = new QMenu(entry.text, this);
    menu->setObjectName(QStringLiteral("popup_") + QString(entry.text).remove(u'&'));
    menu->setStyle(m_menuStyle);
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::InitPopup);

    for (const MenuEntry& child : entry.children) {
        switch (child.kind) {
        case MenuEntry::Separator:
            menu->addSeparator();
            break;
        case MenuEntry::Popup:
            menu->addMenu(buildPopup(child, depth + 1));
            break;
        case MenuEntry::Command: {
            const CommandInfo* info = findCommand(child.id);
            if (!info)
                break;
            auto* action = menu->addAction(info->text);
            action->setObjectName(QStringLiteral("menu_%1").arg(info->id));
            action->setStatusTip(info->prompt);
            action->setEnabled(commandEnabled(info->id, m_ctx.boardType));
            if (info->iconId != 0) {
                action->setIcon(QIcon(withTransparentGrey(QPixmap(
                    m_bitmapFolder + QString::number(info->iconId) + QStringLiteral(".png")))));
            }
            const int id = info->id;
            const bool radio = comPortOfCommand(id) != 0 || id == cmd::LogicProbe ||
                               id == cmd::Oscilloscope || id == cmd::Schematic ||
                               id == cmd::Layout || id == cmd::ToolBar || id == cmd::StatusBar;
            action->setCheckable(radio);
            connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
            m_menuActions.insert(id, action);
            break;
        }
        }
    }
    return menu;
}

bool CMainFrame::buildMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("mainMenuBar"));
    bar->setStyle(m_menuStyle);
    // The owner-drawn look is ours on every platform.
    bar->setNativeMenuBar(false);
    for (const MenuEntry& top : mainMenu())
        bar->addMenu(buildPopup(top, 0));
    return true;
}

bool CMainFrame::buildToolBar() {
    const QPixmap strip = withTransparentGrey(QPixmap(m_bitmapFolder + QStringLiteral("128.png")));
    int buttons = 0;
    for (const ToolBarSlot& slot : toolBarLayout())
        buttons += slot.isSeparator() ? 0 : 1;
    if (strip.isNull() || strip.width() < buttons * ToolImageSize ||
        strip.height() < ToolImageSize) {
        m_ctx.prompts.beep(600, 30);
        m_ctx.prompts.message(PromptIcon::Error, productCaption(),
                              QStringLiteral("Ошибка загрузки ресурсов пиктограмм !  "));
        return false;
    }

    m_toolBar = new QToolBar(QStringLiteral("Панель инструментов"), this);
    m_toolBar->setObjectName(QStringLiteral("mainToolBar"));
    m_toolBar->setIconSize(QSize(ToolImageSize, ToolImageSize));
    m_toolBar->setMovable(true);
    m_toolBar->setFloatable(true);
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);

    auto* instruments = new QActionGroup(this);
    instruments->setObjectName(QStringLiteral("instrumentGroup"));
    auto* pictures = new QActionGroup(this);
    pictures->setObjectName(QStringLiteral("pictureGroup"));

    int image = 0;
    for (const ToolBarSlot& slot : toolBarLayout()) {
        if (slot.isSeparator()) {
            m_toolBar->addWidget(new ToolBarGap(slot.separatorWidth, m_toolBar));
            continue;
        }
        const CommandInfo* info = findCommand(slot.id);
        auto* action = new QAction(this);
        action->setObjectName(QStringLiteral("tool_%1").arg(slot.id));
        action->setIcon(QIcon(strip.copy(image * ToolImageSize, 0, ToolImageSize, ToolImageSize)));
        ++image;
        action->setText(info ? QString(info->prompt) : QString());
        action->setToolTip(info ? info->prompt : QString());
        action->setStatusTip(info ? info->prompt : QString());
        action->setEnabled(commandEnabled(slot.id, m_ctx.boardType));
        const int id = slot.id;
        if (id == cmd::LogicProbe || id == cmd::Oscilloscope) {
            action->setCheckable(true);
            instruments->addAction(action);
        } else if (id == cmd::Schematic || id == cmd::Layout) {
            action->setCheckable(true);
            pictures->addAction(action);
        }
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
        m_toolBar->addAction(action);
        m_toolActions.insert(id, action);
    }
    // The buttons of the current choices start pressed; afterwards only a
    // click on the group moves them (the menu does not).
    m_toolActions.value(m_settings.logicProbe() ? cmd::LogicProbe : cmd::Oscilloscope)
        ->setChecked(true);
    m_toolActions.value(m_settings.layoutShown() ? cmd::Layout : cmd::Schematic)->setChecked(true);

    addToolBar(Qt::TopToolBarArea, m_toolBar);
    return true;
}

void CMainFrame::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("mainStatusBar"));
    for (int i = 0; i < 3; ++i) {
        m_panes[i] = new QLabel(bar);
        m_panes[i]->setObjectName(QStringLiteral("pane%1").arg(i));
    }
    m_panes[0]->setText(idlePromptText());
    bar->addWidget(m_panes[0], 1);
    m_panes[1]->setFrameShape(QFrame::Panel);
    m_panes[1]->setFrameShadow(QFrame::Sunken);
    m_panes[2]->setFrameShape(QFrame::Panel);
    m_panes[2]->setFrameShadow(QFrame::Sunken);
    bar->addPermanentWidget(m_panes[1]);
    bar->addPermanentWidget(m_panes[2]);
    const QFontMetrics fm(m_panes[2]->font());
    m_panes[2]->setMinimumWidth(28 * fm.averageCharWidth());
    updateSelectionPane();
}

void CMainFrame::InitPopup() {
    auto mark = [this](int id, bool on) {
        if (QAction* a = m_menuActions.value(id))
            a->setChecked(on);
    };
    mark(cmd::Layout, m_settings.layoutShown());
    mark(cmd::Schematic, !m_settings.layoutShown());

    if (comCommandOfPort(m_ctx.selectedPort) == 0) {
        m_ctx.selectedPort = 1;
        updateSelectionPane();
    }
    for (int port = 1; port <= 8; ++port)
        mark(comCommandOfPort(port), port == m_ctx.selectedPort);

    mark(cmd::LogicProbe, m_settings.logicProbe());
    mark(cmd::Oscilloscope, !m_settings.logicProbe());
    mark(cmd::ToolBar, m_toolBar && !m_toolBar->isHidden());
    mark(cmd::StatusBar, !statusBar()->isHidden());

    for (int id : {cmd::ScanPpi, cmd::EepromTest, cmd::ScanRegister, cmd::ScanDecoder}) {
        if (QAction* a = m_menuActions.value(id))
            a->setText(commandText(id, m_ctx.boardType));
    }
}

} // namespace kia
