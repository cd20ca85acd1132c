#include "sales/main_qtxs.h"

#include "datalayer/dbgrid.h"
#include "datalayer/labelfor.h"
#include "datalayer/dialect.h"
#include "datalayer/dialogs.h"
#include "datalayer/filterbar.h"
#include "datalayer/datepicker.h"
#include "datalayer/formparts.h"
#include "datalayer/guards.h"
#include "datalayer/labelededit.h"
#include "datalayer/numbertext.h"
#include "datalayer/numerickeyfilter.h"
#include "datalayer/query.h"
#include "datalayer/sql_ado_conn.h"
#include "datalayer/sysfun.h"
#include "sales/salestatements.h"

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

TForm_qtxs *Form_qtxs = nullptr;

namespace {

const QString kRemarkStart = QStringLiteral("备注：");

} // namespace

TForm_qtxs::TForm_qtxs(QWidget *parent) : ListScreen(parent)
{
    setObjectName(QStringLiteral("Form_qtxs"));
    setWindowTitle(QStringLiteral("前台销售"));
    resize(1000, 640);

    GroupBox1 = FillWithGroupBox(this, "GroupBox1");

    GroupBox2 = MakeGroupBox(GroupBox1, "GroupBox2", {5, 10, 201, 600});

    int top = 20;
    const int step = 31;
    LabeledEdit1 = MakeField(GroupBox2, "LabeledEdit1", QStringLiteral("编号："), top, true, {}, 155);
    SpeedButton2 = MakeToolButton(GroupBox2, "SpeedButton2", QStringLiteral("查"), {165, top, 28, 26});
    LabeledEdit3 = MakeField(GroupBox2, "LabeledEdit3", QStringLiteral("品种："), top += step, false);
    LabeledEdit5 = MakeField(GroupBox2, "LabeledEdit5", QStringLiteral("产地："), top += step, false);
    ComboBox1 = MakeChoice(GroupBox2, "ComboBox1", QStringLiteral("毛/净茶："), top += step,
                       {QStringLiteral("毛茶"), QStringLiteral("净茶")}, QStringLiteral("净茶"));
    ComboBox5 = MakeChoice(GroupBox2, "ComboBox5", QStringLiteral("客户："), top += step, {}, QString());
    ComboBox6 = MakeChoice(GroupBox2, "ComboBox6", QStringLiteral("类型："), top += step,
                       {QStringLiteral("批发客户"), QStringLiteral("零售客户")}, QStringLiteral("零售客户"));
    auto *dateLabel = new QLabel(QStringLiteral("日期："), GroupBox2);
    dateLabel->setGeometry(8, top += step, 70, 26);
    DateTimePicker1 = MakeDatePicker(GroupBox2, "DateTimePicker1");
    DateTimePicker1->setGeometry(82, top, 111, 26);
    LabelFor(dateLabel, DateTimePicker1);
    LabeledEdit2 = MakeField(GroupBox2, "LabeledEdit2", QStringLiteral("单价："), top += step, true);
    LabeledEdit4 = MakeField(GroupBox2, "LabeledEdit4", QStringLiteral("剩余重量："), top += step, false);
    LabeledEdit7 = MakeField(GroupBox2, "LabeledEdit7", QStringLiteral("重量："), top += step, true, {}, 155);
    SpeedButton1 = MakeToolButton(GroupBox2, "SpeedButton1", QStringLiteral("="), {165, top, 28, 26});
    LabeledEdit8 = MakeField(GroupBox2, "LabeledEdit8", QStringLiteral("总金额："), top += step, false);
    LabeledEdit10 = MakeField(GroupBox2, "LabeledEdit10", QStringLiteral("实收款："), top += step, true);
    SetTextColour(LabeledEdit2, Qt::red);
    SetTextColour(LabeledEdit7, Qt::red);
    SetTextColour(LabeledEdit8, Qt::red);
    SetTextColour(LabeledEdit10, QColor(0, 255, 0));
    Button2 = MakeButton(GroupBox2, "Button2", QStringLiteral("出售(&C)"), {50, top += step + 4, 100, 30});
    Memo1 = new QPlainTextEdit(kRemarkStart, GroupBox2);
    TabThroughRemark(Memo1);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(8, top += 40, 185, 100);
    NameFor(Memo1, QStringLiteral("备注"));

    InstallNumericFilter(LabeledEdit2->Edit());
    InstallNumericFilter(LabeledEdit4->Edit());
    InstallNumericFilter(LabeledEdit8->Edit());
    InstallNumericFilter(LabeledEdit10->Edit());
    InstallNumericFilter(LabeledEdit7->Edit(), SpeedButton1);

    ComboBox7 = new QComboBox(GroupBox1);
    ComboBox7->setObjectName(QStringLiteral("ComboBox7"));
    ComboBox7->addItems({QStringLiteral("全部"), QStringLiteral("编号"), QStringLiteral("品种"), QStringLiteral("产地"),
                         QStringLiteral("入库日期")});
    ComboBox7->setGeometry(215, 15, 100, 26);
    Edit2 = new QLineEdit(GroupBox1);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setGeometry(320, 15, 150, 26);
    DateTimePicker3 = new DatePicker(GroupBox1);
    DateTimePicker3->setObjectName(QStringLiteral("DateTimePicker3"));
    DateTimePicker3->setGeometry(320, 15, 150, 26);
    Button3 = MakeButton(GroupBox1, "Button3", QStringLiteral("查询"), {475, 13, 75, 30});
    Filter = new FilterBar(ComboBox7, Edit2, DateTimePicker3, Button3, this);
    Filter->SetDateItems({4});

    DBGrid1 = new DBGrid(GroupBox1);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setGeometry(215, 48, 770, 560);
    std::vector<GridColumn> columns;
    const QString kg = QStringLiteral("0.00, Kg"), money = QStringLiteral("￥,0.00");
    for (const auto &[name, format] : std::vector<std::pair<QString, QString>>{
             {QStringLiteral("序号"), {}},     {QStringLiteral("编号"), {}},     {QStringLiteral("品种"), {}},
             {QStringLiteral("产地"), {}},     {QStringLiteral("毛净茶"), {}},   {QStringLiteral("剩余重量"), kg},
             {QStringLiteral("销售单价"), money}, {QStringLiteral("包装"), {}},  {QStringLiteral("入库日期"), {}},
             {QStringLiteral("经办人"), {}}}) {
        GridColumn c;
        c.fieldName = name;
        c.displayFormat = format;
        columns.push_back(c);
    }
    DBGrid1->SetColumns(columns);
    DBGrid1->SetRowColours(true);
    DBGrid1->SetFooterVisible(false);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu1->addSeparator();
    N7 = Filter->AddReloadItem(PopupMenu1, QStringLiteral("N7"));
    N1 = Filter->AddFilterItem(PopupMenu1, QStringLiteral("N1"), QStringLiteral("筛选此编号"), 1,
                               [this] { return LabeledEdit1->text(); });
    N2 = Filter->AddFilterItem(PopupMenu1, QStringLiteral("N2"), QStringLiteral("筛选此品种"), 2,
                               [this] { return LabeledEdit3->text(); });
    N3 = Filter->AddFilterItem(PopupMenu1, QStringLiteral("N3"), QStringLiteral("筛选此产地"), 3,
                               [this] { return LabeledEdit5->text(); });
    // The date last loaded by a row click stays in the filter's own picker.
    N4 = Filter->AddFilterItem(PopupMenu1, QStringLiteral("N4"), QStringLiteral("筛选此入库日期"), 4,
                               [this] { return DateToStr(DateTimePicker3->date()); });
    AttachPopup(DBGrid1, PopupMenu1);

    connect(SpeedButton2, &QToolButton::clicked, this, &TForm_qtxs::SpeedButton2Click);
    connect(SpeedButton1, &QToolButton::clicked, this, &TForm_qtxs::SpeedButton1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm_qtxs::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm_qtxs::Button3Click);
    connect(ComboBox5, &QComboBox::activated, this, &TForm_qtxs::ComboBox5Click);
    // Enter on a name of the list chooses it; on a walk-in name it leaves the type shown.
    connect(ComboBox5->lineEdit(), &QLineEdit::returnPressed, this, [this] {
        if (ComboBox5->findText(ComboBox5->currentText(), Qt::MatchFixedString) >= 0)
            ComboBox5Click();
    });
    connect(ComboBox7, &QComboBox::currentIndexChanged, this, &TForm_qtxs::ComboBox7Click);
    connect(DBGrid1, &DBGrid::CellClick, this, &TForm_qtxs::DBGrid1CellClick);
    // A number typed by hand no longer names the lot the panel was filled from.
    connect(LabeledEdit1->Edit(), &QLineEdit::textEdited, this, [this] { m_lotId = -1; });

    SetUsedQueries({Form_sql->main_ADOQuery});
    AddGrid(DBGrid1);
    PrepareForm(this);
}

