#include "finance/debtstatements.h"

#include "datalayer/dialect.h"
#include "datalayer/numbertext.h"
#include "datalayer/query.h"

QString DebtFirstStatement()
{
    return QStringLiteral("Select * From 欠款管理 ");
}

QString DebtListStatement(int choice, const QString &value)
{
    const QString head = QStringLiteral("Select * From 欠款管理");
    const QString newestFirst = QStringLiteral(" Order By ID DESC");
    if (choice == 1)
        return head + QStringLiteral(" where 联系人=") + QuotedStr(value) + newestFirst;
    if (choice == 2)
        return head + QStringLiteral(" where 客户名称=") + QuotedStr(value) + newestFirst;
    return head + newestFirst;
}

QString DebtInsertStatement(const DebtFields &f)
{
    return QStringLiteral("insert into 欠款管理(客户名称,联系人,项目,金额,日期,备注) values(") +
           QStringList{QuotedStr(f.customer), QuotedStr(f.contact), QuotedStr(f.kind), f.amount.trimmed(),
                       QuotedStr(DateToStr(f.date)), QuotedStr(f.remark)}
               .join(u',') +
           u')';
}

QString DebtUpdateStatement(const DebtFields &f, qint64 id)
{
    return QStringLiteral("UPDATE 欠款管理 SET 客户名称=") + QuotedStr(f.customer) + QStringLiteral(",联系人=") +
           QuotedStr(f.contact) + QStringLiteral(",项目=") + QuotedStr(f.kind) + QStringLiteral(",金额=") +
           f.amount.trimmed() + QStringLiteral(",日期=") + QuotedStr(DateToStr(f.date)) + QStringLiteral(",备注=") +
           QuotedStr(f.remark) + QStringLiteral(" WHERE ID = ") + QString::number(id);
}

QString DebtDeleteStatement(qint64 id)
{
    return QStringLiteral("DELETE FROM 欠款管理 WHERE ID = ") + QString::number(id);
}

QString ContactByNameStatement(const QString &name)
{
    return QStringLiteral("Select * From 通讯管理 where 名称=") + QuotedStr(name);
}

QString ContactByPersonStatement(const QString &person)
{
    return QStringLiteral("Select * From 通讯管理 where 联系人=") + QuotedStr(person);
}

QString ContactNamesStatement()
{
    return QStringLiteral("Select 名称,联系人 From 通讯管理 Order By 名称 DESC");
}

QString DebtInputProblem(const DebtFields &f)
{
    if (f.customer.trimmed().isEmpty())
        return QStringLiteral("请输入客户名称!");
    if (!kDebtKinds.contains(f.kind))
        return QStringLiteral("项目只能选择欠款或还款!");
    double amount = 0;
    if (!TryStrToFloat(f.amount, amount) || amount <= 0)
        return QStringLiteral("请输入正确的金额!");
    return {};
}

DebtTotals SumDebts(const Query &rows)
{
    double debts = 0, repayments = 0;
    const int kind = rows.FieldIndex(QStringLiteral("项目"));
    const int amount = rows.FieldIndex(QStringLiteral("金额"));
    if (kind >= 0 && amount >= 0)
        for (int r = 0; r < rows.RecordCount(); ++r) {
            const QString k = rows.Text(r, kind);
            if (k == kDebt)
                debts += rows.Number(r, amount);
            else if (k == kRepayment)
                repayments += rows.Number(r, amount);
        }
    DebtTotals t{FormatGeneral(debts), FormatGeneral(repayments), {}};
    t.balance = FormatGeneral(StrToFloat(t.debts) - StrToFloat(t.repayments));
    return t;
}
