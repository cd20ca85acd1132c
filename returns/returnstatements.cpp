#include "returns/returnstatements.h"

#include "datalayer/dialect.h"
#include "datalayer/dialogs.h"
#include "datalayer/numbertext.h"
#include "datalayer/stockupdate.h"
#include "datalayer/query.h"
#include "datalayer/runsql.h"

QString ReturnLotColumnList()
{
    return QStringLiteral("ID,编号,毛净茶,品种,供应商,毛茶价,总重量,总金额,剩余重量,入库日期,经办人,配茶");
}

QString ReturnLotListStatement(int choice, const QString &value, const QDate &date)
{
    const QString head = QStringLiteral("Select ") + ReturnLotColumnList() + QStringLiteral(" From 库存管理");
    static const QStringList columns{QString(), QStringLiteral("编号"), QStringLiteral("品种"), QStringLiteral("供应商")};
    if (choice >= 1 && choice <= 3)
        return head + QStringLiteral(" where ") + columns[choice] + '=' + QuotedStr(value) +
               QStringLiteral(" Order By ") + columns[choice] + QStringLiteral(" ASC");
    if (choice == 4)
        return head + QStringLiteral(" where 入库日期=") + DateLiteral(date) + QStringLiteral(" Order By 入库日期 ASC");
    return head + QStringLiteral(" Order By ID ASC");
}

QString ReturnsListStatement(int choice, const QString &value, const QDate &date)
{
    const QString head = QStringLiteral("Select * From 退货管理");
    static const QStringList columns{QString(), QStringLiteral("编号"), QStringLiteral("品种"), QStringLiteral("供应商"),
                                     QStringLiteral("经办人")};
    if (choice >= 1 && choice <= 4)
        return head + QStringLiteral(" where ") + columns[choice] + '=' + QuotedStr(value) +
               QStringLiteral(" Order By ") + columns[choice] + QStringLiteral(" ASC");
    if (choice == 5)
        return head + QStringLiteral(" where 退回日期=") + DateLiteral(date) + QStringLiteral(" Order By 退回日期 ASC");
    return head + QStringLiteral(" Order By ID ASC");
}

QString ReturnSingleLotStatement(const QString &lotNumber)
{
    return QStringLiteral("Select ID,编号,毛净茶,品种,毛茶价,供应商,净茶价,总金额,总重量,剩余重量,销售单价,入库日期,经办人,配茶 "
                          "From 库存管理 where 编号=") +
           QuotedStr(lotNumber) + QStringLiteral(" Order By ID DESC");
}

QString ReturnLotOfReturnStatement(const QString &lotNumber, const QString &lotId)
{
    bool keyed = false;
    const qint64 id = lotId.toLongLong(&keyed);
    return QStringLiteral("Select ") + ReturnLotColumnList() + QStringLiteral(" From 库存管理 where ") +
           (keyed ? QStringLiteral("ID = ") + QString::number(id) : QStringLiteral("编号 =") + QuotedStr(lotNumber)) +
           QStringLiteral(" Order By ID DESC");
}

QString ReturnInsertStatement(const ReturnFields &r, qint64 lotId)
{
    return QStringLiteral("insert into 退货管理(编号,品种,供应商,毛净茶,退回重量,退回日期,退回金额,经办人,备注,库存ID)values(") +
           QStringList{QuotedStr(r.lotNumber), QuotedStr(r.variety),          QuotedStr(r.supplier),
                       QuotedStr(r.rawNet),    r.weight.trimmed(),            QuotedStr(DateToStr(r.date)),
                       r.amount.trimmed(),     QuotedStr(r.handler),          QuotedStr(r.remark),
                       QString::number(lotId)}
               .join(',') +
           ')';
}

QString ReturnStockUpdate(qint64 lotId, double remaining)
{
    return RemainingWeightUpdate(lotId, remaining);
}

QStringList ReturnStatements(const ReturnFields &r, qint64 lotId, double remaining)
{
    return {ReturnInsertStatement(r, lotId), ReturnStockUpdate(lotId, remaining)};
}

