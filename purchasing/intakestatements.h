#pragma once
#include <QDate>
#include <QString>

class Connection;

// What the intake panel holds when a lot is bought or corrected, as typed.
struct IntakeFields {
    QString lotNumber, variety, origin, supplier;
    QString rawPrice, totalWeight, remaining, amount; // numbers, as typed
    QString packaging;
    QDate date;
    QString handler, paid, remark;
    QString rawNet; // "毛茶" or "净茶"
};

// The newest-first list of every lot, purchased and blended.
QString IntakeAllStatement();
// The filter bar: choice 0 "全部", 1 编号, 2 品种, 3 产地, 4 供应商, 5 经办人, 6 入库日期.
QString IntakeListStatement(int choice, const QString &value, const QDate &date);

// Texts quoted, numbers as typed (IntakeInputProblem has checked them).
QString IntakeInsertStatement(const IntakeFields &lot);
QString IntakeUpdateStatement(const IntakeFields &lot, qint64 lotId);
QString IntakeDeleteStatement(qint64 lotId);

// Why these texts cannot be stored as a lot, or empty: the notice names the field.
QString IntakeInputProblem(const IntakeFields &lot);

// "=": 总金额 is price × weight with two decimals; 实付款 takes the amount and 剩余重量 the
// weight as typed. Throws ConvertError when the price or the weight is not a number.
struct IntakeAmounts {
    QString amount, paid, remaining;
};
IntakeAmounts ComputeIntakeAmounts(const QString &rawPrice, const QString &totalWeight);

// Whether the stored lot's stock has moved since its purchase (sales, returns, corrections):
// its remaining weight is no longer its total weight. Throws DbError when the read fails.
bool LotStockMoved(Connection &conn, qint64 lotId);
// The question "=" asks before it puts the total weight into a moved lot's remaining weight.
inline const QString kResetRemaining = QStringLiteral("是否确定将剩余重量重置为总重量(此商品已有售出或退货)!");

// The automatic lot number: the variety's pinyin initial, the date as "mmdd" and the weight
// rounded to a whole number of at least three digits (铁观音, 26 April, 12.5 -> T0426013).
// Throws ConvertError when the weight is not a number.
QString AutoLotNumber(const QString &variety, const QDate &date, const QString &totalWeight);
