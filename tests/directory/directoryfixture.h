#pragma once
#include "datalayer/clientstate.h"
#include "datalayer/dialect.h"
#include "datalayer/jpegimage.h"
#include "datalayer/query.h"
#include "datalayer/runsql.h"
#include "datalayer/sql_ado_conn.h"
#include "directory/dealertile.h"
#include "directory/getggtthread.h"
#include "directory/main_teagg.h"
#include "directory/main_teagg_kan.h"
#include "tests/support/screentest.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>

// The colour of the logo a test gives a slot, so a tile shows whose logo it holds.
inline QColor SlotColour(int slot)
{
    return QColor::fromHsv((slot * 37) % 360, 200, 220);
}

// A real JPEG logo: one colour with a white band, large enough that decoding takes a moment.
inline QByteArray MakeLogo(const QColor &colour, QSize size = QSize(800, 400))
{
    QImage image(size, QImage::Format_RGB888);
    image.fill(colour);
    QPainter painter(&image);
    painter.fillRect(QRect(0, size.height() * 3 / 4, size.width(), size.height() / 8), Qt::white);
    painter.end();
    return EncodeJpeg(image);
}

// Whether two colours are the same up to what JPEG compression changes.
inline bool CloseColour(const QColor &a, const QColor &b)
{
    return qAbs(a.red() - b.red()) < 24 && qAbs(a.green() - b.green()) < 24 && qAbs(a.blue() - b.blue()) < 24;
}

// Qt's complaints about objects used from the wrong thread, collected while a test runs.
class ThreadWarnings {
public:
    ThreadWarnings() { s_previous = qInstallMessageHandler(&collect); }
    ~ThreadWarnings() { qInstallMessageHandler(s_previous); }
    static QStringList &Seen()
    {
        static QStringList seen;
        return seen;
    }

private:
    static void collect(QtMsgType type, const QMessageLogContext &context, const QString &text)
    {
        if (text.contains(QStringLiteral("QObject")) || text.contains(QStringLiteral("thread"), Qt::CaseInsensitive) ||
            text.contains(QStringLiteral("QPixmap")))
            Seen() << text;
        if (s_previous)
            s_previous(type, context, text);
    }
    static inline QtMessageHandler s_previous = nullptr;
};

// A program folder with the empty tile's picture, the data module, and the directory.
class DirectoryTest : public ScreenTest {
protected:
    DirectoryTest()
    {
        ThreadWarnings::Seen().clear();
        QDir(folder.Path()).mkpath(QStringLiteral("img"));
        QFile picture(folder.Path(QStringLiteral("img/vt_gg.jpg")));
        picture.open(QIODevice::WriteOnly);
        picture.write(MakeLogo(EmptyColour(), QSize(200, 100)));
        Client().enableToolbar = [this] { ++toolbarEnabled; };
    }
    ~DirectoryTest() override
    {
        delete screen.data();
        delete Form_TeaGG_kan;
        Client().enableToolbar = nullptr;
        Client().childOpen = false;
        EXPECT_EQ(ThreadWarnings::Seen(), QStringList());
    }

    static QColor EmptyColour() { return QColor(128, 128, 128); }

    // Stores a card; a logo, when given, goes in through the dataset as the program writes it.
    static qint64 AddCard(const QString &slot, const QString &company, const QByteArray &logo = QByteArray(),
                          const QString &updated = QStringLiteral("2026-01-01 08:00:00"))
    {
        Run("insert into TeaGG(公司名称,联系人,商农,电话,传真,手机,在线QQ,Email,网站,地址,简介,栏位,更新时间,编号) values(" +
            QStringList{QuotedStr(company), QuotedStr("联系人" + slot), QuotedStr("商"), QuotedStr("0595-" + slot),
                        QuotedStr("0595-9" + slot), QuotedStr("139" + slot), QuotedStr("1000" + slot),
                        QuotedStr("tea" + slot + "@example.com"), QuotedStr("www.tea" + slot + ".com"),
                        QuotedStr("安溪" + slot + "号"), QuotedStr("简介" + slot), QuotedStr(slot), QuotedStr(updated),
                        QuotedStr("GG" + slot)}
                .join(',') +
            ')');
        const qint64 id = Scalar(QStringLiteral("select max(ID) from TeaGG")).toLongLong();
        if (!logo.isEmpty()) {
            Query q(&conn(), QStringLiteral("logo"));
            q.SetSQL(QStringLiteral("select ID,logoimg from TeaGG where ID = ") + QString::number(id));
            q.Open();
            q.WriteBlob(QStringLiteral("logoimg"), logo);
        }
        return id;
    }

    // A card with its logo on every tile, written in one transaction.
    static void FillWall(QSize logoSize)
    {
        conn().BeginTransaction();
        for (int n = 0; n < 50; ++n)
            AddCard(QString::number(n), "茶行" + QString::number(n), MakeLogo(SlotColour(n), logoSize));
        conn().Commit();
    }

    // A screen as the main window would show it, at a size that gives the wall this width.
    TForm_TeaGG *Open(int wallWidth = 610)
    {
        screen = Form_TeaGG = new TForm_TeaGG();
        screen->resize(wallWidth + 443, 700);
        screen->show();
        return screen;
    }

    bool WaitForWall()
    {
        return QTest::qWaitFor([this] { return screen && screen->WallReady() && !screen->Refreshing(); }, 20000);
    }

    // The colour in the middle of a tile's upper part (above the logo's white band).
    static QColor TileColour(const DealerTile *tile)
    {
        const QImage image = tile->pixmap().toImage();
        if (image.isNull())
            return QColor();
        return image.pixelColor(image.width() / 2, image.height() / 3);
    }

    ThreadWarnings warnings;
    QPointer<TForm_TeaGG> screen;
    int toolbarEnabled = 0;
};
