#include "tests/contacts/contactfixture.h"

#include "contacts/main_jh_user.h"

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

} // namespace
