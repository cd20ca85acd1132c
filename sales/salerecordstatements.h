#pragma once
#include <QDate>
#include <QString>
#include <QStringList>

// What the sales records' panel holds when "修改(&E)" is pressed, as typed. The lot number
// is not here: a correction never moves a sale to another lot.
struct SaleRecordFields {
    QString rawNet, variety, origin, customer, customerType;
    QDate date;
    QString unitPrice, weight, amount, received, remark;
};

// The values the raw/net box takes; any other would drop out of every total later.
inline const QStringList kRawNetKinds{QStringLiteral("毛茶"), QStringLiteral("净茶")};

// The whole list as the screen first shows it.
QString SaleRecordFirstStatement();
// The query bar: 0 "全部", 1 编号, 2 品种, 3 产地, 4 日期 (the date), 5 客户.
QString SaleRecordListStatement(int choice, const QString &value, const QDate &date);

// Texts quoted, numbers as typed (checked first); the sale is addressed by its key.
QString SaleRecordUpdateStatement(const SaleRecordFields &f, qint64 id);
QString SaleRecordDeleteStatement(qint64 id);

// Why "=" cannot price these texts, or empty; the notice names the field.
QString SaleRecordPricingProblem(const QString &unitPrice, const QString &weight);
// 总金额 for "=": unit price times weight in "0.00". The texts must have passed the check.
QString SaleRecordTotal(const QString &unitPrice, const QString &weight);
// Why a correction cannot be saved with these texts, or empty; the first field at fault, top down.
QString SaleRecordInputProblem(const SaleRecordFields &f);

// What the customer still owes for a sale ("0.00"), or empty when nothing or when a text is
// not a number.
QString SaleDebtAmount(const QString &amount, const QString &received);
