#include "datalayer/clientstate.h"
#include "datalayer/connection.h"
#include "datalayer/dbgrid.h"
#include "datalayer/dialect.h"
#include "datalayer/dialogs.h"
#include "datalayer/labelededit.h"
#include "datalayer/query.h"
#include "finance/debtstatements.h"
#include "finance/main_qk.h"
#include "tests/support/screentest.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class Debts : public ScreenTest {
protected:
    ~Debts() override { delete window.data(); }

    static qint64 row(const QString &customer, const QString &kind, double amount, const QString &date = "2026-03-01",
                      const QString &contact = QString())
    {
        Run("insert into 欠款管理(客户名称,联系人,项目,金额,日期,备注) values(" + QuotedStr(customer) + ',' +
            QuotedStr(contact) + ',' + QuotedStr(kind) + ',' + QString::number(amount) + ",'" + date + "','')");
        return Scalar("Select max(ID) From 欠款管理").toLongLong();
    }
    static QString stored(qint64 id, const char *column)
    {
        return Scalar(QStringLiteral("Select ") + QString::fromUtf8(column) + " From 欠款管理 where ID = " +
                      QString::number(id));
    }
    static int rowCount() { return Scalar("Select count(*) From 欠款管理").toInt(); }

    TForm_qk *open()
    {
        window = Form_qk = new TForm_qk();
        window->show();
        QCoreApplication::processEvents();
        return window;
    }
    QStringList totals() const
    {
        return {window->LabeledEdit1->text(), window->LabeledEdit2->text(), window->LabeledEdit3->text()};
    }
    QStringList listed(const char *column = "金额") { return Listed(window->DBGrid1, QString::fromUtf8(column)); }
    void load(qint64 id)
    {
        const Query *q = window->ListQuery;
        for (int r = 0; r < q->RecordCount(); ++r)
            if (q->Text(r, q->FieldIndex("ID")) == QString::number(id)) {
                ClickRow(window->DBGrid1, r);
                ASSERT_EQ(window->RowId(), id);
                return;
            }
        FAIL() << "row " << id << " is not listed";
    }
    void type(const QString &customer, const QString &kind, const QString &amount)
    {
        window->ComboBox1->setCurrentText(customer);
        window->ComboBox2->setCurrentText(kind);
        window->LabeledEdit4->setText(amount);
    }

    QPointer<TForm_qk> window;
};

TEST_F(Debts, OpeningTotalsEveryRow)
{
    row("甲", "欠款", 300);
    row("甲", "欠款", 200);
    row("甲", "还款", 120.5);
    open();
    EXPECT_EQ(totals(), QStringList({"500", "120.5", "379.5"}));
    EXPECT_EQ(listed().size(), 3);
    EXPECT_EQ(window->ComboBox2->currentText(), "欠款");
    EXPECT_EQ(window->memo1->toPlainText(), "备注：");
    EXPECT_EQ(window->DateTimePicker1->date(), QDate::currentDate());
    EXPECT_EQ(window->windowTitle(), "欠款管理");
}

TEST_F(Debts, TheTotalsFollowEveryAddChangeDeleteAndFilter)
{
    const qint64 a = row("甲", "欠款", 300, "2026-03-01", "老甲");
    row("乙", "欠款", 50);
    open();
    const struct Step {
        const char *what;
        std::function<void()> act;
        QStringList totals;
        int rows;
    } steps[] = {
        {"add a repayment", [&] { type("甲", "还款", "100"); window->Button1->click(); }, {"350", "100", "250"}, 3},
        {"change the first debt",
         [&] {
             load(a);
             window->LabeledEdit4->setText("320.25");
             window->Button2->click();
         },
         {"370.25", "100", "270.25"}, 3},
        {"filter by customer",
         [&] {
             window->ComboBox7->setCurrentIndex(2);
             window->Edit2->setText("甲");
             window->Button4->click();
         },
         {"320.25", "100", "220.25"}, 2},
        {"filter by contact person", [&] { window->N6->trigger(); }, {"320.25", "0", "320.25"}, 1},
        {"delete it",
         [&] {
             load(a);
             window->Button3->click();
         },
         {"0", "0", "0"}, 0},
        {"全部", [&] { window->N2->trigger(); }, {"50", "100", "-50"}, 2},
    };
    for (const Step &s : steps) {
        s.act();
        EXPECT_EQ(totals(), s.totals) << s.what;
        EXPECT_EQ(listed().size(), s.rows) << s.what;
    }
    EXPECT_EQ(dialogs.Texts(), QStringList({"是否确定添加此欠款资料!", "是否确定修改此欠款资料!",
                                            "是否确定删除此欠款资料!"}));
}

