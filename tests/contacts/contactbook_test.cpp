#include "tests/contacts/contactfixture.h"

#include "app/screenregistry.h"
#include "app/screens.h"
#include "contacts/main_jh_user.h"
#include "contacts/main_uses.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace {

enum class Kind { Supplier, Customer };

// What tells the two books apart, written down from the screens' description.
struct BookCase {
    const char *name;
    Kind kind;
    QString type;
    QString caption;
    QString subject;
    QString nameItem;
    QString deleteItem;
    // The field of each column of 通讯管理, in the order 名称 联系人 电话 手机 传真 开户银行 银行账号 地址.
    std::array<const char *, 8> edits;
    std::array<const char *, 8> labels;
    bool rowColours;
    bool remarkColumn;
    QStringList clearedByChange; // the other fields keep their texts
    bool remarkResetByChange;    // else it keeps its text
    QStringList keptByDelete;
};

void PrintTo(const BookCase &c, std::ostream *os)
{
    *os << c.name;
}

const QStringList kAll{"名称", "联系人", "电话", "手机", "传真", "开户银行", "银行账号", "地址"};

const BookCase kBooks[] = {
    {"Supplier", Kind::Supplier, kSupplier, "进货渠道管理", "渠道商信息", "名称", "E1",
     {"LabeledEdit1", "LabeledEdit5", "LabeledEdit2", "LabeledEdit8", "LabeledEdit3", "LabeledEdit4", "LabeledEdit6",
      "LabeledEdit7"},
     {"名    称：", "联系人：", "电    话：", "手    机：", "传    真：", "开户银行：", "银行账号：", "地    址："},
     false, true, kAll, true, {}},
    {"Customer", Kind::Customer, kCustomer, "客户管理", "客户资料", "客户名称", "D1",
     {"LabeledEdit1", "LabeledEdit2", "LabeledEdit3", "LabeledEdit4", "LabeledEdit5", "LabeledEdit6", "LabeledEdit7",
      "LabeledEdit8"},
     {"客户名称：", "联系人：", "电    话：", "手    机：", "传    真：", "开户银行：", "银行账号：", "地    址："},
     true, false, {"名称", "联系人"}, false, {"地址"}},
};

class Books : public ContactBookFixture, public ::testing::WithParamInterface<BookCase> {
protected:
    ContactBook *openBook()
    {
        // As the main window opens them: the global names the newest.
        if (GetParam().kind == Kind::Supplier)
            return Form_jh_user = open<TForm_jh_user>();
        return Form_uses = open<TForm_uses>();
    }
    Contact sample(const QString &name = "茶源行") const
    {
        return {name, "王五", "0595-1234567", "13800000001", "0595-7654321", "农业银行", "6228 0001", "安溪县城厢镇",
                "备注：\n老客户", GetParam().type};
    }
    // A row written behind the book's back, then listed and loaded into the fields.
    ContactBook *openWithLoadedRow()
    {
        insert(sample());
        ContactBook *b = openBook();
        clickRow(b, 0);
        EXPECT_EQ(shown(b).name, sample().name);
        return b;
    }
    QString question(const char *verb) const { return QString("是否确定") + verb + "此" + GetParam().subject + "!"; }
    static QPushButton *button(ContactBook *b, int n) { return b->findChild<QPushButton *>(QString("Button%1").arg(n)); }
};

