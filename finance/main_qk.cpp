#include "finance/main_qk.h"

#include "datalayer/clientstate.h"
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
#include "finance/debtstatements.h"
#include "reporting/exportgrid.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>

TForm_qk *Form_qk = nullptr;

namespace {

const QString kRemarkStart = QStringLiteral("备注：");
constexpr int kListLeft = 225;
constexpr int kCardRows = 8;
constexpr int kCardLabelWidth = 70;

// The contact card's rows: the caption and the contact book's column it shows.
const char *const kCard[kCardRows][2] = {
    {"客户名称：", "名称"}, {"联系人：", "联系人"},     {"电话：", "电话"},         {"手机：", "手机"},
    {"传真：", "传真"},     {"开户银行：", "开户银行"}, {"银行账号：", "银行账号"}, {"地址：", "地址"},
};

QLabel *makeLabel(QWidget *parent, const char *name, const QString &text, const QRect &geometry)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(geometry);
    return l;
}

QComboBox *makeBox(QWidget *parent, const char *name, QLabel *label, const QRect &geometry)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert); // Enter adds no typed name to the list
    c->setGeometry(geometry);
    LabelFor(label, c);
    return c;
}

QTableWidgetItem *cardItem(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

} // namespace

TForm_qk::TForm_qk(QWidget *parent) : QWidget(parent)
{
    // A window of its own with its close box only, kept above the main window it
    // disables: raised over it, it would leave the program looking locked.
    MakeToolWindow(this, "Form_qk", QStringLiteral("欠款管理"), {707, 563});

    Connection *conn = Form_sql ? &Form_sql->ADOConnection1 : nullptr;
    ListQuery = new Query(conn, QStringLiteral("ADOQuery_qk"), this);
    LookupQuery = new Query(conn, QStringLiteral("ADOQuery_qk_contact"), this);

    GroupBox1 = FillWithGroupBox(this, "GroupBox1");
    GroupBox2 = MakeGroupBox(GroupBox1, "GroupBox2", {5, 5, 215, 553});

    int top = 20;
    const int step = 31;
    Label1 = makeLabel(GroupBox2, "Label1", QStringLiteral("客户名称：  "), {8, top, 70, 26});
    ComboBox1 = makeBox(GroupBox2, "ComboBox1", Label1, {82, top, 95, 26});
    SpeedButton1 = MakeToolButton(GroupBox2, "SpeedButton1", QStringLiteral("查"), {180, top, 28, 26});
    SpeedButton1->setAutoRaise(true);
    Label5 = makeLabel(GroupBox2, "Label5", QStringLiteral("联系人："), {8, top += step, 70, 26});
    ComboBox3 = makeBox(GroupBox2, "ComboBox3", Label5, {82, top, 95, 26});
    SpeedButton2 = MakeToolButton(GroupBox2, "SpeedButton2", QStringLiteral("查"), {180, top, 28, 26});
    SpeedButton2->setAutoRaise(true);
    Label3 = makeLabel(GroupBox2, "Label3", QStringLiteral("项   目："), {8, top += step, 70, 26});
    ComboBox2 = makeBox(GroupBox2, "ComboBox2", Label3, {82, top, 126, 26});
    ComboBox2->addItems(kDebtKinds);
    ComboBox2->setCurrentText(kDebt);
    LabeledEdit4 = MakeField(GroupBox2, "LabeledEdit4", QStringLiteral("金   额："), top += step, true, {}, 200);
    InstallNumericFilter(LabeledEdit4->Edit());
    Label2 = makeLabel(GroupBox2, "Label2", QStringLiteral("日    期："), {8, top += step, 70, 26});
    DateTimePicker1 = MakeDatePicker(GroupBox2, "DateTimePicker1");
    DateTimePicker1->setGeometry(82, top, 126, 26);
    LabelFor(Label2, DateTimePicker1);
    memo1 = new QPlainTextEdit(kRemarkStart, GroupBox2);
    TabThroughRemark(memo1);
    memo1->setObjectName(QStringLiteral("memo1"));
    memo1->setGeometry(8, top += step + 3, 200, 70);
    NameFor(memo1, QStringLiteral("备注"));
    top += 78;
    Button1 = MakeButton(GroupBox2, "Button1", QStringLiteral("确定(&A)"), {8, top, 64, 30});
    Button2 = MakeButton(GroupBox2, "Button2", QStringLiteral("修改(&E)"), {76, top, 64, 30});
    Button3 = MakeButton(GroupBox2, "Button3", QStringLiteral("删除(&D)"), {144, top, 64, 30});
    Label4 = makeLabel(GroupBox2, "Label4", QStringLiteral("欠款人信息："), {8, top += 38, 200, 18});
    StringGrid1 = new QTableWidget(kCardRows, 2, GroupBox2);
    StringGrid1->setTabKeyNavigation(false); // Tab leaves the card, which would walk its cells round
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setGeometry(8, top += 20, 200, kCardRows * 18 + 4);
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->verticalHeader()->setDefaultSectionSize(18);
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setWordWrap(false);
    StringGrid1->setColumnWidth(0, kCardLabelWidth);
    StringGrid1->setColumnWidth(1, StringGrid1->width() - kCardLabelWidth - 5);
    for (int r = 0; r < kCardRows; ++r) {
        StringGrid1->setItem(r, 0, cardItem(QString::fromUtf8(kCard[r][0])));
        StringGrid1->setItem(r, 1, cardItem(QString()));
    }
    LabelFor(Label4, StringGrid1);

    ComboBox7 = new QComboBox(GroupBox1);
    ComboBox7->setObjectName(QStringLiteral("ComboBox7"));
    ComboBox7->addItems({QStringLiteral("全部"), QStringLiteral("联系人"), QStringLiteral("客户名称")});
    ComboBox7->setGeometry(kListLeft, 12, 100, 26);
    Edit2 = new QLineEdit(GroupBox1);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setGeometry(kListLeft + 105, 12, 150, 26);
    Button4 = MakeButton(GroupBox1, "Button4", QStringLiteral("查询"), {kListLeft + 260, 10, 75, 30});
    Button5 = MakeButton(GroupBox1, "Button5", QStringLiteral("导出"), {620, 10, 75, 30});
    Filter = new FilterBar(ComboBox7, Edit2, nullptr, Button4, this);

    DBGrid1 = new DBGrid(GroupBox1);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setGeometry(kListLeft, 45, 470, 440);
    DBGrid1->SetColumns({MakeColumn(QStringLiteral("序号"), {}, 30), MakeColumn(QStringLiteral("客户名称")),
                         MakeColumn(QStringLiteral("联系人")), MakeColumn(QStringLiteral("项目")),
                         MakeColumn(QStringLiteral("金额"), QStringLiteral("￥,0.00")), MakeColumn(QStringLiteral("日期")),
                         MakeColumn(QStringLiteral("备注"))});
    DBGrid1->SetFooterVisible(false);

    LabeledEdit1 = MakeField(GroupBox1, "LabeledEdit1", QStringLiteral("欠款总金额￥："), 0, false, QStringLiteral("0"));
    LabeledEdit2 = MakeField(GroupBox1, "LabeledEdit2", QStringLiteral("还款总金额￥："), 0, false, QStringLiteral("0"));
    LabeledEdit3 = MakeField(GroupBox1, "LabeledEdit3", QStringLiteral("尚欠款金额￥："), 0, false, QStringLiteral("0"));
    for (LabeledEdit *e : {LabeledEdit1, LabeledEdit2, LabeledEdit3})
        e->setLabelPosition(LabeledEdit::Above);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    D2 = AddMenuItem(PopupMenu1, "D2", QStringLiteral("删除(&D)"), [b = Button3] { b->click(); });
    N1 = PopupMenu1->addSeparator();
    N1->setObjectName(QStringLiteral("N1"));
    N2 = Filter->AddReloadItem(PopupMenu1, QStringLiteral("N2"));
    N6 = Filter->AddFilterItem(PopupMenu1, QStringLiteral("N6"), QStringLiteral("筛选此联系人"), 1,
                               [this] { return ComboBox3->currentText(); });
    N7 = Filter->AddFilterItem(PopupMenu1, QStringLiteral("N7"), QStringLiteral("筛选此客户名称"), 2,
                               [this] { return ComboBox1->currentText(); });
    AttachPopup(DBGrid1, PopupMenu1);

    connect(DBGrid1, &DBGrid::CellClick, this, &TForm_qk::DBGrid1CellClick);
    connect(SpeedButton1, &QToolButton::clicked, this, &TForm_qk::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TForm_qk::SpeedButton2Click);
    connect(Button1, &QPushButton::clicked, this, &TForm_qk::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm_qk::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm_qk::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TForm_qk::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TForm_qk::Button5Click);
    // The totals follow every new list: opening, filter, requery after a write.
    connect(ListQuery, &Query::rowsReset, this, &TForm_qk::showTotals);

    PrepareForm(this);
    OnFirstShow(this, [this] {
        m_shown = true;
        if (QWidget *main = Client().mainWindow)
            main->setEnabled(false);
        Guarded(this, [this] { FormShow(); });
    });
}

