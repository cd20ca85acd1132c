#include "tests/directory/directoryfixture.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>

// Closing the directory at any moment of the layout: the worker is stopped and waited for, no
// tile reaches the closed screen, the toolbar is given back, and Qt sees no object used from
// the wrong thread. This file also runs built with the address and undefined-behaviour checks.
namespace {

enum class Moment { BeforeTheLayoutStarts, BeforeTheFirstTile, MidWay, RightAfterTheLastTile, WithTheWallStanding };

struct CloseCase {
    const char *name;
    Moment moment;
};

void PrintTo(const CloseCase &c, std::ostream *os)
{
    *os << c.name;
}

class ClosingDuringTheLayout : public DirectoryTest, public ::testing::WithParamInterface<CloseCase> {
protected:
    bool reach(Moment moment)
    {
        switch (moment) {
        case Moment::BeforeTheLayoutStarts:
            return true;
        case Moment::BeforeTheFirstTile:
            return QTest::qWaitFor([this] { return screen->findChild<GetGGtThread *>() != nullptr; }, 20000);
        case Moment::MidWay:
            return QTest::qWaitFor([this] { return screen->TileCount() >= 25; }, 20000);
        case Moment::RightAfterTheLastTile:
            return QTest::qWaitFor([this] { return screen->TileCount() == 50; }, 20000);
        case Moment::WithTheWallStanding:
            return WaitForWall();
        }
        return false;
    }
};

TEST_P(ClosingDuringTheLayout, StopsTheWorkerAndNoTileArrivesAfterwards)
{
    FillWall(QSize(1200, 600));
    Client().childOpen = true;
    Open(); // not deleted on close: the test looks at it afterwards
    ASSERT_TRUE(reach(GetParam().moment));
    const int tiles = screen->TileCount();

    screen->close();
    EXPECT_EQ(screen->findChild<GetGGtThread *>(), nullptr); // stopped, waited for and gone
    EXPECT_EQ(toolbarEnabled, 1);
    EXPECT_FALSE(Client().childOpen);
    QTest::qWait(200); // whatever was already on its way is delivered now, and dropped
    EXPECT_EQ(screen->TileCount(), tiles);
    if (GetParam().moment < Moment::RightAfterTheLastTile)
        EXPECT_FALSE(screen->WallReady());
    delete screen.data();
    EXPECT_TRUE(Form_TeaGG_kan == nullptr); // the hidden card window went with it
}

INSTANTIATE_TEST_SUITE_P(Moments, ClosingDuringTheLayout,
                         ::testing::Values(CloseCase{"BeforeTheLayoutStarts", Moment::BeforeTheLayoutStarts},
                                           CloseCase{"BeforeTheFirstTile", Moment::BeforeTheFirstTile},
                                           CloseCase{"MidWay", Moment::MidWay},
                                           CloseCase{"RightAfterTheLastTile", Moment::RightAfterTheLastTile},
                                           CloseCase{"WithTheWallStanding", Moment::WithTheWallStanding}),
                         [](const ::testing::TestParamInfo<CloseCase> &info) { return std::string(info.param.name); });

// The main window going (it takes its MDI children along) while the tiles are coming.
TEST_F(DirectoryTest, TheMainWindowGoingMidWayEndsTheWorker)
{
    FillWall(QSize(1200, 600));
    auto *main = new QMainWindow();
    auto *area = new QMdiArea(main);
    main->setCentralWidget(area);
    main->resize(1100, 700);
    main->show();
    screen = Form_TeaGG = new TForm_TeaGG();
    area->addSubWindow(screen)->showMaximized();
    ASSERT_TRUE(QTest::qWaitFor([this] { return screen->TileCount() >= 10; }, 20000));
    delete main;
    EXPECT_TRUE(screen.isNull());
    QTest::qWait(100);
}

// A card window left open outlives the directory until its "退出".
TEST_F(DirectoryTest, AnOpenCardStaysWhenTheDirectoryCloses)
{
    AddCard("2", "乙", MakeLogo(SlotColour(2)));
    Open();
    screen->setAttribute(Qt::WA_DeleteOnClose); // as the main window opens it
    ASSERT_TRUE(WaitForWall());
    QTest::mousePress(screen->Tile(2), Qt::LeftButton);
    ASSERT_TRUE(Form_TeaGG_kan->isVisible());
    screen->close();
    QTest::qWait(50);
    EXPECT_TRUE(screen.isNull());
    ASSERT_NE(Form_TeaGG_kan, nullptr);
    EXPECT_TRUE(Form_TeaGG_kan->isVisible());
    Form_TeaGG_kan->Button1->click();
    EXPECT_FALSE(Form_TeaGG_kan->isVisible());
}

} // namespace
