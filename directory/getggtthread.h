#pragma once
#include "directory/dealercards.h"

#include <QImage>
#include <QSize>
#include <QThread>
#include <vector>

// The tile worker: decodes the logos of a snapshot taken by the interface thread and hands
// each tile's picture back through a queued signal. It reads no database and touches no
// widget; a stop request ends it before its next tile.
class GetGGtThread : public QThread {
    Q_OBJECT
public:
    // defaultPicture: the JPEG bytes of the empty tile's picture (empty when the file is missing).
    GetGGtThread(std::vector<TileSource> tiles, QByteArray defaultPicture, QSize tileSize, QObject *parent = nullptr);

signals:
    // One tile, in snapshot order. A slot without a card shows the default picture and is not
    // clickable; a card's logo that cannot be decoded gives a blank (null) picture.
    void tileReady(int slot, const QImage &picture, bool clickable, const QString &company);
    // Every tile was handed over (not sent after a stop request).
    void layoutDone();

protected:
    void run() override;

private:
    std::vector<TileSource> m_tiles;
    QByteArray m_defaultPicture;
    QSize m_tileSize;
};
