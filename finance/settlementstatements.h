#pragma once
#include <QString>

// The clearance settlement: the lots, the sales of one lot and the settling write.
//
// A sale names its lot by the lot's key, recorded by the front desk in the sales table's spare
// column; sales stored before the key was recorded are matched by the lot number only.

// Every lot ("导入"), or the lots with one number ("查询"), oldest first.
QString SettlementLotListStatement();
QString SettlementLotLookupStatement(const QString &lotNumber);

// The sales of one lot, newest first, and the sum of their 实收款.
QString LotSalesStatement(qint64 lotId, const QString &lotNumber);
QString LotReceiptsStatement(qint64 lotId, const QString &lotNumber);

// Settles the lot: the profit as checked, 剩余重量 0, 结算 set; the lot addressed by its key.
QString SettleLotStatement(qint64 lotId, double profit);

// Why a typed profit cannot be stored, or empty.
QString ProfitProblem(const QString &profit);

// The question before settling, as the shop has always read it.
inline const QString kSettleQuestion = QStringLiteral("是否确定时行清货结算!");
