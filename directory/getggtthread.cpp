#include "directory/getggtthread.h"

#include "datalayer/jpegimage.h"

GetGGtThread::GetGGtThread(std::vector<TileSource> tiles, QByteArray defaultPicture, QSize tileSize, QObject *parent)
    : QThread(parent), m_tiles(std::move(tiles)), m_defaultPicture(std::move(defaultPicture)), m_tileSize(tileSize)
{
}

void GetGGtThread::run()
{
    // Stretched to the tile here, so the interface thread only wraps the picture.
    const auto fit = [this](const QImage &image) {
        return image.isNull() ? image : image.scaled(m_tileSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    };
    QImage emptyTile;
    bool emptyDecoded = false;
    for (const TileSource &tile : m_tiles) {
        if (isInterruptionRequested())
            return;
        if (tile.entry) {
            emit tileReady(tile.slot, fit(DecodeJpeg(tile.logo)), true, tile.company);
            continue;
        }
        if (!emptyDecoded) {
            emptyTile = fit(DecodeJpeg(m_defaultPicture));
            emptyDecoded = true;
        }
        emit tileReady(tile.slot, emptyTile, false, QString());
    }
    if (!isInterruptionRequested())
        emit layoutDone();
}