TEST_P(Books, ShowsItsOwnControlsAndOnlyItsOwnContacts)
{
    const BookCase &c = GetParam();
    insert({"甲供应商", {}, {}, {}, {}, {}, {}, {}, {}, kSupplier});
    insert({"乙客户", {}, {}, {}, {}, {}, {}, {}, {}, kCustomer});
    ContactBook *b = openBook();
    EXPECT_EQ(b->windowTitle(), c.caption);
    EXPECT_EQ(b->parentWidget(), nullptr);
    EXPECT_TRUE(b->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(b->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(b->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(b->testAttribute(Qt::WA_DeleteOnClose));
    for (size_t i = 0; i < kAll.size(); ++i) {
        auto *edit = b->findChild<LabeledEdit *>(c.edits[i]);
        ASSERT_NE(edit, nullptr) << c.edits[i];
        EXPECT_EQ(edit->EditLabel()->text(), QString(c.labels[i])) << c.edits[i];
    }
    EXPECT_EQ(b->findChild<QPlainTextEdit *>("memo1")->toPlainText(), "备注：");
    EXPECT_EQ(button(b, 1)->text(), "添加(&A)");
    EXPECT_EQ(button(b, 2)->text(), "修改(&E)");
    EXPECT_EQ(button(b, 3)->text(), "删除(&D)");
    EXPECT_EQ(button(b, 4)->text(), "查询");
    auto *choice = b->findChild<QComboBox *>("ComboBox7");
    EXPECT_EQ(choice->currentText(), "全部");
    QStringList items;
    for (int i = 0; i < choice->count(); ++i)
        items << choice->itemText(i);
    EXPECT_EQ(items, QStringList({"全部", c.nameItem, "联系人"}));
    ASSERT_NE(b->findChild<QLineEdit *>("Edit1"), nullptr);
    auto *item = b->findChild<QAction *>(c.deleteItem);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), "删除(&D)");
    EXPECT_EQ(b->DBGrid1->RowColours(), c.rowColours);
    EXPECT_EQ(b->DBGrid1->ColumnIndex("备注") >= 0, c.remarkColumn);
    EXPECT_EQ(b->DBGrid1->ColumnIndex("序号"), 0);
    EXPECT_EQ(listedNames(b), QStringList({c.kind == Kind::Supplier ? "甲供应商" : "乙客户"}));
}

TEST_P(Books, AddingOnlyANameStoresEmptyTextsAndTheRemarkLine)
{
    ContactBook *b = openBook();
    b->LabeledEdit1->setText("茶源行");
    b->Button1->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({question("添加")}));
    EXPECT_EQ(dialogs.Requests().at(0).caption, "提示!");
    const std::vector<Contact> expected{{"茶源行", "", "", "", "", "", "", "", "备注：", GetParam().type}};
    EXPECT_EQ(rows(), expected);
    EXPECT_EQ(shown(b), (Contact{"", "", "", "", "", "", "", "", "备注：", ""}));
    EXPECT_EQ(listedNames(b), QStringList({"茶源行"}));
}

TEST_P(Books, AddingStoresEveryFieldAndTheSameNameTwiceIsListedTwice)
{
    ContactBook *b = openBook();
    for (int i = 0; i < 2; ++i) {
        fill(b, sample());
        b->Button1->click();
    }
    EXPECT_EQ(rows(), std::vector<Contact>(2, sample()));
    EXPECT_EQ(listedNames(b), QStringList({"茶源行", "茶源行"}));
}

TEST_P(Books, LoadingARowPutsEachColumnIntoItsOwnField)
{
    const BookCase &c = GetParam();
    insert(sample());
    ContactBook *b = openBook();
    clickRow(b, 0);
    const QStringList values{sample().name, sample().person, sample().phone, sample().mobile,
                             sample().fax,  sample().bank,   sample().account, sample().address};
    for (size_t i = 0; i < kAll.size(); ++i)
        EXPECT_EQ(b->findChild<LabeledEdit *>(c.edits[i])->text(), values[int(i)]) << kAll[int(i)].toStdString();
    EXPECT_EQ(b->memo1->toPlainText(), sample().remark);
    EXPECT_FALSE(b->SelectedRecord().isEmpty());
}

TEST_P(Books, ChangeWritesEveryFieldKeepsTheTypeAndEmptiesWhatTheBookEmpties)
{
    ContactBook *b = openWithLoadedRow();
    const Contact changed{"茶源行二号", "李四", "1", "2", "3", "工商银行", "4", "泉州", "备注：改", GetParam().type};
    fill(b, changed);
    b->Button2->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({question("修改")}));
    EXPECT_EQ(rows(), std::vector<Contact>({changed}));

    Contact expected = changed;
    expected.type.clear();
    QString *fields[] = {&expected.name, &expected.person, &expected.phone,   &expected.mobile,
                         &expected.fax,  &expected.bank,   &expected.account, &expected.address};
    for (int i = 0; i < kAll.size(); ++i)
        if (GetParam().clearedByChange.contains(kAll[i]))
            fields[i]->clear();
    if (GetParam().remarkResetByChange)
        expected.remark = "备注：";
    EXPECT_EQ(shown(b), expected);
    EXPECT_EQ(listedNames(b), QStringList({"茶源行二号"}));

    // The change used the loaded row: a second one must load it again.
    fill(b, sample("第三个名字"));
    dialogs.Clear();
    b->Button2->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({"请先在列表中选择一条记录!"}));
    EXPECT_EQ(rows(), std::vector<Contact>({changed}));
}

