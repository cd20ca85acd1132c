#include "inventory/main_kc.h"

#include "datalayer/dbgrid.h"
#include "datalayer/dialogs.h"
#include "datalayer/filterbar.h"
#include "datalayer/formparts.h"
#include "datalayer/guards.h"
#include "datalayer/inifile.h"
#include "datalayer/labelededit.h"
#include "datalayer/labelfor.h"
#include "datalayer/numbertext.h"
#include "datalayer/numerickeyfilter.h"
#include "datalayer/programfolder.h"
#include "datalayer/query.h"
#include "datalayer/runsql.h"
#include "datalayer/settings.h"
#include "datalayer/sql_ado_conn.h"
#include "datalayer/sysfun.h"
#include "inventory/blendstatements.h"
#include "inventory/main_kc_bc.h"
#include "inventory/stockstatements.h"
#include "reporting/exportgrid.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

TForm_kc *Form_kc = nullptr;

namespace {

const QString kRemarkStart = QStringLiteral("备注：");
const QColor kMaroon(128, 0, 0);

} // namespace

TForm_kc::TForm_kc(QWidget *parent) : ListScreen(parent)
{
    setObjectName(QStringLiteral("Form_kc"));
    setWindowTitle(QStringLiteral("库存管理"));
    resize(1140, 769);

    PageControl1 = FillWithPages(this, {QStringLiteral("库存管理"), QStringLiteral("配茶管理")});
    TabSheet1 = PageControl1->widget(0);
    TabSheet2 = PageControl1->widget(1);

    buildStockTab();
    buildBlendTab();

    SetUsedQueries({Form_sql->ADOQuery1, Form_sql->ADOQuery_xs});
    AddGrid(DBGrid1);
    AddGrid(DBGrid2);
    AddGrid(DBGrid3);
    PrepareForm(this);
    Bevel2->setGeometry(Bevel2->x(), 5, Bevel2->width(), GroupBox1->height() - 10);
    // Three equal columns and a slightly narrower last one, so no scroll bar appears.
    const int quarter = ListView1->width() / 4;
    for (int c = 0; c < 3; ++c)
        ListView1->setColumnWidth(c, quarter);
    ListView1->setColumnWidth(3, quarter - 5);
    DateTimePicker2->setDate(QDate::currentDate());
}

TForm_kc::~TForm_kc()
{
    // The component dialog was made for this screen and goes with it.
    delete Form_bcadd;
    if (Form_kc == this)
        Form_kc = nullptr;
}

