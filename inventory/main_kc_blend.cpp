// The blending tab of the inventory screen.
#include "inventory/main_kc.h"

#include "datalayer/clientstate.h"
#include "datalayer/labelfor.h"
#include "datalayer/dbgrid.h"
#include "datalayer/dialogs.h"
#include "datalayer/filterbar.h"
#include "datalayer/formparts.h"
#include "datalayer/guards.h"
#include "datalayer/inifile.h"
#include "datalayer/labelededit.h"
#include "datalayer/numbertext.h"
#include "datalayer/numerickeyfilter.h"
#include "datalayer/programfolder.h"
#include "datalayer/query.h"
#include "datalayer/runsql.h"
#include "datalayer/settings.h"
#include "datalayer/sql_ado_conn.h"
#include "inventory/blendstatements.h"
#include "inventory/main_kc_bc.h"
#include "inventory/stockstatements.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

void TForm_kc::buildBlendTab()
{
    auto *row = new QHBoxLayout(TabSheet2);
    row->setContentsMargins(2, 2, 2, 2);
    GroupBox2 = new QGroupBox;
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setFixedWidth(330);
    row->addWidget(ScrollablePanel(TabSheet2, GroupBox2));

    int top = 20;
    const int step = 31;
    LabeledEdit5 = MakeField(GroupBox2, "LabeledEdit5", QStringLiteral("配茶编号："), top, true, {}, 222);
    ComboBox8 = MakeChoice(GroupBox2, "ComboBox8", QStringLiteral("毛/净茶："), top += step,
                           {QStringLiteral("毛茶"), QStringLiteral("净茶")}, QStringLiteral("净茶"));
    LabeledEdit6 = MakeField(GroupBox2, "LabeledEdit6", QStringLiteral("配茶总重："), top += step, false, QStringLiteral("0"), 312);
    LabeledEdit9 = MakeField(GroupBox2, "LabeledEdit9", QStringLiteral("总金额："), top += step, false, QStringLiteral("0"), 312);
    LabeledEdit4 = MakeField(GroupBox2, "LabeledEdit4", QStringLiteral("成本单价："), top += step, false, QStringLiteral("0"), 312);
    LabeledEdit17 = MakeField(GroupBox2, "LabeledEdit17", QStringLiteral("配茶师："), top += step, true, {}, 312);
    auto *dateLabel = new QLabel(QStringLiteral("配茶日期："), GroupBox2);
    dateLabel->setGeometry(8, top += step, 70, 26);
    DateTimePicker2 = MakeDatePicker(GroupBox2, "DateTimePicker2");
    DateTimePicker2->setGeometry(82, top, 111, 26);
    LabelFor(dateLabel, DateTimePicker2);
    ComboBox2 = MakeChoice(GroupBox2, "ComboBox2", QStringLiteral("品种："), top += step, {}, QStringLiteral("铁观音"));
    LabeledEdit11 = MakeField(GroupBox2, "LabeledEdit11", QStringLiteral("销售单价："), top += step, true, QStringLiteral("0"), 312);
    SetTextColour(LabeledEdit11, Qt::red);
    CheckBox2 = new QCheckBox(QStringLiteral("自动编号"), GroupBox2);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    CheckBox2->setGeometry(238, 20, 84, 26); // beside the number it generates
    QWidget::setTabOrder(LabeledEdit5->Edit(), CheckBox2);
    for (LabeledEdit *e : {LabeledEdit6, LabeledEdit9, LabeledEdit4, LabeledEdit11})
        InstallNumericFilter(e->Edit());
    Button2 = MakeButton(GroupBox2, "Button2", QStringLiteral("添加"), {8, top += step + 4, 96, 30});
    Button6 = MakeButton(GroupBox2, "Button6", QStringLiteral("修改"), {112, top, 96, 30});
    Button7 = MakeButton(GroupBox2, "Button7", QStringLiteral("删除"), {216, top, 96, 30});
    ListView1 = new QTreeWidget(GroupBox2);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setGeometry(8, top += 40, 314, 240);
    ListView1->setColumnCount(4);
    ListView1->setHeaderLabels({QStringLiteral("库存编号"), QStringLiteral("加入重量"), QStringLiteral("成本单价"),
                                QStringLiteral("总金额")});
    ListView1->setRootIsDecorated(false);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    Button11 = MakeButton(GroupBox2, "Button11", QStringLiteral("清空"), {8, top += 246, 96, 30});
    SpeedButton2 = MakeToolButton(GroupBox2, "SpeedButton2", QStringLiteral("移出"), {226, top, 96, 30});
    GroupBox2->setMinimumHeight(top + 40);

    auto *right = new QVBoxLayout;
    row->addLayout(right, 1);
    Label1 = new QLabel(QStringLiteral("配茶库存↓↓：        "), TabSheet2);
    Label1->setObjectName(QStringLiteral("Label1"));
    auto *blendBar = new QHBoxLayout;
    blendBar->addWidget(Label1);
    ComboBox1 = new QComboBox(TabSheet2);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->addItems({QStringLiteral("全部"), QStringLiteral("编号"), QStringLiteral("品种"), QStringLiteral("配茶师"),
                         QStringLiteral("入库日期")});
    Edit1 = new QLineEdit(TabSheet2);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    DateTimePicker1 = MakeDatePicker(TabSheet2, "DateTimePicker1");
    Button8 = new QPushButton(QStringLiteral("查询"), TabSheet2);
    Button8->setObjectName(QStringLiteral("Button8"));
    for (QWidget *w : std::initializer_list<QWidget *>{ComboBox1, Edit1, DateTimePicker1, Button8})
        blendBar->addWidget(w);
    blendBar->addStretch(1);
    right->addLayout(blendBar);
    BlendFilter = new FilterBar(ComboBox1, Edit1, DateTimePicker1, Button8, this);
    BlendFilter->SetDateItems({int(BlendEntry::IntakeDate)});

    DBGrid2 = new DBGrid(TabSheet2);
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    right->addWidget(DBGrid2, 1);
    const QString kg = QStringLiteral("0.00, Kg"), money = QStringLiteral("￥,0.00");
    DBGrid2->SetColumns({MakeColumn(QStringLiteral("序号"), {}, 40), MakeColumn(QStringLiteral("编号")),
                         MakeColumn(QStringLiteral("毛净茶")), MakeColumn(QStringLiteral("品种")),
                         WithTotalText(MakeColumn(QStringLiteral("净茶价"), money)),
                         WithSum(MakeColumn(QStringLiteral("总重量"), kg), kg),
                         WithSum(MakeColumn(QStringLiteral("总金额"), money), money),
                         WithSum(MakeColumn(QStringLiteral("剩余重量"), kg), kg),
                         MakeColumn(QStringLiteral("销售单价"), money), MakeColumn(QStringLiteral("入库日期")),
                         MakeColumn(QStringLiteral("配茶师")), MakeColumn(QStringLiteral("经办人"))});
    DBGrid2->SetRowColours(true);
    DBGrid2->SetFooterVisible(true);

    Label2 = new QLabel(QStringLiteral("全部库存↓↓： "), TabSheet2);
    Label2->setObjectName(QStringLiteral("Label2"));
    auto *stockBar = new QHBoxLayout;
    stockBar->addWidget(Label2);
    ComboBox3 = new QComboBox(TabSheet2);
    ComboBox3->setObjectName(QStringLiteral("ComboBox3"));
    ComboBox3->addItems({QStringLiteral("全部"), QStringLiteral("编号"), QStringLiteral("供应商"), QStringLiteral("入库日期")});
    Edit3 = new QLineEdit(TabSheet2);
    Edit3->setObjectName(QStringLiteral("Edit3"));
    DateTimePicker3 = MakeDatePicker(TabSheet2, "DateTimePicker3");
    Button9 = new QPushButton(QStringLiteral("查询"), TabSheet2);
    Button9->setObjectName(QStringLiteral("Button9"));
    for (QWidget *w : std::initializer_list<QWidget *>{ComboBox3, Edit3, DateTimePicker3, Button9})
        stockBar->addWidget(w);
    stockBar->addStretch(1);
    right->addLayout(stockBar);
    AllStockFilter = new FilterBar(ComboBox3, Edit3, DateTimePicker3, Button9, this);
    AllStockFilter->SetDateItems({int(AllStockEntry::IntakeDate)});

    DBGrid3 = new DBGrid(TabSheet2);
    DBGrid3->setObjectName(QStringLiteral("DBGrid3"));
    right->addWidget(DBGrid3, 1);
    DBGrid3->SetColumns({MakeColumn(QStringLiteral("序号"), {}, 40), MakeColumn(QStringLiteral("编号")),
                         MakeColumn(QStringLiteral("毛净茶")), MakeColumn(QStringLiteral("品种")),
                         MakeColumn(QStringLiteral("毛茶价"), money), MakeColumn(QStringLiteral("净茶价"), money),
                         MakeColumn(QStringLiteral("总重量"), kg), MakeColumn(QStringLiteral("剩余重量"), kg),
                         MakeColumn(QStringLiteral("销售单价"), money), MakeColumn(QStringLiteral("包装")),
                         MakeColumn(QStringLiteral("入库日期")), MakeColumn(QStringLiteral("供应商")),
                         MakeColumn(QStringLiteral("经办人"))});
    DBGrid3->SetRowColours(true);
    DBGrid3->SetFooterVisible(false);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    N1 = PopupMenu1->addAction(QStringLiteral("加入配茶"));
    N1->setObjectName(QStringLiteral("N1"));
    connect(N1, &QAction::triggered, this, &TForm_kc::N1Click);
    AttachPopup(DBGrid3, PopupMenu1);

    PopupMenu3 = new QMenu(this);
    PopupMenu3->setObjectName(QStringLiteral("PopupMenu3"));
    D2 = AddMenuItem(PopupMenu3, "D2", QStringLiteral("删除(&D)"), [b = Button7] { b->click(); });
    PopupMenu3->addSeparator();
    N11 = BlendFilter->AddReloadItem(PopupMenu3, QStringLiteral("N11"));
    N12 = BlendFilter->AddFilterItem(PopupMenu3, QStringLiteral("N12"), QStringLiteral("筛选此编号"),
                                     int(BlendEntry::Number), [this] { return LabeledEdit5->text(); });
    N13 = BlendFilter->AddFilterItem(PopupMenu3, QStringLiteral("N13"), QStringLiteral("筛选此品种"),
                                     int(BlendEntry::Variety), [this] { return ComboBox2->currentText(); });
    N16 = BlendFilter->AddFilterItem(PopupMenu3, QStringLiteral("N16"), QStringLiteral("筛选此配茶师"),
                                     int(BlendEntry::Blender), [this] { return LabeledEdit17->text(); });
    // The date last loaded by a blend click stays in the filter's own picker.
    N17 = BlendFilter->AddFilterItem(PopupMenu3, QStringLiteral("N17"), QStringLiteral("筛选此入库日期"),
                                     int(BlendEntry::IntakeDate), [this] { return DateToStr(DateTimePicker1->date()); });
    AttachPopup(DBGrid2, PopupMenu3);

    connect(SpeedButton2, &QToolButton::clicked, this, &TForm_kc::SpeedButton2Click);
    connect(Button11, &QPushButton::clicked, this, &TForm_kc::Button11Click);
    connect(CheckBox2, &QCheckBox::clicked, this, &TForm_kc::CheckBox2Click);
    connect(Button2, &QPushButton::clicked, this, &TForm_kc::Button2Click);
    connect(Button6, &QPushButton::clicked, this, &TForm_kc::Button6Click);
    connect(Button7, &QPushButton::clicked, this, &TForm_kc::Button7Click);
    connect(DBGrid2, &DBGrid::CellClick, this, &TForm_kc::DBGrid2CellClick);
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, &TForm_kc::ComboBox1Click);
    connect(Button8, &QPushButton::clicked, this, &TForm_kc::Button8Click);
    connect(ComboBox3, &QComboBox::currentIndexChanged, this, &TForm_kc::ComboBox3Click);
    connect(Button9, &QPushButton::clicked, this, &TForm_kc::Button9Click);
}

