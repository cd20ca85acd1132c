#include "datalayer/stockupdate.h"

#include "datalayer/numbertext.h"

QString RemainingWeightUpdate(qint64 lotId, double remaining)
{
    return QStringLiteral("UPDATE 库存管理 SET 剩余重量=") + FormatGeneral(remaining) + QStringLiteral(" WHERE ID = ") +
           QString::number(lotId);
}