TForm_qk::~TForm_qk()
{
    if (Form_qk == this)
        Form_qk = nullptr;
}

void TForm_qk::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int w = qMax(300, GroupBox1->width() - kListLeft - 8);
    const int h = GroupBox1->height();
    GroupBox2->setGeometry(5, 5, 215, qMax(200, h - 10));
    Button5->move(kListLeft + w - Button5->width(), 10);
    const int totalsTop = qMax(120, h - 55);
    DBGrid1->setGeometry(kListLeft, 45, w, totalsTop - 50);
    const int third = (w - 10) / 3;
    int left = kListLeft;
    for (LabeledEdit *e : {LabeledEdit1, LabeledEdit2, LabeledEdit3}) {
        e->setGeometry(left, totalsTop, third, 48);
        left += third + 5;
    }
}

void TForm_qk::FormShow()
{
    DBGrid1->SetQuery(ListQuery);
    m_rowId = -1;
    ComboBox1->clear();
    ComboBox3->clear();
    LookupQuery->Reopen(ContactNamesStatement());
    for (int r = 0; r < LookupQuery->RecordCount(); ++r) {
        ComboBox1->addItem(LookupQuery->Text(r, 0));
        if (const QString person = LookupQuery->Text(r, 1); !person.isEmpty())
            ComboBox3->addItem(person);
    }
    ComboBox1->clearEditText();
    ComboBox3->clearEditText();
    LookupQuery->Close();
    ListQuery->Reopen(DebtFirstStatement());
    DBGrid1->SetColumnWidth(QStringLiteral("序号"), 30);
}

