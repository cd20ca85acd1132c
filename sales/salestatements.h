#pragma once
#include <QDate>
#include <QString>
#include <QStringList>

class Connection;

// What the sale panel holds when "出售(&C)" is pressed, as typed.
struct SaleFields {
    QString lotNumber, variety, origin, customer, customerType;
    QDate date;
    QString unitPrice, weight, amount, remark, rawNet, received;
};

// The columns every lot query of the sales screen selects.
QString SaleColumnList();

// "insert into 销售记录(...)": texts quoted, numbers as typed, with the key of the lot sold from.
QString SaleInsertStatement(const SaleFields &sale, qint64 lotId);

// Sets one lot's remaining weight; the lot is addressed by its key, never by its number.
QString StockWeightUpdate(qint64 lotId, double remaining);

// The sale's two statements, run together by RunSQLTogether.
QStringList SaleStatements(const SaleFields &sale, qint64 lotId, double remaining);

// The newest-first list of the lots with one number ("查").
QString LotLookupStatement(const QString &lotNumber);

// The query bar: choice 0 "全部" newest first, 1 编号, 2 品种, 3 产地, 4 入库日期 oldest first.
QString SaleListStatement(int choice, const QString &value, const QDate &date);

// Why a sale cannot go ahead with these texts, or empty: the notice names the field.
// remaining and weight hold the shown remaining weight and the typed weight.
QString SaleInputProblem(const SaleFields &sale, const QString &remaining);
// The same check for "=": remaining weight, unit price and weight.
QString PricingInputProblem(const QString &unitPrice, const QString &remaining, const QString &weight);

// Records one sale from a lot at its remaining weight: both statements or neither.
// The engine's reason for a refusal is in conn.LastError().
bool RecordSale(const SaleFields &sale, qint64 lotId, double remaining, Connection &conn);

inline const QString kNoStock = QStringLiteral("库存量不足!");
