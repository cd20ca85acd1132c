#include "finance/main_xszj.h"

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
#include "finance/settlementstatements.h"
#include "finance/statisticsstatements.h"
#include "reporting/exportgrid.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

TForm_xszj *Form_xszj = nullptr;

namespace {

QPushButton *rowButton(QWidget *parent, QHBoxLayout *row, const char *name, const QString &caption)
{
    QPushButton *b = MakeButton(parent, name, caption, {0, 0, 75, 30});
    b->setMinimumSize(75, 30);
    row->addWidget(b);
    return b;
}

DBGrid *makeGrid(QWidget *parent, const char *name, const std::vector<GridColumn> &columns, bool footer)
{
    auto *grid = new DBGrid(parent);
    grid->setObjectName(QString::fromLatin1(name));
    grid->SetColumns(columns);
    grid->SetFooterVisible(footer);
    return grid;
}

std::vector<GridColumn> plainColumns(const QStringList &names)
{
    std::vector<GridColumn> columns{MakeColumn(QStringLiteral("序号"), {}, 40)};
    for (const QString &n : names)
        columns.push_back(MakeColumn(n));
    return columns;
}

Query *statisticsQuery()
{
    return Form_sql->ADOQuery_tj;
}

} // namespace

TForm_xszj::TForm_xszj(QWidget *parent) : ListScreen(parent)
{
    setObjectName(QStringLiteral("Form_xszj"));
    setWindowTitle(QStringLiteral("销售总结"));
    resize(1062, 793);

    PageControl1 = FillWithPages(this, {QStringLiteral("销售统计"), QStringLiteral("清货结算")});
    TabSheet1 = PageControl1->widget(0);
    TabSheet2 = PageControl1->widget(1);

    // Page one: the statistics.
    GroupBox2 = FillWithGroupBox(TabSheet1, "GroupBox2");
    auto *page1 = new QVBoxLayout(GroupBox2);
    auto *bar1 = new QHBoxLayout;
    page1->addLayout(bar1);
    Button11 = rowButton(GroupBox2, bar1, "Button11", QStringLiteral("导出"));
    Button3 = rowButton(GroupBox2, bar1, "Button3", QStringLiteral("导入"));
    auto *label1 = new QLabel(QStringLiteral("日期："), GroupBox2);
    label1->setObjectName(QStringLiteral("Label1"));
    bar1->addWidget(label1);
    DateTimePicker1 = MakeDatePicker(GroupBox2, "DateTimePicker1");
    LabelFor(label1, DateTimePicker1);
    bar1->addWidget(DateTimePicker1);
    Button2 = rowButton(GroupBox2, bar1, "Button2", QStringLiteral("查询"));
    bar1->addSpacing(20);
    Button1 = rowButton(GroupBox2, bar1, "Button1", QStringLiteral("全部统计"));
    Button10 = rowButton(GroupBox2, bar1, "Button10", QStringLiteral("欠款统计"));
    Button7 = rowButton(GroupBox2, bar1, "Button7", QStringLiteral("支出统计"));
    Button8 = rowButton(GroupBox2, bar1, "Button8", QStringLiteral("销售统计"));
    Button9 = rowButton(GroupBox2, bar1, "Button9", QStringLiteral("清空统计"));
    bar1->addStretch();
    GroupBox1 = new QGroupBox(QStringLiteral("销售统计"), GroupBox2);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    page1->addWidget(GroupBox1, 1);
    const QString kg = QStringLiteral("0.00,Kg");
    const QString money = QStringLiteral("￥,0.00");
    DBGrid1 = makeGrid(GroupBox1, "DBGrid1",
                       {MakeColumn(QStringLiteral("序号")), MakeColumn(QStringLiteral("日期")),
                        WithTotalText(MakeColumn(QStringLiteral("毛净茶"))),
                        WithSum(MakeColumn(QStringLiteral("总重量"), kg), kg),
                        WithSum(MakeColumn(QStringLiteral("总金额"), money), money),
                        WithSum(MakeColumn(QStringLiteral("实收款"), money), money),
                        WithSum(MakeColumn(QStringLiteral("总支出"), money), money),
                        WithSum(MakeColumn(QStringLiteral("欠款总额"), money), money)},
                       true);
    auto *gridBox = new QVBoxLayout(GroupBox1);
    gridBox->addWidget(DBGrid1);

    // Page two: the settlement.
    GroupBox3 = FillWithGroupBox(TabSheet2, "GroupBox3");
    auto *page2 = new QVBoxLayout(GroupBox3);
    auto *bar2 = new QHBoxLayout;
    page2->addLayout(bar2);
    Button5 = rowButton(GroupBox3, bar2, "Button5", QStringLiteral("导入"));
    Button12 = rowButton(GroupBox3, bar2, "Button12", QStringLiteral("导出"));
    LabeledEdit1 = MakeField(GroupBox3, "LabeledEdit1", QStringLiteral("编号："), 0, true);
    LabeledEdit1->setMinimumWidth(185);
    bar2->addWidget(LabeledEdit1);
    Button6 = rowButton(GroupBox3, bar2, "Button6", QStringLiteral("查询"));
    LabeledEdit2 = MakeField(GroupBox3, "LabeledEdit2", QStringLiteral("利润总额："), 0, true);
    LabeledEdit2->setMinimumWidth(185);
    InstallNumericFilter(LabeledEdit2->Edit());
    bar2->addWidget(LabeledEdit2);
    Button4 = rowButton(GroupBox3, bar2, "Button4", QStringLiteral("售完结算"));
    bar2->addStretch();
    std::vector<GridColumn> lotColumns = plainColumns({QStringLiteral("编号"), QStringLiteral("毛净茶"), QStringLiteral("品种"),
                                                       QStringLiteral("产地"), QStringLiteral("总重量"), QStringLiteral("剩余重量"),
                                                       QStringLiteral("入库日期"), QStringLiteral("毛茶价"), QStringLiteral("总金额"),
                                                       QStringLiteral("利润总额"), QStringLiteral("结算")});
    // The intake date, under the title the shop knows it by.
    lotColumns[7].title = QStringLiteral("进货日期");
    DBGrid2 = makeGrid(GroupBox3, "DBGrid2", lotColumns, false);
    DBGrid3 = makeGrid(GroupBox3, "DBGrid3",
                       plainColumns({QStringLiteral("编号"), QStringLiteral("毛净茶"), QStringLiteral("品种"),
                                     QStringLiteral("产地"), QStringLiteral("客户"), QStringLiteral("客户类型"),
                                     QStringLiteral("单价"), QStringLiteral("重量"), QStringLiteral("总金额"),
                                     QStringLiteral("实收款"), QStringLiteral("日期"), QStringLiteral("备注")}),
                       false);
    page2->addWidget(DBGrid2, 1);
    page2->addWidget(DBGrid3, 1);

    connect(PageControl1, &QTabWidget::currentChanged, this, &TForm_xszj::PageControl1Change);
    connect(Button1, &QPushButton::clicked, this, &TForm_xszj::Button1Click);
    connect(Button7, &QPushButton::clicked, this, &TForm_xszj::Button7Click);
    connect(Button8, &QPushButton::clicked, this, &TForm_xszj::Button8Click);
    connect(Button10, &QPushButton::clicked, this, &TForm_xszj::Button10Click);
    connect(Button9, &QPushButton::clicked, this, &TForm_xszj::Button9Click);
    connect(Button3, &QPushButton::clicked, this, &TForm_xszj::Button3Click);
    connect(Button2, &QPushButton::clicked, this, &TForm_xszj::Button2Click);
    connect(Button11, &QPushButton::clicked, this, &TForm_xszj::Button11Click);
    connect(Button5, &QPushButton::clicked, this, &TForm_xszj::Button5Click);
    connect(Button6, &QPushButton::clicked, this, &TForm_xszj::Button6Click);
    connect(Button12, &QPushButton::clicked, this, &TForm_xszj::Button12Click);
    connect(Button4, &QPushButton::clicked, this, &TForm_xszj::Button4Click);
    connect(DBGrid2, &DBGrid::CellClick, this, &TForm_xszj::DBGrid2CellClick);
    // A retyped number no longer names the loaded lot.
    connect(LabeledEdit1->Edit(), &QLineEdit::textEdited, this, [this] { m_lotId = -1; });

    SetUsedQueries({Form_sql->ADOQuery_tj, Form_sql->ADOQuery_tj1});
    AddGrid(DBGrid1);
    AddGrid(DBGrid2);
    AddGrid(DBGrid3);
    PrepareForm(this);
    DateTimePicker1->setDate(QDate::currentDate());
    PageControl1->setCurrentIndex(0);
    PageControl1Change();
}