TForm_qtxs::~TForm_qtxs()
{
    if (Form_qtxs == this)
        Form_qtxs = nullptr;
}

void TForm_qtxs::FormPaint()
{
    const int h = GroupBox1->height();
    GroupBox2->setGeometry(5, 10, 201, qMax(100, h - 15));
    Memo1->resize(Memo1->width(), qMax(30, h - Memo1->y() - 30));
    DBGrid1->setGeometry(215, 48, qMax(100, GroupBox1->width() - 220), qMax(100, h - 53));
}

void TForm_qtxs::FormShow()
{
    Query *q = Form_sql->main_ADOQuery;
    ComboBox5->clear();
    q->Reopen(QStringLiteral("select 名称 from 通讯管理"));
    for (int r = 0; r < q->RecordCount(); ++r)
        ComboBox5->addItem(q->Text(r, 0));
    ComboBox5->setCurrentText(QString());
    DateTimePicker1->setDate(QDate::currentDate());
    q->Close();
    DBGrid1->SetQuery(q);
    q->SetSQL(QStringLiteral("select ") + SaleColumnList() + QStringLiteral(" from 库存管理"));
    q->Open();
}

void TForm_qtxs::SpeedButton2Click()
{
    Query *q = Form_sql->main_ADOQuery;
    try {
        q->Reopen(LotLookupStatement(LabeledEdit1->text()));
    } catch (const std::exception &) {
        Dialogs::Notice(nullptr, QStringLiteral("请确认编号是否正确!"), QStringLiteral("提示"));
        return;
    }
    Guarded(this, [&] {
        if (q->IsEmpty()) {
            m_lotId = -1;
            for (LabeledEdit *e : {LabeledEdit1, LabeledEdit3, LabeledEdit5, LabeledEdit2, LabeledEdit4})
                e->setText(QString());
            ComboBox1->setCurrentText(QString());
            return;
        }
        q->First();
        m_lotId = q->CurrentKey();
        LabeledEdit1->setText(q->FieldByName(QStringLiteral("编号")).AsString());
        LabeledEdit3->setText(q->FieldByName(QStringLiteral("品种")).AsString());
        LabeledEdit5->setText(q->FieldByName(QStringLiteral("产地")).AsString());
        ComboBox1->setCurrentText(q->FieldByName(QStringLiteral("毛净茶")).AsString());
        LabeledEdit2->setText(q->FieldByName(QStringLiteral("销售单价")).AsString());
        LabeledEdit4->setText(q->FieldByName(QStringLiteral("剩余重量")).AsString());
    });
}

