#include "finance/main_zc.h"

#include "datalayer/dbgrid.h"
#include "datalayer/dialogs.h"
#include "datalayer/formparts.h"
#include "datalayer/guards.h"
#include "datalayer/labelededit.h"
#include "datalayer/labelfor.h"
#include "datalayer/numbertext.h"
#include "datalayer/numerickeyfilter.h"
#include "datalayer/query.h"
#include "datalayer/runsql.h"
#include "datalayer/sql_ado_conn.h"
#include "datalayer/sysfun.h"
#include "finance/expensestatements.h"
#include "reporting/exportgrid.h"

#include <QAction>
#include <QCloseEvent>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

TForm_zc *Form_zc = nullptr;

TForm_zc::TForm_zc(QWidget *parent) : QWidget(parent)
{
    MakeToolWindow(this, "Form_zc", QStringLiteral("日常支出"), {507, 463}, {.designPosition = QPoint(460, 226)});
    m_list = new Query(&Form_sql->ADOConnection1, QStringLiteral("ExpenseList"), this);

    GroupBox1 = FillWithGroupBox(this);
    auto *label1 = new QLabel(QStringLiteral("日期："), GroupBox1);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setGeometry(8, 16, 40, 26);
    DateTimePicker1 = MakeDatePicker(GroupBox1, "DateTimePicker1");
    DateTimePicker1->setGeometry(50, 16, 120, 26);
    LabelFor(label1, DateTimePicker1);
    SpeedButton1 = MakeToolButton(GroupBox1, "SpeedButton1", QStringLiteral("查"), {174, 16, 28, 26});
    SpeedButton1->setAutoRaise(true);
    LabeledEdit1 = MakeField(GroupBox1, "LabeledEdit1", QStringLiteral("金额："), 50, true, {}, 194);
    LabeledEdit1->EditLabel()->setMinimumWidth(40);
    InstallNumericFilter(LabeledEdit1->Edit());
    Memo1 = new QPlainTextEdit(kExpenseMemoStart, GroupBox1);
    TabThroughRemark(Memo1);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setAccessibleName(QStringLiteral("事项"));
    Memo1->setGeometry(210, 16, 200, 114);
    Button1 = MakeButton(GroupBox1, "Button1", QStringLiteral("添加"), {420, 14, 75, 26});
    Button3 = MakeButton(GroupBox1, "Button3", QStringLiteral("修改"), {420, 44, 75, 26});
    Button2 = MakeButton(GroupBox1, "Button2", QStringLiteral("删除"), {420, 74, 75, 26});
    Button4 = MakeButton(GroupBox1, "Button4", QStringLiteral("导出"), {420, 104, 75, 26});

    DBGrid1 = new DBGrid(GroupBox1);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setGeometry(8, 136, 491, 318);
    const QString money = QStringLiteral("￥,0.00");
    DBGrid1->SetColumns({MakeColumn(QStringLiteral("序号"), {}, 40), WithTotalText(MakeColumn(QStringLiteral("日期"))),
                         WithSum(MakeColumn(QStringLiteral("金额"), money), money), MakeColumn(QStringLiteral("事项"))});
    DBGrid1->SetFooterVisible(true);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    D1 = AddMenuItem(PopupMenu1, "D1", QStringLiteral("删除(&D)"), [this] { Button2Click(); });
    N1 = PopupMenu1->addSeparator();
    N1->setObjectName(QStringLiteral("N1"));
    N2 = AddMenuItem(PopupMenu1, "N2", QStringLiteral("重新导入"), [this] { N2Click(); });
    N8 = AddMenuItem(PopupMenu1, "N8", QStringLiteral("筛选此日期"), [this] { SpeedButton1Click(); });
    AttachPopup(DBGrid1, PopupMenu1);

    connect(DBGrid1, &DBGrid::CellClick, this, &TForm_zc::DBGrid1CellClick);
    connect(SpeedButton1, &QToolButton::clicked, this, &TForm_zc::SpeedButton1Click);
    connect(Button1, &QPushButton::clicked, this, &TForm_zc::Button1Click);
    connect(Button3, &QPushButton::clicked, this, &TForm_zc::Button3Click);
    connect(Button2, &QPushButton::clicked, this, &TForm_zc::Button2Click);
    connect(Button4, &QPushButton::clicked, this, &TForm_zc::Button4Click);

    PrepareForm(this);
    DateTimePicker1->setDate(QDate::currentDate());
    OnFirstShow(this, [this] { FormShow(); });
}

