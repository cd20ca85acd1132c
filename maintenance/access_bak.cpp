#include "maintenance/access_bak.h"

#include "datalayer/clientstate.h"
#include "datalayer/dialogs.h"
#include "datalayer/formparts.h"
#include "datalayer/inifile.h"
#include "datalayer/labelededit.h"
#include "datalayer/labelfor.h"
#include "datalayer/programfolder.h"
#include "datalayer/query.h"
#include "datalayer/settings.h"
#include "datalayer/sql_ado_conn.h"
#include "datalayer/sysfun.h"
#include "maintenance/backupfolders.h"
#include "maintenance/databasecopy.h"
#include "maintenance/unsaved.h"
#include "maintenance/windowparts.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

TForm_access_bak *Form_access_bak = nullptr;

bool OtherWindowsOpen(const QWidget *except)
{
    const ClientState &state = Client();
    if (state.childOpen)
        return true;
    if (state.mainWindow)
        for (const QMdiSubWindow *sub : state.mainWindow->findChildren<QMdiSubWindow *>())
            if (sub->isVisible())
                return true;
    for (const QWidget *w : QApplication::topLevelWidgets()) {
        if (w == except || w == state.mainWindow || !w->isVisible())
            continue;
        if (w->windowType() == Qt::Window || w->windowType() == Qt::Dialog)
            return true;
    }
    return false;
}

TForm_access_bak::TForm_access_bak(QWidget *parent) : QWidget(parent)
{
    // Kept above the main window it disables, which would otherwise cover it on a click.
    MakeToolWindow(this, "Form_access_bak", QStringLiteral("数据库备份与还原"), {388, 277});

    auto *backup = new QGroupBox(QStringLiteral("备份数据库"), this);
    backup->setObjectName(QStringLiteral("GroupBox1"));
    LabeledEdit1 = new LabeledEdit(QStringLiteral("备份至目录："), backup);
    LabeledEdit1->setObjectName(QStringLiteral("LabeledEdit1"));
    LabeledEdit1->setLabelPosition(LabeledEdit::Left);
    // The folder is chosen with "..." or "默认", which also remember it.
    LabeledEdit1->Edit()->setReadOnly(true);
    SpeedButton1 = MakeToolButton(backup, "SpeedButton1", QStringLiteral("..."), QRect());
    SpeedButton1->setAccessibleName(QStringLiteral("选择备份目录"));
    SpeedButton2 = MakeToolButton(backup, "SpeedButton2", QStringLiteral("默认"), QRect());
    SpeedButton2->setAccessibleName(QStringLiteral("默认备份目录"));
    LabeledEdit2 = new LabeledEdit(QStringLiteral("备份文件名："), backup);
    LabeledEdit2->setObjectName(QStringLiteral("LabeledEdit2"));
    LabeledEdit2->setLabelPosition(LabeledEdit::Left);
    Button1 = MakeButton(backup, "Button1", QStringLiteral("备份"), QRect());
    Button1->setAccessibleName(Button1->text());
    Button1->setAutoDefault(true); // Enter on the focused button presses it
    auto *backupGrid = new QGridLayout(backup);
    backupGrid->addWidget(LabeledEdit1, 0, 0);
    backupGrid->addWidget(SpeedButton1, 0, 1);
    backupGrid->addWidget(SpeedButton2, 0, 2);
    backupGrid->addWidget(LabeledEdit2, 1, 0);
    backupGrid->addWidget(Button1, 1, 1, 1, 2);

    auto *restore = new QGroupBox(QStringLiteral("还原数据库"), this);
    restore->setObjectName(QStringLiteral("GroupBox2"));
    Label1 = new QLabel(QStringLiteral("已备份数据库：    "), restore);
    Label1->setObjectName(QStringLiteral("Label1"));
    ComboBox1 = new QComboBox(restore);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setPlaceholderText(kNone);
    ComboBox1->setMinimumContentsLength(10);
    LabelFor(Label1, ComboBox1);
    ComboBox2 = new QComboBox(restore);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->setPlaceholderText(kNone);
    ComboBox2->setMinimumContentsLength(10);
    ComboBox2->setAccessibleName(QStringLiteral("备份文件"));
    CheckBox1 = new QCheckBox(QStringLiteral("还原前先备份"), restore);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setAccessibleName(CheckBox1->text());
    Button2 = MakeButton(restore, "Button2", QStringLiteral("还原"), QRect());
    Button2->setAccessibleName(Button2->text());
    Button2->setAutoDefault(true);
    auto *restoreGrid = new QGridLayout(restore);
    restoreGrid->addWidget(Label1, 0, 0);
    restoreGrid->addWidget(ComboBox1, 0, 1);
    restoreGrid->addWidget(ComboBox2, 0, 2);
    restoreGrid->addWidget(CheckBox1, 1, 0, 1, 2);
    restoreGrid->addWidget(Button2, 1, 2);
    restoreGrid->setColumnStretch(1, 1);
    restoreGrid->setColumnStretch(2, 1);

    StatusBar1 = MakeStatusBar(this, m_status);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(backup);
    layout->addWidget(restore);
    layout->addStretch(1);
    layout->addWidget(StatusBar1);
    layout->setContentsMargins(6, 6, 6, 0);
    LabeledEdit2->setFocus(); // the folder box is chosen with its buttons, the name is typed

    connect(ComboBox1, &QComboBox::activated, this, &TForm_access_bak::ComboBox1Click);
    connect(SpeedButton1, &QToolButton::clicked, this, &TForm_access_bak::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TForm_access_bak::SpeedButton2Click);
    connect(Button1, &QPushButton::clicked, this, &TForm_access_bak::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm_access_bak::Button2Click);
    connect(CheckBox1, &QCheckBox::clicked, this, &TForm_access_bak::CheckBox1Click);
    FormCreate();
    OnFirstShow(this, [this] { FormShow(); });
}

