#include "datalayer/clientstate.h"
#include "datalayer/dialogs.h"
#include "datalayer/inifile.h"
#include "datalayer/query.h"
#include "datalayer/runsql.h"
#include "datalayer/sql_ado_conn.h"
#include "maintenance/copyfile.h"
#include "maintenance/data_bak.h"
#include "tests/support/testfolder.h"

#include <QCheckBox>
#include <QCryptographicHash>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QByteArray digest(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
}

class ExitBackup : public ::testing::Test {
protected:
    ExitBackup()
    {
        Form_sql = new TForm_sql();
        Form_sql->FormCreate();
        main.show();
        main.setEnabled(false);
        Client().mainWindow = &main;
        Client().closeFlag = false;
    }
    ~ExitBackup() override
    {
        Client().mainWindow = nullptr;
        delete Form_sql;
    }
    TForm_data_bak *open()
    {
        Form_data_bak = new TForm_data_bak();
        Form_data_bak->show();
        return Form_data_bak;
    }
    QString todays12() const { return folder.Path("bakdata/" + QDate::currentDate().toString("yyyy-MM-dd") + "/12.mdb"); }
    void sell(const QString &lot)
    {
        ASSERT_TRUE(RunSQL("insert into 库存管理(编号) values('" + lot + "')", Form_sql->ADOConnection1));
    }

    TestFolder folder;
    Dialogs::Script dialogs;
    QWidget main;
};

TEST_F(ExitBackup, TheTickIsRememberedAndExitCopiesFirst)
{
    TForm_data_bak *w = open();
    EXPECT_FALSE(w->CheckBox1->isChecked());
    w->CheckBox1->click();
    EXPECT_TRUE(IniFile(folder.Path("config.ini")).ReadBool("设置", "退出备份数据", false));
    w->Button2->click();
    QTest::qWait(20);
    EXPECT_TRUE(Client().closeFlag);
    EXPECT_FALSE(main.isVisible());
    ASSERT_TRUE(QFile::exists(todays12()));
    EXPECT_EQ(digest(todays12()), digest(folder.DatabasePath()));
    EXPECT_TRUE(open()->CheckBox1->isChecked());
    Form_data_bak->Button3->click();
}

TEST_F(ExitBackup, TwoBackupsOnOneDayLeaveTheLaterCopy)
{
    TForm_data_bak *w = open();
    ASSERT_TRUE(w->Button1Click());
    EXPECT_EQ(w->ProgressBar1->value(), 100);
    const QByteArray first = digest(todays12());
    sell("T1"); // the connection is open again after a backup
    ASSERT_TRUE(w->Button1Click());
    EXPECT_NE(digest(todays12()), first);
    EXPECT_EQ(digest(todays12()), digest(folder.DatabasePath()));
    EXPECT_EQ(QDir(QFileInfo(todays12()).absolutePath()).entryList(QDir::Files), QStringList{"12.mdb"});
    EXPECT_TRUE(dialogs.Requests().empty());
    Query q(&Form_sql->ADOConnection1, "q");
    q.SetSQL("select count(*) from 库存管理");
    q.Open();
    EXPECT_EQ(q.Fields(0).AsString(), "1");
}

TEST_F(ExitBackup, AFailedCopyIsReportedAndKeepsTheGoodBackup)
{
    TForm_data_bak *w = open();
    ASSERT_TRUE(w->Button1Click());
    const QByteArray good = digest(todays12());
    ASSERT_TRUE(QFile::rename(folder.DatabasePath(), folder.Path("data/away.mdb")));
    w->CheckBox1->setChecked(true);
    w->Button2->click(); // 退出系统 with a failing backup does not end the program
    ASSERT_EQ(dialogs.Count(Dialogs::Kind::Error), 2); // the copy, and the connection
    EXPECT_EQ(dialogs.Requests()[0].text, "File not found");
    EXPECT_FALSE(Client().closeFlag);
    EXPECT_TRUE(main.isVisible());
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(digest(todays12()), good);
    EXPECT_EQ(QDir(QFileInfo(todays12()).absolutePath()).entryList(QDir::Files), QStringList{"12.mdb"});
    w->Button3->click();
    EXPECT_TRUE(main.isEnabled());
}

TEST_F(ExitBackup, ABackupFolderThatCannotBeMadeIsReported)
{
    IniFile(folder.Path("config.ini")).WriteString("设置", "备份路径", folder.Path("no/such/folder"));
    TForm_data_bak *w = open();
    EXPECT_FALSE(w->Button1Click());
    EXPECT_EQ(dialogs.Count(Dialogs::Kind::Error), 1);
    EXPECT_TRUE(Form_sql->ADOConnection1.Connected());
    w->Button3->click();
}

TEST(CopyFile, ProgressFollowsTheOldArithmetic)
{
    TestFolder folder(false);
    QFile src(folder.Path("src.bin"));
    ASSERT_TRUE(src.open(QIODevice::WriteOnly));
    src.write(QByteArray(5000, 'x'));
    src.close();
    QList<int> seen;
    EXPECT_EQ(CopyFileWithProgress(src.fileName(), folder.Path("dst.bin"), 1, [&](int v) { seen << v; }), "");
    // blocks done before each read, the last (empty) read included: 0, 1, 2, 3
    EXPECT_EQ(seen, (QList<int>{0, 10, 20, 30, 100}));
    EXPECT_EQ(QFileInfo(folder.Path("dst.bin")).size(), 5000);
    EXPECT_EQ(CopyFileWithProgress(folder.Path("none"), folder.Path("dst.bin"), 1, nullptr), "File not found");
    EXPECT_EQ(QFileInfo(folder.Path("dst.bin")).size(), 5000);
}

} // namespace