void TForm_kc::N1Click()
{
    Query *q = Form_sql->ADOQuery1;
    bool read = false;
    QString lot, price, remaining;
    Silently([&] {
        if (!q->Active() || q->IsEmpty())
            return;
        lot = q->FieldByName(QStringLiteral("编号")).AsString();
        price = q->FieldByName(QStringLiteral("净茶价")).AsString();
        remaining = q->FieldByName(QStringLiteral("剩余重量")).AsString();
        read = true;
    });
    if (read) {
        for (int r = 0; r < ListView1->topLevelItemCount(); ++r)
            if (ListView1->topLevelItem(r)->text(0) == lot) {
                Dialogs::Notice(this, QStringLiteral("已经添加了这个编号的商品!"));
                return;
            }
        if (!Form_bcadd)
            Form_bcadd = new TForm_bcadd();
        Form_bcadd->Offer(lot, price, remaining);
    }
    // The first portion starts a new blend.
    if (ListView1->topLevelItemCount() == 0)
        resetBlend();
}

void TForm_kc::resetBlend()
{
    LabeledEdit5->setText(QString());
    for (LabeledEdit *e : {LabeledEdit6, LabeledEdit9, LabeledEdit4, LabeledEdit11})
        e->setText(QStringLiteral("0"));
}

