#include "app/main_client.h"

#include "app/about.h"
#include "datalayer/inifile.h"
#include "datalayer/settings.h"
#include "app/screenregistry.h"
#include "datalayer/clientstate.h"
#include "datalayer/dialogs.h"
#include "datalayer/formparts.h"
#include "datalayer/guards.h"
#include "datalayer/jpegimage.h"
#include "datalayer/programfolder.h"
#include "datalayer/sysfun.h"
#include "maintenance/data_bak.h"
#include "tools/reminderwatch.h"
#include "maintenance/skin.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QShortcutEvent>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

TForm_Client *Form_Client = nullptr;

TForm_Client::TForm_Client(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form_Client"));
    setWindowTitle(QStringLiteral("Tessaly 2.10 beta"));
    resize(1063, 754);

    MdiArea = new QMdiArea(this);
    MdiArea->setObjectName(QStringLiteral("MdiArea"));
    MdiArea->installEventFilter(this);
    qApp->installEventFilter(this); // for the letters a list screen's buttons share with the menus
    setCentralWidget(MdiArea);
    m_background = LoadJpeg(ProgramPath(QStringLiteral("img/client.jpg")));

    buildToolbar();
    buildMenus();

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    for (int width : {150, 100, 200, 50, 50}) {
        auto *panel = new QLabel(StatusBar1);
        panel->setFixedWidth(width);
        StatusBar1->addWidget(panel);
        m_panels << panel;
    }
    setStatusBar(StatusBar1);
    FormCreate();
    OnFirstShow(this, [this] { FormShow(); });
}

TForm_Client::~TForm_Client()
{
    Client().mainWindow = nullptr;
    Client().enableToolbar = nullptr;
    Client().setUserPanel = nullptr;
    Client().applyPermission = nullptr;
    if (Form_Client == this)
        Form_Client = nullptr;
}

void TForm_Client::buildToolbar()
{
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    addToolBar(ToolBar1);
    const struct {
        QToolButton **button;
        const char *name;
        const char *caption;
        QStyle::StandardPixmap icon;
    } buttons[] = {
        {&ToolButton7, "ToolButton7", "前台销售", QStyle::SP_DialogApplyButton},
        {&ToolButton2, "ToolButton2", "进贷管理", QStyle::SP_ArrowDown},
        {&ToolButton6, "ToolButton6", "库存管理", QStyle::SP_DriveHDIcon},
        {&ToolButton1, "ToolButton1", "销售记录", QStyle::SP_FileDialogDetailedView},
        {&ToolButton5, "ToolButton5", "退货管理", QStyle::SP_ArrowBack},
        {&ToolButton3, "ToolButton3", "欠款管理", QStyle::SP_MessageBoxWarning},
        {&ToolButton8, "ToolButton8", "支出管理", QStyle::SP_DialogDiscardButton},
        {&ToolButton4, "ToolButton4", "系统统计", QStyle::SP_FileDialogInfoView},
        {&ToolButton17, "ToolButton17", "经销商查询", QStyle::SP_DirHomeIcon},
    };
    bool first = true;
    for (const auto &b : buttons) {
        if (!first)
            ToolBar1->addSeparator();
        first = false;
        auto *button = new QToolButton(ToolBar1);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setText(QString::fromUtf8(b.caption));
        button->setAccessibleName(button->text());
        button->setIcon(style()->standardIcon(b.icon));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setMinimumSize(67, 36 + 16); // wide enough for the longest caption
        ToolBar1->addWidget(button);
        *b.button = button;
        const QString trigger = button->objectName();
        connect(button, &QToolButton::clicked, this, [this, trigger, button] { OpenScreen(trigger, button); });
    }
}

