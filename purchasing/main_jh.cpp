#include "purchasing/main_jh.h"

#include "contacts/main_jh_user.h"
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
#include "datalayer/sysfun.h"
#include "purchasing/intakestatements.h"
#include "reporting/exportgrid.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

TForm_jh *Form_jh = nullptr;

namespace {

const QString kRemarkStart = QStringLiteral("备注：");
const QString kRaw = QStringLiteral("毛茶");
const QString kNet = QStringLiteral("净茶");
constexpr int kListLeft = 215;

} // namespace

TForm_jh::TForm_jh(QWidget *parent) : ListScreen(parent)
{
    setObjectName(QStringLiteral("Form_jh"));
    setWindowTitle(QStringLiteral("进货管理"));
    resize(1140, 769);

    GroupBox1 = FillWithGroupBox(this, "GroupBox1");

    GroupBox2 = MakeGroupBox(GroupBox1, "GroupBox2", {5, 5, 201, 760});

    int top = 18;
    const int step = 31;
    RadioButton1 = new QRadioButton(kRaw, GroupBox2);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton1->setGeometry(40, top, 60, 24);
    RadioButton1->setChecked(true);
    RadioButton2 = new QRadioButton(kNet, GroupBox2);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    RadioButton2->setGeometry(110, top, 60, 24);
    LabeledEdit3 = MakeField(GroupBox2, "LabeledEdit3", QStringLiteral("编号："), top += step, true);
    ComboBox1 = MakeChoice(GroupBox2, "ComboBox1", QStringLiteral("品种："), top += step, {}, {});
    ComboBox3 = MakeChoice(GroupBox2, "ComboBox3", QStringLiteral("产地："), top += step, {}, {});
    ComboBox5 = MakeChoice(GroupBox2, "ComboBox5", QStringLiteral("供应商："), top += step, {}, {});
    ComboBox5->resize(79, 26);
    SpeedButton2 = MakeToolButton(GroupBox2, "SpeedButton2", QStringLiteral("+"), {165, top, 28, 26});
    LabeledEdit1 = MakeField(GroupBox2, "LabeledEdit1", QStringLiteral("毛茶价："), top += step, true, QStringLiteral("0"));
    LabeledEdit7 = MakeField(GroupBox2, "LabeledEdit7", QStringLiteral("总重量："), top += step, true, QStringLiteral("0"), 155);
    SpeedButton3 = MakeToolButton(GroupBox2, "SpeedButton3", QStringLiteral("="), {165, top, 28, 26});
    LabeledEdit14 = MakeField(GroupBox2, "LabeledEdit14", QStringLiteral("剩余重量："), top += step, true);
    LabeledEdit9 = MakeField(GroupBox2, "LabeledEdit9", QStringLiteral("总金额："), top += step, true, QStringLiteral("0"));
    for (LabeledEdit *e : {LabeledEdit1, LabeledEdit7, LabeledEdit9})
        SetTextColour(e, Qt::red);
    ComboBox6 = MakeChoice(GroupBox2, "ComboBox6", QStringLiteral("包装："), top += step,
                           {QStringLiteral("贷装"), QStringLiteral("散装")}, QStringLiteral("贷装"));
    auto *dateLabel = new QLabel(QStringLiteral("入库日期："), GroupBox2);
    dateLabel->setGeometry(8, top += step, 70, 26);
    DateTimePicker1 = MakeDatePicker(GroupBox2, "DateTimePicker1");
    DateTimePicker1->setGeometry(82, top, 111, 26);
    LabelFor(dateLabel, DateTimePicker1);
    LabeledEdit13 = MakeField(GroupBox2, "LabeledEdit13", QStringLiteral("经办人："), top += step, true);
    LabeledEdit5 = MakeField(GroupBox2, "LabeledEdit5", QStringLiteral("实付款："), top += step, true, QStringLiteral("0"));
    CheckBox2 = new QCheckBox(ConfigKey::AutoNumber, GroupBox2);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    CheckBox2->setGeometry(82, top += step, 111, 24);
    top += step;
    Button2 = MakeButton(GroupBox2, "Button2", QStringLiteral("进货(&A)"), {5, top, 63, 30});
    Button3 = MakeButton(GroupBox2, "Button3", QStringLiteral("修改(&E)"), {69, top, 63, 30});
    Button4 = MakeButton(GroupBox2, "Button4", QStringLiteral("删除(&D)"), {133, top, 63, 30});
    Memo1 = new QPlainTextEdit(kRemarkStart, GroupBox2);
    TabThroughRemark(Memo1);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(8, top += 38, 185, 100);
    NameFor(Memo1, QStringLiteral("备注"));

    for (LabeledEdit *e : {LabeledEdit1, LabeledEdit5, LabeledEdit9, LabeledEdit14})
        InstallNumericFilter(e->Edit());
    InstallNumericFilter(LabeledEdit7->Edit(), SpeedButton3);

    ComboBox2 = new QComboBox(GroupBox1);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->addItems({QStringLiteral("全部"), QStringLiteral("编号"), QStringLiteral("品种"), QStringLiteral("产地"),
                         QStringLiteral("供应商"), QStringLiteral("经办人"), QStringLiteral("入库日期")});
    ComboBox2->setGeometry(kListLeft, 12, 83, 26);
    Edit1 = new QLineEdit(GroupBox1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(302, 12, 150, 26);
    DateTimePicker3 = MakeDatePicker(GroupBox1, "DateTimePicker3");
    DateTimePicker3->setGeometry(302, 12, 150, 26);
    Button1 = MakeButton(GroupBox1, "Button1", QStringLiteral("查询"), {457, 10, 75, 30});
    Button6 = MakeButton(GroupBox1, "Button6", QStringLiteral("导出"), {1050, 10, 75, 30});
    Filter = new FilterBar(ComboBox2, Edit1, DateTimePicker3, Button1, this);
    Filter->SetDateItems({6});
    Filter->SetDatePosition({302, 12});

    DBGrid1 = new DBGrid(GroupBox1);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setGeometry(kListLeft, 45, 910, 700);
    const QString kg = QStringLiteral("0.00, Kg"), money = QStringLiteral("￥,0.00");
    DBGrid1->SetColumns({MakeColumn(QStringLiteral("序号"), {}, 40), MakeColumn(QStringLiteral("编号")),
                         MakeColumn(QStringLiteral("毛净茶")), MakeColumn(QStringLiteral("品种")),
                         MakeColumn(QStringLiteral("产地")), MakeColumn(QStringLiteral("供应商")),
                         WithTotalText(MakeColumn(QStringLiteral("毛茶价"), money)),
                         WithSum(MakeColumn(QStringLiteral("总重量"), kg), kg),
                         WithSum(MakeColumn(QStringLiteral("剩余重量"), kg), kg),
                         WithSum(MakeColumn(QStringLiteral("总金额"), money), money), MakeColumn(QStringLiteral("包装")),
                         MakeColumn(QStringLiteral("入库日期")), MakeColumn(QStringLiteral("经办人")),
                         MakeColumn(QStringLiteral("实付款"), money)});
    DBGrid1->SetFooterVisible(true);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    D1 = AddMenuItem(PopupMenu1, "D1", QStringLiteral("删除(&D)"), [b = Button4] { b->click(); });
    PopupMenu1->addSeparator();
    N1 = Filter->AddReloadItem(PopupMenu1, QStringLiteral("N1"));
    N7 = Filter->AddFilterItem(PopupMenu1, QStringLiteral("N7"), QStringLiteral("筛选此编号"), 1,
                               [this] { return LabeledEdit3->text(); });
    N5 = Filter->AddFilterItem(PopupMenu1, QStringLiteral("N5"), QStringLiteral("筛选此品种"), 2,
                               [this] { return ComboBox1->currentText(); });
    N6 = Filter->AddFilterItem(PopupMenu1, QStringLiteral("N6"), QStringLiteral("筛选此产地"), 3,
                               [this] { return ComboBox3->currentText(); });
    N2 = Filter->AddFilterItem(PopupMenu1, QStringLiteral("N2"), QStringLiteral("筛选此供应商"), 4,
                               [this] { return ComboBox5->currentText(); });
    N4 = Filter->AddFilterItem(PopupMenu1, QStringLiteral("N4"), QStringLiteral("筛选此经办人"), 5,
                               [this] { return LabeledEdit13->text(); });
    N3 = Filter->AddFilterItem(PopupMenu1, QStringLiteral("N3"), QStringLiteral("筛选此入库日期"), 6,
                               [this] { return DateToStr(DateTimePicker1->date()); });
    AttachPopup(DBGrid1, PopupMenu1);

    connect(DBGrid1, &DBGrid::CellClick, this, &TForm_jh::DBGrid1CellClick);
    connect(SpeedButton3, &QToolButton::clicked, this, &TForm_jh::SpeedButton3Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TForm_jh::SpeedButton2Click);
    connect(Button2, &QPushButton::clicked, this, &TForm_jh::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm_jh::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TForm_jh::Button4Click);
    connect(Button1, &QPushButton::clicked, this, &TForm_jh::Button1Click);
    connect(Button6, &QPushButton::clicked, this, &TForm_jh::Button6Click);
    connect(CheckBox2, &QCheckBox::clicked, this, &TForm_jh::CheckBox2Click);
    connect(ComboBox2, &QComboBox::currentIndexChanged, this, &TForm_jh::ComboBox2Click);

    // The supplier book, when it closes, hands its names to this screen's supplier box.
    TForm_jh_user::SupplierNamesChanged = [this](const QStringList &names) { fillSuppliers(names); };

    SetUsedQueries({Form_sql->ADOQuery1, Form_sql->ADOQuery_xs});
    AddGrid(DBGrid1);
    PrepareForm(this);
    m_settings = std::make_unique<IniFile>(ProgramPath(QStringLiteral("config.ini")));
}

TForm_jh::~TForm_jh()
{
    TForm_jh_user::SupplierNamesChanged = nullptr;
    if (Form_jh == this)
        Form_jh = nullptr;
}

void TForm_jh::FormClose()
{
    TForm_jh_user::SupplierNamesChanged = nullptr;
    // The supplier book made for this screen and never shown goes with it.
    if (Form_jh_user && !Form_jh_user->isVisible())
        delete Form_jh_user;
}

void TForm_jh::FormPaint()
{
    const int h = GroupBox1->height();
    GroupBox2->setGeometry(5, 5, 201, qMax(200, h - 10));
    const int group = GroupBox2->height();
    Memo1->resize(Memo1->width(), qMax(30, group - Memo1->y() - 30));
    const int width = qMax(300, GroupBox1->width() - kListLeft - 10);
    DBGrid1->setGeometry(kListLeft, 45, width, qMax(100, group - 60));
    Button6->move(kListLeft + width - Button6->width(), 10);
}

void TForm_jh::FormShow()
{
    DateTimePicker1->setDate(QDate::currentDate());
    for (QComboBox *box : {ComboBox1, ComboBox3, ComboBox5, ComboBox6}) {
        box->clear();
        box->clearEditText();
    }
    FillChoice(ComboBox6, Form_sql->ADOQuery_xs, QStringLiteral("select 包装 from 包装管理"));
    FillChoice(ComboBox1, Form_sql->ADOQuery_xs, QStringLiteral("select 品种 from 品种管理"));
    FillChoice(ComboBox3, Form_sql->ADOQuery_xs, QStringLiteral("select 产地 from 产地管理"));
    FillChoice(ComboBox5, Form_sql->ADOQuery_xs, QStringLiteral("select 名称 from 通讯管理 where 类型='供应商'"));
    LabeledEdit13->setText(Client().currentUser);
    Query *q = Form_sql->ADOQuery1;
    DBGrid1->SetQuery(q);
    q->Reopen(IntakeAllStatement());
    CheckBox2->setChecked(AutoNumber(*m_settings));
}

void TForm_jh::fillSuppliers(const QStringList &names)
{
    const QString typed = ComboBox5->currentText();
    ComboBox5->clear();
    ComboBox5->addItems(names);
    ComboBox5->setCurrentText(typed);
}

void TForm_jh::DBGrid1CellClick()
{
    Silently([this] {
        LabeledEdit5->setText(QString());
        LabeledEdit7->setText(QString());
        Query *q = Form_sql->ADOQuery1;
        m_lotId = q->CurrentKey();
        auto text = [q](const char *name) { return q->FieldByName(QString::fromUtf8(name)).AsString(); };
        LabeledEdit3->setText(text("编号"));
        ComboBox1->setCurrentText(text("品种"));
        ComboBox3->setCurrentText(text("产地"));
        ComboBox5->setCurrentText(text("供应商"));
        LabeledEdit1->setText(text("毛茶价"));
        LabeledEdit7->setText(text("总重量"));
        LabeledEdit14->setText(text("剩余重量"));
        LabeledEdit9->setText(text("总金额"));
        ComboBox6->setCurrentText(text("包装"));
        const QDate d = StrToDate(text("入库日期").left(10));
        if (d.isValid())
            DateTimePicker1->setDate(d);
        LabeledEdit13->setText(text("经办人"));
        LabeledEdit5->setText(text("实付款"));
        Memo1->setPlainText(text("备注"));
        (text("毛净茶") == kRaw ? RadioButton1 : RadioButton2)->setChecked(true);
    });
}

void TForm_jh::SpeedButton3Click()
{
    Guarded(this, [this] {
        const IntakeAmounts a = ComputeIntakeAmounts(LabeledEdit1->text(), LabeledEdit7->text());
        LabeledEdit9->setText(a.amount);
        LabeledEdit5->setText(a.paid);
        // A loaded lot that was sold from or returned keeps its remaining weight unless the
        // user says otherwise: "修改" would otherwise undo every sale and return of it.
        if (m_lotId >= 0 && LotStockMoved(Form_sql->ADOConnection1, m_lotId) &&
            !Dialogs::Confirm(this, kResetRemaining))
            return;
        LabeledEdit14->setText(a.remaining);
    });
}

IntakeFields TForm_jh::fields() const
{
    IntakeFields f;
    f.lotNumber = LabeledEdit3->text();
    f.variety = ComboBox1->currentText();
    f.origin = ComboBox3->currentText();
    f.supplier = ComboBox5->currentText();
    f.rawPrice = LabeledEdit1->text();
    f.totalWeight = LabeledEdit7->text();
    f.remaining = LabeledEdit14->text();
    f.amount = LabeledEdit9->text();
    f.packaging = ComboBox6->currentText();
    f.date = DateTimePicker1->date();
    f.handler = LabeledEdit13->text();
    f.paid = LabeledEdit5->text();
    f.remark = Memo1->toPlainText();
    f.rawNet = RadioButton1->isChecked() ? kRaw : kNet;
    return f;
}

bool TForm_jh::write(const QString &sql)
{
    if (!RunSQLOrReport(sql, Form_sql->ADOConnection1, this))
        return false;
    clearAfterWrite();
    Form_sql->ADOQuery1->Requery();
    return true;
}

void TForm_jh::clearAfterWrite()
{
    for (LabeledEdit *e : {LabeledEdit1, LabeledEdit3, LabeledEdit5, LabeledEdit7, LabeledEdit9, LabeledEdit14})
        e->setText(QString());
    Memo1->setPlainText(kRemarkStart);
    // The panel no longer shows the lot, so a further change or deletion needs a row again.
    m_lotId = -1;
}

void TForm_jh::Button2Click()
{
    Guarded(this, [this] {
        if (CheckBox2->isChecked())
            LabeledEdit3->setText(AutoLotNumber(ComboBox1->currentText(), DateTimePicker1->date(), LabeledEdit7->text()));
        const IntakeFields f = fields();
        if (const QString problem = IntakeInputProblem(f); !problem.isEmpty()) {
            Dialogs::Notice(this, problem);
            return;
        }
        if (Dialogs::Confirm(this, QStringLiteral("是否确定购入此商品!")))
            write(IntakeInsertStatement(f));
    });
}

void TForm_jh::Button3Click()
{
    Guarded(this, [this] {
        const IntakeFields f = fields();
        QString problem = m_lotId < 0 ? Dialogs::kChooseRow : IntakeInputProblem(f);
        if (!problem.isEmpty()) {
            Dialogs::Notice(this, problem);
            return;
        }
        if (Dialogs::Confirm(this, QStringLiteral("是否确定修改此商品!")))
            write(IntakeUpdateStatement(f, m_lotId));
    });
}

void TForm_jh::Button4Click()
{
    Guarded(this, [this] {
        if (LabeledEdit3->text().isEmpty())
            return;
        if (m_lotId < 0) {
            Dialogs::Notice(this, Dialogs::kChooseRow);
            return;
        }
        if (Dialogs::Confirm(this, QStringLiteral("是否确定删除此商品!")))
            write(IntakeDeleteStatement(m_lotId));
    });
}

void TForm_jh::CheckBox2Click()
{
    if (!SetAutoNumber(*m_settings, CheckBox2->isChecked()))
        Dialogs::ShowError(this, SettingsNotSaved(*m_settings));
}

void TForm_jh::SpeedButton2Click()
{
    if (!Form_jh_user)
        Form_jh_user = new TForm_jh_user();
    Form_jh_user->show();
    Form_jh_user->raise();
    Form_jh_user->activateWindow();
}

void TForm_jh::ComboBox2Click()
{
    Edit1->clear();
    if (Filter->DateChosen())
        DateTimePicker3->setDate(QDate::currentDate());
}

void TForm_jh::Button1Click()
{
    // A statement the engine refuses leaves the list empty, without a word.
    Query *q = Form_sql->ADOQuery1;
    Silently([&] { q->Reopen(IntakeListStatement(Filter->Choice(), Edit1->text(), DateTimePicker3->date())); });
}

void TForm_jh::Button6Click()
{
    Guarded(this, [this] {
        if (ExportGrid(DBGrid1, Form_sql->SaveDialog1, this))
            Dialogs::Notice(this, QStringLiteral("导出成功!"));
    });
}