void TForm_qk::closeEvent(QCloseEvent *event)
{
    DBGrid1->SetQuery(nullptr);
    if (Form_qk == this)
        Form_qk = nullptr; // never handed out again, though deletion comes a moment later
    if (m_shown) {
        ClientState &state = Client();
        if (state.mainWindow)
            state.mainWindow->setEnabled(true);
        // While a list screen is open its button alone stays usable: one list screen at a time.
        if (!state.childOpen && state.enableToolbar)
            state.enableToolbar();
    }
    QWidget::closeEvent(event);
}

void TForm_qk::showTotals()
{
    const DebtTotals t = SumDebts(*ListQuery);
    LabeledEdit1->setText(t.debts);
    LabeledEdit2->setText(t.repayments);
    LabeledEdit3->setText(t.balance);
}

QString TForm_qk::CardValue(int row) const
{
    const QTableWidgetItem *item = StringGrid1->item(row, 1);
    return item ? item->text() : QString();
}

void TForm_qk::showContact(bool found)
{
    for (int r = 0; r < kCardRows; ++r)
        StringGrid1->item(r, 1)->setText(
            found ? LookupQuery->FieldByName(QString::fromUtf8(kCard[r][1])).AsString() : QString());
}

void TForm_qk::DBGrid1CellClick()
{
    Silently([this] {
        m_rowId = -1;
        const Query *q = ListQuery;
        if (q->IsEmpty())
            return;
        auto text = [q](const char *name) { return q->FieldByName(QString::fromUtf8(name)).AsString(); };
        ComboBox1->setCurrentText(text("客户名称"));
        ComboBox3->setCurrentText(text("联系人"));
        ComboBox2->setCurrentText(text("项目"));
        LabeledEdit4->setText(text("金额"));
        if (const QDate d = StrToDate(text("日期").left(10)); d.isValid())
            DateTimePicker1->setDate(d);
        memo1->setPlainText(text("备注"));
        m_rowId = q->CurrentKey();
        LookupQuery->Reopen(ContactByNameStatement(ComboBox1->currentText()));
        showContact(!LookupQuery->IsEmpty());
    });
}

