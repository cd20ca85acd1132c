#include "sales/main_xs.h"

#include "datalayer/dbgrid.h"
#include "datalayer/dialogs.h"
#include "datalayer/filterbar.h"
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
#include "finance/main_qk.h"
#include "reporting/exportgrid.h"
#include "sales/salerecordstatements.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

TForm_xs *Form_xs = nullptr;

namespace {

const QString kRemarkStart = QStringLiteral("备注：");
constexpr int kListLeft = 215;

Query *salesQuery()
{
    return Form_sql->ADOQuery_xs;
}

// The debts window made with the screen and never shown goes with it.
void dropHiddenDebtsWindow()
{
    if (Form_qk && !Form_qk->isVisible())
        delete Form_qk;
}

} // namespace

TForm_xs::TForm_xs(QWidget *parent) : ListScreen(parent)
{
    setObjectName(QStringLiteral("Form_xs"));
    setWindowTitle(QStringLiteral("销售记录"));
    resize(1140, 769);

    GroupBox1 = FillWithGroupBox(this, "GroupBox1");
    GroupBox2 = MakeGroupBox(GroupBox1, "GroupBox2", {5, 10, 201, 750});

    int top = 20;
    const int step = 31;
    LabeledEdit1 = MakeField(GroupBox2, "LabeledEdit1", QStringLiteral("编号："), top, false);
    ComboBox9 = MakeChoice(GroupBox2, "ComboBox9", QStringLiteral("毛/净茶："), top += step, kRawNetKinds,
                           QStringLiteral("净茶"));
    ComboBox1 = MakeChoice(GroupBox2, "ComboBox1", QStringLiteral("品种："), top += step, {}, {});
    ComboBox3 = MakeChoice(GroupBox2, "ComboBox3", QStringLiteral("产地："), top += step, {}, {});
    ComboBox5 = MakeChoice(GroupBox2, "ComboBox5", QStringLiteral("客户："), top += step, {}, {});
    ComboBox6 = MakeChoice(GroupBox2, "ComboBox6", QStringLiteral("客户类型："), top += step,
                           {QStringLiteral("批发客户"), QStringLiteral("零售客户")}, QStringLiteral("批发客户"));
    auto *dateLabel = new QLabel(QStringLiteral("销售日期："), GroupBox2);
    dateLabel->setGeometry(8, top += step, 70, 26);
    DateTimePicker1 = MakeDatePicker(GroupBox2, "DateTimePicker1");
    DateTimePicker1->setGeometry(82, top, 111, 26);
    LabelFor(dateLabel, DateTimePicker1);
    LabeledEdit2 = MakeField(GroupBox2, "LabeledEdit2", QStringLiteral("出售单价："), top += step, true);
    LabeledEdit7 = MakeField(GroupBox2, "LabeledEdit7", QStringLiteral("销售重量："), top += step, true, {}, 155);
    SpeedButton1 = MakeToolButton(GroupBox2, "SpeedButton1", QStringLiteral("="), {165, top, 28, 26});
    LabeledEdit8 = MakeField(GroupBox2, "LabeledEdit8", QStringLiteral("总金额："), top += step, false);
    LabeledEdit3 = MakeField(GroupBox2, "LabeledEdit3", QStringLiteral("实收款："), top += step, true);
    for (LabeledEdit *e : {LabeledEdit2, LabeledEdit7, LabeledEdit8, LabeledEdit3})
        InstallNumericFilter(e->Edit());
    top += step + 4;
    Button2 = MakeButton(GroupBox2, "Button2", QStringLiteral("修改(&E)"), {8, top, 88, 30});
    Button5 = MakeButton(GroupBox2, "Button5", QStringLiteral("删除(&D)"), {105, top, 88, 30});
    Memo2 = new QPlainTextEdit(kRemarkStart, GroupBox2);
    TabThroughRemark(Memo2);
    Memo2->setObjectName(QStringLiteral("Memo2"));
    Memo2->setGeometry(8, top += 40, 185, 100);
    NameFor(Memo2, QStringLiteral("备注"));

    ComboBox7 = new QComboBox(GroupBox1);
    ComboBox7->setObjectName(QStringLiteral("ComboBox7"));
    ComboBox7->addItems({QStringLiteral("全部"), QStringLiteral("编号"), QStringLiteral("品种"), QStringLiteral("产地"),
                         QStringLiteral("日期"), QStringLiteral("客户")});
    ComboBox7->setGeometry(kListLeft, 12, 83, 26);
    Edit2 = new QLineEdit(GroupBox1);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setGeometry(kListLeft + 87, 12, 150, 26);
    DateTimePicker2 = MakeDatePicker(GroupBox1, "DateTimePicker2");
    DateTimePicker2->setGeometry(kListLeft + 87, 12, 150, 26);
    Button3 = MakeButton(GroupBox1, "Button3", QStringLiteral("查询"), {kListLeft + 242, 10, 75, 30});
    Button1 = MakeButton(GroupBox1, "Button1", QStringLiteral("导出"), {1050, 10, 75, 30});
    Filter = new FilterBar(ComboBox7, Edit2, DateTimePicker2, Button3, this);
    Filter->SetDateItems({4});

    DBGrid1 = new DBGrid(GroupBox1);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setGeometry(kListLeft, 45, 910, 700);
    const QString kg = QStringLiteral("0.00, Kg"), money = QStringLiteral("￥,0.00");
    DBGrid1->SetColumns({MakeColumn(QStringLiteral("序号"), {}, 40), MakeColumn(QStringLiteral("编号")),
                         MakeColumn(QStringLiteral("毛净茶")), MakeColumn(QStringLiteral("品种")),
                         MakeColumn(QStringLiteral("产地")), MakeColumn(QStringLiteral("客户")),
                         MakeColumn(QStringLiteral("客户类型")), WithTotalText(MakeColumn(QStringLiteral("单价"), money)),
                         WithSum(MakeColumn(QStringLiteral("重量"), kg), kg),
                         WithSum(MakeColumn(QStringLiteral("总金额"), money), money),
                         WithSum(MakeColumn(QStringLiteral("实收款"), money), money), MakeColumn(QStringLiteral("日期")),
                         MakeColumn(QStringLiteral("备注"))});
    DBGrid1->SetFooterVisible(true);

    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    D2 = AddMenuItem(PopupMenu2, "D2", QStringLiteral("删除(&D)"), [b = Button5] { b->click(); });
    N10 = AddMenuItem(PopupMenu2, "N10", QStringLiteral("欠款"), [this] { N10Click(); });
    N2 = PopupMenu2->addSeparator();
    N2->setObjectName(QStringLiteral("N2"));
    N3 = Filter->AddReloadItem(PopupMenu2, QStringLiteral("N3"));
    N4 = Filter->AddFilterItem(PopupMenu2, QStringLiteral("N4"), QStringLiteral("筛选此编号"), 1,
                               [this] { return LabeledEdit1->text(); });
    N5 = Filter->AddFilterItem(PopupMenu2, QStringLiteral("N5"), QStringLiteral("筛选此品种"), 2,
                               [this] { return ComboBox1->currentText(); });
    N6 = Filter->AddFilterItem(PopupMenu2, QStringLiteral("N6"), QStringLiteral("筛选此产地"), 3,
                               [this] { return ComboBox3->currentText(); });
    N9 = Filter->AddFilterItem(PopupMenu2, QStringLiteral("N9"), QStringLiteral("筛选此日期"), 4,
                               [this] { return DateToStr(DateTimePicker1->date()); });
    N1 = Filter->AddFilterItem(PopupMenu2, QStringLiteral("N1"), QStringLiteral("筛选此客户"), 5,
                               [this] { return ComboBox5->currentText(); });
    AttachPopup(DBGrid1, PopupMenu2);

    connect(DBGrid1, &DBGrid::CellClick, this, &TForm_xs::DBGrid1CellClick);
    connect(SpeedButton1, &QToolButton::clicked, this, &TForm_xs::SpeedButton1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm_xs::Button2Click);
    connect(Button5, &QPushButton::clicked, this, &TForm_xs::Button5Click);
    connect(Button3, &QPushButton::clicked, this, &TForm_xs::Button3Click);
    connect(Button1, &QPushButton::clicked, this, &TForm_xs::Button1Click);
    connect(ComboBox7, &QComboBox::currentIndexChanged, this, &TForm_xs::ComboBox7Click);

    SetUsedQueries({Form_sql->ADOQuery_xs});
    AddGrid(DBGrid1);
    PrepareForm(this);
}