void TForm_kc::buildStockTab()
{
    auto *row = new QHBoxLayout(TabSheet1);
    row->setContentsMargins(2, 2, 2, 2);
    GroupBox1 = new QGroupBox;
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setFixedWidth(240);
    row->addWidget(ScrollablePanel(TabSheet1, GroupBox1));
    GroupBox1->installEventFilter(this); // the note box follows the panel's height
    Bevel2 = new QFrame(GroupBox1);
    Bevel2->setObjectName(QStringLiteral("Bevel2"));
    Bevel2->setFrameShape(QFrame::VLine);
    Bevel2->setFrameShadow(QFrame::Sunken);
    Bevel2->setGeometry(233, 5, 4, 690);

    int top = 18;
    const int step = 31;
    RadioButton1 = new QRadioButton(QStringLiteral("毛茶"), GroupBox1);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton1->setGeometry(30, top, 70, 24);
    RadioButton1->setChecked(true);
    RadioButton2 = new QRadioButton(QStringLiteral("净茶"), GroupBox1);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    RadioButton2->setGeometry(110, top, 70, 24);
    LabeledEdit3 = MakeField(GroupBox1, "LabeledEdit3", QStringLiteral("编号："), top += step, false);
    LabeledEdit18 = MakeField(GroupBox1, "LabeledEdit18", QStringLiteral("品种："), top += step, false);
    LabeledEdit19 = MakeField(GroupBox1, "LabeledEdit19", QStringLiteral("产地："), top += step, false);
    LabeledEdit20 = MakeField(GroupBox1, "LabeledEdit20", QStringLiteral("供应商："), top += step, false);
    LabeledEdit1 = MakeField(GroupBox1, "LabeledEdit1", QStringLiteral("毛茶价："), top += step, false, QStringLiteral("0"));
    LabeledEdit7 = MakeField(GroupBox1, "LabeledEdit7", QStringLiteral("总重量："), top += step, false, QStringLiteral("0"));
    LabeledEdit8 = MakeField(GroupBox1, "LabeledEdit8", QStringLiteral("总金额："), top += step, false);
    LabeledEdit21 = MakeField(GroupBox1, "LabeledEdit21", QStringLiteral("包装："), top += step, false);
    LabeledEdit22 = MakeField(GroupBox1, "LabeledEdit22", QStringLiteral("入库日期："), top += step, false);
    LabeledEdit15 = MakeField(GroupBox1, "LabeledEdit15", QStringLiteral("实付款："), top += step, false, QStringLiteral("0"));
    LabeledEdit14 = MakeField(GroupBox1, "LabeledEdit14", QStringLiteral("经办人："), top += step, false);
    LabeledEdit16 = MakeField(GroupBox1, "LabeledEdit16", QStringLiteral("净茶价："), top += step, true, {}, 150);
    ComboBox4 = new QComboBox(GroupBox1);
    ComboBox4->setObjectName(QStringLiteral("ComboBox4"));
    ComboBox4->addItems({QStringLiteral("10.0折"), QStringLiteral("9.5折"), QStringLiteral("9.0折"), QStringLiteral("8.5折"),
                         QStringLiteral("8.0折"), QStringLiteral("7.5折"), QStringLiteral("7.0折"), QStringLiteral("6.5折"),
                         QStringLiteral("6.0折"), QStringLiteral("5.5折"), QStringLiteral("5.0折")});
    ComboBox4->setCurrentText(QStringLiteral("8.0折"));
    ComboBox4->setGeometry(162, top, 66, 26);
    NameFor(ComboBox4, QStringLiteral("净茶率"));
    LabeledEdit13 = MakeField(GroupBox1, "LabeledEdit13", QStringLiteral("销售单价："), top += step, true);
    LabeledEdit2 = MakeField(GroupBox1, "LabeledEdit2", QStringLiteral("剩余重量："), top += step, true, QStringLiteral("0"), 185);
    Button4 = MakeButton(GroupBox1, "Button4", QStringLiteral("X"), {198, top, 30, 26});
    for (LabeledEdit *e : {LabeledEdit3, LabeledEdit18, LabeledEdit19, LabeledEdit20, LabeledEdit1, LabeledEdit7,
                           LabeledEdit8, LabeledEdit21, LabeledEdit22, LabeledEdit15, LabeledEdit14})
        SetTextColour(e, kMaroon);
    for (LabeledEdit *e : {LabeledEdit16, LabeledEdit13, LabeledEdit2})
        SetTextColour(e, Qt::red);
    for (LabeledEdit *e : {LabeledEdit1, LabeledEdit7, LabeledEdit8, LabeledEdit15, LabeledEdit16, LabeledEdit13, LabeledEdit2})
        InstallNumericFilter(e->Edit());
    Button3 = MakeButton(GroupBox1, "Button3", QStringLiteral("修改(&E)"), {8, top += step + 4, 106, 30});
    Button1 = MakeButton(GroupBox1, "Button1", QStringLiteral("删除(&D)"), {122, top, 106, 30});
    Memo1 = new QPlainTextEdit(kRemarkStart, GroupBox1);
    TabThroughRemark(Memo1);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(8, top += 40, 220, 100);
    NameFor(Memo1, QStringLiteral("备注"));
    GroupBox1->setMinimumHeight(top + 70); // a note box of a few lines at least

    auto *right = new QVBoxLayout;
    row->addLayout(right, 1);
    auto *bar = new QHBoxLayout;
    right->addLayout(bar);
    ComboBox7 = new QComboBox(TabSheet1);
    ComboBox7->setObjectName(QStringLiteral("ComboBox7"));
    ComboBox7->addItems({QStringLiteral("全部"), QStringLiteral("售完"), QStringLiteral("未完"), QStringLiteral("编号"),
                         QStringLiteral("品种"), QStringLiteral("产地"), QStringLiteral("供应商"), QStringLiteral("经办人"),
                         QStringLiteral("入库日期")});
    Edit2 = new QLineEdit(TabSheet1);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    DateTimePicker4 = MakeDatePicker(TabSheet1, "DateTimePicker4");
    Button5 = new QPushButton(QStringLiteral("查询"), TabSheet1);
    Button5->setObjectName(QStringLiteral("Button5"));
    Button10 = new QPushButton(QStringLiteral("导出"), TabSheet1);
    Button10->setObjectName(QStringLiteral("Button10"));
    bar->addWidget(ComboBox7);
    bar->addWidget(Edit2);
    bar->addWidget(DateTimePicker4);
    bar->addWidget(Button5);
    bar->addStretch(1);
    bar->addWidget(Button10);
    StockFilter = new FilterBar(ComboBox7, Edit2, DateTimePicker4, Button5, this);
    StockFilter->SetDateItems({int(InventoryFilterEntry::IntakeDate)});

    DBGrid1 = new DBGrid(TabSheet1);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    right->addWidget(DBGrid1, 1);
    const QString kg = QStringLiteral("0.00, Kg"), money = QStringLiteral("￥,0.00");
    DBGrid1->SetColumns({MakeColumn(QStringLiteral("序号"), {}, 40), MakeColumn(QStringLiteral("编号")),
                         MakeColumn(QStringLiteral("毛净茶")), MakeColumn(QStringLiteral("品种")),
                         MakeColumn(QStringLiteral("产地")), MakeColumn(QStringLiteral("供应商")),
                         WithTotalText(MakeColumn(QStringLiteral("毛茶价"), money)),
                         WithSum(MakeColumn(QStringLiteral("总重量")), kg),
                         WithSum(MakeColumn(QStringLiteral("总金额"), money), money),
                         MakeColumn(QStringLiteral("净茶价"), money), WithSum(MakeColumn(QStringLiteral("剩余重量")), kg),
                         MakeColumn(QStringLiteral("销售单价"), money), MakeColumn(QStringLiteral("包装")),
                         MakeColumn(QStringLiteral("入库日期")), MakeColumn(QStringLiteral("经办人")),
                         WithSum(MakeColumn(QStringLiteral("实付款"), money), money)});
    DBGrid1->SetRowColours(true);
    DBGrid1->SetFooterVisible(true);

    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    D1 = AddMenuItem(PopupMenu2, "D1", QStringLiteral("删除(&D)"), [b = Button1] { b->click(); });
    PopupMenu2->addSeparator();
    N2 = StockFilter->AddReloadItem(PopupMenu2, QStringLiteral("N2"));
    N3 = StockFilter->AddFilterItem(PopupMenu2, QStringLiteral("N3"), QStringLiteral("筛选此编号"),
                                    int(InventoryFilterEntry::Number), [this] { return LabeledEdit3->text(); });
    N4 = StockFilter->AddFilterItem(PopupMenu2, QStringLiteral("N4"), QStringLiteral("筛选此品种"),
                                    int(InventoryFilterEntry::Variety), [this] { return LabeledEdit18->text(); });
    N5 = StockFilter->AddFilterItem(PopupMenu2, QStringLiteral("N5"), QStringLiteral("筛选此产地"),
                                    int(InventoryFilterEntry::Origin), [this] { return LabeledEdit19->text(); });
    N6 = StockFilter->AddFilterItem(PopupMenu2, QStringLiteral("N6"), QStringLiteral("筛选此供应商"),
                                    int(InventoryFilterEntry::Supplier), [this] { return LabeledEdit20->text(); });
    N7 = StockFilter->AddFilterItem(PopupMenu2, QStringLiteral("N7"), QStringLiteral("筛选此经办人"),
                                    int(InventoryFilterEntry::Handler), [this] { return LabeledEdit14->text(); });
    N8 = StockFilter->AddFilterItem(PopupMenu2, QStringLiteral("N8"), QStringLiteral("筛选此入库日期"),
                                    int(InventoryFilterEntry::IntakeDate), [this] { return LabeledEdit22->text(); });
    AttachPopup(DBGrid1, PopupMenu2);

    connect(DBGrid1, &DBGrid::CellClick, this, &TForm_kc::DBGrid1CellClick);
    connect(Button4, &QPushButton::clicked, this, &TForm_kc::Button4Click);
    connect(ComboBox4, &QComboBox::activated, this, &TForm_kc::ComboBox4Click);
    connect(Button3, &QPushButton::clicked, this, &TForm_kc::Button3Click);
    connect(Button1, &QPushButton::clicked, this, &TForm_kc::Button1Click);
    connect(ComboBox7, &QComboBox::currentIndexChanged, this, &TForm_kc::ComboBox7Click);
    connect(Button5, &QPushButton::clicked, this, &TForm_kc::Button5Click);
    connect(Button10, &QPushButton::clicked, this, &TForm_kc::Button10Click);
}

