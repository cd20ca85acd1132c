#include "tests/support/screentest.h"

#include "datalayer/clientstate.h"
#include "datalayer/dbgrid.h"
#include "datalayer/query.h"
#include "datalayer/runsql.h"
#include "datalayer/sql_ado_conn.h"

#include <QTest>

ScreenTest::ScreenTest(const QString &user)
{
    Form_sql = new TForm_sql();
    Form_sql->FormCreate();
    Client().currentUser = user;
}

ScreenTest::~ScreenTest()
{
    Client().currentUser.clear();
    delete Form_sql;
    Form_sql = nullptr;
}

Connection &ScreenTest::conn()
{
    return Form_sql->ADOConnection1;
}

void ScreenTest::Run(const QString &sql)
{
    EXPECT_TRUE(RunSQL(sql, conn())) << sql.toStdString() << ": " << conn().LastError().toStdString();
}

QString ScreenTest::Scalar(const QString &sql)
{
    Query q(&conn(), QStringLiteral("check"));
    q.SetSQL(sql);
    q.Open();
    return q.IsEmpty() ? QString() : q.Fields(0).AsString();
}

qint64 ScreenTest::NewestLot()
{
    return Scalar(QStringLiteral("Select max(ID) From 库存管理")).toLongLong();
}

QStringList ScreenTest::Listed(const DBGrid *grid, const QString &column)
{
    QStringList out;
    const int c = grid->ColumnIndex(column);
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        out << grid->CellText(r, c);
    return out;
}

void ScreenTest::ClickRow(DBGrid *grid, int row)
{
    // Any bound column will do; the first one past the row numbers.
    const QRect cell = grid->visualRect(grid->model()->index(row, 1));
    ASSERT_TRUE(cell.isValid()) << "row " << row << " is not on the grid";
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}
