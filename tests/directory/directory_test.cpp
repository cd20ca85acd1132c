#include "app/main_client.h"
#include "app/screenregistry.h"
#include "app/screens.h"
#include "datalayer/dbgrid.h"
#include "datalayer/inifile.h"
#include "maintenance/data_bak.h"
#include "tests/directory/directoryfixture.h"

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QTableWidget>
#include <QToolButton>

namespace {

// The slots the cards of the shop's directory take: every tile but three.
QList<int> usedSlots()
{
    QList<int> used;
    for (int n = 0; n < 50; ++n)
        if (n % 18 != 4) // 4, 22 and 40 stay free
            used << n;
    return used;
}

class Directory : public DirectoryTest {
protected:
    QStringList cardValues() const
    {
        QStringList values;
        for (int r = 0; r < 10; ++r)
            values << Form_TeaGG_kan->StringGrid1->item(r, 1)->text();
        return values;
    }
    QColor cardLogoColour() const
    {
        const QImage logo = Form_TeaGG_kan->Image2->pixmap().toImage();
        return logo.isNull() ? QColor() : logo.pixelColor(logo.width() / 2, logo.height() / 3);
    }
};

TEST_F(Directory, AWallOfFiftyLogosByTheirSlotNumbers)
{
    conn().BeginTransaction();
    for (int n : usedSlots())
        AddCard(QString::number(n), "茶行" + QString::number(n), MakeLogo(SlotColour(n)));
    // Fifty logos in all: three of them on cards whose slot names no tile.
    AddCard("", "没有栏位的茶行", MakeLogo(Qt::black));
    AddCard("50", "栏位太大的茶行", MakeLogo(Qt::black));
    AddCard("七", "栏位不是数字的茶行", MakeLogo(Qt::black));
    conn().Commit();
    ASSERT_EQ(Scalar("select count(*) from TeaGG where length(logoimg) > 0"), "50");
    Open(610);
    EXPECT_TRUE(screen->GroupBox2->isVisible());
    EXPECT_EQ(screen->GroupBox2->title(), "系统广告缓存读入中 请稍候..........................");
    EXPECT_FALSE(screen->ScrollBox1->isVisible());
    ASSERT_TRUE(WaitForWall());

    EXPECT_FALSE(screen->GroupBox2->isVisible());
    EXPECT_TRUE(screen->ScrollBox1->isVisible());
    EXPECT_EQ(screen->ProgressBar1->maximum(), 50);
    EXPECT_EQ(screen->ProgressBar1->value(), 49);
    EXPECT_EQ(screen->ScrollBox1->width(), 610);
    EXPECT_EQ(screen->TileCount(), 50);
    for (int n = 0; n < 50; ++n) {
        const DealerTile *tile = screen->findChild<DealerTile *>("Image" + QString::number(n));
        ASSERT_NE(tile, nullptr) << n;
        EXPECT_EQ(tile->geometry(), screen->Layout().TileRect(n));
        const bool used = usedSlots().contains(n);
        EXPECT_EQ(tile->Clickable(), used) << n;
        EXPECT_TRUE(CloseColour(TileColour(tile), used ? SlotColour(n) : EmptyColour()))
            << n << ": " << TileColour(tile).name().toStdString();
        EXPECT_EQ(tile->pixmap().size(), QSize(253, 100)) << n;
    }
    // The eighth tile, third row and second column of three.
    EXPECT_EQ(screen->Tile(7)->geometry(), QRect(273, 230, 253, 100));
    // The list holds every card, those without a tile too.
    EXPECT_EQ(screen->DBGrid1->model()->rowCount(), usedSlots().size() + 3);
    EXPECT_TRUE(Listed(screen->DBGrid1, "公司名称").contains("没有栏位的茶行"));
    EXPECT_TRUE(Listed(screen->DBGrid1, "公司名称").contains("栏位不是数字的茶行"));
}

TEST_F(Directory, AnEmptyDirectoryShowsTheEmptyPictureEverywhereAndNothingOpens)
{
    Open(400);
    ASSERT_TRUE(WaitForWall());
    EXPECT_EQ(screen->TileCount(), 50);
    for (int n = 0; n < 50; ++n) {
        DealerTile *tile = screen->Tile(n);
        EXPECT_FALSE(tile->Clickable());
        EXPECT_TRUE(CloseColour(TileColour(tile), EmptyColour())) << n;
        QTest::mousePress(tile, Qt::LeftButton);
    }
    EXPECT_FALSE(Form_TeaGG_kan->isVisible());
    EXPECT_EQ(screen->DBGrid1->model()->rowCount(), 0);
    QTest::mouseClick(screen->DBGrid1->viewport(), Qt::LeftButton, {}, QPoint(20, 20)); // no row: nothing happens
    EXPECT_FALSE(Form_TeaGG_kan->isVisible());
    EXPECT_TRUE(dialogs.Requests().empty());
}

TEST_F(Directory, ABadLogoGivesABlankTileThatStillOpensItsCard)
{
    AddCard("1", "好茶行", MakeLogo(SlotColour(1)));
    AddCard("2", "坏标志茶行", QByteArray("this is no JPEG picture"));
    QByteArray cut = MakeLogo(SlotColour(3));
    cut.truncate(40);
    AddCard("3", "半张标志茶行", cut);
    AddCard("5", "没有标志的茶行");
    Open();
    ASSERT_TRUE(WaitForWall());
    EXPECT_TRUE(CloseColour(TileColour(screen->Tile(1)), SlotColour(1)));
    for (int n : {2, 3, 5}) {
        EXPECT_TRUE(screen->Tile(n)->pixmap().isNull()) << n;
        EXPECT_TRUE(screen->Tile(n)->Clickable()) << n;
    }
    EXPECT_TRUE(CloseColour(TileColour(screen->Tile(6)), EmptyColour())); // the tiles after it came too
    QTest::mousePress(screen->Tile(2), Qt::LeftButton);
    ASSERT_TRUE(Form_TeaGG_kan->isVisible());
    EXPECT_EQ(cardValues().first(), "坏标志茶行");
    EXPECT_TRUE(Form_TeaGG_kan->Image2->pixmap().isNull());
    EXPECT_TRUE(dialogs.Requests().empty());
}

TEST_F(Directory, WithoutTheEmptyPictureTheFreeTilesAreBlank)
{
    QFile::remove(folder.Path("img/vt_gg.jpg"));
    AddCard("0", "茶行", MakeLogo(SlotColour(0)));
    Open();
    ASSERT_TRUE(WaitForWall());
    EXPECT_EQ(screen->TileCount(), 50);
    EXPECT_TRUE(CloseColour(TileColour(screen->Tile(0)), SlotColour(0)));
    EXPECT_TRUE(screen->Tile(1)->pixmap().isNull());
    EXPECT_FALSE(screen->Tile(1)->Clickable());
    EXPECT_EQ(screen->DBGrid1->model()->rowCount(), 1);
}

TEST_F(Directory, ADatabaseErrorStopsTheLayoutWithTheErrorBox)
{
    conn().ExecuteNative("DROP TABLE TeaGG");
    Open();
    QTest::qWait(50);
    ASSERT_EQ(dialogs.Count(Dialogs::Kind::Error), 1);
    EXPECT_TRUE(dialogs.Requests().front().text.contains("TeaGG"));
    EXPECT_EQ(screen->TileCount(), 0);
    EXPECT_FALSE(screen->WallReady());
    EXPECT_FALSE(screen->GroupBox2->isVisible());
}

TEST_F(Directory, PressingATileOrClickingTheListOpensTheRightCard)
{
    AddCard("7", "七号茶行", MakeLogo(SlotColour(7)));
    AddCard("12", "十二号茶行", MakeLogo(SlotColour(12)));
    AddCard("", "无栏位茶行", MakeLogo(SlotColour(30)));
    Open(610);
    ASSERT_TRUE(WaitForWall());

    QTest::mousePress(screen->Tile(7), Qt::LeftButton);
    ASSERT_TRUE(Form_TeaGG_kan->isVisible());
    EXPECT_EQ(Form_TeaGG_kan->windowTitle(), "广告信息查看");
    EXPECT_EQ(Form_TeaGG_kan->size(), QSize(321, 402));
    EXPECT_TRUE(Form_TeaGG_kan->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(Form_TeaGG_kan->Slot(), "7");
    EXPECT_EQ(cardValues(), QStringList({"七号茶行", "联系人7", "商", "0595-7", "0595-97", "1397", "10007",
                                         "tea7@example.com", "www.tea7.com", "安溪7号"}));
    EXPECT_EQ(Form_TeaGG_kan->StringGrid1->item(2, 0)->text(), "商/农：");
    EXPECT_EQ(Form_TeaGG_kan->Memo1->toPlainText(), "简介7");
    EXPECT_TRUE(CloseColour(cardLogoColour(), SlotColour(7)));

    // A second tile while the card is open shows the second card.
    QTest::mousePress(screen->Tile(12), Qt::LeftButton);
    EXPECT_EQ(Form_TeaGG_kan->Slot(), "12");
    EXPECT_EQ(cardValues().first(), "十二号茶行");
    EXPECT_TRUE(CloseColour(cardLogoColour(), SlotColour(12)));

    // The keyboard opens a tile too.
    screen->Tile(7)->setFocus();
    QTest::keyClick(screen->Tile(7), Qt::Key_Return);
    EXPECT_EQ(cardValues().first(), "七号茶行");

    Form_TeaGG_kan->Button1->click(); // 退出 hides it
    EXPECT_FALSE(Form_TeaGG_kan->isVisible());

    const int row = int(Listed(screen->DBGrid1, "公司名称").indexOf("无栏位茶行"));
    ASSERT_GE(row, 0);
    ClickRow(screen->DBGrid1, row);
    ASSERT_TRUE(Form_TeaGG_kan->isVisible());
    EXPECT_EQ(Form_TeaGG_kan->Slot(), "");
    EXPECT_EQ(cardValues().first(), "无栏位茶行");
    EXPECT_EQ(cardValues().at(8), "www.tea.com");
    EXPECT_TRUE(CloseColour(cardLogoColour(), SlotColour(30)));
    QTest::keyClick(Form_TeaGG_kan, Qt::Key_Escape);
    EXPECT_FALSE(Form_TeaGG_kan->isVisible());
    EXPECT_TRUE(dialogs.Requests().empty());
}

TEST_F(Directory, CopyPutsTheCardsTextOnTheClipboard)
{
    AddCard("3", "O'Brien 茶行", MakeLogo(SlotColour(3)));
    Open();
    ASSERT_TRUE(WaitForWall());
    QTest::mousePress(screen->Tile(3), Qt::LeftButton);
    QApplication::clipboard()->clear();
    Form_TeaGG_kan->Button2->click();
    EXPECT_EQ(QApplication::clipboard()->text(),
              "公司名称:O'Brien 茶行\n联系人：联系人3\n商/农：商\n电话：0595-3\n传真：0595-93\n手机：1393\n"
              "在线QQ：10003\nE-mail：tea3@example.com\n网站：www.tea3.com\n地址：安溪3号\n简介：简介3");
}

TEST_F(Directory, TheListShowsItsFourColumnsWithColoursButNoSortOrNumbers)
{
    AddCard("1", "甲");
    AddCard("2", "乙");
    Open();
    ASSERT_TRUE(WaitForWall());
    DBGrid *grid = screen->DBGrid1;
    EXPECT_EQ(grid->query(), Form_sql->ADOQuery_GGuser);
    QStringList titles;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        titles << grid->model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(titles, QStringList({"公司名称", "商农", "在线QQ", "网站"}));
    EXPECT_NE(grid->RowColour(0), grid->RowColour(1));
    grid->TitleBtnClick(0);
    EXPECT_EQ(Listed(grid, "公司名称"), QStringList({"甲", "乙"}));
    EXPECT_FALSE(grid->FooterVisible());
    EXPECT_EQ(grid->width(), 423);
}

TEST_F(Directory, ANarrowScreenStillLaysOutOneColumn)
{
    AddCard("1", "甲", MakeLogo(SlotColour(1)));
    screen = Form_TeaGG = new TForm_TeaGG();
    screen->resize(500, 400); // the wall gets 57 pixels
    screen->show();
    ASSERT_TRUE(WaitForWall());
    EXPECT_EQ(screen->Layout().columns, 1);
    EXPECT_EQ(screen->TileCount(), 50);
    EXPECT_EQ(screen->Tile(1)->geometry(), QRect(10, 120, 200, 100));
    EXPECT_EQ(screen->Tile(49)->geometry(), QRect(10, 49 * 110 + 10, 200, 100));
}

// The toolbar opens the directory as the one list screen; closing the main window while the
// tiles are still coming ends the worker and takes the directory along.
class DirectoryInMainWindow : public DirectoryTest {
protected:
    ~DirectoryInMainWindow() override
    {
        delete window.data();
        UnregisterScreen("ToolButton17");
    }
    QPointer<TForm_Client> window;
};

TEST_F(DirectoryInMainWindow, TheToolbarOpensItAndAMainWindowCloseEndsTheLayout)
{
    FillWall(QSize(1600, 800));
    RegisterScreens();
    window = new TForm_Client();
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    window->ToolButton17->click();
    ASSERT_NE(Form_TeaGG, nullptr);
    screen = Form_TeaGG;
    EXPECT_TRUE(Client().childOpen);
    EXPECT_FALSE(window->ToolButton7->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([this] { return screen->TileCount() >= 10; }, 20000));
    const QPointer<TForm_TeaGG_kan> card = Form_TeaGG_kan;
    ASSERT_FALSE(card.isNull());

    window->close(); // the exit window asks first
    ASSERT_NE(Form_data_bak, nullptr);
    Form_data_bak->Button2->click(); // 退出系统
    QTest::qWait(100);
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(screen.isNull());
    EXPECT_TRUE(card.isNull());
}

TEST_F(DirectoryInMainWindow, ASecondPressClosesItAndFreesTheToolbar)
{
    RegisterScreens();
    window = new TForm_Client();
    window->show();
    window->ToolButton17->click();
    screen = Form_TeaGG;
    ASSERT_FALSE(screen.isNull());
    EXPECT_EQ(screen->windowTitle(), "在线广告");
    EXPECT_TRUE(window->MdiArea->subWindowList().first()->isMaximized());
    window->ToolButton17->click();
    QTest::qWait(50);
    EXPECT_TRUE(screen.isNull());
    EXPECT_FALSE(Client().childOpen);
    EXPECT_TRUE(window->ToolButton7->isEnabled());
}

} // namespace