TEST_P(Books, DeleteRemovesTheRowAndEmptiesWhatTheBookEmpties)
{
    ContactBook *b = openWithLoadedRow();
    insert({"留下", {}, {}, {}, {}, {}, {}, {}, {}, GetParam().type});
    b->Button3->click();
    EXPECT_EQ(dialogs.Texts(), QStringList({question("删除")}));
    EXPECT_EQ(rows().size(), 1u);
    EXPECT_EQ(rows().at(0).name, "留下");
    for (const QString &column : kAll) {
        const bool kept = GetParam().keptByDelete.contains(column);
        EXPECT_EQ(b->FieldOf(column)->text().isEmpty(), !kept) << column.toStdString();
    }
    EXPECT_EQ(b->memo1->toPlainText(), "");
    EXPECT_EQ(listedNames(b), QStringList({"留下"}));
}

TEST_P(Books, ThePopupItemDeletesTheLoadedRow)
{
    ContactBook *b = openWithLoadedRow();
    b->findChild<QAction *>(GetParam().deleteItem)->trigger();
    EXPECT_EQ(dialogs.Texts(), QStringList({question("删除")}));
    EXPECT_TRUE(rows().empty());
}

TEST_P(Books, AnEmptyNameDoesNothing)
{
    for (int n = 1; n <= 3; ++n) {
        SCOPED_TRACE(n);
        ContactBook *b = openWithLoadedRow();
        b->LabeledEdit1->setText("");
        button(b, n)->click();
        EXPECT_TRUE(dialogs.Requests().empty());
        EXPECT_EQ(rows(), std::vector<Contact>({sample()}));
        ASSERT_TRUE(RunSQL("delete from 通讯管理", conn()));
        delete book.data();
    }
}

TEST_P(Books, CancelAtTheQuestionWritesNothing)
{
    for (int n = 1; n <= 3; ++n) {
        SCOPED_TRACE(n);
        ContactBook *b = openWithLoadedRow();
        b->LabeledEdit1->setText("别的名字");
        const Contact before = shown(b);
        dialogs.Clear();
        dialogs.Cancel();
        button(b, n)->click();
        EXPECT_EQ(dialogs.Count(Dialogs::Kind::Confirm), 1);
        EXPECT_EQ(rows(), std::vector<Contact>({sample()}));
        EXPECT_EQ(shown(b), before);
        ASSERT_TRUE(RunSQL("delete from 通讯管理", conn()));
        delete book.data();
    }
}

TEST_P(Books, AChangeOrDeleteBeforeAnyRowWasLoadedIsReported)
{
    struct Case {
        int button;
        QString notice;
    };
    // The shared notice, as on every other screen.
    const Case cases[] = {{2, "请先在列表中选择一条记录!"}, {3, "请先在列表中选择一条记录!"}};
    insert(sample());
    ContactBook *b = openBook();
    fill(b, sample("新名字"));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.button);
        dialogs.Clear();
        button(b, c.button)->click();
        ASSERT_EQ(dialogs.Requests().size(), 1u);
        EXPECT_EQ(dialogs.Requests()[0].kind, Dialogs::Kind::Notice);
        EXPECT_EQ(dialogs.Requests()[0].caption, "提示!");
        EXPECT_EQ(dialogs.Requests()[0].text, c.notice);
        EXPECT_EQ(rows(), std::vector<Contact>({sample()}));
        EXPECT_EQ(shown(b).name, "新名字");
    }
}

TEST_P(Books, AWriteTheEngineRefusesShowsItsReasonAndKeepsTheFields)
{
    struct Case {
        const char *event;
        int button;
    };
    const Case cases[] = {{"INSERT", 1}, {"UPDATE", 2}, {"DELETE", 3}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.event);
        ContactBook *b = openWithLoadedRow();
        conn().ExecuteNative(QString("CREATE TRIGGER refuse BEFORE %1 ON 通讯管理 BEGIN SELECT RAISE(ABORT,'磁盘已满'); END")
                                 .arg(c.event));
        fill(b, sample("新名字"));
        dialogs.Clear();
        button(b, c.button)->click();
        ASSERT_EQ(dialogs.Count(Dialogs::Kind::Error), 1);
        EXPECT_TRUE(dialogs.Requests().back().text.contains("磁盘已满")) << dialogs.Requests().back().text.toStdString();
        EXPECT_EQ(rows(), std::vector<Contact>({sample()}));
        Contact expected = sample("新名字");
        expected.type.clear();
        EXPECT_EQ(shown(b), expected);
        conn().ExecuteNative("DROP TRIGGER refuse");
        ASSERT_TRUE(RunSQL("delete from 通讯管理", conn()));
        delete book.data();
    }
}

