#include "datalayer/clientstate.h"
#include "datalayer/inifile.h"
#include "datalayer/labelededit.h"
#include "datalayer/sql_ado_conn.h"
#include "maintenance/access_bak.h"
#include "maintenance/backupfolders.h"
#include "maintenance/databasecheck.h"
#include "tests/maintenance/badsources.h"
#include "tests/maintenance/dbfiles.h"
#include "tests/support/screentest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace {

QStringList items(const QComboBox *box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

class BackupWindow : public ScreenTest {
protected:
    ~BackupWindow() override
    {
        if (Form_access_bak)
            Form_access_bak->close();
        Client().childOpen = false;
    }
    TForm_access_bak *open()
    {
        if (Form_access_bak)
            Form_access_bak->close();
        Form_access_bak = new TForm_access_bak();
        Form_access_bak->show();
        return Form_access_bak;
    }
    QString today() const { return folder.Path("bakdata/" + DayFolderName(QDate::currentDate())); }
    QStringList lots() { return Scalar("select group_concat(编号) from (select 编号 from 库存管理 order by ID)").split(','); }
    // Restarts the program's data module on the same folder, as the next start of the program.
    void restart()
    {
        delete Form_sql;
        Form_sql = new TForm_sql();
        Form_sql->FormCreate();
    }
};

TEST_F(BackupWindow, WithoutBackupsBothListsSayThereIsNone)
{
    TForm_access_bak *w = open();
    EXPECT_EQ(w->windowTitle(), "数据库备份与还原");
    EXPECT_EQ(w->LabeledEdit1->text(), folder.Path("bakdata/"));
    EXPECT_EQ(w->ComboBox1->count(), 0);
    EXPECT_EQ(w->ComboBox1->placeholderText(), "无备份数据库");
    EXPECT_EQ(w->ComboBox2->count(), 0);
    EXPECT_EQ(w->ComboBox2->placeholderText(), "无备份数据库");
    EXPECT_TRUE(w->LabeledEdit2->text().contains(QRegularExpression("^\\d\\d-\\d\\d-\\d\\d\\.mdb$")));
    w->Button2->click(); // nothing to restore
    EXPECT_EQ(w->StatusText(), "数据库还原失败：请先选择一个备份");
    EXPECT_EQ(dialogs.Requests().size(), 0u);
}

TEST_F(BackupWindow, ABackupIsAnEncryptedCheckedCopyAndASecondOneReplacesIt)
{
    Run("insert into 库存管理(编号) values('K1')");
    TForm_access_bak *w = open();
    const QString name = w->LabeledEdit2->text();
    w->Button1->click();
    EXPECT_EQ(w->StatusText(), "数据库备份成功");
    const QString copy = today() + "/" + name;
    EXPECT_EQ(CheckDatabaseFile(copy), "");
    EXPECT_FALSE(dbfiles::PlainReaderOpens(copy));
    EXPECT_EQ(dbfiles::Scalar(copy, "select 编号 from 库存管理"), "K1");
    EXPECT_EQ(items(w->ComboBox1), QStringList{DayFolderName(QDate::currentDate())});
    EXPECT_EQ(items(w->ComboBox2), QStringList{name});

    Run("insert into 库存管理(编号) values('K2')");
    w->Button1->click();
    EXPECT_EQ(w->StatusText(), "数据库备份成功");
    EXPECT_EQ(QDir(today()).entryList(QDir::Files | QDir::Hidden), QStringList{name});
    EXPECT_EQ(dbfiles::Scalar(copy, "select count(*) from 库存管理"), "2");
}

TEST_F(BackupWindow, UnsafeFileNamesAreRefused)
{
    TForm_access_bak *w = open();
    for (const char *typed : {"", "   ", "a/b", "..\\x", "../x", "x..y", ".hidden", "c:x", "a*b"}) {
        SCOPED_TRACE(typed);
        w->LabeledEdit2->setText(QString::fromUtf8(typed));
        w->Button1->click();
        EXPECT_TRUE(w->StatusText().startsWith("数据库备份失败：")) << w->StatusText().toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(today()));
    EXPECT_EQ(QDir(folder.Path()).entryList(QDir::Files | QDir::Hidden), QStringList());

    w->LabeledEdit2->setText("晚班");
    w->Button1->click();
    EXPECT_EQ(w->StatusText(), "数据库备份成功");
    EXPECT_EQ(w->LabeledEdit2->text(), "晚班.mdb");
    EXPECT_TRUE(QFileInfo::exists(today() + "/晚班.mdb"));
    w->LabeledEdit2->setText("Night.MDB");
    w->Button1->click();
    EXPECT_TRUE(QFileInfo::exists(today() + "/Night.MDB"));
}

TEST_F(BackupWindow, RestoreBringsBackTheOldRowsAndLaterWritesOutliveARestart)
{
    Run("insert into 库存管理(编号) values('K1')");
    TForm_access_bak *w = open();
    w->Button1->click();
    ASSERT_EQ(w->StatusText(), "数据库备份成功");
    Run("insert into 库存管理(编号) values('K2')");

    dialogs.Cancel();
    w->Button2->click(); // asked first; Cancel changes nothing
    ASSERT_EQ(dialogs.Count(Dialogs::Kind::Confirm), 1);
    EXPECT_EQ(dialogs.Requests()[0].text, "是否确定还原此数据库!");
    EXPECT_EQ(dialogs.Requests()[0].caption, "提示!");
    EXPECT_EQ(lots(), (QStringList{"K1", "K2"}));

    w->Button2->click();
    EXPECT_EQ(w->StatusText(), "数据库还原成功");
    EXPECT_EQ(lots(), QStringList{"K1"});
    Run("insert into 库存管理(编号) values('K3')");
    w->close();
    restart();
    EXPECT_EQ(lots(), (QStringList{"K1", "K3"}));
}

TEST_F(BackupWindow, TheBackupFirstGoesToTodayThenTheRestoreHappens)
{
    Run("insert into 库存管理(编号) values('K1')");
    TForm_access_bak *w = open();
    w->LabeledEdit2->setText("one");
    w->Button1->click();
    Run("insert into 库存管理(编号) values('K2')");
    w->CheckBox1->click();
    EXPECT_TRUE(IniFile(folder.Path("config.ini")).ReadBool("设置", "还原前先备份"));
    w->LabeledEdit2->setText("before");
    w->Button2->click();
    EXPECT_EQ(w->StatusText(), "数据库还原成功");
    EXPECT_EQ(lots(), QStringList{"K1"});
    EXPECT_EQ(dbfiles::Scalar(today() + "/before.mdb", "select count(*) from 库存管理"), "2");
    EXPECT_TRUE(items(w->ComboBox2).contains("before.mdb"));
    EXPECT_TRUE(open()->CheckBox1->isChecked());
}

TEST_F(BackupWindow, AFailedBackupFirstStopsTheRestore)
{
    Run("insert into 库存管理(编号) values('K1')");
    TForm_access_bak *w = open();
    w->Button1->click();
    Run("insert into 库存管理(编号) values('K2')");
    w->CheckBox1->setChecked(true);
    w->LabeledEdit2->setText("a/b");
    w->Button2->click();
    EXPECT_TRUE(w->StatusText().startsWith("数据库还原失败：还原前的备份失败：")) << w->StatusText().toStdString();
    EXPECT_EQ(lots(), (QStringList{"K1", "K2"}));
    // Nor may it overwrite the copy being restored.
    w->LabeledEdit2->setText(w->ComboBox2->currentText());
    const QByteArray source = dbfiles::Digest(today() + "/" + w->ComboBox2->currentText());
    w->Button2->click();
    EXPECT_TRUE(w->StatusText().startsWith("数据库还原失败：")) << w->StatusText().toStdString();
    EXPECT_EQ(dbfiles::Digest(today() + "/" + w->ComboBox2->currentText()), source);
    EXPECT_EQ(lots(), (QStringList{"K1", "K2"}));
}

TEST_F(BackupWindow, EveryBadCopyIsRefusedWithTheLiveFileUnchanged)
{
    Run("insert into 库存管理(编号) values('K1')");
    TForm_access_bak *w = open();
    w->LabeledEdit2->setText("good");
    w->Button1->click();
    for (const BadSource &bad : BadSources()) {
        SCOPED_TRACE(bad.name);
        const QString name = QString::fromUtf8(bad.name) + ".mdb";
        bad.make(today() + "/" + name, today() + "/good.mdb");
        const QByteArray live = dbfiles::Digest(folder.DatabasePath());
        const QByteArray source = dbfiles::Digest(today() + "/" + name);
        w = open();
        w->ComboBox2->setCurrentIndex(w->ComboBox2->findText(name));
        ASSERT_EQ(w->ComboBox2->currentText(), name);
        w->Button2->click();
        EXPECT_EQ(w->StatusText(), "数据库还原失败：" + QString::fromUtf8(bad.reason));
        EXPECT_EQ(dbfiles::Digest(folder.DatabasePath()), live);
        EXPECT_EQ(dbfiles::Digest(today() + "/" + name), source);
        EXPECT_EQ(lots(), QStringList{"K1"});
    }
}

TEST_F(BackupWindow, RestoreWaitsWhileAListScreenOrAnotherWindowIsOpen)
{
    TForm_access_bak *w = open();
    w->Button1->click();
    Run("insert into 库存管理(编号) values('K1')");
    Client().childOpen = true;
    w->Button2->click();
    EXPECT_EQ(w->StatusText(), "数据库还原失败：请先关闭其他窗口再还原");
    Client().childOpen = false;
    QWidget notepad;
    notepad.show();
    w->Button2->click();
    EXPECT_EQ(w->StatusText(), "数据库还原失败：请先关闭其他窗口再还原");
    EXPECT_EQ(dialogs.Count(Dialogs::Kind::Confirm), 0);
    EXPECT_EQ(lots(), QStringList{"K1"});
    notepad.close();
    w->Button2->click();
    EXPECT_EQ(w->StatusText(), "数据库还原成功");
}

TEST_F(BackupWindow, DayFoldersNewestFirstAndCopiesByTheirTime)
{
    const QDateTime now = QDateTime::currentDateTime();
    for (const char *day : {"2026-01-02", "2025-12-31", "2026-01-10"})
        ASSERT_TRUE(QDir().mkpath(folder.Path("bakdata/") + day));
    const struct {
        const char *name;
        int minutesAgo;
    } copies[] = {{"a.mdb", 30}, {"b.mdb", 10}, {"c.mdb", 20}, {".unfinished.mdb", 0}, {"notes.txt", 0}};
    for (const auto &c : copies) {
        QFile f(folder.Path("bakdata/2026-01-10/") + c.name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.setFileTime(now.addSecs(-60 * c.minutesAgo), QFileDevice::FileModificationTime);
    }
    QFile stray(folder.Path("bakdata/12.mdb")); // a file beside the day folders is no day folder
    ASSERT_TRUE(stray.open(QIODevice::WriteOnly));
    stray.close();

    TForm_access_bak *w = open();
    EXPECT_EQ(items(w->ComboBox1), (QStringList{"2026-01-10", "2026-01-02", "2025-12-31"}));
    EXPECT_EQ(items(w->ComboBox2), (QStringList{"b.mdb", "c.mdb", "a.mdb"}));
    w->ComboBox1->setCurrentIndex(1);
    w->ComboBox1Click();
    EXPECT_EQ(w->StatusText(), QDir::toNativeSeparators(folder.Path("bakdata/2026-01-02/")));
    EXPECT_EQ(w->ComboBox2->count(), 0);
}

TEST_F(BackupWindow, TheListsFollowTheBackupFolderSet)
{
    const QString other = folder.Path("elsewhere");
    ASSERT_TRUE(QDir().mkpath(other + "/2026-03-01"));
    IniFile(folder.Path("config.ini")).WriteString("设置", "备份路径", other);
    TForm_access_bak *w = open();
    EXPECT_EQ(w->LabeledEdit1->text(), other);
    EXPECT_EQ(items(w->ComboBox1), QStringList{"2026-03-01"});
    w->Button1->click();
    EXPECT_TRUE(QFileInfo::exists(other + "/" + DayFolderName(QDate::currentDate())));

    w->SpeedButton2->click(); // 默认
    EXPECT_EQ(w->LabeledEdit1->text(), folder.Path("bakdata/"));
    EXPECT_EQ(IniFile(folder.Path("config.ini")).ReadString("设置", "备份路径"), folder.Path("bakdata/"));
    EXPECT_EQ(w->ComboBox1->count(), 0);

    dialogs.Answer({true, other, 1});
    w->SpeedButton1->click(); // ...
    ASSERT_EQ(dialogs.Count(Dialogs::Kind::Folder), 1);
    EXPECT_EQ(dialogs.Requests().back().text, "选择文件夹");
    EXPECT_EQ(w->LabeledEdit1->text(), other);
    EXPECT_EQ(IniFile(folder.Path("config.ini")).ReadString("设置", "备份路径"), other);
    EXPECT_EQ(w->ComboBox1->count(), 2);

    dialogs.Cancel();
    w->SpeedButton1->click();
    EXPECT_EQ(w->LabeledEdit1->text(), other);
}

} // namespace
