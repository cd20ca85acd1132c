#include "datalayer/labelededit.h"
#include "datalayer/query.h"
#include "datalayer/sql_ado_conn.h"
#include "maintenance/Access_Compact.h"
#include "tests/maintenance/dbfiles.h"
#include "tests/support/screentest.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QToolButton>

namespace {

class CompactWindow : public ScreenTest {
protected:
    ~CompactWindow() override
    {
        if (Form_Access_Compact)
            Form_Access_Compact->close();
    }
    TForm_Access_Compact *open()
    {
        Form_Access_Compact = new TForm_Access_Compact();
        Form_Access_Compact->show();
        return Form_Access_Compact;
    }
};

TEST_F(CompactWindow, TheLiveDatabaseShrinksKeepsItsRowsAndKeyAndTheListsGoOn)
{
    conn().ExecuteNative("INSERT INTO 库存管理(编号, 备注) WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                         "FROM n WHERE i < 300) SELECT 'L' || i, substr(hex(zeroblob(500)), 1, 1000) FROM n");
    Run("delete from 库存管理 where ID > 5");
    // A list screen's shared query, open across the compaction.
    Query *list = Form_sql->ADOQuery1;
    list->Close();
    list->SetSQL("select * from 库存管理 order by ID");
    list->Open();
    const qint64 before = QFileInfo(folder.DatabasePath()).size();

    TForm_Access_Compact *w = open();
    EXPECT_EQ(w->windowTitle(), "数据库压缩");
    EXPECT_EQ(w->LabeledEdit1->text(), folder.DatabasePath());
    w->Button1->click();
    EXPECT_EQ(w->StatusText(), "数据库压缩修复成功");
    EXPECT_LT(QFileInfo(folder.DatabasePath()).size(), before / 4);
    EXPECT_FALSE(dbfiles::PlainReaderOpens(folder.DatabasePath()));
    w->Button1->click(); // twice in a row
    EXPECT_EQ(w->StatusText(), "数据库压缩修复成功");

    list->Requery();
    EXPECT_EQ(list->RecordCount(), 5);
    Run("update 库存管理 set 编号 = 'X1' where ID = " + QString::number(list->CurrentKey()));
    EXPECT_EQ(Scalar("select 编号 from 库存管理 where ID = 1"), "X1");
}

TEST_F(CompactWindow, AnotherKeyOrAForeignFileIsRefusedAndLeftAsItWas)
{
    ASSERT_TRUE(dbfiles::MakeFile(folder.Path("other.mdb"), {"CREATE TABLE t (a)"}, "another"));
    ASSERT_TRUE(dbfiles::MakeFile(folder.Path("foreign.mdb"), {"CREATE TABLE t (a)", "INSERT INTO t VALUES (1)"}));
    TForm_Access_Compact *w = open();
    for (const char *name : {"other.mdb", "foreign.mdb"}) {
        SCOPED_TRACE(name);
        const QByteArray digest = dbfiles::Digest(folder.Path(name));
        dialogs.Answer({true, folder.Path(name), 1});
        w->SpeedButton1->click(); // ...
        EXPECT_EQ(dialogs.Requests().back().kind, Dialogs::Kind::OpenFile);
        EXPECT_EQ(w->LabeledEdit1->text(), folder.Path(name));
        w->Button1->click();
        EXPECT_TRUE(w->StatusText().startsWith("数据库压缩修复失败：")) << w->StatusText().toStdString();
        EXPECT_EQ(dbfiles::Digest(folder.Path(name)), digest);
    }
    dialogs.Cancel();
    w->SpeedButton1->click();
    EXPECT_EQ(w->LabeledEdit1->text(), folder.Path("foreign.mdb"));
    w->SpeedButton2->click(); // 默认
    EXPECT_EQ(w->LabeledEdit1->text(), folder.DatabasePath());
}

TEST_F(CompactWindow, AMissingFileIsSaidSo)
{
    TForm_Access_Compact *w = open();
    w->LabeledEdit1->setText(folder.Path("none.mdb"));
    w->Button1->click();
    EXPECT_EQ(w->StatusText(), "数据库压缩修复失败：文件不存在");
    EXPECT_FALSE(QFileInfo::exists(folder.Path("none.mdb")));
}

} // namespace