TForm_zc::~TForm_zc()
{
    if (Form_zc == this)
        Form_zc = nullptr;
}

void TForm_zc::closeEvent(QCloseEvent *event)
{
    DBGrid1->SetQuery(nullptr);
    QWidget::closeEvent(event);
}

void TForm_zc::FormShow()
{
    Guarded(this, [this] {
        DBGrid1->SetQuery(m_list);
        m_list->Reopen(ExpenseListStatement());
    });
}

void TForm_zc::DBGrid1CellClick()
{
    // An empty list or a date that does not read stops the loading without a word.
    Silently([this] {
        LabeledEdit1->setText(QString());
        Memo1->setPlainText(kExpenseMemoStart);
        m_selected = -1;
        if (m_list->IsEmpty())
            return;
        const QDate day = StrToDate(m_list->FieldByName(QStringLiteral("日期")).AsString().left(10));
        if (!day.isValid())
            return;
        m_selected = m_list->CurrentKey();
        DateTimePicker1->setDate(day);
        LabeledEdit1->setText(m_list->FieldByName(QStringLiteral("金额")).AsString());
        Memo1->setPlainText(m_list->FieldByName(QStringLiteral("事项")).AsString());
    });
}

void TForm_zc::clearFields()
{
    LabeledEdit1->setText(QString());
    Memo1->setPlainText(kExpenseMemoStart);
    m_selected = -1;
}

bool TForm_zc::write(const QString &question, const QString &sql, bool addressesRow)
{
    if (!Dialogs::Confirm(this, question))
        return false;
    Connection &conn = Form_sql->ADOConnection1;
    RowWrite done = RowWrite::Refused;
    if (addressesRow)
        done = RunSQLOnRowOrReport(sql, conn, this);
    else if (RunSQLOrReport(sql, conn, this))
        done = RowWrite::Done;
    if (done == RowWrite::Refused)
        return false;
    if (done == RowWrite::Done)
        clearFields();
    else
        m_selected = -1; // deleted meanwhile: the typed text stays for another row
    Guarded(this, [this] { m_list->Requery(); });
    return done == RowWrite::Done;
}

void TForm_zc::Button1Click()
{
    if (const QString problem = ExpenseAmountProblem(LabeledEdit1->text()); !problem.isEmpty()) {
        Dialogs::Notice(this, problem);
        return;
    }
    write(QStringLiteral("是否确定加入此事项!"),
          ExpenseInsertStatement(DateTimePicker1->date(), StrToFloat(LabeledEdit1->text()), Memo1->toPlainText()),
          false);
}

void TForm_zc::Button3Click()
{
    if (!Dialogs::RowLoaded(this, m_selected >= 0))
        return;
    if (const QString problem = ExpenseAmountProblem(LabeledEdit1->text()); !problem.isEmpty()) {
        Dialogs::Notice(this, problem);
        return;
    }
    write(QStringLiteral("是否确定修改此事项!"),
          ExpenseUpdateStatement(m_selected, DateTimePicker1->date(), StrToFloat(LabeledEdit1->text()),
                                 Memo1->toPlainText()),
          true);
}

void TForm_zc::Button2Click()
{
    if (!Dialogs::RowLoaded(this, m_selected >= 0))
        return;
    write(QStringLiteral("是否确定删除此事项!"), ExpenseDeleteStatement(m_selected), true);
}

void TForm_zc::SpeedButton1Click()
{
    Guarded(this, [this] {
        m_list->Reopen(ExpenseDayStatement(DateTimePicker1->date()));
    });
}

void TForm_zc::N2Click()
{
    Guarded(this, [this] {
        m_list->Reopen(ExpenseListStatement());
    });
}

void TForm_zc::Button4Click()
{
    Guarded(this, [this] {
        if (ExportGrid(DBGrid1, Form_sql->SaveDialog1, this))
            Dialogs::Notice(this, QStringLiteral("导出成功!"));
    });
}
