#include "directory/tilelayout.h"

TileLayout LayOutTiles(int areaWidth)
{
    TileLayout layout;
    if (areaWidth < kNominalTileWidth)
        return layout; // the shared-out formula would divide by zero columns
    const int c = areaWidth / kNominalTileWidth;
    layout.columns = c;
    layout.tileWidth = kNominalTileWidth + ((areaWidth - (kTileGap * c + 2 * kTileGap)) % kNominalTileWidth) / c;
    layout.rows = kTileCount / c + ((kTileCount / c) * c < kTileCount ? 1 : 0);
    return layout;
}

QRect TileLayout::TileRect(int n) const
{
    const int row = n / columns;
    const int column = n % columns;
    return QRect((tileWidth + kTileGap) * column + kTileGap, (kTileHeight + kTileGap) * row + kTileGap, tileWidth,
                 kTileHeight);
}

QSize TileLayout::WallSize() const
{
    return QSize((tileWidth + kTileGap) * columns + kTileGap, (kTileHeight + kTileGap) * rows + kTileGap);
}
