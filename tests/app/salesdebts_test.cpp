#include "app/main_client.h"
#include "app/screens.h"
#include "datalayer/clientstate.h"
#include "datalayer/dialogs.h"
#include "datalayer/sql_ado_conn.h"
#include "finance/main_qk.h"
#include "sales/main_xs.h"
#include "tests/support/testfolder.h"

#include <QAction>
#include <QDateEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class SalesAndDebts : public ::testing::Test {
protected:
    SalesAndDebts()
    {
        Form_sql = new TForm_sql();
        Form_sql->FormCreate();
        RegisterScreens();
        window = new TForm_Client();
        window->show();
    }
    ~SalesAndDebts() override
    {
        delete window.data();
        delete Form_qk;
        delete Form_sql;
        Form_sql = nullptr;
    }
    QStringList enabledButtons() const
    {
        QStringList out;
        for (QToolButton *b : window->ToolButtons())
            if (b->isEnabled())
                out << b->text();
        return out;
    }

    TestFolder folder;
    Dialogs::Script dialogs;
    QPointer<TForm_Client> window;
};

TEST_F(SalesAndDebts, TheDebtsWindowOfTheSalesRecordsKeepsOneListScreenAtATime)
{
    window->ToolButton1->click();
    ASSERT_NE(Form_xs, nullptr);
    ASSERT_EQ(window->MdiArea->subWindowList().size(), 1);
    QPointer<TForm_qk> debts = Form_qk;
    ASSERT_FALSE(debts.isNull()) << "made together with the sales records";
    EXPECT_FALSE(debts->isVisible());

    Form_xs->N10->trigger(); // "欠款"
    EXPECT_TRUE(debts->isVisible());
    EXPECT_FALSE(window->isEnabled());
    debts->close();
    QTest::qWait(20);
    EXPECT_TRUE(debts.isNull());
    EXPECT_TRUE(window->isEnabled());
    EXPECT_EQ(enabledButtons(), QStringList({"销售记录"})) << "no second list screen beside the sales records";
    EXPECT_TRUE(Client().childOpen);

    window->ToolButton1->click(); // the second press closes the screen
    QTest::qWait(20);
    EXPECT_EQ(Form_xs, nullptr);
    EXPECT_EQ(enabledButtons().size(), 9);

    window->ToolButton3->click(); // "欠款管理" from the toolbar
    ASSERT_NE(Form_qk, nullptr);
    debts = Form_qk;
    EXPECT_TRUE(debts->isVisible());
    EXPECT_FALSE(window->isEnabled());
    EXPECT_EQ(debts->DateTimePicker1->date(), QDate::currentDate());
    debts->close();
    QTest::qWait(20);
    EXPECT_TRUE(window->isEnabled());
    EXPECT_EQ(enabledButtons().size(), 9);
    EXPECT_TRUE(dialogs.Requests().empty());
}

TEST_F(SalesAndDebts, ADebtsWindowNeverShownGoesWithTheSalesRecords)
{
    window->ToolButton1->click();
    QPointer<TForm_qk> debts = Form_qk;
    ASSERT_FALSE(debts.isNull());
    window->MdiArea->subWindowList().first()->close();
    QTest::qWait(20);
    EXPECT_TRUE(debts.isNull());
    EXPECT_EQ(Form_qk, nullptr);
    EXPECT_FALSE(Client().childOpen);
}

} // namespace