TForm_xs::~TForm_xs()
{
    dropHiddenDebtsWindow(); // also when the main window goes first
    if (Form_xs == this)
        Form_xs = nullptr;
}

void TForm_xs::FormClose()
{
    dropHiddenDebtsWindow();
}

void TForm_xs::FormPaint()
{
    const int h = GroupBox1->height();
    GroupBox2->setGeometry(5, 10, 201, qMax(200, h - 15));
    Memo2->resize(Memo2->width(), qMax(30, GroupBox2->height() - Memo2->y() - 10));
    const int width = qMax(300, GroupBox1->width() - kListLeft - 10);
    DBGrid1->setGeometry(kListLeft, 45, width, qMax(100, h - 55));
    Button1->move(kListLeft + width - Button1->width(), 10);
}

void TForm_xs::FormShow()
{
    DateTimePicker1->setDate(QDate::currentDate());
    Query *q = salesQuery();
    for (QComboBox *box : {ComboBox1, ComboBox3, ComboBox5})
        box->clear();
    FillChoice(ComboBox1, q, QStringLiteral("select 品种 from 品种管理"));
    FillChoice(ComboBox3, q, QStringLiteral("select 产地 from 产地管理"));
    // Every contact, as the front desk offers them: a sale may name any of them as its buyer.
    FillChoice(ComboBox5, q, QStringLiteral("select 名称 from 通讯管理"));
    DBGrid1->SetQuery(q);
    q->Reopen(SaleRecordFirstStatement());
}

