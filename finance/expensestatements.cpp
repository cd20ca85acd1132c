#include "finance/expensestatements.h"

#include "datalayer/dialect.h"
#include "datalayer/numbertext.h"

QString ExpenseListStatement()
{
    return QStringLiteral("Select * From 支出管理 Order By 日期 DESC");
}

QString ExpenseDayStatement(const QDate &day)
{
    return QStringLiteral("Select * From 支出管理 where 日期 =") + DateLiteral(day) + QStringLiteral(" Order By 日期 DESC");
}

QString ExpenseInsertStatement(const QDate &day, double amount, const QString &description)
{
    return QStringLiteral("insert into 支出管理(日期,金额,事项)values(%1,%2,%3)")
        .arg(QuotedStr(DateToStr(day)), FormatGeneral(amount), QuotedStr(description));
}

QString ExpenseUpdateStatement(qint64 id, const QDate &day, double amount, const QString &description)
{
    return QStringLiteral("UPDATE 支出管理 SET 日期=%1,金额=%2,事项=%3 WHERE ID = %4")
        .arg(QuotedStr(DateToStr(day)), FormatGeneral(amount), QuotedStr(description))
        .arg(id);
}

QString ExpenseDeleteStatement(qint64 id)
{
    return QStringLiteral("DELETE FROM 支出管理 WHERE ID = %1").arg(id);
}

QString ExpenseAmountProblem(const QString &amount)
{
    return NumberFieldProblem(QStringLiteral("金额"), amount);
}
