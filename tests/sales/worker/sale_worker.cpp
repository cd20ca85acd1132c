// Sells from lot 1 of the database named on the command line until it holds the number of
// sales asked for, through the same statements and transaction as the sales screen.
// The kill test ends it with SIGKILL at random moments and starts it again.
#include "datalayer/connection.h"
#include "datalayer/query.h"
#include "sales/salestatements.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: sale_worker <database> <sales>\n");
        return 2;
    }
    Connection conn(QStringLiteral("worker"));
    conn.SetDatabase(QString::fromLocal8Bit(argv[1]));
    conn.SetExclusive(true);
    const int target = QString::fromLocal8Bit(argv[2]).toInt();
    try {
        conn.Open();
        Query count(&conn, QStringLiteral("count"));
        count.SetSQL(QStringLiteral("Select count(*) From 销售记录"));
        count.Open();
        int done = int(count.Fields(0).AsInteger());
        std::printf("open %d\n", done);
        std::fflush(stdout);
        Query lot(&conn, QStringLiteral("lot"));
        lot.SetSQL(QStringLiteral("Select ") + SaleColumnList() + QStringLiteral(" From 库存管理 where ID = 1"));
        while (done < target) {
            lot.Close();
            lot.Open();
            const double remaining = lot.FieldByName(QStringLiteral("剩余重量")).AsFloat();
            SaleFields sale;
            sale.lotNumber = lot.FieldByName(QStringLiteral("编号")).AsString();
            sale.variety = lot.FieldByName(QStringLiteral("品种")).AsString();
            sale.customer = QStringLiteral("O'Brien");
            sale.customerType = QStringLiteral("零售客户");
            sale.date = QDate(2026, 12, 10);
            const double weight = 0.25 + (done % 7) * 0.25; // 0.25 .. 1.75, exact in binary
            sale.unitPrice = QStringLiteral("38");
            sale.weight = QString::number(weight);
            sale.amount = QString::number(38 * weight);
            sale.received = sale.amount;
            sale.remark = QStringLiteral("备注：");
            sale.rawNet = QStringLiteral("净茶");
            if (!RecordSale(sale, lot.CurrentKey(), remaining - weight, conn)) {
                std::fprintf(stderr, "%s\n", conn.LastError().toUtf8().constData());
                return 1;
            }
            ++done;
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::printf("done %d\n", target);
    return 0;
}