QStringList WithdrawalStatements(qint64 returnId, qint64 lotId, double remaining)
{
    return {QStringLiteral("DELETE FROM 退货管理 WHERE ID = ") + QString::number(returnId),
            ReturnStockUpdate(lotId, remaining)};
}

QString ReturnPricingProblem(const QString &rawPrice, const QString &weight)
{
    if (!IsNumberText(rawPrice))
        return QStringLiteral("请输入正确的毛茶价!");
    if (!IsWeightText(weight))
        return QStringLiteral("请输入正确的退回重量!");
    return {};
}

QString ReturnInputProblem(const QString &remaining, const QString &weight, const QString &amount)
{
    if (!IsNumberText(remaining))
        return Dialogs::kChooseRow;
    if (!IsWeightText(weight))
        return QStringLiteral("请输入正确的退回重量!");
    if (StrToFloat(weight) > StrToFloat(remaining))
        return kReturnTooHeavy;
    if (!IsNumberText(amount))
        return QStringLiteral("请输入正确的退回金额!");
    return {};
}

Withdrawal PlanWithdrawal(const QString &returnId, qint64 pickedLotId, Connection &conn)
{
    Withdrawal w;
    bool ok = false;
    const qint64 id = returnId.toLongLong(&ok);
    if (!ok) {
        w.problem = Dialogs::kChooseRow;
        return w;
    }
    Query ret(&conn, QStringLiteral("withdrawal"));
    ret.SetSQL(QStringLiteral("Select * From 退货管理 where ID = ") + QString::number(id));
    ret.Open();
    if (ret.IsEmpty()) {
        w.problem = Dialogs::kChooseRow; // withdrawn already, or never there
        return w;
    }
    Query lot(&conn, QStringLiteral("withdrawal lot"));
    const Field lotKey = ret.FieldByName(QStringLiteral("库存ID"));
    if (!lotKey.IsNull())
        lot.SetSQL(QStringLiteral("Select ID,剩余重量 From 库存管理 where ID = ") + QString::number(lotKey.AsInteger()));
    else
        lot.SetSQL(QStringLiteral("Select ID,剩余重量 From 库存管理 where 编号=") +
                   QuotedStr(ret.FieldByName(QStringLiteral("编号")).AsString()) +
                   QStringLiteral(" and coalesce(品种,'')=") + QuotedStr(ret.FieldByName(QStringLiteral("品种")).AsString()) +
                   QStringLiteral(" and coalesce(供应商,'')=") +
                   QuotedStr(ret.FieldByName(QStringLiteral("供应商")).AsString()) + QStringLiteral(" Order By ID DESC"));
    lot.Open();
    if (lot.IsEmpty()) {
        w.problem = kReturnLotGone;
        return w;
    }
    if (lot.RecordCount() > 1) {
        // Which of them the tea came from is the user's to say, never a guess.
        int picked = 0;
        for (int r = 1; r <= lot.RecordCount() && !picked; ++r) {
            lot.SetRecNo(r);
            if (lot.CurrentKey() == pickedLotId)
                picked = r;
        }
        if (!picked) {
            w.problem = kReturnPickLot;
            w.lotNumber = ret.FieldByName(QStringLiteral("编号")).AsString();
            return w;
        }
        lot.SetRecNo(picked);
    }
    w.returnId = id;
    w.lotId = lot.CurrentKey();
    w.remaining = lot.FieldByName(QStringLiteral("剩余重量")).AsFloat() +
                  ret.FieldByName(QStringLiteral("退回重量")).AsFloat();
    return w;
}

bool RecordReturn(const ReturnFields &r, qint64 lotId, double remaining, Connection &conn)
{
    return RunSQLTogether(ReturnStatements(r, lotId, remaining), conn);
}

bool Withdraw(const Withdrawal &w, Connection &conn)
{
    return RunSQLTogether(WithdrawalStatements(w.returnId, w.lotId, w.remaining), conn);
}
