#include "datalayer/clientstate.h"
#include "datalayer/connection.h"
#include "datalayer/dbgrid.h"
#include "datalayer/filterbar.h"
#include "datalayer/listscreen.h"
#include "datalayer/numerickeyfilter.h"
#include "datalayer/query.h"
#include "datalayer/runsql.h"
#include "datalayer/sysfun.h"
#include "tests/support/testfolder.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

std::vector<GridColumn> stockColumns()
{
    GridColumn no{"序号"}, lot{"编号"}, price{"毛茶价"}, total{"总重量"}, amount{"总金额"};
    no.width = 40;
    price.displayFormat = "￥,0.00";
    price.footer = FooterKind::Text;
    price.footerText = "总计：";
    total.footer = FooterKind::Sum;
    total.footerFormat = "0.00, Kg";
    amount.displayFormat = "￥,0.00";
    amount.footer = FooterKind::Sum;
    amount.footerFormat = "￥,0.00";
    return {no, lot, price, total, amount};
}

class Grid : public ::testing::Test {
protected:
    Grid()
    {
        conn.SetDatabase(folder.DatabasePath());
        for (const char *row : {"insert into 库存管理(编号,毛茶价,总重量,总金额) values('B',30,12.5,375)",
                                "insert into 库存管理(编号,毛茶价,总重量,总金额) values('A',1234.5,2,2469)",
                                "insert into 库存管理(编号,毛茶价,总重量,总金额) values('C',10,0.25,2.5)"})
            EXPECT_TRUE(RunSQL(QString::fromUtf8(row), conn));
        grid.SetColumns(stockColumns());
        grid.SetFooterVisible(true);
        grid.SetQuery(&q);
        open("Select * From 库存管理 Order By ID ASC");
    }
    void open(const QString &sql)
    {
        q.Close();
        q.SetSQL(sql);
        q.Open();
    }
    QStringList column(int c)
    {
        QStringList out;
        for (int r = 0; r < grid.model()->rowCount(); ++r)
            out << grid.model()->index(r, c).data().toString();
        return out;
    }

    TestFolder folder;
    Connection conn;
    Query q{&conn, "ADOQuery1"};
    DBGrid grid;
};