void TForm_kc::FormShow()
{
    m_ini = std::make_unique<IniFile>(ProgramPath(QStringLiteral("config.ini")));
    CheckBox2->setChecked(BlendAutoNumber(*m_ini));
    Query *stock = Form_sql->ADOQuery1;
    DBGrid1->SetQuery(stock);
    DBGrid3->SetQuery(stock);
    stock->Reopen(InventoryOpeningStatement());
    Query *blends = Form_sql->ADOQuery_xs;
    DBGrid2->SetQuery(blends);
    blends->Reopen(BlendOpeningStatement());
}

bool TForm_kc::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == GroupBox1 && event->type() == QEvent::Resize)
        FormPaint();
    return ListScreen::eventFilter(watched, event);
}

void TForm_kc::FormPaint()
{
    Memo1->resize(Memo1->width(), qMax(30, GroupBox1->height() - Memo1->y() - 10));
    Bevel2->resize(Bevel2->width(), qMax(10, GroupBox1->height() - 10));
}

void TForm_kc::FormClose()
{
    m_ini.reset();
    if (Form_bcadd)
        Form_bcadd->hide();
}

void TForm_kc::DBGrid1CellClick()
{
    LabeledEdit5->setText(QString());
    Query *q = Form_sql->ADOQuery1;
    if (!q->Active() || q->IsEmpty()) {
        // An empty list loads nothing: every field empty, no lot selected.
        m_lotId.clear();
        resetStockFields();
        Memo1->clear();
        RadioButton2->setChecked(true);
        return;
    }
    Silently([this, q] {
        m_lotId = q->FieldByName(QStringLiteral("ID")).AsString();
        const std::pair<LabeledEdit *, const char *> fields[] = {
            {LabeledEdit3, "编号"},    {LabeledEdit18, "品种"},    {LabeledEdit19, "产地"},  {LabeledEdit20, "供应商"},
            {LabeledEdit1, "毛茶价"},  {LabeledEdit7, "总重量"},   {LabeledEdit2, "剩余重量"}, {LabeledEdit8, "总金额"},
            {LabeledEdit21, "包装"},   {LabeledEdit22, "入库日期"}, {LabeledEdit14, "经办人"}, {LabeledEdit15, "实付款"},
            {LabeledEdit13, "销售单价"}, {LabeledEdit16, "净茶价"}};
        for (const auto &[edit, column] : fields)
            edit->setText(q->FieldByName(QString::fromUtf8(column)).AsString());
        Memo1->setPlainText(q->FieldByName(QStringLiteral("备注")).AsString());
        if (q->FieldByName(QStringLiteral("毛净茶")).AsString() == QStringLiteral("毛茶"))
            RadioButton1->setChecked(true);
        else
            RadioButton2->setChecked(true);
    });
}

