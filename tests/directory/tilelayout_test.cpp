#include "directory/tilelayout.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

struct LayoutCase {
    int width;
    int columns;
    int tileWidth;
    int rows;
    std::vector<int> lefts; // of the first row's first three tiles
};

void PrintTo(const LayoutCase &c, std::ostream *os)
{
    *os << "width " << c.width;
}

class TileLayoutTable : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(TileLayoutTable, ColumnsTileWidthRowsAndLefts)
{
    const LayoutCase &c = GetParam();
    const TileLayout layout = LayOutTiles(c.width);
    EXPECT_EQ(layout.columns, c.columns);
    EXPECT_EQ(layout.tileWidth, c.tileWidth);
    EXPECT_EQ(layout.rows, c.rows);
    std::vector<int> lefts;
    for (int n = 0; n < std::min(c.columns, 3); ++n)
        lefts.push_back(layout.TileRect(n).left());
    EXPECT_EQ(lefts, c.lefts);
    // Every tile is 100 high and the last one stands in the last row.
    EXPECT_EQ(layout.TileRect(49).height(), 100);
    EXPECT_EQ(layout.TileRect(49).top(), 110 * (c.rows - 1) + 10);
}

INSTANTIATE_TEST_SUITE_P(
    Widths, TileLayoutTable,
    ::testing::Values(
        // 610: the leftover 160 is shared out, tiles reach past the edge (the area scrolls).
        LayoutCase{610, 3, 253, 17, {10, 273, 536}},
        LayoutCase{200, 1, 370, 50, {10}},
        LayoutCase{400, 2, 280, 25, {10, 300}},
        LayoutCase{1000, 5, 226, 10, {10, 246, 482}},
        LayoutCase{1390, 6, 218, 9, {10, 238, 466}},
        LayoutCase{10000, 50, 201, 1, {10, 221, 432}},
        // Narrower than one tile, or not laid out yet: one column of nominal tiles, no division by zero.
        LayoutCase{199, 1, 200, 50, {10}}, LayoutCase{30, 1, 200, 50, {10}}, LayoutCase{0, 1, 200, 50, {10}},
        LayoutCase{-5, 1, 200, 50, {10}}),
    [](const ::testing::TestParamInfo<LayoutCase> &info) {
        return "Width" + std::to_string(info.param.width < 0 ? 0 : info.param.width) + (info.param.width < 0 ? "Negative" : "");
    });

TEST(TileLayout, SlotSevenIsTheThirdRowSecondColumnWithThreeColumns)
{
    const TileLayout layout = LayOutTiles(610);
    EXPECT_EQ(layout.TileRect(7), QRect(273, 230, 253, 100));
    // The wall covers 17 rows and three tiles with their gaps.
    EXPECT_EQ(layout.WallSize(), QSize(3 * 263 + 10, 17 * 110 + 10));
}

} // namespace