TEST_F(Grid, NumbersAndColoursFollowTheOrder)
{
    EXPECT_EQ(column(0), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(column(1), (QStringList{"B", "A", "C"}));
    EXPECT_EQ(column(2), (QStringList{"￥30.00", "￥1,234.50", "￥10.00"}));
    grid.TitleBtnClick(1); // 编号 ascending
    EXPECT_EQ(column(1), (QStringList{"A", "B", "C"}));
    EXPECT_EQ(column(0), (QStringList{"1", "2", "3"}));
    for (int r = 0; r < 3; ++r)
        EXPECT_EQ(grid.model()->index(r, 1).data(Qt::BackgroundRole).value<QColor>(),
                  r % 2 == 0 ? QColor(196, 196, 255) : QColor(221, 221, 255));
}

TEST_F(Grid, TitleClicksCycleAscendingDescending)
{
    grid.TitleBtnClick(3);
    EXPECT_EQ(column(1), (QStringList{"C", "A", "B"}));
    grid.TitleBtnClick(3);
    EXPECT_EQ(column(1), (QStringList{"B", "A", "C"}));
    grid.TitleBtnClick(3);
    EXPECT_EQ(column(1), (QStringList{"C", "A", "B"}));
    grid.TitleBtnClick(1); // another title starts ascending
    EXPECT_EQ(column(1), (QStringList{"A", "B", "C"}));
    grid.TitleBtnClick(0); // 序号 changes nothing
    EXPECT_EQ(column(1), (QStringList{"A", "B", "C"}));
    EXPECT_EQ(q.Sort(), "编号 ASC");
    open("Select * From 库存管理 Order By ID DESC"); // a new statement drops the order
    EXPECT_EQ(column(1), (QStringList{"C", "A", "B"}));
    grid.TitleBtnClick(1);
    EXPECT_EQ(column(1), (QStringList{"A", "B", "C"})); // the markers went too: ascending first
}

TEST_F(Grid, FooterSumsFollowFiltersAndRequeries)
{
    EXPECT_EQ(grid.FooterCellText(2), "总计：");
    EXPECT_EQ(grid.FooterCellText(3), "14.75 Kg");
    EXPECT_EQ(grid.FooterCellText(4), "￥2,846.50");
    EXPECT_EQ(grid.FooterCellText(1), "");
    open("Select * From 库存管理 where 编号='A' Order By ID DESC");
    EXPECT_EQ(grid.FooterCellText(3), "2.00 Kg");
    ASSERT_TRUE(RunSQL("insert into 库存管理(编号,总重量,总金额) values('A',1000,1)", conn));
    q.Requery();
    EXPECT_EQ(grid.FooterCellText(3), "1,002.00 Kg");
    open("Select * From 库存管理 where 编号='none'");
    EXPECT_EQ(grid.model()->rowCount(), 0);
    EXPECT_EQ(grid.FooterCellText(2), "总计：");
    EXPECT_EQ(grid.FooterCellText(3), "0.00 Kg");
    EXPECT_EQ(grid.FooterCellText(4), "￥0.00");
}

TEST_F(Grid, WidthsFitTheRowsOfEachNewStatement)
{
    // A shared query may still hold another screen's one-column result when a grid is bound.
    DBGrid other;
    other.SetColumns(stockColumns());
    Query shared{&conn, "shared"};
    shared.SetSQL("Select 编号 From 库存管理 where 编号='C'");
    shared.Open();
    other.SetQuery(&shared);
    shared.Close();
    shared.SetSQL("Select * From 库存管理 Order By ID ASC");
    shared.Open();
    const int price = 2;
    const int needed = other.fontMetrics().horizontalAdvance(other.CellText(1, price)); // ￥1,234.50
    EXPECT_GE(other.columnWidth(price), needed + 12);
    // A requery keeps the widths the user may have set.
    other.setColumnWidth(price, 33);
    shared.Requery();
    EXPECT_EQ(other.columnWidth(price), 33);
}

TEST_F(Grid, ARequeryWidensTheColumnsOfNewRowsAndTotals)
{
    const int lot = 1, amount = 4;
    ASSERT_TRUE(RunSQL("insert into 库存管理(编号,总金额) values('T1210100-LONG',9989900.1)", conn));
    q.Requery(); // as after a purchase: the same statement, a row wider than the others
    const QFontMetrics fm = grid.fontMetrics();
    EXPECT_GE(grid.columnWidth(lot), fm.horizontalAdvance("T1210100-LONG") + 12);
    ASSERT_EQ(grid.FooterCellText(amount), "￥9,992,746.60");
    EXPECT_GE(grid.columnWidth(amount), fm.horizontalAdvance(grid.FooterCellText(amount)) + 12)
        << "a total cut to its last digits reads as another figure";
    // A column the user narrowed stays as the user left it.
    grid.setColumnWidth(lot, 33);
    q.Requery();
    EXPECT_EQ(grid.columnWidth(lot), 33);
}

TEST_F(Grid, TabLeavesAGridThatHasRows)
{
    // A table view's Tab walks its cells and wraps round at the last one: the keyboard never
    // got out of a list with rows.
    QWidget window;
    QLineEdit before(&window);
    auto *list = new DBGrid(&window);
    QLineEdit after(&window);
    list->SetColumns(stockColumns());
    list->SetQuery(&q);
    ASSERT_EQ(list->model()->rowCount(), 3);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    before.setFocus();
    QTest::keyClick(&before, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), list);
    QTest::keyClick(list, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), &after);
    QTest::keyClick(&after, Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_EQ(QApplication::focusWidget(), list);
    QTest::keyClick(list, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), &before);
}

TEST_F(Grid, TwoGridsOnOneQueryShareRowsAndCurrentRow)
{
    DBGrid other;
    other.SetColumns(stockColumns());
    other.SetQuery(&q);
    grid.show();
    other.show();
    grid.selectRow(2);
    EXPECT_EQ(q.RecNo(), 3);
    EXPECT_EQ(other.currentIndex().row(), 2);
    grid.TitleBtnClick(1);
    EXPECT_EQ(other.model()->index(0, 1).data().toString(), "A");
    EXPECT_EQ(q.FieldByName("编号").AsString(), "C"); // the same record stays current
    EXPECT_EQ(other.currentIndex().row(), 2);
}