void TForm_kc::Button4Click()
{
    LabeledEdit2->setText(QStringLiteral("0"));
}

void TForm_kc::ComboBox4Click()
{
    Guarded(this, [this] {
        const QString net = NetPriceFromYield(ComboBox4->currentText(), LabeledEdit1->text());
        if (!net.isEmpty())
            LabeledEdit16->setText(net);
    });
}

void TForm_kc::Button3Click()
{
    Guarded(this, [this] {
        if (LabeledEdit1->text().isEmpty())
            return;
        if (m_lotId.isEmpty()) {
            Dialogs::Notice(this, Dialogs::kChooseRow);
            return;
        }
        const QString problem = InventoryCorrectionProblem(LabeledEdit2->text(), LabeledEdit16->text(), LabeledEdit13->text());
        if (!problem.isEmpty()) {
            Dialogs::Notice(this, problem);
            return;
        }
        if (!Dialogs::Confirm(this, QStringLiteral("是否确定是否进行修改!")))
            return;
        writeStock(InventoryCorrectionUpdate(m_lotId, LabeledEdit2->text(), LabeledEdit16->text(), LabeledEdit13->text()));
    });
}

void TForm_kc::Button1Click()
{
    Guarded(this, [this] {
        if (LabeledEdit3->text().isEmpty())
            return;
        if (m_lotId.isEmpty()) {
            Dialogs::Notice(this, Dialogs::kChooseRow);
            return;
        }
        if (!Dialogs::Confirm(this, QStringLiteral("是否确定删除此商品!")))
            return;
        writeStock(InventoryDeleteStatement(m_lotId));
    });
}