void TForm_xs::DBGrid1CellClick()
{
    Silently([this] {
        m_saleId = -1;
        const Query *q = salesQuery();
        if (q->IsEmpty())
            return;
        auto text = [q](const char *name) { return q->FieldByName(QString::fromUtf8(name)).AsString(); };
        LabeledEdit1->setText(text("编号"));
        ComboBox1->setCurrentText(text("品种"));
        ComboBox3->setCurrentText(text("产地"));
        ComboBox5->setCurrentText(text("客户"));
        ComboBox6->setCurrentText(text("客户类型"));
        LabeledEdit2->setText(text("单价"));
        LabeledEdit7->setText(text("重量"));
        LabeledEdit8->setText(text("总金额"));
        Memo2->setPlainText(text("备注"));
        LabeledEdit3->setText(text("实收款"));
        ComboBox9->setCurrentText(text("毛净茶"));
        if (const QDate d = StrToDate(text("日期").left(10)); d.isValid())
            DateTimePicker1->setDate(d);
        m_saleId = q->CurrentKey();
    });
}

void TForm_xs::SpeedButton1Click()
{
    // Only the arithmetic: a correction never looks at the lot's stock.
    const QString problem = SaleRecordPricingProblem(LabeledEdit2->text(), LabeledEdit7->text());
    if (!problem.isEmpty()) {
        Dialogs::Notice(this, problem);
        return;
    }
    LabeledEdit8->setText(SaleRecordTotal(LabeledEdit2->text(), LabeledEdit7->text()));
}

SaleRecordFields TForm_xs::fields() const
{
    SaleRecordFields f;
    f.rawNet = ComboBox9->currentText();
    f.variety = ComboBox1->currentText();
    f.origin = ComboBox3->currentText();
    f.customer = ComboBox5->currentText();
    f.customerType = ComboBox6->currentText();
    f.date = DateTimePicker1->date();
    f.unitPrice = LabeledEdit2->text();
    f.weight = LabeledEdit7->text();
    f.amount = LabeledEdit8->text();
    f.received = LabeledEdit3->text();
    f.remark = Memo2->toPlainText();
    return f;
}

void TForm_xs::Button2Click()
{
    Guarded(this, [this] {
        if (!Dialogs::RowLoaded(this, m_saleId >= 0))
            return;
        const SaleRecordFields f = fields();
        if (const QString problem = SaleRecordInputProblem(f); !problem.isEmpty()) {
            Dialogs::Notice(this, problem);
            return;
        }
        if (!Dialogs::Confirm(this, QStringLiteral("是否确定修改此销售记录!")))
            return;
        const RowWrite done =
            RunSQLOnRowOrReport(SaleRecordUpdateStatement(f, m_saleId), Form_sql->ADOConnection1, this);
        if (done == RowWrite::NoRow)
            m_saleId = -1;
        if (done != RowWrite::Refused)
            salesQuery()->Requery();
    });
}

void TForm_xs::Button5Click()
{
    Guarded(this, [this] {
        if (!Dialogs::RowLoaded(this, m_saleId >= 0))
            return;
        if (!Dialogs::Confirm(this, QStringLiteral("是否确定删除此销售记录!")))
            return;
        const RowWrite done = RunSQLOnRowOrReport(SaleRecordDeleteStatement(m_saleId), Form_sql->ADOConnection1, this);
        if (done == RowWrite::Refused)
            return;
        m_saleId = -1;
        if (done == RowWrite::Done) {
            for (LabeledEdit *e : {LabeledEdit1, LabeledEdit2, LabeledEdit7, LabeledEdit8})
                e->setText(QString());
            Memo2->clear();
        }
        salesQuery()->Requery();
    });
}

void TForm_xs::ComboBox7Click()
{
    Edit2->clear();
    if (Filter->DateChosen())
        DateTimePicker2->setDate(QDate::currentDate());
}

void TForm_xs::Button3Click()
{
    DBGrid1->SetColumnWidth(QStringLiteral("序号"), 30);
    const QString sql = SaleRecordListStatement(Filter->Choice(), Edit2->text(), DateTimePicker2->date());
    if (Filter->Choice() != 0)
        Edit2->clear();
    // A statement the engine refuses leaves the list empty, without a word.
    Query *q = salesQuery();
    Silently([&] { q->Reopen(sql); });
}

void TForm_xs::N10Click()
{
    Guarded(this, [this] {
        const QString customer = ComboBox5->currentText();
        const QDate date = DateTimePicker1->date();
        const QString owed = SaleDebtAmount(LabeledEdit8->text(), LabeledEdit3->text());
        // The window made with this screen, or a fresh one once that has been closed.
        if (!Form_qk)
            Form_qk = new TForm_qk();
        TForm_qk *debts = Form_qk;
        debts->show();
        debts->raise();
        debts->activateWindow();
        // After its own show handler, which fills the boxes afresh.
        debts->PresetDebt(customer, date, owed);
    });
}

void TForm_xs::Button1Click()
{
    Guarded(this, [this] {
        if (ExportGrid(DBGrid1, Form_sql->SaveDialog1, this))
            Dialogs::Notice(this, QStringLiteral("导出成功!"));
    });
}