void TForm_Client::buildMenus()
{
    auto item = [this](QMenu *menu, QAction **action, const char *name, const char *caption) {
        *action = menu->addAction(QString::fromUtf8(caption));
        (*action)->setObjectName(QString::fromLatin1(name));
        const QString trigger = (*action)->objectName();
        connect(*action, &QAction::triggered, this, [this, trigger] { OpenScreen(trigger); });
    };
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QMenu *system = bar->addMenu(QStringLiteral("系统(&S)"));
    item(system, &N4, "N4", "用户管理(&U)");
    item(system, &N5, "N5", "密码修改(&E)");
    item(system, &N6, "N6", "用户切换(&H)");
    system->addSeparator();
    N7 = system->addAction(QStringLiteral("退出(&Q)"));
    N7->setObjectName(QStringLiteral("N7"));
    connect(N7, &QAction::triggered, this, &QWidget::close);
    QMenu *upkeep = bar->addMenu(QStringLiteral("维护选项(&W)"));
    item(upkeep, &N15, "N15", "客户管理");
    item(upkeep, &N19, "N19", "进货渠道");
    item(upkeep, &N16, "N16", "茶叶参数");
    item(upkeep, &N18, "N18", "系统选项");
    QMenu *database = bar->addMenu(QStringLiteral("数据库(&D)"));
    item(database, &N9, "N9", "数据库整理");
    item(database, &N10, "N10", "备份与还原");
    QMenu *tools = bar->addMenu(QStringLiteral("工具(&T)"));
    item(tools, &N24, "N24", "净茶率计算工具");
    item(tools, &N25, "N25", "记事本");
    QMenu *help = bar->addMenu(QStringLiteral("帮助(&H)"));
    item(help, &N26, "N26", "建意");
    N13 = help->addAction(QStringLiteral("帮助")); // does nothing
    N13->setObjectName(QStringLiteral("N13"));
    item(help, &N14, "N14", "关于");
}

QList<QToolButton *> TForm_Client::ToolButtons() const
{
    return {ToolButton7, ToolButton2, ToolButton6, ToolButton1, ToolButton5,
            ToolButton3, ToolButton8, ToolButton4, ToolButton17};
}

QString TForm_Client::StatusPanel(int index) const
{
    return index >= 0 && index < m_panels.size() ? m_panels[index]->text() : QString();
}

void TForm_Client::FormCreate()
{
    ClientState &state = Client();
    state.closeFlag = false;
    state.childOpen = false;
    state.mainWindow = this;
    state.enableToolbar = [this] {
        for (QToolButton *b : ToolButtons())
            b->setEnabled(true);
    };
    state.setUserPanel = [this](const QString &text) { m_panels[0]->setText(text); };
    state.applyPermission = [this] { ApplyPermission(); };
    PrepareLabels(this);
    m_settings = std::make_unique<IniFile>(ProgramPath(QStringLiteral("config.ini")));
    applySkin();
}

void TForm_Client::applySkin()
{
    // A missing or unreadable skin leaves the plain look.
    m_skinFile = SkinPath(SkinFileName(*m_settings));
    ApplySkin(m_skinFile);
}

void TForm_Client::FormShow()
{
    ClientState &state = Client();
    state.currentUser = LoginUserName(*m_settings);
    state.currentPermission = LoginPermission(*m_settings);
    m_panels[0]->setText(QStringLiteral("当前用户：") + state.currentUser + QStringLiteral("  ") + state.currentPermission);
    // Reminders missed while the program was closed come now, the others when due.
    (new ReminderWatch(this))->Start();
    ApplyPermission();
}

void TForm_Client::ApplyPermission()
{
    // An ordinary user may neither manage accounts nor restore the database.
    const bool ordinary = Client().currentPermission == QStringLiteral("普通用户");
    N4->setEnabled(!ordinary);
    N10->setEnabled(!ordinary);
}

void TForm_Client::MDIclose()
{
    const QList<QMdiSubWindow *> children = MdiArea->subWindowList(QMdiArea::CreationOrder);
    if (children.isEmpty())
        return;
    Client().childOpen = false;
    children.last()->close();
}

