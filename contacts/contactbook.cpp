#include "contacts/contactbook.h"

#include "datalayer/clientstate.h"
#include "datalayer/dbgrid.h"
#include "datalayer/dialect.h"
#include "datalayer/dialogs.h"
#include "datalayer/formparts.h"
#include "datalayer/guards.h"
#include "datalayer/labelededit.h"
#include "datalayer/query.h"
#include "datalayer/runsql.h"
#include "datalayer/schema.h"
#include "datalayer/sql_ado_conn.h"
#include "datalayer/sysfun.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton *makeButton(const QString &name, const QString &text, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAccessibleName(QString(text).remove(u'&'));
    return b;
}

QStringList allColumns()
{
    return QStringList(ContactBook::kColumns.begin(), ContactBook::kColumns.end());
}

} // namespace

ContactBook::ContactBook(const Config &config, QWidget *parent) : QWidget(parent), m_config(config)
{
    MakeToolWindow(this, m_config.formName, m_config.caption, {820, 560});
    m_list = new Query(Form_sql ? &Form_sql->ADOConnection1 : nullptr, QStringLiteral("ContactList"), this);

    auto *fieldsBox = new QGroupBox(this);
    auto *fieldGrid = new QGridLayout(fieldsBox);
    for (int n = 1; n <= 8; ++n) {
        auto *edit = new LabeledEdit(fieldsBox);
        edit->setObjectName(QStringLiteral("LabeledEdit%1").arg(n));
        edit->setLabelPosition(LabeledEdit::Left);
        m_edits[size_t(n - 1)] = edit;
        // Numbered left to right, two to a row, as the fields stand on the form.
        fieldGrid->addWidget(edit, (n - 1) / 2, (n - 1) % 2);
    }
    for (const Field &f : m_config.fields)
        m_edits[size_t(f.edit - 1)]->setLabelText(f.label);
    LabeledEdit1 = m_edits[0];
    LabeledEdit2 = m_edits[1];
    LabeledEdit3 = m_edits[2];
    LabeledEdit4 = m_edits[3];
    LabeledEdit5 = m_edits[4];
    LabeledEdit6 = m_edits[5];
    LabeledEdit7 = m_edits[6];
    LabeledEdit8 = m_edits[7];

    memo1 = new QPlainTextEdit(this);
    TabThroughRemark(memo1);
    memo1->setObjectName(QStringLiteral("memo1"));
    memo1->setAccessibleName(QStringLiteral("备注"));
    memo1->setPlainText(kRemarkStart);

    Button1 = makeButton(QStringLiteral("Button1"), QStringLiteral("添加(&A)"), this);
    Button2 = makeButton(QStringLiteral("Button2"), QStringLiteral("修改(&E)"), this);
    Button3 = makeButton(QStringLiteral("Button3"), QStringLiteral("删除(&D)"), this);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addWidget(Button3);
    buttons->addStretch();

    auto *top = new QHBoxLayout;
    top->addWidget(fieldsBox, 3);
    top->addWidget(memo1, 2);
    top->addLayout(buttons);

    ComboBox7 = new QComboBox(this);
    ComboBox7->setObjectName(QStringLiteral("ComboBox7"));
    ComboBox7->setAccessibleName(QStringLiteral("查询条件"));
    // Not editable: the filter goes by the chosen position, so a typed text could only fail.
    ComboBox7->addItems({QStringLiteral("全部"), m_config.nameItem, QStringLiteral("联系人")});
    ComboBox7->setCurrentIndex(0);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setAccessibleName(QStringLiteral("查询内容"));
    Button4 = makeButton(QStringLiteral("Button4"), QStringLiteral("查询"), this);
    auto *filter = new QHBoxLayout;
    filter->addWidget(ComboBox7);
    filter->addWidget(Edit1, 1);
    filter->addWidget(Button4);

    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    QStringList fieldNames{QStringLiteral("序号")};
    fieldNames.append(allColumns());
    if (m_config.remarkColumn)
        fieldNames << QStringLiteral("备注");
    std::vector<GridColumn> columns;
    for (const QString &name : fieldNames) {
        GridColumn column;
        column.fieldName = name;
        columns.push_back(column);
    }
    DBGrid1->SetColumns(columns);
    DBGrid1->SetRowColours(m_config.rowColours);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    m_deleteItem = PopupMenu1->addAction(QStringLiteral("删除(&D)"));
    m_deleteItem->setObjectName(m_config.deleteItem);
    AttachPopup(DBGrid1, PopupMenu1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(filter);
    layout->addWidget(DBGrid1, 1);

    connect(DBGrid1, &DBGrid::CellClick, this, &ContactBook::DBGrid1CellClick);
    connect(Button1, &QPushButton::clicked, this, &ContactBook::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &ContactBook::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &ContactBook::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &ContactBook::Button4Click);

    PrepareForm(this);
    OnShow(this, [this] { FormShow(); });
}

ContactBook::~ContactBook() = default;

LabeledEdit *ContactBook::FieldOf(const QString &column) const
{
    for (size_t i = 0; i < kColumns.size(); ++i)
        if (kColumns[i] == column)
            return m_edits[size_t(m_config.fields[i].edit - 1)];
    return nullptr;
}

void ContactBook::FormShow()
{
    Guarded(this, [this] {
        DBGrid1->SetQuery(m_list);
        m_list->Reopen(QStringLiteral("Select * From ") + tables::Contacts + QStringLiteral(" where 类型 = ") +
                       QuotedStr(m_config.type));
        if (m_config.narrowNumbersOnShow)
            DBGrid1->SetColumnWidth(QStringLiteral("序号"), 30);
    });
}

void ContactBook::DBGrid1CellClick()
{
    // An empty or closed list stops the loading without a word; what was set stays set.
    Silently([this] {
        m_selected = m_list->FieldByName(QStringLiteral("ID")).AsString();
        for (const QString &c : kColumns)
            FieldOf(c)->setText(m_list->FieldByName(c).AsString());
        memo1->setPlainText(m_list->FieldByName(QStringLiteral("备注")).AsString());
    });
}

void ContactBook::Button1Click()
{
    if (FieldOf(kColumns[0])->text().isEmpty())
        return;
    if (!Dialogs::Confirm(this, QStringLiteral("是否确定添加此") + m_config.subject + u'!'))
        return;
    QStringList values;
    for (const QString &c : kColumns)
        values << QuotedStr(FieldOf(c)->text());
    values << QuotedStr(memo1->toPlainText()) << QuotedStr(m_config.type);
    const QString sql = QStringLiteral("insert into ") + tables::Contacts + u'(' + allColumns().join(u',') +
                        QStringLiteral(",备注,类型)values(") + values.join(u',') + u')';
    if (!RunSQLOrReport(sql, Form_sql->ADOConnection1, this))
        return;
    clearFields(allColumns());
    memo1->setPlainText(kRemarkStart);
    requery();
}

void ContactBook::Button2Click()
{
    if (FieldOf(kColumns[0])->text().isEmpty())
        return;
    if (!haveSelection())
        return;
    if (!Dialogs::Confirm(this, QStringLiteral("是否确定修改此") + m_config.subject + u'!'))
        return;
    QStringList sets;
    for (const QString &c : kColumns)
        sets << c + u'=' + QuotedStr(FieldOf(c)->text());
    sets << QStringLiteral("备注=") + QuotedStr(memo1->toPlainText());
    const QString sql = QStringLiteral("UPDATE ") + tables::Contacts + QStringLiteral(" SET ") + sets.join(u',') +
                        QStringLiteral(" WHERE ID = ") + m_selected;
    if (!writeOnSelected(sql))
        return;
    clearFields(m_config.clearedOnChange);
    if (m_config.remarkResetOnChange)
        memo1->setPlainText(kRemarkStart);
}

void ContactBook::Button3Click()
{
    if (FieldOf(kColumns[0])->text().isEmpty())
        return;
    if (!haveSelection())
        return;
    if (!Dialogs::Confirm(this, QStringLiteral("是否确定删除此") + m_config.subject + u'!'))
        return;
    if (!writeOnSelected(QStringLiteral("DELETE FROM ") + tables::Contacts + QStringLiteral(" WHERE ID = ") + m_selected))
        return;
    QStringList cleared;
    for (const QString &c : kColumns)
        if (!m_config.keptOnDelete.contains(c))
            cleared << c;
    clearFields(cleared);
    memo1->clear();
}

void ContactBook::Button4Click()
{
    DBGrid1->SetColumnWidth(QStringLiteral("序号"), 30);
    const QString all = QStringLiteral("Select * From ") + tables::Contacts;
    const QString newestFirst = QStringLiteral(" Order By ID DESC");
    QString sql;
    switch (ComboBox7->currentIndex()) {
    case 0:
        sql = all + newestFirst;
        break;
    case 1:
        sql = all + QStringLiteral(" where 名称=") + QuotedStr(Edit1->text()) + newestFirst;
        break;
    case 2:
        sql = all + QStringLiteral(" where 联系人=") + QuotedStr(Edit1->text()) + newestFirst;
        break;
    default:
        break; // nothing chosen: the empty statement fails below and the list stays empty
    }
    Silently([&] { m_list->Reopen(sql); });
}

void ContactBook::closeEvent(QCloseEvent *event)
{
    FormClose();
    QWidget::closeEvent(event);
}

void ContactBook::FormClose()
{
    DBGrid1->SetQuery(nullptr);
    if (QWidget *main = Client().mainWindow)
        main->setEnabled(true);
}

void ContactBook::clearFields(const QStringList &columns)
{
    for (const QString &c : columns)
        FieldOf(c)->setText(QString());
}

bool ContactBook::writeOnSelected(const QString &sql)
{
    const RowWrite done = RunSQLOnRowOrReport(sql, Form_sql->ADOConnection1, this);
    if (done == RowWrite::Refused)
        return false;
    // Written, or deleted meanwhile from the other book (the typed texts then stay, unsaved):
    // either way the key has served, and a later write must load a row again.
    m_selected.clear();
    requery();
    return done == RowWrite::Done;
}

bool ContactBook::haveSelection()
{
    if (!m_selected.isEmpty())
        return true;
    Dialogs::Notice(this, Dialogs::kChooseRow);
    return false;
}

void ContactBook::requery()
{
    Guarded(this, [this] { m_list->Requery(); });
}