void TForm_kc::SpeedButton2Click()
{
    QTreeWidgetItem *item = ListView1->currentItem();
    if (!item || !item->isSelected())
        return;
    Guarded(this, [&] {
        const BlendTotals t = RemovePortion({LabeledEdit6->text(), LabeledEdit9->text(), LabeledEdit4->text()},
                                            item->text(1), item->text(3));
        LabeledEdit6->setText(t.weight);
        LabeledEdit9->setText(t.amount);
        LabeledEdit4->setText(t.unitPrice);
        delete item;
    });
}

void TForm_kc::Button11Click()
{
    ListView1->clear();
}

void TForm_kc::CheckBox2Click()
{
    if (!m_ini)
        m_ini = std::make_unique<IniFile>(ProgramPath(QStringLiteral("config.ini")));
    if (!SetBlendAutoNumber(*m_ini, CheckBox2->isChecked()))
        Dialogs::ShowError(this, SettingsNotSaved(*m_ini));
}

BlendFields TForm_kc::blendFields() const
{
    BlendFields b;
    b.number = LabeledEdit5->text();
    b.rawNet = ComboBox8->currentText();
    b.variety = ComboBox2->currentText();
    b.unitPrice = LabeledEdit4->text();
    b.totalWeight = LabeledEdit6->text();
    b.totalAmount = LabeledEdit9->text();
    b.salePrice = LabeledEdit11->text();
    b.date = DateTimePicker2->date();
    b.handler = Client().currentUser;
    b.blender = LabeledEdit17->text();
    std::vector<BlendPortion> portions;
    for (int r = 0; r < ListView1->topLevelItemCount(); ++r) {
        const QTreeWidgetItem *item = ListView1->topLevelItem(r);
        portions.push_back({item->text(0), item->text(1), item->text(2), item->text(3)});
    }
    b.detail = WriteBlendDetail(portions);
    return b;
}