TEST_F(Debts, AFilterListsThatCustomersRowsNewestFirst)
{
    row("甲", "欠款", 300, "2026-03-01");
    row("乙", "欠款", 70);
    row("甲", "还款", 120.5, "2026-03-05");
    const qint64 last = row("甲", "欠款", 200, "2026-03-09");
    open();
    load(last);
    window->N7->trigger(); // 筛选此客户名称
    EXPECT_EQ(listed("日期"), QStringList({"2026-03-09", "2026-03-05", "2026-03-01"}));
    EXPECT_EQ(totals(), QStringList({"500", "120.5", "379.5"}));
    EXPECT_EQ(window->Edit2->text(), "甲"); // the value stays
}

TEST_F(Debts, ChangeAndDeleteNeedTheRowOnScreen)
{
    const qint64 a = row("甲", "欠款", 300);
    open();
    type("甲", "欠款", "999");
    window->Button2->click();
    window->Button3->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"请先在列表中选择一条记录!", "请先在列表中选择一条记录!"}));

    // After an add the key is forgotten: "修改" must not land on the row clicked before it.
    load(a);
    type("乙", "欠款", "40");
    dialogs.Clear();
    window->Button1->click();
    EXPECT_EQ(rowCount(), 2);
    type("乙", "欠款", "41");
    window->Button2->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"是否确定添加此欠款资料!", "请先在列表中选择一条记录!"}));
    EXPECT_EQ(stored(a, "金额"), "300");
    EXPECT_EQ(stored(a, "客户名称"), "甲");
    EXPECT_EQ(Scalar("Select 金额 From 欠款管理 where 客户名称='乙'"), "40");
    // What the add left: today, no amount, an empty remark.
    EXPECT_EQ(window->DateTimePicker1->date(), QDate::currentDate());
    EXPECT_TRUE(window->memo1->toPlainText().isEmpty());
}

TEST_F(Debts, ARowDeletedMeanwhileIsReported)
{
    const qint64 a = row("甲", "欠款", 300);
    open();
    load(a);
    Run("DELETE FROM 欠款管理 WHERE ID = " + QString::number(a));
    window->Button2->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"是否确定修改此欠款资料!", "所选记录已不存在，请在列表中重新选择!"}));
    EXPECT_EQ(rowCount(), 0);
    EXPECT_EQ(window->RowId(), -1);
    EXPECT_EQ(totals(), QStringList({"0", "0", "0"}));
}

struct BadDebt {
    const char *customer, *kind, *amount, *notice;
};

void PrintTo(const BadDebt &c, std::ostream *os)
{
    *os << "'" << c.customer << "' '" << c.kind << "' '" << c.amount << "'";
}

class DebtInputs : public Debts, public ::testing::WithParamInterface<BadDebt> {};

TEST_P(DebtInputs, AreRefusedBeforeAnyQuestion)
{
    const BadDebt c = GetParam();
    const qint64 a = row("甲", "欠款", 300);
    open();
    for (QPushButton *button : {window->Button1, window->Button2}) {
        load(a);
        type(c.customer, c.kind, c.amount);
        dialogs.Clear();
        button->click();
        EXPECT_EQ(dialogs.Texts(), QStringList({c.notice})) << button->text().toStdString();
    }
    EXPECT_EQ(rowCount(), 1);
    EXPECT_EQ(stored(a, "金额"), "300");
    EXPECT_EQ(stored(a, "项目"), "欠款");
}

INSTANTIATE_TEST_SUITE_P(Cases, DebtInputs,
                         ::testing::Values(BadDebt{"甲", "欠款", "", "请输入正确的金额!"},
                                           BadDebt{"甲", "欠款", "abc", "请输入正确的金额!"},
                                           BadDebt{"甲", "还款", "0", "请输入正确的金额!"},
                                           BadDebt{"甲", "还款", "1.2.3", "请输入正确的金额!"},
                                           BadDebt{"甲", "借款", "10", "项目只能选择欠款或还款!"},
                                           BadDebt{"", "欠款", "10", "请输入客户名称!"}));

TEST_F(Debts, QuotesInNamesAndRemarksAreStoredExactly)
{
    open();
    type("O'Neil's 茶行", "欠款", "12.5");
    window->ComboBox3->setCurrentText("'老王'");
    window->memo1->setPlainText("备注：\n'); DELETE FROM 欠款管理; --");
    window->Button1->click();
    ASSERT_EQ(rowCount(), 1);
    EXPECT_EQ(Scalar("Select 客户名称 From 欠款管理"), "O'Neil's 茶行");
    EXPECT_EQ(Scalar("Select 联系人 From 欠款管理"), "'老王'");
    EXPECT_EQ(Scalar("Select 备注 From 欠款管理"), "备注：\n'); DELETE FROM 欠款管理; --");
    window->ComboBox7->setCurrentIndex(2);
    window->Edit2->setText("O'Neil's 茶行");
    window->Button4->click();
    EXPECT_EQ(listed("客户名称"), QStringList({"O'Neil's 茶行"}));
    EXPECT_EQ(totals(), QStringList({"12.5", "0", "12.5"}));
}