TEST_F(Grid, APressLoadsTheRowUnderTheMouse)
{
    grid.resize(600, 300);
    grid.show();
    int clicks = 0;
    QObject::connect(&grid, &DBGrid::CellClick, [&] { ++clicks; });
    const QRect cell = grid.visualRect(grid.model()->index(1, 1));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(q.FieldByName("编号").AsString(), "A");
    QTest::mousePress(grid.viewport(), Qt::RightButton, {}, grid.visualRect(grid.model()->index(2, 1)).center());
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(q.FieldByName("编号").AsString(), "C");
    EXPECT_EQ(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST_F(Grid, PrepareFormRightAlignsOnAnOliveFooter)
{
    QWidget form;
    auto *g = new DBGrid(&form);
    g->SetColumns({GridColumn{"a"}, GridColumn{"b"}, GridColumn{"c"}});
    auto *empty = new DBGrid(&form);
    const QColor before = empty->FooterColour();
    PrepareForm(&form);
    EXPECT_EQ(g->FooterColour(), QColor(128, 128, 0));
    EXPECT_EQ(empty->FooterColour(), before);
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(g->model()->headerData(c, Qt::Horizontal, Qt::TextAlignmentRole).toInt() & Qt::AlignRight,
                  int(Qt::AlignRight));
}

TEST(NumericKeyFilter, PassesDigitsPointAndEditingKeysOnly)
{
    QLineEdit edit;
    InstallNumericFilter(&edit);
    struct {
        const char *typed;
        const char *shown;
    } cases[] = {{"12.5", "12.5"}, {"1.2.3", "1.2.3"}, {"-3", "3"}, {"a1b", "1"}, {"1,5", "15"}, {"+ e", ""}};
    for (const auto &c : cases) {
        edit.clear();
        QTest::keyClicks(&edit, QString::fromUtf8(c.typed));
        EXPECT_EQ(edit.text(), QString::fromUtf8(c.shown)) << c.typed;
    }
    edit.setText("12");
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), "1");
    QApplication::clipboard()->setText(QStringLiteral("a-2"));
    QTest::keyClick(&edit, Qt::Key_End);
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier); // a paste brings only what typing would
    EXPECT_EQ(edit.text(), "12");
}

TEST(NumericKeyFilter, EnterCanPressAButton)
{
    QLineEdit edit;
    QPushButton equals("=");
    int pressed = 0;
    QObject::connect(&equals, &QPushButton::clicked, [&] { ++pressed; });
    InstallNumericFilter(&edit, &equals);
    QTest::keyClick(&edit, Qt::Key_Return);
    EXPECT_EQ(pressed, 1);
}

TEST(FilterBar, TheDatePickerTakesTheEditBoxPlace)
{
    QWidget screen;
    auto *choice = new QComboBox(&screen);
    choice->addItems({"全部", "编号", "入库日期"});
    auto *edit = new QLineEdit(&screen);
    auto *date = new QDateEdit(&screen);
    auto *query = new QPushButton("查询", &screen);
    int runs = 0;
    QObject::connect(query, &QPushButton::clicked, [&] { ++runs; });
    FilterBar bar(choice, edit, date, query);
    bar.SetDateItems({2});
    bar.SetDatePosition({302, 12});
    screen.show();
    choice->setCurrentIndex(2);
    EXPECT_TRUE(date->isVisible());
    EXPECT_FALSE(edit->isVisible());
    EXPECT_EQ(date->pos(), QPoint(302, 12));
    bar.FilterThis(2, "2009-04-26");
    EXPECT_EQ(bar.Value(), "2009-04-26");
    EXPECT_EQ(runs, 1);
    bar.FilterThis(1, "T0426013");
    EXPECT_TRUE(edit->isVisible());
    EXPECT_EQ(bar.Value(), "T0426013");
    bar.Reload();
    EXPECT_EQ(bar.Choice(), 0);
    EXPECT_EQ(runs, 3);
}

TEST(ListScreenFrame, StaysMaximisedAndGivesTheToolbarBack)
{
    TestFolder folder(false);
    QMdiArea area;
    area.resize(800, 600);
    area.show();
    int enabled = 0;
    Client().enableToolbar = [&] { ++enabled; };
    Client().childOpen = true;
    auto *screen = new ListScreen();
    screen->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow *sub = area.addSubWindow(screen);
    sub->showMaximized();
    sub->showMinimized();
    QTest::qWait(20);
    EXPECT_TRUE(sub->isMaximized());
    sub->showNormal();
    QTest::qWait(20);
    EXPECT_TRUE(sub->isMaximized());
    sub->close();
    EXPECT_EQ(enabled, 1);
    EXPECT_FALSE(Client().childOpen);
    Client().enableToolbar = nullptr;
}

} // namespace
