#include "inventory/stockstatements.h"

#include "datalayer/dialect.h"
#include "datalayer/numbertext.h"

#include <QStringList>

namespace {

const QString kHead = QStringLiteral("Select * From 库存管理");
const QString kNewestFirst = QStringLiteral(" Order By ID DESC");

// The keyed entries' columns, by entry.
QString keyedColumn(InventoryFilterEntry entry)
{
    switch (entry) {
    case InventoryFilterEntry::Number:
        return QStringLiteral("编号");
    case InventoryFilterEntry::Variety:
        return QStringLiteral("品种");
    case InventoryFilterEntry::Origin:
        return QStringLiteral("产地");
    case InventoryFilterEntry::Supplier:
        return QStringLiteral("供应商");
    case InventoryFilterEntry::Handler:
        return QStringLiteral("经办人");
    default:
        return {};
    }
}

QString idText(const QString &lotId)
{
    bool ok = false;
    const qint64 id = lotId.trimmed().toLongLong(&ok);
    // A key that is no number addresses no row rather than breaking the statement.
    return ok ? QString::number(id) : QStringLiteral("NULL");
}

} // namespace

QString InventoryOpeningStatement()
{
    return QStringLiteral("Select * From 库存管理  Order By ID DESC");
}

QString InventoryListStatement(InventoryFilterEntry entry, const QString &value, const QDate &date)
{
    switch (entry) {
    case InventoryFilterEntry::All:
        return kHead + kNewestFirst;
    case InventoryFilterEntry::SoldOut:
        return kHead + QStringLiteral(" where 剩余重量 = 0") + kNewestFirst;
    case InventoryFilterEntry::InStock:
        return kHead + QStringLiteral(" where 剩余重量 > 0") + kNewestFirst;
    case InventoryFilterEntry::IntakeDate:
        return kHead + QStringLiteral(" where  入库日期= ") + DateLiteral(date) + kNewestFirst;
    default:
        return kHead + QStringLiteral(" where  ") + keyedColumn(entry) + '=' + QuotedStr(value) + kNewestFirst;
    }
}

InventoryFilterEntry InventoryEntryFor(const QString &boxText, int position)
{
    if (boxText == QStringLiteral("全部") || position < 0 || position > int(InventoryFilterEntry::IntakeDate))
        return InventoryFilterEntry::All;
    return InventoryFilterEntry(position);
}

QString InventoryCorrectionProblem(const QString &remaining, const QString &netPrice, const QString &salePrice)
{
    for (const auto &[field, text] : {std::pair{QStringLiteral("剩余重量"), remaining},
                                      std::pair{QStringLiteral("净茶价"), netPrice},
                                      std::pair{QStringLiteral("销售单价"), salePrice}})
        if (const QString p = NumberFieldProblem(field, text); !p.isEmpty())
            return p;
    return {};
}

QString InventoryCorrectionUpdate(const QString &lotId, const QString &remaining, const QString &netPrice,
                              const QString &salePrice)
{
    // The texts were checked as numbers; the engine reads them as typed, blanks aside.
    return QStringLiteral("UPDATE 库存管理 SET 剩余重量 = ") + remaining.trimmed() + QStringLiteral(",净茶价 = ") +
           netPrice.trimmed() + QStringLiteral(",销售单价 = ") + salePrice.trimmed() + QStringLiteral(" WHERE ID = ") +
           idText(lotId);
}

QString InventoryDeleteStatement(const QString &lotId)
{
    return QStringLiteral("DELETE FROM 库存管理 WHERE ID = ") + idText(lotId);
}

QString NetPriceFromYield(const QString &yieldText, const QString &rawPrice)
{
    if (!yieldText.contains(QStringLiteral("折")) || rawPrice.isEmpty())
        return {};
    double ratio = 10;
    if (yieldText != QStringLiteral("10.0折")) {
        QString digits = yieldText;
        digits.remove(QStringLiteral("折"));
        if (!TryStrToFloat(digits, ratio))
            return {};
    }
    if (ratio <= 0)
        return {};
    return FormatFloat(QStringLiteral("0.00"), StrToFloat(rawPrice) / ratio * 10);
}