void TForm_qtxs::DBGrid1CellClick()
{
    Silently([this] {
        Query *q = Form_sql->main_ADOQuery;
        m_lotId = q->CurrentKey();
        LabeledEdit1->setText(q->FieldByName(QStringLiteral("编号")).AsString());
        LabeledEdit3->setText(q->FieldByName(QStringLiteral("品种")).AsString());
        LabeledEdit5->setText(q->FieldByName(QStringLiteral("产地")).AsString());
        ComboBox1->setCurrentText(q->FieldByName(QStringLiteral("毛净茶")).AsString());
        LabeledEdit2->setText(q->FieldByName(QStringLiteral("销售单价")).AsString());
        Memo1->setPlainText(q->FieldByName(QStringLiteral("备注")).AsString());
        LabeledEdit4->setText(q->FieldByName(QStringLiteral("剩余重量")).AsString());
        const QDate d = q->FieldByName(QStringLiteral("入库日期")).AsDateTime().date();
        if (d.isValid())
            DateTimePicker3->setDate(d);
    });
}

void TForm_qtxs::SpeedButton1Click()
{
    Guarded(this, [this] {
        const QString problem = PricingInputProblem(LabeledEdit2->text(), LabeledEdit4->text(), LabeledEdit7->text());
        if (!problem.isEmpty()) {
            Dialogs::Notice(this, problem);
            return;
        }
        const double r = StrToFloat(LabeledEdit4->text());
        const double w = StrToFloat(LabeledEdit7->text());
        if (w > r) {
            Dialogs::Notice(this, kNoStock);
            return;
        }
        const QString total = FormatFloat(QStringLiteral("0.00"), StrToFloat(LabeledEdit2->text()) * w);
        LabeledEdit8->setText(total);
        LabeledEdit10->setText(total);
    });
}

