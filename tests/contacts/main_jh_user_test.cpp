#include "tests/contacts/contactfixture.h"

#include "contacts/main_jh_user.h"
#include "contacts/main_uses.h"

namespace {

class SupplierBook : public ContactBookFixture {
protected:
    ~SupplierBook() override { TForm_jh_user::SupplierNamesChanged = nullptr; }
};

TEST_F(SupplierBook, ClosingGivesStockIntakeTheCurrentSupplierNames)
{
    std::vector<QStringList> calls;
    TForm_jh_user::SupplierNamesChanged = [&calls](const QStringList &names) { calls.push_back(names); };
    insert({"甲茶厂", {}, {}, {}, {}, {}, {}, {}, {}, kSupplier});
    insert({"乙客户", {}, {}, {}, {}, {}, {}, {}, {}, kCustomer});
    TForm_jh_user *b = open<TForm_jh_user>();
    b->LabeledEdit1->setText("O'Neil 茶庄");
    b->Button1->click();
    closeBook();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], QStringList({"甲茶厂", "O'Neil 茶庄"}));
    EXPECT_TRUE(main.isEnabled());
    EXPECT_FALSE(Form_sql->ADOQuery_user->Active());
}

TEST_F(SupplierBook, ClosingWithoutStockIntakeStillCloses)
{
    open<TForm_jh_user>();
    closeBook();
    EXPECT_TRUE(book.isNull());
    EXPECT_TRUE(main.isEnabled());
    EXPECT_FALSE(Form_sql->ADOQuery_user->Active());
}

// The supplier book stays open beside stock intake while the customer book opens from the menu:
// each lists, loads and writes its own rows.
TEST_F(SupplierBook, TheCustomerBookOpenedBesideItLeavesItsListAndRowsAlone)
{
    insert({"甲茶厂", {}, {}, {}, {}, {}, {}, {}, {}, kSupplier});
    insert({"乙客户", {}, {}, {}, {}, {}, {}, {}, {}, kCustomer});
    TForm_jh_user *suppliers = open<TForm_jh_user>();
    QPointer<TForm_uses> customers = new TForm_uses();
    customers->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(listedNames(suppliers), QStringList({"甲茶厂"}));
    EXPECT_EQ(listedNames(customers), QStringList({"乙客户"}));

    clickRow(suppliers, 0);
    EXPECT_EQ(suppliers->LabeledEdit1->text(), "甲茶厂");
    suppliers->LabeledEdit1->setText("甲茶厂二");
    suppliers->Button2->click();
    EXPECT_EQ(rows()[0].name, "甲茶厂二");
    EXPECT_EQ(rows()[1].name, "乙客户");

    closeBook(); // the supplier book closes first; the customer book keeps its list
    EXPECT_EQ(listedNames(customers), QStringList({"乙客户"}));
    delete customers.data();
}

} // namespace
