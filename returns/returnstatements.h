#pragma once
#include <QDate>
#include <QString>
#include <QStringList>

class Connection;

// What the returns panel holds when "退货(&A)" is pressed, as typed.
struct ReturnFields {
    QString lotNumber, variety, supplier, rawNet, weight;
    QDate date;
    QString amount, handler, remark;
};

// The columns every lot list of the returns screen selects.
QString ReturnLotColumnList();

// The lot list: choice 0 "全部" oldest first, 1 编号, 2 品种, 3 供应商, 4 入库日期.
QString ReturnLotListStatement(int choice, const QString &value, const QDate &date);
// The returns list: choice 0 "全部", 1 编号, 2 品种, 3 供应商, 4 经办人, 5 退回日期.
QString ReturnsListStatement(int choice, const QString &value, const QDate &date);
// "查": only the lots of one number, newest first.
QString ReturnSingleLotStatement(const QString &lotNumber);
// The lot shown for a clicked return: the lot it was taken from when the return names it
// (lotId, its 库存ID), otherwise the newest lot of that number.
QString ReturnLotOfReturnStatement(const QString &lotNumber, const QString &lotId);

// The return names the key of the lot it is taken from (库存ID), so its withdrawal finds it.
QString ReturnInsertStatement(const ReturnFields &r, qint64 lotId);
// Sets one lot's remaining weight, addressed by its key.
QString ReturnStockUpdate(qint64 lotId, double remaining);
QStringList ReturnStatements(const ReturnFields &r, qint64 lotId, double remaining);
QStringList WithdrawalStatements(qint64 returnId, qint64 lotId, double remaining);

// Why a return cannot be recorded with these texts, or empty; the notice names the field.
QString ReturnInputProblem(const QString &remaining, const QString &weight, const QString &amount);
// Why "=" cannot price these texts, or empty.
QString ReturnPricingProblem(const QString &rawPrice, const QString &weight);

// A withdrawal as the database holds it: the stored return and the lot it came from.
struct Withdrawal {
    QString problem;      // empty when the withdrawal can go ahead
    QString lotNumber;    // kReturnPickLot: the number whose lots the user picks from
    qint64 returnId = -1;
    qint64 lotId = -1;
    double remaining = 0; // the lot's remaining weight with the returned weight added back
};
// Finds the lot of the stored return: the lot its 库存ID names. A return recorded before
// returns kept that key matches its lot by 编号, 品种 and 供应商 (copied from the lot); when
// several lots match, the one the user picked in the list (pickedLotId) must be one of them.
// Throws DbError when the reads fail.
Withdrawal PlanWithdrawal(const QString &returnId, qint64 pickedLotId, Connection &conn);

// Both statements or neither; the engine's reason for a refusal is in conn.LastError().
bool RecordReturn(const ReturnFields &r, qint64 lotId, double remaining, Connection &conn);
bool Withdraw(const Withdrawal &w, Connection &conn);

inline const QString kReturnTooHeavy = QStringLiteral("退货重量大于剩余重量!");
inline const QString kReturnLotGone = QStringLiteral("此退回商品的原库存已不存在!");
inline const QString kReturnPickLot =
    QStringLiteral("有多个库存与此退回商品的编号、品种和供应商相同，请先在库存列表中选择它的原库存!");
