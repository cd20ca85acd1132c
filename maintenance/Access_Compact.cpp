#include "maintenance/Access_Compact.h"

#include "datalayer/dialogs.h"
#include "datalayer/formparts.h"
#include "datalayer/labelededit.h"
#include "datalayer/programfolder.h"
#include "datalayer/sql_ado_conn.h"
#include "datalayer/sysfun.h"
#include "maintenance/databasecopy.h"
#include "maintenance/windowparts.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

TForm_Access_Compact *Form_Access_Compact = nullptr;

namespace {
QString defaultDatabase()
{
    return ProgramPath(QStringLiteral("data/datas.mdb"));
}
} // namespace

TForm_Access_Compact::TForm_Access_Compact(QWidget *parent) : QWidget(parent)
{
    MakeToolWindow(this, "Form_Access_Compact", QStringLiteral("数据库压缩"), {338, 231});

    LabeledEdit1 = new LabeledEdit(QStringLiteral("路径："), this);
    LabeledEdit1->setObjectName(QStringLiteral("LabeledEdit1"));
    LabeledEdit1->setLabelPosition(LabeledEdit::Left);
    SpeedButton1 = MakeToolButton(this, "SpeedButton1", QStringLiteral("..."), QRect());
    SpeedButton1->setAccessibleName(QStringLiteral("选择数据库文件"));
    SpeedButton2 = MakeToolButton(this, "SpeedButton2", QStringLiteral("默认"), QRect());
    SpeedButton2->setAccessibleName(QStringLiteral("默认数据库文件"));
    Button1 = MakeButton(this, "Button1", QStringLiteral("压缩数据库"), QRect());
    Button1->setAccessibleName(Button1->text());
    Button1->setAutoDefault(true); // Enter on the focused button presses it
    StatusBar1 = MakeStatusBar(this, m_status);

    auto *frame = new QGroupBox(this);
    auto *grid = new QGridLayout(frame);
    grid->setRowStretch(0, 1);
    grid->addWidget(LabeledEdit1, 1, 0);
    grid->addWidget(SpeedButton1, 1, 1);
    grid->addWidget(SpeedButton2, 1, 2);
    grid->addWidget(Button1, 2, 0, 1, 3, Qt::AlignHCenter);
    grid->setRowStretch(3, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 0);
    layout->addWidget(frame, 1);
    layout->addWidget(StatusBar1);

    connect(SpeedButton1, &QToolButton::clicked, this, &TForm_Access_Compact::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TForm_Access_Compact::SpeedButton2Click);
    connect(Button1, &QPushButton::clicked, this, &TForm_Access_Compact::Button1Click);

    // Creation.
    PrepareLabels(this);
    LabeledEdit1->setText(defaultDatabase());
}

TForm_Access_Compact::~TForm_Access_Compact()
{
    if (Form_Access_Compact == this)
        Form_Access_Compact = nullptr;
}

QString TForm_Access_Compact::StatusText() const
{
    return m_status->text();
}

void TForm_Access_Compact::SpeedButton1Click()
{
    const Dialogs::Answer a =
        Dialogs::OpenFile(this, QStringLiteral("打开"), QFileInfo(LabeledEdit1->text().trimmed()).absolutePath());
    if (a.ok && !a.path.isEmpty())
        LabeledEdit1->setText(QFileInfo(a.path).absoluteFilePath());
}

void TForm_Access_Compact::SpeedButton2Click()
{
    LabeledEdit1->setText(defaultDatabase());
}

bool TForm_Access_Compact::Button1Click()
{
    // A typed relative path is taken from the program folder, as every path of the program is.
    const QString path = QDir(ProgramFolder()).absoluteFilePath(LabeledEdit1->text().trimmed());
    QString problem;
    if (!QFileInfo(path).isFile())
        problem = QStringLiteral("文件不存在");
    else if (!Form_sql)
        problem = QStringLiteral("数据库未打开");
    else
        problem = CompactDatabase(Form_sql->ADOConnection1, path);
    m_status->setText(problem.isEmpty() ? QStringLiteral("数据库压缩修复成功")
                                        : QStringLiteral("数据库压缩修复失败：") + problem);
    return problem.isEmpty();
}
