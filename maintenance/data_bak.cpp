#include "maintenance/data_bak.h"

#include "datalayer/clientstate.h"
#include "datalayer/dialogs.h"
#include "datalayer/formparts.h"
#include "datalayer/inifile.h"
#include "datalayer/programfolder.h"
#include "datalayer/settings.h"
#include "datalayer/sql_ado_conn.h"
#include "maintenance/backupfolders.h"
#include "maintenance/databasecopy.h"
#include "maintenance/unsaved.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

TForm_data_bak *Form_data_bak = nullptr;

TForm_data_bak::TForm_data_bak(QWidget *parent) : QWidget(parent)
{
    // Its own window above all others, without title-bar buttons: it must be answered.
    MakeToolWindow(this, "Form_data_bak", QStringLiteral("备份数据"), {424, 170},
                   {.titleBar = ToolWindowLook::TitleBar::NoButtons, .fixedSize = true});
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(128, 0, 0));
    setPalette(pal);

    auto *group = new QGroupBox(this);
    group->setStyleSheet(QStringLiteral("QGroupBox { background: #c0c0c0; }"));
    Label1 = new QLabel(QStringLiteral("为确保数据安全，请在退出时备份数据！"), group);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont f = Label1->font();
    f.setFamilies({QStringLiteral("黑体"), QStringLiteral("WenQuanYi Micro Hei")});
    f.setPixelSize(16);
    Label1->setFont(f);
    Label1->setStyleSheet(QStringLiteral("color: red;"));
    ProgressBar1 = new QProgressBar(group);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    CheckBox1 = new QCheckBox(QStringLiteral("退出系统时自动备份"), group);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    auto *inner = new QVBoxLayout(group);
    inner->addWidget(Label1);
    inner->addWidget(ProgressBar1);
    inner->addWidget(CheckBox1);

    auto *buttons = new QGroupBox(this);
    buttons->setStyleSheet(QStringLiteral("QGroupBox { background: #c0c0c0; }"));
    auto *row = new QHBoxLayout(buttons);
    Button1 = new QPushButton(QStringLiteral("备份数据"), buttons);
    Button2 = new QPushButton(QStringLiteral("退出系统"), buttons);
    Button3 = new QPushButton(QStringLiteral("取消"), buttons);
    int n = 1;
    for (QPushButton *b : {Button1, Button2, Button3}) {
        b->setObjectName(QStringLiteral("Button%1").arg(n++));
        b->setAccessibleName(b->text());
        b->setAutoDefault(true); // Enter on the focused button presses it
        row->addWidget(b);
    }
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);

    // Creation: the box shows the stored choice.
    m_settings = std::make_unique<IniFile>(ProgramPath(QStringLiteral("config.ini")));
    CheckBox1->setChecked(BackupOnExit(*m_settings));
    connect(CheckBox1, &QCheckBox::clicked, this, &TForm_data_bak::CheckBox1Click);
    connect(Button1, &QPushButton::clicked, this, &TForm_data_bak::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm_data_bak::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm_data_bak::Button3Click);
}

TForm_data_bak::~TForm_data_bak()
{
    if (Form_data_bak == this)
        Form_data_bak = nullptr;
}

QString TForm_data_bak::ExitBackupPath(IniFile &settings)
{
    return QDir(BackupFolder(settings)).filePath(DayFolderName(QDate::currentDate()) + QStringLiteral("/12.mdb"));
}

void TForm_data_bak::CheckBox1Click()
{
    ReportUnsaved(this, *m_settings, SetBackupOnExit(*m_settings, CheckBox1->isChecked()));
}

bool TForm_data_bak::Button1Click()
{
    if (m_copying)
        return false;
    m_copying = true;
    setButtonsEnabled(false);
    QString problem;
    if (!MakeDayFolder(BackupFolder(*m_settings), QDate::currentDate(), problem).isEmpty()) {
        // The engine copies from the open connection; no input is handled until it is done.
        problem = Form_sql ? BackupDatabase(Form_sql->ADOConnection1, ExitBackupPath(*m_settings),
                                            [this](int value) {
                                                ProgressBar1->setValue(value);
                                                ProgressBar1->repaint();
                                            })
                           : QStringLiteral("数据库未打开");
    }
    setButtonsEnabled(true);
    m_copying = false;
    if (!problem.isEmpty())
        Dialogs::ShowError(this, QStringLiteral("数据库备份失败：") + problem);
    return problem.isEmpty();
}

void TForm_data_bak::Button2Click()
{
    if (m_copying)
        return;
    if (CheckBox1->isChecked() && !Button1Click())
        return; // a failed backup keeps both windows for another try
    ClientState &state = Client();
    state.closeFlag = true;
    QWidget *main = state.mainWindow;
    close();
    if (main)
        main->close();
}

void TForm_data_bak::Button3Click()
{
    if (m_copying)
        return;
    ClientState &state = Client();
    if (state.mainWindow)
        state.mainWindow->setEnabled(true);
    state.closeFlag = false;
    close();
}

void TForm_data_bak::closeEvent(QCloseEvent *event)
{
    if (m_copying) {
        event->ignore(); // never destroyed mid-copy
        return;
    }
    // Closed any other way than by its buttons: work goes on, as with "取消".
    ClientState &state = Client();
    if (!state.closeFlag && state.mainWindow)
        state.mainWindow->setEnabled(true);
    m_settings.reset();
    QWidget::closeEvent(event);
}

void TForm_data_bak::setButtonsEnabled(bool enabled)
{
    for (QPushButton *b : {Button1, Button2, Button3})
        b->setEnabled(enabled);
}
