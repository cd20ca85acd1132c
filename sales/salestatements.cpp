#include "sales/salestatements.h"

#include "datalayer/dialect.h"
#include "datalayer/dialogs.h"
#include "datalayer/numbertext.h"
#include "datalayer/stockupdate.h"
#include "datalayer/runsql.h"
#include "datalayer/schema.h"

QString SaleColumnList()
{
    return QStringLiteral("ID,编号,品种,产地,毛净茶,剩余重量,销售单价,包装,入库日期,经办人,备注");
}

QString SaleInsertStatement(const SaleFields &s, qint64 lotId)
{
    return QStringLiteral("insert into 销售记录(编号,品种,产地,客户,客户类型,日期,单价,重量,总金额,备注,毛净茶,实收款,") +
           columns::SaleLotKey + QStringLiteral(")values(") +
           QStringList{QuotedStr(s.lotNumber), QuotedStr(s.variety),      QuotedStr(s.origin),
                       QuotedStr(s.customer),  QuotedStr(s.customerType), QuotedStr(DateToStr(s.date)),
                       s.unitPrice.trimmed(),  s.weight.trimmed(),        s.amount.trimmed(),
                       QuotedStr(s.remark),    QuotedStr(s.rawNet),       s.received.trimmed(),
                       QuotedStr(QString::number(lotId))}
               .join(',') +
           ')';
}

QString StockWeightUpdate(qint64 lotId, double remaining)
{
    return RemainingWeightUpdate(lotId, remaining);
}

QStringList SaleStatements(const SaleFields &sale, qint64 lotId, double remaining)
{
    return {SaleInsertStatement(sale, lotId), StockWeightUpdate(lotId, remaining)};
}

QString LotLookupStatement(const QString &lotNumber)
{
    return QStringLiteral("Select ") + SaleColumnList() + QStringLiteral(" From 库存管理 where 编号=") +
           QuotedStr(lotNumber) + QStringLiteral(" Order By ID DESC");
}

QString SaleListStatement(int choice, const QString &value, const QDate &date)
{
    const QString head = QStringLiteral("Select ") + SaleColumnList() + QStringLiteral(" From 库存管理");
    static const QStringList columns{QString(), QStringLiteral("编号"), QStringLiteral("品种"), QStringLiteral("产地")};
    if (choice >= 1 && choice <= 3)
        return head + QStringLiteral(" where ") + columns[choice] + '=' + QuotedStr(value) +
               QStringLiteral(" Order By ID ASC");
    if (choice == 4)
        return head + QStringLiteral(" where 入库日期=") + DateLiteral(date) + QStringLiteral(" Order By ID ASC");
    return head + QStringLiteral(" Order By ID DESC");
}

QString PricingInputProblem(const QString &unitPrice, const QString &remaining, const QString &weight)
{
    if (!IsNumberText(remaining))
        return Dialogs::kChooseRow;
    if (!IsNumberText(unitPrice))
        return QStringLiteral("请输入正确的单价!");
    if (!IsWeightText(weight))
        return QStringLiteral("请输入正确的重量!");
    return {};
}

QString SaleInputProblem(const SaleFields &s, const QString &remaining)
{
    if (const QString p = PricingInputProblem(s.unitPrice, remaining, s.weight); !p.isEmpty())
        return p;
    if (!IsNumberText(s.amount))
        return QStringLiteral("请输入正确的总金额!");
    if (!IsNumberText(s.received))
        return QStringLiteral("请输入正确的实收款!");
    return {};
}

bool RecordSale(const SaleFields &sale, qint64 lotId, double remaining, Connection &conn)
{
    return RunSQLTogether(SaleStatements(sale, lotId, remaining), conn);
}