void TForm_qk::SpeedButton1Click()
{
    Silently([this] {
        LookupQuery->Reopen(ContactByNameStatement(ComboBox1->currentText()));
        const bool found = !LookupQuery->IsEmpty();
        if (found)
            ComboBox3->setCurrentText(LookupQuery->FieldByName(QStringLiteral("联系人")).AsString());
        showContact(found);
    });
}

void TForm_qk::SpeedButton2Click()
{
    Guarded(this, [this] {
        LookupQuery->Reopen(ContactByPersonStatement(ComboBox3->currentText()));
        const bool found = !LookupQuery->IsEmpty();
        if (found)
            ComboBox1->setCurrentText(LookupQuery->FieldByName(QStringLiteral("名称")).AsString());
        showContact(found);
    });
}

void TForm_qk::PresetDebt(const QString &customer, const QDate &date, const QString &amount)
{
    m_rowId = -1; // a new row, not the one last clicked
    ComboBox1->setCurrentText(customer);
    SpeedButton1Click();
    ComboBox2->setCurrentText(kDebt);
    LabeledEdit4->setText(amount);
    if (date.isValid())
        DateTimePicker1->setDate(date);
}

DebtFields TForm_qk::fields() const
{
    DebtFields f;
    f.customer = ComboBox1->currentText();
    f.contact = ComboBox3->currentText();
    f.kind = ComboBox2->currentText();
    f.amount = LabeledEdit4->text();
    f.date = DateTimePicker1->date();
    f.remark = memo1->toPlainText();
    return f;
}

bool TForm_qk::checked(const DebtFields &f)
{
    const QString problem = DebtInputProblem(f);
    if (problem.isEmpty())
        return true;
    Dialogs::Notice(this, problem);
    return false;
}

void TForm_qk::requery()
{
    Guarded(this, [this] { ListQuery->Requery(); });
}

void TForm_qk::Button1Click()
{
    Guarded(this, [this] {
        const DebtFields f = fields();
        if (!checked(f) || !Dialogs::Confirm(this, QStringLiteral("是否确定添加此欠款资料!")))
            return;
        if (!RunSQLOrReport(DebtInsertStatement(f), Form_sql->ADOConnection1, this))
            return;
        DateTimePicker1->setDate(QDate::currentDate());
        LabeledEdit4->setText(QString());
        memo1->clear();
        m_rowId = -1;
        requery();
    });
}

void TForm_qk::Button2Click()
{
    Guarded(this, [this] {
        if (!Dialogs::RowLoaded(this, m_rowId >= 0))
            return;
        const DebtFields f = fields();
        if (!checked(f) || !Dialogs::Confirm(this, QStringLiteral("是否确定修改此欠款资料!")))
            return;
        const RowWrite done = RunSQLOnRowOrReport(DebtUpdateStatement(f, m_rowId), Form_sql->ADOConnection1, this);
        if (done == RowWrite::NoRow)
            m_rowId = -1;
        if (done != RowWrite::Refused)
            requery();
    });
}

void TForm_qk::Button3Click()
{
    Guarded(this, [this] {
        if (!Dialogs::RowLoaded(this, m_rowId >= 0))
            return;
        if (!Dialogs::Confirm(this, QStringLiteral("是否确定删除此欠款资料!")))
            return;
        const RowWrite done = RunSQLOnRowOrReport(DebtDeleteStatement(m_rowId), Form_sql->ADOConnection1, this);
        if (done == RowWrite::Done) {
            LabeledEdit4->setText(QString());
            memo1->clear();
        }
        if (done != RowWrite::Refused)
            m_rowId = -1;
        requery();
    });
}

void TForm_qk::Button4Click()
{
    // A statement the engine refuses leaves the list empty (and the totals at 0), without a word.
    Silently([this] { ListQuery->Reopen(DebtListStatement(Filter->Choice(), Edit2->text())); });
    DBGrid1->SetColumnWidth(QStringLiteral("序号"), 30);
}

void TForm_qk::Button5Click()
{
    Guarded(this, [this] {
        if (ExportGrid(DBGrid1, Form_sql->SaveDialog1, this))
            Dialogs::Notice(this, QStringLiteral("导出成功!"));
    });
}