TForm_xszj::~TForm_xszj()
{
    if (Form_xszj == this)
        Form_xszj = nullptr;
}

void TForm_xszj::PageControl1Change()
{
    Query *tj = statisticsQuery();
    if (PageControl1->currentIndex() == 0) {
        DBGrid2->SetQuery(nullptr);
        DBGrid3->SetQuery(nullptr);
        tj->Close();
        DBGrid1->SetQuery(tj);
    } else {
        DBGrid1->SetQuery(nullptr);
        tj->Close();
        DBGrid2->SetQuery(tj);
        DBGrid3->SetQuery(Form_sql->ADOQuery_tj1);
    }
}

void TForm_xszj::openStatistics(const QString &sql)
{
    Query *q = statisticsQuery();
    q->Reopen(sql);
}

void TForm_xszj::runPass(int pass)
{
    Guarded(this, [this, pass] {
        RunStatisticsPass(Form_sql->ADOConnection1, StatisticsPass(pass));
        openStatistics(StatisticsListStatement());
    });
}

void TForm_xszj::Button1Click()
{
    runPass(int(StatisticsPass::All));
}

void TForm_xszj::Button7Click()
{
    runPass(int(StatisticsPass::Expenses));
}

void TForm_xszj::Button8Click()
{
    runPass(int(StatisticsPass::Sales));
}

