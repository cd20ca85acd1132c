#pragma once
#include "datalayer/listscreen.h"
#include "directory/tilelayout.h"

#include <QList>
#include <map>
#include <memory>

class DBGrid;
class DealerTile;
class GetGGtThread;
class GGDownloadThread;
class IniFile;
class QGroupBox;
class QLabel;
class QProgressBar;
class QScrollArea;
class TForm_TeaGG_kan;

// The dealer directory ("在线广告"): a wall of 50 logo tiles beside the list of every cached
// card. A worker lays the tiles out while the screen shows; when config.ini names a remote
// source, a second worker reads the server's cards and the screen brings the cache up to them.
class TForm_TeaGG : public ListScreen {
    Q_OBJECT
public:
    explicit TForm_TeaGG(QWidget *parent = nullptr);
    ~TForm_TeaGG() override;

    QGroupBox *GroupBox1;
    DBGrid *DBGrid1;
    QScrollArea *ScrollBox1;
    QGroupBox *GroupBox2;     // the progress box
    QProgressBar *ProgressBar1;
    QLabel *Label1;           // how the refresh went

    // The tile of a slot, once laid out.
    DealerTile *Tile(int slot) const;
    int TileCount() const { return int(m_tiles.size()); }
    const TileLayout &Layout() const { return m_layout; }
    // True once every tile is there and the list is filled.
    bool WallReady() const { return m_wallReady; }
    // True while a refresh reads the server or waits to be written.
    bool Refreshing() const { return m_download != nullptr; }

public slots:
    void FormShow() override;
    void FormPaint() override;
    void DBGrid1CellClick();
    void ImageClick(DealerTile *tile);
    // The cache refresh: starts the remote read when config.ini names a source.
    void DownloadGG();

protected:
    void FormClose() override;

private:
    void createimage();
    void startTiles(const QList<int> &numbers);
    void placeTile(int slot, const QImage &picture, bool clickable, const QString &company);
    void tilesDone();
    void downloadFinished();
    void applyDownload();
    void stopWorkers();
    TForm_TeaGG_kan *card();

    std::unique_ptr<IniFile> m_settings;
    QWidget *m_wall;
    TileLayout m_layout;
    std::map<int, DealerTile *> m_tiles;
    GetGGtThread *m_worker = nullptr;
    GGDownloadThread *m_download = nullptr;
    bool m_downloadWaiting = false; // the server's cards came before the wall was ready
    bool m_wallReady = false;
    bool m_stopped = false;
};

extern TForm_TeaGG *Form_TeaGG;
