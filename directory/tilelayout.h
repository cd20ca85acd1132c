#pragma once
#include <QRect>
#include <QSize>

// The tile wall: 50 logo tiles, one per slot number, in rows that fit the area's width.
inline constexpr int kTileCount = 50;
inline constexpr int kNominalTileWidth = 200;
inline constexpr int kTileHeight = 100;
inline constexpr int kTileGap = 10;

struct TileLayout {
    int columns = 1;
    int tileWidth = kNominalTileWidth;
    int rows = kTileCount;

    // Where tile n (its slot number) stands: row by row, left to right.
    QRect TileRect(int n) const;
    // What the tiles cover, with the gap to the edges.
    QSize WallSize() const;
};

// The columns, tile width and rows for an area this wide. The leftover width is shared out
// among the columns, so tiles may reach past the right edge (the area then scrolls). An area
// narrower than one nominal tile gets one column of nominal tiles.
TileLayout LayOutTiles(int areaWidth);