void TForm_qtxs::ComboBox5Click()
{
    Guarded(this, [this] {
        Query *q = Form_sql->ADOQuery_user;
        q->Reopen(QStringLiteral("Select 名称,类型 From 通讯管理 where 名称 =") + QuotedStr(ComboBox5->currentText()));
        ComboBox6->setCurrentText(q->IsEmpty() ? QString() : q->FieldByName(QStringLiteral("类型")).AsString());
        q->Close();
    });
}

void TForm_qtxs::Button2Click()
{
    Guarded(this, [this] {
        if (LabeledEdit1->text().isEmpty() || LabeledEdit7->text().isEmpty() || LabeledEdit8->text().isEmpty()) {
            Dialogs::Notice(nullptr, QStringLiteral("请确认输入完整出售重量与总价等!"), QStringLiteral("提示"));
            return;
        }
        SaleFields sale;
        sale.lotNumber = LabeledEdit1->text();
        sale.variety = LabeledEdit3->text();
        sale.origin = LabeledEdit5->text();
        sale.customer = ComboBox5->currentText();
        sale.customerType = ComboBox6->currentText();
        sale.date = DateTimePicker1->date();
        sale.unitPrice = LabeledEdit2->text();
        sale.weight = LabeledEdit7->text();
        sale.amount = LabeledEdit8->text();
        sale.remark = Memo1->toPlainText();
        sale.rawNet = ComboBox1->currentText();
        sale.received = LabeledEdit10->text();
        QString problem = SaleInputProblem(sale, LabeledEdit4->text());
        if (problem.isEmpty() && m_lotId < 0)
            problem = Dialogs::kChooseRow;
        if (!problem.isEmpty()) {
            Dialogs::Notice(this, problem);
            return;
        }
        const double r = StrToFloat(LabeledEdit4->text());
        const double w = StrToFloat(sale.weight);
        if (w > r) {
            Dialogs::Notice(this, kNoStock);
            return;
        }
        if (!Dialogs::Confirm(this, QStringLiteral("是否确定出售此商品!")))
            return;
        Connection &conn = Form_sql->ADOConnection1;
        if (!RecordSale(sale, m_lotId, r - w, conn)) {
            Dialogs::ShowError(this, conn.LastError());
            return;
        }
        LabeledEdit4->setText(FormatGeneral(r - w));
        Form_sql->main_ADOQuery->Requery();
        clearSale();
    });
}

void TForm_qtxs::clearSale()
{
    for (LabeledEdit *e : {LabeledEdit1, LabeledEdit2, LabeledEdit3, LabeledEdit4, LabeledEdit5, LabeledEdit7,
                           LabeledEdit8, LabeledEdit10})
        e->setText(QString());
    Memo1->clear();
    m_lotId = -1;
}

void TForm_qtxs::ComboBox7Click()
{
    Edit2->clear();
}

void TForm_qtxs::Button3Click()
{
    Guarded(this, [this] {
        Query *q = Form_sql->main_ADOQuery;
        q->Reopen(SaleListStatement(Filter->Choice(), Edit2->text(), DateTimePicker3->date()));
    });
}
