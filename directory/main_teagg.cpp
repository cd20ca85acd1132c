#include "directory/main_teagg.h"

#include "datalayer/clientstate.h"
#include "datalayer/dbgrid.h"
#include "datalayer/dberror.h"
#include "datalayer/dialogs.h"
#include "datalayer/formparts.h"
#include "datalayer/guards.h"
#include "datalayer/inifile.h"
#include "datalayer/programfolder.h"
#include "datalayer/query.h"
#include "datalayer/settings.h"
#include "datalayer/sql_ado_conn.h"
#include "directory/dealercards.h"
#include "directory/dealerrefresh.h"
#include "directory/dealertile.h"
#include "directory/getggtthread.h"
#include "directory/main_teagg_kan.h"

#include <QCoreApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QScrollArea>
#include <QTimer>

TForm_TeaGG *Form_TeaGG = nullptr;

namespace {
constexpr int kListWidth = 423;
constexpr int kWallLeft = 433;
constexpr int kStatusHeight = 60;
} // namespace

TForm_TeaGG::TForm_TeaGG(QWidget *parent) : ListScreen(parent)
{
    setObjectName(QStringLiteral("Form_TeaGG"));
    setWindowTitle(QStringLiteral("在线广告"));
    resize(1061, 653);

    GroupBox1 = FillWithGroupBox(this, "GroupBox1");

    DBGrid1 = new DBGrid(GroupBox1);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->SetColumns({MakeColumn(QStringLiteral("公司名称")), MakeColumn(QStringLiteral("商农")),
                         MakeColumn(QStringLiteral("在线QQ")), MakeColumn(QStringLiteral("网站"))});
    DBGrid1->SetRowColours(true);
    DBGrid1->SetTitleSort(false);
    DBGrid1->SetFooterVisible(false);
    DBGrid1->setAccessibleName(QStringLiteral("经销商列表"));

    ScrollBox1 = new QScrollArea(GroupBox1);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setAccessibleName(QStringLiteral("经销商广告墙"));
    m_wall = new QWidget();
    m_wall->setObjectName(QStringLiteral("Wall"));
    ScrollBox1->setWidget(m_wall);
    ScrollBox1->hide();

    GroupBox2 = MakeGroupBox(GroupBox1, "GroupBox2", {kWallLeft, 15, 400, 70});
    GroupBox2->setTitle(QStringLiteral("系统广告缓存读入中 请稍候.........................."));
    ProgressBar1 = new QProgressBar(GroupBox2);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(12, 30, 376, 22);
    ProgressBar1->setRange(0, kTileCount);
    ProgressBar1->setValue(0);
    ProgressBar1->setAccessibleName(QStringLiteral("读入进度"));

    Label1 = new QLabel(GroupBox1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Label1->hide();

    connect(DBGrid1, &DBGrid::CellClick, this, &TForm_TeaGG::DBGrid1CellClick);
    // The main window closing ends the program: no worker may outlive it.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &TForm_TeaGG::stopWorkers);

    // The card window comes with the directory and replaces one left from an earlier opening.
    delete Form_TeaGG_kan;
    card();

    SetUsedQueries({Form_sql->ADOQuery_GGuser});
    AddGrid(DBGrid1);
}

TForm_TeaGG::~TForm_TeaGG()
{
    stopWorkers();
    // A card still being read stays until its "退出"; a hidden one goes with the directory.
    if (Form_TeaGG_kan && !Form_TeaGG_kan->isVisible())
        delete Form_TeaGG_kan;
    if (Form_TeaGG == this)
        Form_TeaGG = nullptr;
}

DealerTile *TForm_TeaGG::Tile(int slot) const
{
    const auto it = m_tiles.find(slot);
    return it == m_tiles.end() ? nullptr : it->second;
}

TForm_TeaGG_kan *TForm_TeaGG::card()
{
    if (!Form_TeaGG_kan)
        Form_TeaGG_kan = new TForm_TeaGG_kan(Client().mainWindow);
    return Form_TeaGG_kan;
}

void TForm_TeaGG::FormPaint()
{
    const int w = GroupBox1->width();
    const int h = GroupBox1->height();
    const int status = Label1->isHidden() ? 0 : kStatusHeight;
    DBGrid1->setGeometry(5, 15, kListWidth, qMax(0, h - 20 - status));
    Label1->setGeometry(5, h - 5 - status, kListWidth, status);
    ScrollBox1->setGeometry(kWallLeft, 15, qMax(0, w - kListWidth - 20), qMax(0, h - 20));
    GroupBox2->move(kWallLeft + qMax(0, (ScrollBox1->width() - GroupBox2->width()) / 2), GroupBox2->y());
}

void TForm_TeaGG::FormShow()
{
    m_settings = std::make_unique<IniFile>(ProgramPath(QStringLiteral("config.ini")));
    // The wall's width is read once the frame has its final size, after this showing.
    QTimer::singleShot(0, this, [this] {
        createimage();
        DownloadGG();
    });
}

void TForm_TeaGG::FormClose()
{
    stopWorkers();
    m_settings.reset();
}

void TForm_TeaGG::createimage()
{
    if (m_stopped)
        return;
    FormPaint();
    ScrollBox1->hide();
    m_layout = LayOutTiles(ScrollBox1->width());
    m_wall->resize(m_layout.WallSize());
    ProgressBar1->setMaximum(kTileCount);
    ProgressBar1->setValue(0);
    startTiles(AllSlots());
}

void TForm_TeaGG::startTiles(const QList<int> &numbers)
{
    std::vector<TileSource> sources;
    try {
        sources = ReadTileSources(Form_sql->ADOConnection1, numbers);
    } catch (const DbError &e) {
        if (!m_wallReady)
            GroupBox2->hide();
        Dialogs::ShowError(this, e.text());
        return;
    }
    QByteArray emptyPicture;
    QFile file(ProgramPath(QStringLiteral("img/vt_gg.jpg")));
    if (file.open(QIODevice::ReadOnly))
        emptyPicture = file.readAll();
    if (m_worker) {
        m_worker->wait();
        delete m_worker;
    }
    m_worker = new GetGGtThread(std::move(sources), emptyPicture, QSize(m_layout.tileWidth, kTileHeight), this);
    connect(m_worker, &GetGGtThread::tileReady, this, &TForm_TeaGG::placeTile, Qt::QueuedConnection);
    connect(m_worker, &GetGGtThread::layoutDone, this, &TForm_TeaGG::tilesDone, Qt::QueuedConnection);
    m_worker->start();
}

void TForm_TeaGG::placeTile(int slot, const QImage &picture, bool clickable, const QString &company)
{
    if (m_stopped)
        return; // handed over just before the stop
    DealerTile *&tile = m_tiles[slot];
    if (!tile) {
        tile = new DealerTile(slot, m_wall);
        tile->setGeometry(m_layout.TileRect(slot));
        connect(tile, &DealerTile::pressed, this, [this, t = tile] { ImageClick(t); });
        tile->show();
    }
    tile->SetPicture(picture, clickable, company);
    if (!m_wallReady)
        ProgressBar1->setValue(slot);
}

void TForm_TeaGG::tilesDone()
{
    if (m_stopped)
        return;
    if (!m_wallReady) {
        m_wallReady = true;
        GroupBox2->hide();
        ScrollBox1->show();
        Guarded(this, [this] {
            Query *list = Form_sql->ADOQuery_GGuser;
            DBGrid1->SetQuery(list);
            list->Reopen(kDealerListStatement);
        });
    }
    if (m_downloadWaiting) {
        m_downloadWaiting = false;
        applyDownload();
    }
}

void TForm_TeaGG::ImageClick(DealerTile *tile)
{
    // The slot number is read back from the tile's name.
    const QString slot = tile->objectName().mid(QStringLiteral("Image").size());
    Guarded(this, [this, &slot] { card()->ShowSlot(slot); });
}

void TForm_TeaGG::DBGrid1CellClick()
{
    Silently([this] {
        const Query *list = Form_sql->ADOQuery_GGuser;
        if (!list->Active() || list->IsEmpty())
            return;
        card()->ShowCard(CurrentCard(*list));
    });
}

void TForm_TeaGG::DownloadGG()
{
    if (m_stopped || m_download || !m_settings)
        return;
    const QString source = DealerSource(*m_settings);
    if (source.isEmpty())
        return; // no server named: the cache stays as it is
    Label1->setText(QStringLiteral("正在从服务器更新经销商信息..."));
    Label1->show();
    FormPaint();
    m_download = new GGDownloadThread(&Form_sql->ADOConnection_sql, &Form_sql->ADOQuery_sql, source, this);
    connect(m_download, &QThread::finished, this, &TForm_TeaGG::downloadFinished, Qt::QueuedConnection);
    m_download->start();
}

void TForm_TeaGG::downloadFinished()
{
    if (m_stopped || !m_download)
        return;
    m_download->wait();
    if (!m_download->Succeeded()) {
        Label1->setText(QStringLiteral("未能从服务器更新经销商信息，显示的是本机保存的信息：") + m_download->Error());
        delete m_download;
        m_download = nullptr;
        return;
    }
    // The cards are written once the wall stands, so no tile is laid out twice at once.
    if (!m_wallReady && m_worker)
        m_downloadWaiting = true;
    else
        applyDownload();
}

void TForm_TeaGG::applyDownload()
{
    const std::unique_ptr<GGDownloadThread> download(m_download);
    m_download = nullptr;
    Connection &conn = Form_sql->ADOConnection1;
    RefreshOutcome out;
    try {
        out = ApplyRefresh(PlanRefresh(ReadLocalCards(conn), download->Cards()), conn);
    } catch (const DbError &e) {
        out.error = e.text();
    }
    if (!out.error.isEmpty()) {
        Label1->setText(QStringLiteral("经销商信息未能全部写入本机：") + out.error);
        Dialogs::ShowError(this, out.error);
    } else if (out.added + out.changed + out.removed == 0) {
        Label1->setText(QStringLiteral("经销商信息已是最新。"));
    } else {
        Label1->setText(QStringLiteral("经销商信息已更新：新增 %1 条，更改 %2 条，删除 %3 条。")
                            .arg(out.added)
                            .arg(out.changed)
                            .arg(out.removed));
    }
    if (!m_wallReady)
        return; // the layout failed: there is no wall or list to bring up to date
    if (out.added + out.changed + out.removed > 0)
        Guarded(this, [] { Form_sql->ADOQuery_GGuser->Requery(); });
    if (!out.tiles.isEmpty())
        startTiles(out.tiles);
}

void TForm_TeaGG::stopWorkers()
{
    m_stopped = true;
    if (m_worker) {
        m_worker->requestInterruption();
        m_worker->wait();
        delete m_worker;
        m_worker = nullptr;
    }
    if (m_download) {
        m_download->Cancel();
        m_download->wait();
        delete m_download;
        m_download = nullptr;
    }
}
