#include "maintenance/sys_config.h"

#include "datalayer/dialogs.h"
#include "datalayer/formparts.h"
#include "datalayer/inifile.h"
#include "datalayer/programfolder.h"
#include "datalayer/settings.h"
#include "maintenance/skin.h"
#include "maintenance/unsaved.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

TForm_config *Form_config = nullptr;

TForm_config::TForm_config(QWidget *parent) : QWidget(parent)
{
    MakeToolWindow(this, "Form_config", QStringLiteral("系统选项"), {331, 369});

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    TabSheet1 = new QWidget();
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TabSheet2 = new QWidget();
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    PageControl1->addTab(TabSheet1, QStringLiteral("皮肤选择"));
    PageControl1->addTab(TabSheet2, QStringLiteral("选项设置"));

    auto *skins = new QGroupBox(QStringLiteral("界面皮肤选择"), TabSheet1);
    ListBox1 = new QListWidget(skins);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setAccessibleName(skins->title());
    (new QVBoxLayout(skins))->addWidget(ListBox1);
    (new QVBoxLayout(TabSheet1))->addWidget(skins);

    auto *options = new QGroupBox(TabSheet2);
    CheckBox1 = new QCheckBox(QStringLiteral("退出时自动备份数据库"), options);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setAccessibleName(CheckBox1->text());
    auto *optionsLayout = new QVBoxLayout(options);
    optionsLayout->addWidget(CheckBox1);
    optionsLayout->addStretch(1);
    (new QVBoxLayout(TabSheet2))->addWidget(options);

    (new QVBoxLayout(this))->addWidget(PageControl1);
    ListBox1->setFocus();

    connect(ListBox1, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            ListBox1Click();
    });
    connect(CheckBox1, &QCheckBox::clicked, this, &TForm_config::CheckBox1Click);
    OnFirstShow(this, [this] { FormShow(); });
}

TForm_config::~TForm_config()
{
    if (Form_config == this)
        Form_config = nullptr;
}

void TForm_config::FormShow()
{
    m_settings = std::make_unique<IniFile>(ProgramPath(QStringLiteral("config.ini")));
    CheckBox1->setChecked(BackupOnExit(*m_settings));
    // The skin in use stands selected; selecting it here is not a choice.
    const QSignalBlocker quiet(ListBox1);
    ListBox1->clear();
    ListBox1->addItems(SkinFiles(ProgramPath(QStringLiteral("skins"))));
    const QList<QListWidgetItem *> current = ListBox1->findItems(SkinFileName(*m_settings), Qt::MatchExactly);
    if (!current.isEmpty())
        ListBox1->setCurrentItem(current.first());
}

void TForm_config::ListBox1Click()
{
    const QListWidgetItem *item = ListBox1->currentItem();
    if (!item || !m_settings)
        return;
    const QString path = SkinPath(item->text());
    if (!ApplySkin(path)) {
        Dialogs::ShowError(this, QStringLiteral("无法读取皮肤文件: ") + path);
        return;
    }
    ReportUnsaved(this, *m_settings, SetSkinFileName(*m_settings, item->text()));
}

void TForm_config::CheckBox1Click()
{
    if (m_settings)
        ReportUnsaved(this, *m_settings, SetBackupOnExit(*m_settings, CheckBox1->isChecked()));
}

void TForm_config::closeEvent(QCloseEvent *event)
{
    m_settings.reset();
    QWidget::closeEvent(event);
}
