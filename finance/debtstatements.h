#pragma once
#include <QDate>
#include <QString>
#include <QStringList>

class Query;

// What the ledger's panel holds when a row is added or changed, as typed.
struct DebtFields {
    QString customer, contact, kind, amount;
    QDate date;
    QString remark;
};

inline const QString kDebt = QStringLiteral("欠款");
inline const QString kRepayment = QStringLiteral("还款");
// The values the kind box takes; any other would count as neither debt nor repayment.
inline const QStringList kDebtKinds{kDebt, kRepayment};

// The ledger as the window first shows it: every row, in the table's order.
QString DebtFirstStatement();
// The query bar: 0 "全部" newest first; 1 联系人, 2 客户名称: that person's rows, newest first.
QString DebtListStatement(int choice, const QString &value);

QString DebtInsertStatement(const DebtFields &f);
QString DebtUpdateStatement(const DebtFields &f, qint64 id);
QString DebtDeleteStatement(qint64 id);

// The contact book's row of one name, or of one contact person.
QString ContactByNameStatement(const QString &name);
QString ContactByPersonStatement(const QString &person);
// Every name and contact person of the contact book, names in reverse order.
QString ContactNamesStatement();

// Why a ledger row cannot be written with these texts, or empty; top down, the first at fault.
QString DebtInputProblem(const DebtFields &f);

// The three totals over the rows a query holds, as the window shows them: the sums of debts
// and of repayments in the general number format, and the difference of those two texts.
struct DebtTotals {
    QString debts, repayments, balance;
};
DebtTotals SumDebts(const Query &rows);