void TForm_xszj::Button10Click()
{
    runPass(int(StatisticsPass::Debts));
}

void TForm_xszj::Button9Click()
{
    Guarded(this, [this] {
        ClearStatistics(Form_sql->ADOConnection1);
        openStatistics(StatisticsListStatement());
    });
}

void TForm_xszj::Button3Click()
{
    Guarded(this, [this] { openStatistics(StatisticsListStatement()); });
}

void TForm_xszj::Button2Click()
{
    Guarded(this, [this] { openStatistics(StatisticsDayStatement(DateTimePicker1->date())); });
}

void TForm_xszj::exportList(DBGrid *grid)
{
    Guarded(this, [this, grid] {
        if (ExportGrid(grid, Form_sql->SaveDialog1, this))
            Dialogs::Notice(this, QStringLiteral("导出成功!"));
    });
}

void TForm_xszj::Button11Click()
{
    exportList(DBGrid1);
}

void TForm_xszj::Button12Click()
{
    exportList(DBGrid2);
}

void TForm_xszj::openLots(const QString &sql)
{
    m_lotId = -1;
    Guarded(this, [this, &sql] {
        Form_sql->ADOQuery_tj1->Close();
        Query *q = statisticsQuery();
        q->Reopen(sql);
    });
}

void TForm_xszj::Button5Click()
{
    openLots(SettlementLotListStatement());
}

void TForm_xszj::Button6Click()
{
    openLots(SettlementLotLookupStatement(LabeledEdit1->text()));
}

void TForm_xszj::DBGrid2CellClick()
{
    Guarded(this, [this] {
        const Query *lots = statisticsQuery();
        if (lots->IsEmpty())
            return;
        m_lotId = lots->CurrentKey();
        const QString number = lots->FieldByName(QStringLiteral("编号")).AsString();
        LabeledEdit1->setText(number);
        if (number.isEmpty())
            return;
        Query *sales = Form_sql->ADOQuery_tj1;
        sales->Reopen(LotSalesStatement(m_lotId, number));
        Query sum(&Form_sql->ADOConnection1, QStringLiteral("LotReceipts"));
        sum.SetSQL(LotReceiptsStatement(m_lotId, number));
        sum.Open();
        LabeledEdit2->setText(sum.Fields(0).AsString());
    });
}

void TForm_xszj::Button4Click()
{
    if (!Dialogs::RowLoaded(this, m_lotId >= 0 && !LabeledEdit1->text().isEmpty()))
        return;
    if (const QString problem = ProfitProblem(LabeledEdit2->text()); !problem.isEmpty()) {
        Dialogs::Notice(this, problem);
        return;
    }
    if (!Dialogs::Confirm(this, kSettleQuestion))
        return;
    const QString sql = SettleLotStatement(m_lotId, StrToFloat(LabeledEdit2->text()));
    const RowWrite done = RunSQLOnRowOrReport(sql, Form_sql->ADOConnection1, this);
    if (done == RowWrite::Refused)
        return;
    m_lotId = -1;
    if (done == RowWrite::Done)
        LabeledEdit2->setText(QString()); // a lot deleted meanwhile keeps the typed profit
    Guarded(this, [] { Form_sql->ADOQuery_tj->Requery(); });
}
