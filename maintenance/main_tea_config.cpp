#include "maintenance/main_tea_config.h"

#include "datalayer/clientstate.h"
#include "datalayer/dialogs.h"
#include "datalayer/formparts.h"
#include "datalayer/guards.h"
#include "datalayer/runsql.h"
#include "datalayer/sql_ado_conn.h"
#include "datalayer/sysfun.h"
#include "maintenance/teaparameters.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>

TForm_tea_config *Form_tea_config = nullptr;

namespace {

Connection &conn()
{
    return Form_sql->ADOConnection1;
}

} // namespace

TForm_tea_config::TForm_tea_config(QWidget *parent) : QWidget(parent)
{
    MakeToolWindow(this, "Form_tea_config", QStringLiteral("茶叶相关参数管理"), {484, 470}, {.fixedSize = true});

    const struct {
        QGroupBox **box;
        QLineEdit **edit;
        QToolButton **add, **remove;
        QListWidget **list;
        const char *names[5];
        const char *caption;
        const char *initial;
        void (TForm_tea_config::*addClick)();
        void (TForm_tea_config::*removeClick)();
        void (TForm_tea_config::*listClick)();
    } groups[] = {
        {&GroupBox1, &Edit1, &SpeedButton1, &SpeedButton2, &ListBox1,
         {"GroupBox1", "Edit1", "SpeedButton1", "SpeedButton2", "ListBox1"}, "品种管理", "铁观音",
         &TForm_tea_config::SpeedButton1Click, &TForm_tea_config::SpeedButton2Click, &TForm_tea_config::ListBox1Click},
        {&GroupBox2, &Edit2, &SpeedButton3, &SpeedButton4, &ListBox2,
         {"GroupBox2", "Edit2", "SpeedButton3", "SpeedButton4", "ListBox2"}, "产地管理", "感德",
         &TForm_tea_config::SpeedButton3Click, &TForm_tea_config::SpeedButton4Click, &TForm_tea_config::ListBox2Click},
        {&GroupBox3, &Edit3, &SpeedButton5, &SpeedButton6, &ListBox3,
         {"GroupBox3", "Edit3", "SpeedButton5", "SpeedButton6", "ListBox3"}, "包装管理", "散装",
         &TForm_tea_config::SpeedButton5Click, &TForm_tea_config::SpeedButton6Click, &TForm_tea_config::ListBox3Click},
    };
    for (int i = 0; i < 3; ++i) {
        const auto &g = groups[i];
        const QString what = TeaLists()[size_t(i)].column;
        QGroupBox *box = MakeGroupBox(this, g.names[0], {8 + i * 158, 6, 152, 456});
        box->setTitle(QString::fromUtf8(g.caption));
        auto *edit = new QLineEdit(QString::fromUtf8(g.initial), box);
        edit->setObjectName(QString::fromLatin1(g.names[1]));
        edit->setAccessibleName(what);
        edit->setGeometry(8, 22, 86, 24);
        QToolButton *add = MakeToolButton(box, g.names[2], QStringLiteral("+"), {98, 22, 22, 24});
        add->setAccessibleName(QStringLiteral("添加") + what);
        QToolButton *remove = MakeToolButton(box, g.names[3], QStringLiteral("-"), {122, 22, 22, 24});
        remove->setAccessibleName(QStringLiteral("删除") + what);
        auto *list = new QListWidget(box);
        list->setObjectName(QString::fromLatin1(g.names[4]));
        list->setAccessibleName(what + QStringLiteral("列表"));
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setGeometry(8, 52, 136, 396);
        *g.box = box;
        *g.edit = edit;
        *g.add = add;
        *g.remove = remove;
        *g.list = list;
        m_groups[size_t(i)] = {edit, list};
        connect(add, &QToolButton::clicked, this, g.addClick);
        connect(remove, &QToolButton::clicked, this, g.removeClick);
        // A click or a key that moves the selection alike.
        connect(list, &QListWidget::itemSelectionChanged, this, g.listClick);
    }

    PrepareLabels(this);
    OnShow(this, [this] { FormShow(); });
}

TForm_tea_config::~TForm_tea_config()
{
    if (Form_tea_config == this)
        Form_tea_config = nullptr;
}

void TForm_tea_config::FormShow()
{
    for (int i = 0; i < 3; ++i)
        reload(i);
}

void TForm_tea_config::addEntry(int group)
{
    const Group &g = m_groups[size_t(group)];
    const QString text = g.edit->text();
    if (text.isEmpty())
        return;
    if (!RunSQLOrReport(AddTeaEntryStatement(TeaLists()[size_t(group)], text), conn(), this))
        return;
    g.edit->clear();
    reload(group);
}

void TForm_tea_config::removeEntry(int group)
{
    const Group &g = m_groups[size_t(group)];
    const TeaList &list = TeaLists()[size_t(group)];
    const QList<QListWidgetItem *> selected = g.list->selectedItems();
    // The entry picked in the list goes; with none picked, the typed name.
    QString sql, name;
    if (!selected.isEmpty()) {
        sql = DeleteTeaEntryStatement(list, selected.first()->data(Qt::UserRole).toLongLong());
        name = selected.first()->text();
    } else if (!g.edit->text().isEmpty()) {
        name = g.edit->text();
        sql = DeleteTeaEntriesStatement(list, name);
    } else {
        return;
    }
    if (!RunSQLOrReport(sql, conn(), this))
        return;
    if (conn().RowsAffected() == 0)
        Dialogs::Notice(this, QStringLiteral("列表中没有“%1”!").arg(name));
    else
        g.edit->clear();
    reload(group);
}

void TForm_tea_config::copySelection(int group)
{
    const Group &g = m_groups[size_t(group)];
    const QList<QListWidgetItem *> selected = g.list->selectedItems();
    if (!selected.isEmpty())
        g.edit->setText(selected.first()->text());
}

void TForm_tea_config::reload(int group)
{
    QListWidget *list = m_groups[size_t(group)].list;
    list->clear();
    Guarded(this, [&] {
        for (const TeaEntry &e : ReadTeaList(conn(), TeaLists()[size_t(group)])) {
            auto *item = new QListWidgetItem(e.text, list);
            item->setData(Qt::UserRole, e.id);
        }
    });
}

void TForm_tea_config::closeEvent(QCloseEvent *event)
{
    if (QWidget *main = Client().mainWindow)
        main->setEnabled(true);
    QWidget::closeEvent(event);
}