TEST_F(Debts, TheLookUpsFillTheOtherBoxAndTheContactCard)
{
    Run("insert into 通讯管理(名称,联系人,电话,手机,传真,开户银行,银行账号,地址,类型) values("
        "'甲茶庄','老甲','0571-1','139','0571-2','农行','6228','西湖路1号','客户')");
    Run("insert into 通讯管理(名称,联系人,类型) values('乙茶厂','老乙','供应商')");
    open();
    QStringList names, people;
    for (int i = 0; i < window->ComboBox1->count(); ++i)
        names << window->ComboBox1->itemText(i);
    for (int i = 0; i < window->ComboBox3->count(); ++i)
        people << window->ComboBox3->itemText(i);
    EXPECT_EQ(names, QStringList({"甲茶庄", "乙茶厂"})); // suppliers and customers, names in reverse order
    EXPECT_EQ(people, QStringList({"老甲", "老乙"}));
    EXPECT_TRUE(window->ComboBox1->currentText().isEmpty());
    // Enter in a box adds no typed name to its list.
    for (QComboBox *box : {window->ComboBox1, window->ComboBox3, window->ComboBox2}) {
        const int count = box->count();
        box->setCurrentText("新来的");
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        EXPECT_EQ(box->count(), count) << box->objectName().toStdString();
    }
    window->ComboBox2->setCurrentText("欠款");

    window->ComboBox1->setCurrentText("甲茶庄");
    window->SpeedButton1->click();
    EXPECT_EQ(window->ComboBox3->currentText(), "老甲");
    QStringList card;
    for (int r = 0; r < 8; ++r)
        card << window->CardValue(r);
    EXPECT_EQ(card, QStringList({"甲茶庄", "老甲", "0571-1", "139", "0571-2", "农行", "6228", "西湖路1号"}));

    window->ComboBox3->setCurrentText("老乙");
    window->SpeedButton2->click();
    EXPECT_EQ(window->ComboBox1->currentText(), "乙茶厂");
    EXPECT_EQ(window->CardValue(0), "乙茶厂");
    EXPECT_TRUE(window->CardValue(2).isEmpty());

    // A customer outside the book still records; the card is empty then.
    const qint64 a = row("路人", "欠款", 5);
    window->N2->trigger();
    load(a);
    EXPECT_TRUE(window->CardValue(0).isEmpty());
    EXPECT_EQ(window->ComboBox1->currentText(), "路人");
    EXPECT_TRUE(dialogs.Requests().empty());
}

TEST_F(Debts, ClosingGivesTheMainWindowBackAndTheToolbarOnlyWithoutAListScreen)
{
    QWidget mainWindow;
    int toolbar = 0;
    Client().mainWindow = &mainWindow;
    Client().enableToolbar = [&toolbar] { ++toolbar; };
    for (const bool listScreenOpen : {true, false}) {
        Client().childOpen = listScreenOpen;
        open();
        EXPECT_FALSE(mainWindow.isEnabled());
        window->close();
        QTest::qWait(20);
        EXPECT_TRUE(window.isNull());
        EXPECT_EQ(Form_qk, nullptr);
        EXPECT_TRUE(mainWindow.isEnabled());
        EXPECT_EQ(toolbar, listScreenOpen ? 0 : 1);
    }
    Client().mainWindow = nullptr;
    Client().enableToolbar = nullptr;
    Client().childOpen = false;
}

TEST(DebtTotals, SumEachKindAndTakeTheDifferenceOfTheShownSums)
{
    TestFolder folder;
    Connection conn;
    conn.SetDatabase(folder.DatabasePath());
    const struct {
        QStringList rows; // kind:amount
        QStringList totals;
    } cases[] = {
        {{}, {"0", "0", "0"}},
        {{"欠款:0.1", "欠款:0.2", "还款:0.1"}, {"0.3", "0.1", "0.2"}},
        {{"还款:5", "其他:100"}, {"0", "5", "-5"}},
        {{"欠款:1234567.891"}, {"1234567.891", "0", "1234567.891"}},
    };
    for (const auto &c : cases) {
        conn.Execute("DELETE FROM 欠款管理");
        for (const QString &r : c.rows)
            conn.Execute("insert into 欠款管理(客户名称,项目,金额) values('甲'," + QuotedStr(r.section(':', 0, 0)) + ',' +
                         r.section(':', 1) + ')');
        Query q(&conn, "rows");
        q.SetSQL("Select * From 欠款管理");
        q.Open();
        const DebtTotals t = SumDebts(q);
        EXPECT_EQ(QStringList({t.debts, t.repayments, t.balance}), c.totals) << c.rows.join(' ').toStdString();
    }
}

} // namespace