void TForm_kc::writeStock(const QString &sql)
{
    // A lot can go meanwhile: the blending tab deletes blends too. Then the typed text stays.
    const RowWrite done = RunSQLOnRowOrReport(sql, Form_sql->ADOConnection1, this);
    if (done == RowWrite::Refused)
        return;
    m_lotId.clear();
    if (done == RowWrite::Done)
        resetStockFields();
    Form_sql->ADOQuery1->Requery();
    // A corrected or deleted blend shows so in the blend list as well.
    Form_sql->ADOQuery_xs->Requery();
}

void TForm_kc::resetStockFields()
{
    for (LabeledEdit *e : {LabeledEdit3, LabeledEdit18, LabeledEdit19, LabeledEdit20, LabeledEdit1, LabeledEdit7,
                           LabeledEdit8, LabeledEdit21, LabeledEdit22, LabeledEdit15, LabeledEdit14, LabeledEdit16,
                           LabeledEdit13, LabeledEdit2})
        e->setText(QString());
    Memo1->setPlainText(kRemarkStart);
}

void TForm_kc::ComboBox7Click()
{
    Edit2->clear();
    const InventoryFilterEntry entry = InventoryEntryFor(ComboBox7->currentText(), ComboBox7->currentIndex());
    // The three fixed lists need no value, so they run at once.
    if (entry == InventoryFilterEntry::All || entry == InventoryFilterEntry::SoldOut || entry == InventoryFilterEntry::InStock)
        Button5Click();
}

void TForm_kc::Button5Click()
{
    Guarded(this, [this] {
        Query *q = Form_sql->ADOQuery1;
        q->Reopen(InventoryListStatement(InventoryEntryFor(ComboBox7->currentText(), ComboBox7->currentIndex()), Edit2->text(),
                                    DateTimePicker4->date()));
    });
}

void TForm_kc::Button10Click()
{
    Guarded(this, [this] {
        if (ExportGrid(DBGrid1, Form_sql->SaveDialog1, this))
            Dialogs::Notice(this, QStringLiteral("导出成功!"));
    });
}