TEST_P(Books, AChangeOrDeleteOfARowDeletedMeanwhileIsReportedAndKeepsTheFields)
{
    for (const bool change : {true, false}) {
        SCOPED_TRACE(change ? "修改" : "删除");
        ContactBook *b = openWithLoadedRow();
        ASSERT_TRUE(RunSQL("delete from 通讯管理", conn()));
        fill(b, sample("新名字"));
        dialogs.Clear();
        (change ? b->Button2 : b->Button3)->click();
        EXPECT_EQ(dialogs.Texts().last(), "所选记录已不存在，请在列表中重新选择!");
        EXPECT_TRUE(rows().empty());
        EXPECT_EQ(shown(b).name, "新名字");
        EXPECT_TRUE(listedNames(b).isEmpty());
        EXPECT_TRUE(b->SelectedRecord().isEmpty());
        closeBook();
    }
}

TEST_P(Books, QuotesInTextsAreStoredFilteredAndReadBack)
{
    ContactBook *b = openBook();
    Contact obrien = sample("O'Brien");
    obrien.person = "D'Arcy";
    obrien.remark = "备注：it's '; drop table 通讯管理; --";
    fill(b, obrien);
    b->Button1->click();
    EXPECT_EQ(rows(), std::vector<Contact>({obrien}));

    struct Case {
        int item;
        QString value;
    };
    for (const Case &c : {Case{1, "O'Brien"}, Case{2, "D'Arcy"}}) {
        b->ComboBox7->setCurrentIndex(c.item);
        b->Edit1->setText(c.value);
        b->Button4->click();
        EXPECT_EQ(listedNames(b), QStringList({"O'Brien"})) << c.item;
    }
    clickRow(b, 0);
    obrien.type.clear();
    EXPECT_EQ(shown(b), obrien);
    b->LabeledEdit1->setText("O'Brien & Sons");
    b->Button2->click();
    EXPECT_EQ(rows().at(0).name, "O'Brien & Sons");
}

TEST_P(Books, TheFilterCoversBothKindsNewestFirst)
{
    insert({"甲", "张三", {}, {}, {}, {}, {}, {}, {}, kSupplier});
    insert({"乙", "李四", {}, {}, {}, {}, {}, {}, {}, kCustomer});
    insert({"丙", "张三", {}, {}, {}, {}, {}, {}, {}, kCustomer});
    insert({"甲", "王五", {}, {}, {}, {}, {}, {}, {}, kCustomer});
    ContactBook *b = openBook();
    struct Case {
        int item;
        QString value;
        QStringList names;
    };
    const Case cases[] = {
        {0, "", {"甲", "丙", "乙", "甲"}},
        {0, "whatever", {"甲", "丙", "乙", "甲"}},
        {1, "甲", {"甲", "甲"}},
        {2, "张三", {"丙", "甲"}},
        {1, "没有", {}},
    };
    for (const Case &c : cases) {
        b->ComboBox7->setCurrentIndex(c.item);
        b->Edit1->setText(c.value);
        b->Button4->click();
        EXPECT_EQ(listedNames(b), c.names) << c.item << " " << c.value.toStdString();
        EXPECT_EQ(b->DBGrid1->columnWidth(0), 30);
    }
}

TEST_P(Books, ClosingGivesTheMainWindowBackAndUnbindsTheList)
{
    openBook();
    ASSERT_NE(GetParam().kind == Kind::Supplier ? static_cast<QWidget *>(Form_jh_user) : Form_uses, nullptr);
    ASSERT_FALSE(main.isEnabled());
    closeBook();
    EXPECT_TRUE(main.isEnabled());
    EXPECT_TRUE(book.isNull());
    EXPECT_EQ(Form_jh_user, nullptr);
    EXPECT_EQ(Form_uses, nullptr);
}

INSTANTIATE_TEST_SUITE_P(ContactBook, Books, ::testing::ValuesIn(kBooks),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(ContactBookScreens, TheMainWindowOpensBothBooksAsDisablingTools)
{
    RegisterScreens();
    TestFolder folder;
    Form_sql = new TForm_sql();
    Form_sql->FormCreate();
    struct Case {
        const char *trigger;
        const char *objectName;
    };
    const Case cases[] = {{"N19", "Form_jh_user"}, {"N15", "Form_uses"}};
    for (const Case &c : cases) {
        const ScreenEntry *entry = FindScreen(c.trigger);
        ASSERT_NE(entry, nullptr) << c.trigger;
        EXPECT_EQ(entry->way, OpenWay::DisablingTool);
        QWidget *w = entry->create();
        EXPECT_EQ(w->objectName(), c.objectName);
        delete w;
    }
    delete Form_sql;
    Form_sql = nullptr;
}

} // namespace
