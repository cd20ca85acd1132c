#include "finance/settlementstatements.h"

#include "datalayer/dialect.h"
#include "datalayer/numbertext.h"
#include "datalayer/schema.h"

namespace {

QString lotSalesCondition(qint64 lotId, const QString &lotNumber)
{
    const QString key = columns::SaleLotKey;
    return QStringLiteral("(%1 = %2 OR ((%1 IS NULL OR %1 = '') AND 编号 = %3))")
        .arg(key, QuotedStr(QString::number(lotId)), QuotedStr(lotNumber));
}

} // namespace

QString SettlementLotListStatement()
{
    return QStringLiteral("Select * From 库存管理 Order By ID ASC");
}

QString SettlementLotLookupStatement(const QString &lotNumber)
{
    return QStringLiteral("Select * From 库存管理 where 编号=") + QuotedStr(lotNumber) + QStringLiteral(" Order By ID ASC");
}

QString LotSalesStatement(qint64 lotId, const QString &lotNumber)
{
    return QStringLiteral("Select * From 销售记录 where ") + lotSalesCondition(lotId, lotNumber) +
           QStringLiteral(" Order By ID DESC");
}

QString LotReceiptsStatement(qint64 lotId, const QString &lotNumber)
{
    return QStringLiteral("Select sum(实收款) From 销售记录 where ") + lotSalesCondition(lotId, lotNumber);
}

QString SettleLotStatement(qint64 lotId, double profit)
{
    return QStringLiteral("UPDATE 库存管理 SET 利润总额 =%1,剩余重量 = 0 ,结算 = true  WHERE ID = %2")
        .arg(FormatGeneral(profit))
        .arg(lotId);
}

QString ProfitProblem(const QString &profit)
{
    return NumberFieldProblem(QStringLiteral("利润总额"), profit);
}
