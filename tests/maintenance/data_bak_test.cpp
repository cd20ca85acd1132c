#include "datalayer/clientstate.h"
#include "datalayer/dialogs.h"
#include "datalayer/inifile.h"
#include "datalayer/query.h"
#include "datalayer/runsql.h"
#include "datalayer/sql_ado_conn.h"
#include "maintenance/databasecheck.h"
#include "maintenance/data_bak.h"
#include "tests/maintenance/dbfiles.h"
#include "tests/support/testfolder.h"

#include <QCheckBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

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
    EXPECT_EQ(CheckDatabaseFile(todays12()), "");
    EXPECT_TRUE(open()->CheckBox1->isChecked());
    Form_data_bak->Button3->click();
}

TEST_F(ExitBackup, TwoBackupsOnOneDayLeaveTheLaterCopy)
{
    TForm_data_bak *w = open();
    ASSERT_TRUE(w->Button1Click()) << dialogs.Texts().join("\n").toStdString();
    EXPECT_EQ(w->ProgressBar1->value(), 100);
    EXPECT_EQ(dbfiles::Scalar(todays12(), "select count(*) from 库存管理"), "0");
    EXPECT_TRUE(Form_sql->ADOConnection1.Connected()); // the copy came from the open connection
    sell("T1");
    ASSERT_TRUE(w->Button1Click());
    EXPECT_EQ(dbfiles::Scalar(todays12(), "select 编号 from 库存管理"), "T1");
    EXPECT_FALSE(dbfiles::PlainReaderOpens(todays12()));
    EXPECT_EQ(QDir(QFileInfo(todays12()).absolutePath()).entryList(QDir::Files | QDir::Hidden), QStringList{"12.mdb"});
    EXPECT_TRUE(dialogs.Requests().empty());
    sell("T2"); // the live database goes on
    EXPECT_EQ(dbfiles::Scalar(todays12(), "select count(*) from 库存管理"), "1");
}

TEST_F(ExitBackup, AFailedCopyIsReportedAndKeepsTheGoodBackup)
{
    TForm_data_bak *w = open();
    ASSERT_TRUE(w->Button1Click());
    const QByteArray good = dbfiles::Digest(todays12());
    // Where the copy should go, a folder now stands: the rename cannot happen.
    ASSERT_TRUE(QFile::rename(todays12(), folder.Path("kept.mdb")));
    ASSERT_TRUE(QDir().mkdir(todays12()));
    w->CheckBox1->setChecked(true);
    w->Button2->click(); // 退出系统 with a failing backup does not end the program
    ASSERT_EQ(dialogs.Count(Dialogs::Kind::Error), 1);
    EXPECT_TRUE(dialogs.Requests()[0].text.startsWith("数据库备份失败："));
    EXPECT_FALSE(Client().closeFlag);
    EXPECT_TRUE(main.isVisible());
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(dbfiles::Digest(folder.Path("kept.mdb")), good);
    // Nothing unfinished is left beside it.
    EXPECT_EQ(QDir(QFileInfo(todays12()).absolutePath()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"12.mdb"});
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

} // namespace