TForm_access_bak::~TForm_access_bak()
{
    if (Form_access_bak == this)
        Form_access_bak = nullptr;
}

void TForm_access_bak::FormCreate()
{
    PrepareLabels(this);
    m_settings = std::make_unique<IniFile>(ProgramPath(QStringLiteral("config.ini")));
    CheckBox1->setChecked(BackupBeforeRestore(*m_settings));
    // The box, the copies and the restore list all follow the backup folder set, the one the
    // exit backup writes to.
    LabeledEdit1->setText(BackupFolder(*m_settings));
    fillDayFolders();
    LabeledEdit2->setText(TimeFileName(QTime::currentTime()));
}

void TForm_access_bak::FormShow()
{
    fillCopies();
}

void TForm_access_bak::closeEvent(QCloseEvent *event)
{
    m_settings.reset();
    QWidget::closeEvent(event);
}

QString TForm_access_bak::StatusText() const
{
    return m_status->text();
}

void TForm_access_bak::setStatus(const QString &text)
{
    m_status->setText(text);
}

void TForm_access_bak::fillDayFolders()
{
    const QString current = ComboBox1->currentText();
    ComboBox1->clear();
    ComboBox1->addItems(DayFolders(LabeledEdit1->text()));
    const int keep = ComboBox1->findText(current);
    ComboBox1->setCurrentIndex(keep >= 0 ? keep : (ComboBox1->count() ? 0 : -1));
}

QString TForm_access_bak::dayFolder() const
{
    return ComboBox1->currentIndex() < 0 ? QString() : QDir(LabeledEdit1->text()).filePath(ComboBox1->currentText());
}

void TForm_access_bak::fillCopies()
{
    ComboBox2->clear();
    if (!dayFolder().isEmpty())
        ComboBox2->addItems(Copies(dayFolder()));
    ComboBox2->setCurrentIndex(ComboBox2->count() ? 0 : -1);
}

void TForm_access_bak::ComboBox1Click()
{
    setStatus(QDir::toNativeSeparators(dayFolder() + '/'));
    fillCopies();
}

void TForm_access_bak::setBackupFolder(const QString &folder)
{
    ReportUnsaved(this, *m_settings, SetBackupFolder(*m_settings, folder));
    LabeledEdit1->setText(folder);
    fillDayFolders();
    fillCopies();
}

void TForm_access_bak::SpeedButton1Click()
{
    const Dialogs::Answer a = Dialogs::PickFolder(this, QStringLiteral("选择文件夹"), LabeledEdit1->text());
    if (a.ok && !a.path.isEmpty())
        setBackupFolder(a.path);
}

void TForm_access_bak::SpeedButton2Click()
{
    setBackupFolder(DefaultBackupFolder());
}

QString TForm_access_bak::backupTarget(QString &problem)
{
    const QString name = BackupFileName(LabeledEdit2->text(), problem);
    if (name.isEmpty())
        return QString();
    const QString day = MakeDayFolder(LabeledEdit1->text(), QDate::currentDate(), problem);
    return day.isEmpty() ? QString() : QDir(day).filePath(name);
}

bool TForm_access_bak::Button1Click()
{
    QString problem;
    const QString target = backupTarget(problem);
    if (!target.isEmpty())
        problem = Form_sql ? BackupDatabase(Form_sql->ADOConnection1, target) : QStringLiteral("数据库未打开");
    if (!problem.isEmpty()) {
        setStatus(QStringLiteral("数据库备份失败：") + problem);
        return false;
    }
    // The box shows the name the copy has; pressing "备份" again replaces that copy.
    LabeledEdit2->setText(QFileInfo(target).fileName());
    fillDayFolders();
    fillCopies();
    setStatus(QStringLiteral("数据库备份成功"));
    return true;
}

void TForm_access_bak::Button2Click()
{
    const QString day = dayFolder();
    const QString source = day.isEmpty() || ComboBox2->currentIndex() < 0 ? QString()
                                                                          : QDir(day).filePath(ComboBox2->currentText());
    if (source.isEmpty() || !QFileInfo(source).isFile()) {
        setStatus(QStringLiteral("数据库还原失败：请先选择一个备份"));
        return;
    }
    if (OtherWindowsOpen(this)) {
        setStatus(QStringLiteral("数据库还原失败：请先关闭其他窗口再还原"));
        return;
    }
    if (!Dialogs::Confirm(this, QStringLiteral("是否确定还原此数据库!")))
        return;
    QString problem;
    QString backupFirst;
    if (CheckBox1->isChecked()) {
        backupFirst = backupTarget(problem);
        if (backupFirst.isEmpty())
            problem = QStringLiteral("还原前的备份失败：") + problem;
    }
    if (problem.isEmpty())
        problem = Form_sql ? RestoreDatabase(Form_sql->ADOConnection1, source, backupFirst)
                           : QStringLiteral("数据库未打开");
    if (problem.isEmpty() && Form_sql) {
        // Rows read from the file that was replaced are gone with it.
        for (Query *q : Form_sql->SharedQueries())
            q->Close();
    }
    // The copy made before the restore joins the lists.
    fillDayFolders();
    fillCopies();
    setStatus(problem.isEmpty() ? QStringLiteral("数据库还原成功") : QStringLiteral("数据库还原失败：") + problem);
}

void TForm_access_bak::CheckBox1Click()
{
    ReportUnsaved(this, *m_settings, SetBackupBeforeRestore(*m_settings, CheckBox1->isChecked()));
}
