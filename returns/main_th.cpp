#include "returns/main_th.h"

#include "datalayer/clientstate.h"
#include "datalayer/labelfor.h"
#include "datalayer/dbgrid.h"
#include "datalayer/dialogs.h"
#include "datalayer/filterbar.h"
#include "datalayer/formparts.h"
#include "datalayer/guards.h"
#include "datalayer/labelededit.h"
#include "datalayer/numbertext.h"
#include "datalayer/numerickeyfilter.h"
#include "datalayer/query.h"
#include "datalayer/sql_ado_conn.h"
#include "datalayer/sysfun.h"
#include "reporting/exportgrid.h"
#include "returns/returnstatements.h"

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
#include <QVBoxLayout>

TForm_th *Form_th = nullptr;
QString TForm_th::s_returnId;
QString TForm_th::s_returnVariety;

namespace {

const QString kRemarkStart = QStringLiteral("备注：");
constexpr int kListLeft = 210;

} // namespace

TForm_th::TForm_th(QWidget *parent) : ListScreen(parent)
{
    setObjectName(QStringLiteral("Form_th"));
    setWindowTitle(QStringLiteral("退货管理"));
    resize(1140, 769);

    GroupBox1 = FillWithGroupBox(this, "GroupBox1");

    GroupBox2 = MakeGroupBox(GroupBox1, "GroupBox2", {0, 0, 201, 769});

    int top = 20;
    const int step = 31;
    LabeledEdit3 = MakeField(GroupBox2, "LabeledEdit3", QStringLiteral("编号："), top, false, {}, 155);
    SpeedButton2 = MakeToolButton(GroupBox2, "SpeedButton2", QStringLiteral("查"), {165, top, 28, 26});
    LabeledEdit5 = MakeField(GroupBox2, "LabeledEdit5", QStringLiteral("品种："), top += step, false);
    LabeledEdit9 = MakeField(GroupBox2, "LabeledEdit9", QStringLiteral("供应商："), top += step, false);
    LabeledEdit7 = MakeField(GroupBox2, "LabeledEdit7", QStringLiteral("总重量："), top += step, false, QStringLiteral("0"));
    LabeledEdit4 = MakeField(GroupBox2, "LabeledEdit4", QStringLiteral("剩余重量："), top += step, false);
    LabeledEdit13 = MakeField(GroupBox2, "LabeledEdit13", QStringLiteral("入库日期："), top += step, false);
    LabeledEdit1 = MakeField(GroupBox2, "LabeledEdit1", QStringLiteral("毛茶价："), top += step, false, QStringLiteral("0"));
    auto *bevel = new QFrame(GroupBox2);
    bevel->setObjectName(QStringLiteral("Bevel1"));
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(8, top += step, 185, 6);
    auto *label6 = new QLabel(QStringLiteral("毛净茶："), GroupBox2);
    label6->setObjectName(QStringLiteral("Label6"));
    label6->setGeometry(8, top += 12, 70, 26);
    ComboBox6 = new QComboBox(GroupBox2);
    ComboBox6->setObjectName(QStringLiteral("ComboBox6"));
    ComboBox6->setEditable(true);
    ComboBox6->addItems({QStringLiteral("毛茶"), QStringLiteral("净茶")});
    ComboBox6->setCurrentText(QStringLiteral("毛茶"));
    ComboBox6->setGeometry(82, top, 111, 26);
    LabelFor(label6, ComboBox6);
    LabeledEdit6 = MakeField(GroupBox2, "LabeledEdit6", QStringLiteral("经办人："), top += step, true);
    LabeledEdit2 = MakeField(GroupBox2, "LabeledEdit2", QStringLiteral("退回重量："), top += step, true, QStringLiteral("0"), 155);
    LabeledEdit2->EditLabel()->setStyleSheet(QStringLiteral("color: red"));
    SpeedButton1 = MakeToolButton(GroupBox2, "SpeedButton1", QStringLiteral("="), {165, top, 28, 26});
    LabeledEdit10 = MakeField(GroupBox2, "LabeledEdit10", QStringLiteral("退回金额："), top += step, true);
    auto *label2 = new QLabel(QStringLiteral("退回日期："), GroupBox2);
    label2->setObjectName(QStringLiteral("Label2"));
    label2->setGeometry(8, top += step, 70, 26);
    DateTimePicker2 = MakeDatePicker(GroupBox2, "DateTimePicker2");
    DateTimePicker2->setGeometry(82, top, 111, 26);
    SetTextColour(DateTimePicker2, Qt::red);
    LabelFor(label2, DateTimePicker2);
    Button2 = MakeButton(GroupBox2, "Button2", QStringLiteral("退货(&A)"), {8, top += step + 4, 88, 30});
    Button3 = MakeButton(GroupBox2, "Button3", QStringLiteral("撤回(&D)"), {105, top, 88, 30});
    Memo1 = new QPlainTextEdit(kRemarkStart, GroupBox2);
    TabThroughRemark(Memo1);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(8, top += 40, 185, 100);
    NameFor(Memo1, QStringLiteral("备注"));
    InstallNumericFilter(LabeledEdit2->Edit());
    InstallNumericFilter(LabeledEdit10->Edit());

    // Upper list: every lot.
    ComboBox7 = new QComboBox(GroupBox1);
    ComboBox7->setObjectName(QStringLiteral("ComboBox7"));
    ComboBox7->addItems({QStringLiteral("全部"), QStringLiteral("编号"), QStringLiteral("品种"), QStringLiteral("供应商"),
                         QStringLiteral("入库日期")});
    ComboBox7->setGeometry(300, 20, 110, 26);
    Edit2 = new QLineEdit(GroupBox1);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setGeometry(414, 20, 150, 26);
    DateTimePicker1 = MakeDatePicker(GroupBox1, "DateTimePicker1");
    DateTimePicker1->setGeometry(414, 20, 150, 26);
    Button4 = MakeButton(GroupBox1, "Button4", QStringLiteral("查询"), {570, 18, 75, 30});
    LotFilter = new FilterBar(ComboBox7, Edit2, DateTimePicker1, Button4, this);
    LotFilter->SetDateItems({4});
    LotFilter->SetDatePosition({414, 20});
    Label3 = new QLabel(QStringLiteral("库存中所有商品：↓"), GroupBox1);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setGeometry(kListLeft, 50, 200, 18);
    DBGrid1 = new DBGrid(GroupBox1);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setGeometry(kListLeft, 68, 920, 350);
    const QString kg = QStringLiteral("0.00, Kg");
    DBGrid1->SetColumns({MakeColumn(QStringLiteral("序号"), {}, 40), MakeColumn(QStringLiteral("编号")),
                         MakeColumn(QStringLiteral("毛净茶")), MakeColumn(QStringLiteral("品种")), MakeColumn(QStringLiteral("供应商")),
                         MakeColumn(QStringLiteral("毛茶价")), MakeColumn(QStringLiteral("总重量"), kg),
                         MakeColumn(QStringLiteral("总金额")), MakeColumn(QStringLiteral("剩余重量"), kg),
                         MakeColumn(QStringLiteral("入库日期")), MakeColumn(QStringLiteral("经办人")), MakeColumn(QStringLiteral("配茶"))});
    DBGrid1->SetFooterVisible(false);

    // Lower list: every return, with its totals.
    ComboBox1 = new QComboBox(GroupBox1);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->addItems({QStringLiteral("全部"), QStringLiteral("编号"), QStringLiteral("品种"), QStringLiteral("供应商"),
                         QStringLiteral("经办人"), QStringLiteral("退回日期")});
    ComboBox1->setGeometry(300, 428, 110, 26);
    Edit1 = new QLineEdit(GroupBox1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(414, 428, 150, 26);
    DateTimePicker3 = MakeDatePicker(GroupBox1, "DateTimePicker3");
    DateTimePicker3->setGeometry(414, 428, 150, 26);
    Button5 = MakeButton(GroupBox1, "Button5", QStringLiteral("查询"), {570, 426, 75, 30});
    Button1 = MakeButton(GroupBox1, "Button1", QStringLiteral("导出"), {650, 426, 75, 30});
    ReturnFilter = new FilterBar(ComboBox1, Edit1, DateTimePicker3, Button5, this);
    ReturnFilter->SetDateItems({5});
    ReturnFilter->SetDatePosition({414, 428});
    Label1 = new QLabel(QStringLiteral("已经退回的商品：↓"), GroupBox1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(kListLeft, 458, 200, 18);
    DBGrid2 = new DBGrid(GroupBox1);
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    DBGrid2->setGeometry(kListLeft, 476, 920, 280);
    DBGrid2->SetColumns({MakeColumn(QStringLiteral("序号"), {}, 40), MakeColumn(QStringLiteral("编号")), MakeColumn(QStringLiteral("品种")),
                         MakeColumn(QStringLiteral("供应商")), WithTotalText(MakeColumn(QStringLiteral("毛净茶"))),
                         WithSum(MakeColumn(QStringLiteral("退回重量"), kg), kg),
                         WithSum(MakeColumn(QStringLiteral("退回金额")), QStringLiteral("￥,0.00")), MakeColumn(QStringLiteral("退回日期")),
                         MakeColumn(QStringLiteral("经办人"))});
    DBGrid2->SetFooterVisible(true);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    N2 = LotFilter->AddReloadItem(PopupMenu1, QStringLiteral("N2"));
    N3 = LotFilter->AddFilterItem(PopupMenu1, QStringLiteral("N3"), QStringLiteral("筛选此编号"), 1,
                                  [this] { return LabeledEdit3->text(); });
    N4 = LotFilter->AddFilterItem(PopupMenu1, QStringLiteral("N4"), QStringLiteral("筛选此品种"), 2,
                                  [this] { return LabeledEdit5->text(); });
    N6 = LotFilter->AddFilterItem(PopupMenu1, QStringLiteral("N6"), QStringLiteral("筛选此供应商"), 3,
                                  [this] { return LabeledEdit9->text(); });
    N8 = LotFilter->AddFilterItem(PopupMenu1, QStringLiteral("N8"), QStringLiteral("筛选此入库日期"), 4,
                                  [this] { return LabeledEdit13->text(); });

    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    D1 = AddMenuItem(PopupMenu2, "D1", QStringLiteral("撤回(&D)"), [b = Button3] { b->click(); });
    N1 = PopupMenu2->addSeparator();
    N1->setObjectName(QStringLiteral("N1"));
    N5 = ReturnFilter->AddReloadItem(PopupMenu2, QStringLiteral("N5"));
    N7 = ReturnFilter->AddFilterItem(PopupMenu2, QStringLiteral("N7"), QStringLiteral("筛选此编号"), 1,
                                     [this] { return LabeledEdit3->text(); });
    N9 = ReturnFilter->AddFilterItem(PopupMenu2, QStringLiteral("N9"), QStringLiteral("筛选此品种"), 2,
                                     [] { return s_returnVariety; });
    N11 = ReturnFilter->AddFilterItem(PopupMenu2, QStringLiteral("N11"), QStringLiteral("筛选此供应商"), 3,
                                      [this] { return LabeledEdit9->text(); });
    N12 = ReturnFilter->AddFilterItem(PopupMenu2, QStringLiteral("N12"), QStringLiteral("筛选此经办人"), 4,
                                      [this] { return LabeledEdit6->text(); });
    N13 = ReturnFilter->AddFilterItem(PopupMenu2, QStringLiteral("N13"), QStringLiteral("筛选此退回日期"), 5,
                                      [this] { return DateToStr(DateTimePicker2->date()); });
    AttachPopup(DBGrid1, PopupMenu1);
    AttachPopup(DBGrid2, PopupMenu2);

    connect(DBGrid1, &DBGrid::CellClick, this, &TForm_th::DBGrid1CellClick);
    connect(DBGrid2, &DBGrid::CellClick, this, &TForm_th::DBGrid2CellClick);
    connect(SpeedButton1, &QToolButton::clicked, this, &TForm_th::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TForm_th::SpeedButton2Click);
    connect(Button2, &QPushButton::clicked, this, &TForm_th::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm_th::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TForm_th::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TForm_th::Button5Click);
    connect(Button1, &QPushButton::clicked, this, &TForm_th::Button1Click);

    SetUsedQueries({Form_sql->ADOQuery_tj, Form_sql->ADOQuery1});
    AddGrid(DBGrid1);
    AddGrid(DBGrid2);
    PrepareForm(this);
    DateTimePicker2->setDate(QDate::currentDate());
}

TForm_th::~TForm_th()
{
    if (Form_th == this)
        Form_th = nullptr;
}

void TForm_th::FormPaint()
{
    const int h = GroupBox1->height();
    const int w = qMax(200, GroupBox1->width() - kListLeft - 10);
    GroupBox2->setGeometry(0, 0, 201, h);
    Memo1->resize(Memo1->width(), qMax(30, h - Memo1->y() - 30));
    DBGrid1->resize(w, DBGrid1->height());
    DBGrid2->resize(w, qMax(60, h - DBGrid2->y() - 10));
}

void TForm_th::FormShow()
{
    forgetReturn(); // a return clicked in a window closed since is not on screen
    LabeledEdit6->setText(Client().currentUser);
    DBGrid1->SetQuery(Form_sql->ADOQuery1);
    DBGrid2->SetQuery(Form_sql->ADOQuery_tj);
    Query *lots = Form_sql->ADOQuery1;
    lots->Reopen(QStringLiteral("Select ") + ReturnLotColumnList() + QStringLiteral(" From 库存管理 Order By ID DESC"));
    Query *returns = Form_sql->ADOQuery_tj;
    returns->Reopen(ReturnsListStatement(0, {}, {}));
}

void TForm_th::DBGrid1CellClick()
{
    Silently([this] {
        LabeledEdit2->setText(QString());
        LabeledEdit10->setText(QString());
        Query *q = Form_sql->ADOQuery1;
        m_lotId = q->CurrentKey();
        m_lotPicked = m_lotId >= 0;
        LabeledEdit3->setText(q->FieldByName(QStringLiteral("编号")).AsString());
        ComboBox6->setCurrentText(q->FieldByName(QStringLiteral("毛净茶")).AsString());
        LabeledEdit5->setText(q->FieldByName(QStringLiteral("品种")).AsString());
        LabeledEdit9->setText(q->FieldByName(QStringLiteral("供应商")).AsString());
        LabeledEdit1->setText(q->FieldByName(QStringLiteral("毛茶价")).AsString());
        LabeledEdit7->setText(q->FieldByName(QStringLiteral("总重量")).AsString());
        LabeledEdit4->setText(q->FieldByName(QStringLiteral("剩余重量")).AsString());
        LabeledEdit13->setText(q->FieldByName(QStringLiteral("入库日期")).AsString());
    });
}

void TForm_th::DBGrid2CellClick()
{
    Silently([this] {
        Query *q = Form_sql->ADOQuery_tj;
        if (q->IsEmpty())
            return;
        s_returnId = q->FieldByName(QStringLiteral("ID")).AsString();
        s_returnVariety = q->FieldByName(QStringLiteral("品种")).AsString();
        LabeledEdit3->setText(q->FieldByName(QStringLiteral("编号")).AsString());
        ComboBox6->setCurrentText(q->FieldByName(QStringLiteral("毛净茶")).AsString());
        LabeledEdit2->setText(q->FieldByName(QStringLiteral("退回重量")).AsString());
        LabeledEdit10->setText(q->FieldByName(QStringLiteral("退回金额")).AsString());
        const QDate d = q->FieldByName(QStringLiteral("退回日期")).AsDateTime().date();
        if (d.isValid())
            DateTimePicker2->setDate(d);
        Memo1->setPlainText(q->FieldByName(QStringLiteral("备注")).AsString());

        m_lotPicked = false;
        Query *lot = Form_sql->ADOQuery_tj1;
        lot->Reopen(ReturnLotOfReturnStatement(LabeledEdit3->text(), q->FieldByName(QStringLiteral("库存ID")).AsString()));
        const bool found = !lot->IsEmpty();
        m_lotId = found ? lot->CurrentKey() : -1;
        auto value = [&](const char *name) {
            return found ? lot->FieldByName(QString::fromUtf8(name)).AsString() : QString();
        };
        LabeledEdit3->setText(found ? value("编号") : QString());
        LabeledEdit5->setText(value("品种"));
        LabeledEdit9->setText(value("供应商"));
        LabeledEdit1->setText(value("毛茶价"));
        LabeledEdit7->setText(value("总重量"));
        LabeledEdit4->setText(value("剩余重量"));
        LabeledEdit13->setText(value("入库日期"));
    });
}

void TForm_th::SpeedButton1Click()
{
    Guarded(this, [this] {
        const QString problem = ReturnPricingProblem(LabeledEdit1->text(), LabeledEdit2->text());
        if (!problem.isEmpty()) {
            Dialogs::Notice(this, problem);
            return;
        }
        LabeledEdit10->setText(
            FormatFloat(QStringLiteral("0.00"), StrToFloat(LabeledEdit1->text()) * StrToFloat(LabeledEdit2->text())));
    });
}

void TForm_th::SpeedButton2Click()
{
    try {
        Query *q = Form_sql->ADOQuery1;
        q->Reopen(ReturnSingleLotStatement(LabeledEdit3->text()));
    } catch (const std::exception &) {
        Dialogs::Notice(nullptr, QStringLiteral("请确认编号是否正确!"), QStringLiteral("提示"));
    }
}

void TForm_th::Button2Click()
{
    Guarded(this, [this] {
        QString problem = ReturnInputProblem(LabeledEdit4->text(), LabeledEdit2->text(), LabeledEdit10->text());
        if (problem.isEmpty() && m_lotId < 0)
            problem = Dialogs::kChooseRow;
        if (!problem.isEmpty()) {
            Dialogs::Notice(this, problem);
            return;
        }
        if (!Dialogs::Confirm(this, QStringLiteral("是否确定退回此商品!")))
            return;
        ReturnFields r;
        r.lotNumber = LabeledEdit3->text();
        r.variety = LabeledEdit5->text();
        r.supplier = LabeledEdit9->text();
        r.rawNet = ComboBox6->currentText();
        r.weight = LabeledEdit2->text();
        r.date = DateTimePicker2->date();
        r.amount = LabeledEdit10->text();
        r.handler = LabeledEdit6->text();
        r.remark = Memo1->toPlainText();
        const double remaining = StrToFloat(LabeledEdit4->text()) - StrToFloat(r.weight);
        Connection &conn = Form_sql->ADOConnection1;
        if (!RecordReturn(r, m_lotId, remaining, conn)) {
            Dialogs::ShowError(this, conn.LastError());
            return;
        }
        Form_sql->ADOQuery1->Requery();
        clearAfterWrite();
        Form_sql->ADOQuery_tj->Requery();
    });
}

void TForm_th::Button3Click()
{
    Guarded(this, [this] {
        Connection &conn = Form_sql->ADOConnection1;
        const Withdrawal w = PlanWithdrawal(s_returnId, m_lotPicked ? m_lotId : -1, conn);
        if (!w.problem.isEmpty()) {
            Dialogs::Notice(this, w.problem);
            if (!w.lotNumber.isEmpty()) {
                // The lots to pick from, in the list above.
                Query *lots = Form_sql->ADOQuery1;
                lots->Reopen(ReturnSingleLotStatement(w.lotNumber));
            }
            return;
        }
        if (!Dialogs::Confirm(this, QStringLiteral("是否确定删除此退回商品!")))
            return;
        if (!Withdraw(w, conn)) {
            Dialogs::ShowError(this, conn.LastError());
            return;
        }
        clearAfterWrite();
        Form_sql->ADOQuery1->Requery();
        Form_sql->ADOQuery_tj->Requery();
    });
}

void TForm_th::clearAfterWrite()
{
    for (LabeledEdit *e : {LabeledEdit3, LabeledEdit5, LabeledEdit9, LabeledEdit7, LabeledEdit4, LabeledEdit13,
                           LabeledEdit1, LabeledEdit6, LabeledEdit2, LabeledEdit10})
        e->setText(QString());
    Memo1->setPlainText(kRemarkStart);
    m_lotId = -1;
    m_lotPicked = false;
    forgetReturn();
}

void TForm_th::forgetReturn()
{
    s_returnId.clear();
    s_returnVariety.clear();
}

void TForm_th::Button4Click()
{
    Guarded(this, [this] {
        const QString sql = ReturnLotListStatement(LotFilter->Choice(), Edit2->text(), DateTimePicker1->date());
        Edit2->clear();
        Query *q = Form_sql->ADOQuery1;
        q->Reopen(sql);
    });
}

void TForm_th::Button5Click()
{
    Guarded(this, [this] {
        const QString sql = ReturnsListStatement(ReturnFilter->Choice(), Edit1->text(), DateTimePicker3->date());
        Edit1->clear();
        Query *q = Form_sql->ADOQuery_tj;
        q->Reopen(sql);
    });
}

void TForm_th::Button1Click()
{
    Guarded(this, [this] {
        if (ExportGrid(DBGrid2, Form_sql->SaveDialog1, this))
            Dialogs::Notice(this, QStringLiteral("导出成功!"));
    });
}