void TForm_kc::Button2Click()
{
    Guarded(this, [this] {
        if (LabeledEdit5->text().isEmpty())
            return;
        const QString problem =
            ListView1->topLevelItemCount() == 0 ? kBlendWithoutPortion : BlendNumberProblem(blendFields());
        if (!problem.isEmpty()) {
            Dialogs::Notice(this, problem);
            return;
        }
        if (CheckBox2->isChecked())
            LabeledEdit5->setText(BlendAutoNumberText(ComboBox2->currentText(), DateTimePicker2->date(), LabeledEdit4->text()));
        if (!Dialogs::Confirm(this, QStringLiteral("是否确定添加此商品!")))
            return;
        writeBlend(BlendInsertStatement(blendFields()));
    });
}

void TForm_kc::writeBlend(const QString &sql)
{
    // A blend can go meanwhile (the stock tab deletes blends too): the tab then keeps what was typed.
    const RowWrite done = RunSQLOnRowOrReport(sql, Form_sql->ADOConnection1, this);
    if (done == RowWrite::Refused)
        return;
    // Whatever the write did, the blend it named is no longer the one on the tab.
    m_blendId.clear();
    if (done == RowWrite::Done) {
        resetBlend();
        ListView1->clear();
    }
    Form_sql->ADOQuery_xs->Requery();
    Form_sql->ADOQuery1->Requery();
}

