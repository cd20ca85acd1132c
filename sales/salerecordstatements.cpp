#include "sales/salerecordstatements.h"

#include "datalayer/dialect.h"
#include "datalayer/numbertext.h"

namespace {

// A typed amount that may be stored: a number, not below zero.
QString moneyProblem(const QString &field, const QString &text)
{
    double v = 0;
    return TryStrToFloat(text, v) && v >= 0 ? QString() : QStringLiteral("请输入正确的") + field + u'!';
}

QString weightProblem(const QString &text)
{
    return IsWeightText(text) ? QString() : QStringLiteral("请输入正确的销售重量!");
}

} // namespace

QString SaleRecordFirstStatement()
{
    return QStringLiteral("select * from 销售记录");
}

QString SaleRecordListStatement(int choice, const QString &value, const QDate &date)
{
    const QString head = QStringLiteral("Select * From 销售记录");
    static const QStringList columns{QString(), QStringLiteral("编号"), QStringLiteral("品种"), QStringLiteral("产地"),
                                     QStringLiteral("日期"), QStringLiteral("客户")};
    if (choice == 4)
        return head + QStringLiteral(" where 日期=") + DateLiteral(date) + QStringLiteral(" Order By 日期 ASC");
    if (choice >= 1 && choice < columns.size())
        return head + QStringLiteral(" where ") + columns[choice] + u'=' + QuotedStr(value) +
               QStringLiteral(" Order By ") + columns[choice] + QStringLiteral(" ASC");
    return head + QStringLiteral(" Order By ID ASC");
}

QString SaleRecordUpdateStatement(const SaleRecordFields &f, qint64 id)
{
    return QStringLiteral("UPDATE 销售记录 SET 品种=") + QuotedStr(f.variety) + QStringLiteral(",产地=") +
           QuotedStr(f.origin) + QStringLiteral(",客户=") + QuotedStr(f.customer) + QStringLiteral(",客户类型=") +
           QuotedStr(f.customerType) + QStringLiteral(",日期=") + QuotedStr(DateToStr(f.date)) +
           QStringLiteral(",单价=") + f.unitPrice.trimmed() + QStringLiteral(",重量=") + f.weight.trimmed() +
           QStringLiteral(",总金额=") + f.amount.trimmed() + QStringLiteral(",备注=") + QuotedStr(f.remark) +
           QStringLiteral(",实收款=") + f.received.trimmed() + QStringLiteral(",毛净茶=") + QuotedStr(f.rawNet) +
           QStringLiteral(" WHERE ID = ") + QString::number(id);
}

QString SaleRecordDeleteStatement(qint64 id)
{
    return QStringLiteral("DELETE FROM 销售记录 WHERE ID = ") + QString::number(id);
}

QString SaleRecordPricingProblem(const QString &unitPrice, const QString &weight)
{
    if (const QString p = moneyProblem(QStringLiteral("出售单价"), unitPrice); !p.isEmpty())
        return p;
    return weightProblem(weight);
}

QString SaleRecordTotal(const QString &unitPrice, const QString &weight)
{
    return FormatFloat(QStringLiteral("0.00"), StrToFloat(unitPrice) * StrToFloat(weight));
}

QString SaleRecordInputProblem(const SaleRecordFields &f)
{
    if (!kRawNetKinds.contains(f.rawNet))
        return QStringLiteral("毛/净茶只能选择毛茶或净茶!");
    for (const QString &p : {SaleRecordPricingProblem(f.unitPrice, f.weight),
                             moneyProblem(QStringLiteral("总金额"), f.amount),
                             moneyProblem(QStringLiteral("实收款"), f.received)})
        if (!p.isEmpty())
            return p;
    return {};
}

QString SaleDebtAmount(const QString &amount, const QString &received)
{
    double total = 0, paid = 0;
    if (!TryStrToFloat(amount, total) || !TryStrToFloat(received, paid))
        return {};
    const QString owed = FormatFloat(QStringLiteral("0.00"), total - paid);
    return StrToFloat(owed) > 0 ? owed : QString();
}