void TForm_Client::Toolbuttonclose(QToolButton *pressed)
{
    for (QToolButton *b : ToolButtons())
        b->setEnabled(b == pressed);
}

void TForm_Client::OpenScreen(const QString &trigger, QToolButton *pressed)
{
    const ScreenEntry *entry = FindScreen(trigger);
    ClientState &state = Client();
    if (entry && entry->way == OpenWay::ListScreen && state.childOpen) {
        MDIclose(); // a second press of the open screen's button closes it
        return;
    }
    if (!entry)
        return; // a screen that is not there yet
    if (pressed && entry->way != OpenWay::ListScreen)
        state.childOpen = false; // "欠款管理" and "支出管理"
    if (entry->way == OpenWay::ListScreen)
        state.childOpen = true;
    QWidget *screen = nullptr;
    Guarded(this, [&] { screen = entry->create(); });
    if (!screen) {
        // A screen that failed to come up must not keep the toolbar locked.
        if (entry->way == OpenWay::ListScreen)
            state.ListScreenClosed();
        return;
    }
    screen->setAttribute(Qt::WA_DeleteOnClose);
    switch (entry->way) {
    case OpenWay::ListScreen: {
        QMdiSubWindow *sub = MdiArea->addSubWindow(screen);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        connect(sub, &QObject::destroyed, this, [] { Client().ListScreenClosed(); });
        sub->showMaximized();
        Toolbuttonclose(pressed);
        break;
    }
    case OpenWay::DisablingTool:
        screen->show();
        setEnabled(false);
        connect(screen, &QObject::destroyed, this, [this] { setEnabled(true); });
        break;
    case OpenWay::Tool:
        screen->show();
        break;
    }
}

void TForm_Client::closeEvent(QCloseEvent *event)
{
    if (Client().closeFlag) {
        FormClose();
        event->accept();
        endProgram();
        return;
    }
    event->ignore();
    // A window that disabled the main window is answered first: the close box of a disabled
    // window does nothing.
    if (!isEnabled())
        return;
    setEnabled(false);
    Form_data_bak = new TForm_data_bak();
    Form_data_bak->show();
}

void TForm_Client::FormClose()
{
    m_settings.reset();
}

void TForm_Client::endProgram()
{
    // The program ends with its main window: no other window keeps it, and the database it
    // holds, alive.
    QList<QPointer<QWidget>> others;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible())
            others << w;
    for (const QPointer<QWidget> &w : others)
        if (w)
            w->close();
    QCoreApplication::quit();
}

bool TForm_Client::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == MdiArea && event->type() == QEvent::Resize)
        paintBackground();
    // "删除(&D)" of a list screen and the menu "数据库(&D)" share a letter; Qt then only moves the
    // focus. The open screen's button is what the letter is pressed for.
    if (event->type() == QEvent::Shortcut) {
        const auto *shortcut = static_cast<QShortcutEvent *>(event);
        if (shortcut->isAmbiguous() && isActiveWindow() && pressScreenButton(shortcut->key()))
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TForm_Client::pressScreenButton(const QKeySequence &mnemonic)
{
    const QMdiSubWindow *active = MdiArea->activeSubWindow();
    if (!active || !active->widget())
        return false;
    for (QAbstractButton *b : active->widget()->findChildren<QAbstractButton *>())
        if (b->isVisible() && b->isEnabled() && QKeySequence::mnemonic(b->text()) == mnemonic) {
            b->animateClick();
            return true;
        }
    return false;
}

void TForm_Client::paintBackground()
{
    // The picture sits centred in the client area; the children cover it.
    QImage canvas(MdiArea->size(), QImage::Format_RGB32);
    canvas.fill(QColor(0xC8, 0xD5, 0xB9));
    if (!m_background.isNull()) {
        QPainter p(&canvas);
        p.drawImage((canvas.width() - m_background.width()) / 2, (canvas.height() - m_background.height()) / 2,
                    m_background);
    }
    MdiArea->setBackground(QBrush(canvas));
}