void TForm_kc::DBGrid2CellClick()
{
    Query *q = Form_sql->ADOQuery_xs;
    if (!q->Active() || q->IsEmpty())
        return;
    Silently([this, q] {
        auto text = [q](const char *column) { return q->FieldByName(QString::fromUtf8(column)).AsString(); };
        m_blendId = text("ID");
        LabeledEdit5->setText(text("编号"));
        ComboBox8->setCurrentText(text("毛净茶"));
        ComboBox2->setCurrentText(text("品种"));
        LabeledEdit4->setText(text("净茶价"));
        LabeledEdit9->setText(text("总金额"));
        LabeledEdit6->setText(text("总重量"));
        LabeledEdit11->setText(text("销售单价"));
        const Field date = q->FieldByName(QStringLiteral("入库日期"));
        const QDate d = date.IsNull() ? QDate() : date.AsDateTime().date();
        if (d.isValid()) {
            DateTimePicker2->setDate(d);
            DateTimePicker1->setDate(d);
        }
        LabeledEdit17->setText(text("配茶师"));
        ListView1->clear();
        for (const BlendPortion &p : ParseBlendDetail(text("配茶详细")))
            new QTreeWidgetItem(ListView1, {p.lot, p.weight, p.price, p.amount});
    });
}

void TForm_kc::Button6Click()
{
    Guarded(this, [this] {
        if (m_blendId.isEmpty()) {
            Dialogs::Notice(this, Dialogs::kChooseRow);
            return;
        }
        const BlendFields b = blendFields();
        if (const QString problem = BlendNumberProblem(b); !problem.isEmpty()) {
            Dialogs::Notice(this, problem);
            return;
        }
        if (!Dialogs::Confirm(this, QStringLiteral("是否确定修改此商品资料!")))
            return;
        writeBlend(BlendUpdateStatement(b, m_blendId));
    });
}

void TForm_kc::Button7Click()
{
    Guarded(this, [this] {
        if (m_blendId.isEmpty()) {
            Dialogs::Notice(this, Dialogs::kChooseRow);
            return;
        }
        if (!Dialogs::Confirm(this, QStringLiteral("是否确定删除此商品!")))
            return;
        writeBlend(InventoryDeleteStatement(m_blendId));
    });
}

void TForm_kc::ComboBox1Click()
{
    Edit1->clear();
}

void TForm_kc::Button8Click()
{
    Guarded(this, [this] {
        Query *q = Form_sql->ADOQuery_xs;
        q->Reopen(BlendListStatement(BlendEntry(BlendTabEntryFor(ComboBox1->currentText(), ComboBox1->currentIndex(), 5)),
                                    Edit1->text(), DateTimePicker1->date()));
    });
}

void TForm_kc::ComboBox3Click()
{
    Edit3->clear();
    if (ComboBox3->currentIndex() == int(AllStockEntry::IntakeDate))
        DateTimePicker3->setDate(QDate::currentDate());
}

void TForm_kc::Button9Click()
{
    Guarded(this, [this] {
        Query *q = Form_sql->ADOQuery1;
        q->Reopen(AllStockStatement(AllStockEntry(BlendTabEntryFor(ComboBox3->currentText(), ComboBox3->currentIndex(), 4)),
                                   Edit3->text(), DateTimePicker3->date()));
    });
}
