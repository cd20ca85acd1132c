#include "purchasing/intakestatements.h"

#include "datalayer/dialect.h"
#include "datalayer/numbertext.h"
#include "datalayer/query.h"
#include "datalayer/sysfun.h"

#include <QStringList>
#include <cmath>

namespace {

const QString kOrder = QStringLiteral(" Order By ID DESC");

QString number(const QString &typed)
{
    return typed.trimmed();
}

} // namespace

QString IntakeAllStatement()
{
    return QStringLiteral("Select * From 库存管理") + kOrder;
}

QString IntakeListStatement(int choice, const QString &value, const QDate &date)
{
    static const QStringList columns{QString(),           QStringLiteral("编号"),   QStringLiteral("品种"),
                                     QStringLiteral("产地"), QStringLiteral("供应商"), QStringLiteral("经办人")};
    QString condition;
    if (choice >= 1 && choice < columns.size())
        condition = ' ' + columns[choice] + '=' + QuotedStr(value);
    else if (choice == 6)
        condition = QStringLiteral(" 入库日期=") + DateLiteral(date);
    else
        return IntakeAllStatement();
    return QStringLiteral("Select * From 库存管理 where") + condition + kOrder;
}

QString IntakeInsertStatement(const IntakeFields &l)
{
    return QStringLiteral("insert into 库存管理(编号,品种,产地,供应商,毛茶价,总重量,剩余重量,总金额,包装,入库日期,经办人,"
                          "实付款,备注,毛净茶)values(") +
           QStringList{QuotedStr(l.lotNumber),      QuotedStr(l.variety),  QuotedStr(l.origin),
                       QuotedStr(l.supplier),       number(l.rawPrice),    number(l.totalWeight),
                       number(l.remaining),         number(l.amount),      QuotedStr(l.packaging),
                       QuotedStr(DateToStr(l.date)), QuotedStr(l.handler), number(l.paid),
                       QuotedStr(l.remark),         QuotedStr(l.rawNet)}
               .join(',') +
           ')';
}

QString IntakeUpdateStatement(const IntakeFields &l, qint64 lotId)
{
    return QStringLiteral("UPDATE 库存管理 SET 编号=") + QuotedStr(l.lotNumber) + QStringLiteral(",品种=") +
           QuotedStr(l.variety) + QStringLiteral(",产地=") + QuotedStr(l.origin) + QStringLiteral(",供应商=") +
           QuotedStr(l.supplier) + QStringLiteral(",毛茶价=") + number(l.rawPrice) + QStringLiteral(",总重量=") +
           number(l.totalWeight) + QStringLiteral(",剩余重量=") + number(l.remaining) + QStringLiteral(",总金额=") +
           number(l.amount) + QStringLiteral(",包装=") + QuotedStr(l.packaging) + QStringLiteral(",入库日期=") +
           QuotedStr(DateToStr(l.date)) + QStringLiteral(",经办人=") + QuotedStr(l.handler) +
           QStringLiteral(",实付款=") + number(l.paid) + QStringLiteral(",备注=") + QuotedStr(l.remark) +
           QStringLiteral(",毛净茶=") + QuotedStr(l.rawNet) + QStringLiteral(" WHERE ID = ") + QString::number(lotId);
}

QString IntakeDeleteStatement(qint64 lotId)
{
    return QStringLiteral("DELETE FROM 库存管理 WHERE ID = ") + QString::number(lotId);
}

QString IntakeInputProblem(const IntakeFields &l)
{
    const std::pair<QString, QString> numbers[] = {
        {QStringLiteral("毛茶价"), l.rawPrice}, {QStringLiteral("总重量"), l.totalWeight},
        {QStringLiteral("剩余重量"), l.remaining}, {QStringLiteral("总金额"), l.amount},
        {QStringLiteral("实付款"), l.paid}};
    for (const auto &[name, text] : numbers)
        if (QString p = NumberFieldProblem(name, text); !p.isEmpty())
            return p;
    if (!l.date.isValid())
        return QStringLiteral("请输入正确的入库日期!");
    return {};
}

IntakeAmounts ComputeIntakeAmounts(const QString &rawPrice, const QString &totalWeight)
{
    const double price = StrToFloat(rawPrice);
    const double weight = StrToFloat(totalWeight);
    const QString amount = FormatFloat(QStringLiteral("0.00"), price * weight);
    return {amount, amount, totalWeight};
}

bool LotStockMoved(Connection &conn, qint64 lotId)
{
    Query q(&conn, QStringLiteral("stock moved"));
    q.SetSQL(QStringLiteral("Select 总重量,剩余重量 From 库存管理 where ID = ") + QString::number(lotId));
    q.Open();
    if (q.IsEmpty())
        return false;
    const Field total = q.FieldByName(QStringLiteral("总重量")), remaining = q.FieldByName(QStringLiteral("剩余重量"));
    return total.IsNull() != remaining.IsNull() || std::fabs(total.AsFloat() - remaining.AsFloat()) > 1e-9;
}

QString AutoLotNumber(const QString &variety, const QDate &date, const QString &totalWeight)
{
    const double weight = StrToFloat(totalWeight);
    return PinyinInitial(variety) + FormatMMDD(date) + FormatFloat(QStringLiteral("000"), weight);
}
