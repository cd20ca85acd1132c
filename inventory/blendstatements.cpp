#include "inventory/blendstatements.h"

#include "datalayer/dialect.h"
#include "datalayer/numbertext.h"
#include "datalayer/sysfun.h"

#include <QStringList>
#include <cmath>

namespace {

const QString kBlendHead = QStringLiteral("Select ") + BlendColumnList() + QStringLiteral(" From 库存管理 where ");

QString idText(const QString &id)
{
    bool ok = false;
    const qint64 n = id.trimmed().toLongLong(&ok);
    return ok ? QString::number(n) : QStringLiteral("NULL");
}

// a − b, with the rounding noise of a difference that should be zero dropped.
double difference(double a, double b)
{
    const double d = a - b;
    return std::fabs(d) <= 1e-9 * std::max(std::fabs(a), std::fabs(b)) ? 0.0 : d;
}

bool isBlank(QChar c)
{
    return c == ' ' || c == '\t';
}

} // namespace

QString BlendColumnList()
{
    return QStringLiteral("ID,编号,毛净茶,品种,净茶价,总金额,总重量,剩余重量,销售单价,入库日期,经办人,供应商,配茶,配茶详细,配茶师");
}

QString BlendOpeningStatement()
{
    return QStringLiteral("Select ") + BlendColumnList() + QStringLiteral(" From 库存管理  where 配茶 = true Order By ID DESC");
}

QString BlendListStatement(BlendEntry entry, const QString &value, const QDate &date)
{
    switch (entry) {
    case BlendEntry::Number:
        return kBlendHead + QStringLiteral("(配茶 = true) and (编号=") + QuotedStr(value) + QStringLiteral(") Order By ID ASC");
    case BlendEntry::Variety:
        return kBlendHead + QStringLiteral("(配茶 = true) and (品种=") + QuotedStr(value) + QStringLiteral(") Order By ID ASC");
    case BlendEntry::Blender:
        return kBlendHead + QStringLiteral("(配茶 = true) and (配茶师=") + QuotedStr(value) + QStringLiteral(") Order By ID ASC");
    case BlendEntry::IntakeDate:
        return kBlendHead + QStringLiteral("(配茶 = true) and (入库日期= ") + DateLiteral(date) +
               QStringLiteral(") Order By 入库日期 ASC");
    default:
        return kBlendHead + QStringLiteral("配茶 = true Order By ID ASC");
    }
}

QString AllStockStatement(AllStockEntry entry, const QString &value, const QDate &date)
{
    const QString head = QStringLiteral("Select * From 库存管理");
    switch (entry) {
    case AllStockEntry::Number:
        return head + QStringLiteral(" where 编号=") + QuotedStr(value) + QStringLiteral(" Order By 编号 ASC");
    case AllStockEntry::Supplier:
        return head + QStringLiteral(" where 供应商=") + QuotedStr(value) + QStringLiteral(" Order By 供应商 ASC");
    case AllStockEntry::IntakeDate:
        return head + QStringLiteral(" where 入库日期= ") + DateLiteral(date) + QStringLiteral(" Order By 入库日期 ASC");
    default:
        return head + QStringLiteral(" Order By ID ASC");
    }
}

int BlendTabEntryFor(const QString &boxText, int position, int entryCount)
{
    if (boxText == QStringLiteral("全部") || position < 0 || position >= entryCount)
        return 0;
    return position;
}

QString PortionAmount(double weight, double price)
{
    return FormatGeneral(weight * price);
}

BlendTotals AddPortion(const BlendTotals &totals, double weight, double price)
{
    const double w = StrToFloat(totals.weight) + weight;
    const double a = StrToFloat(totals.amount) + weight * price;
    return {FormatGeneral(w), FormatGeneral(a), w == 0 ? QStringLiteral("0") : FormatFloat(QStringLiteral("0.00"), a / w)};
}

BlendTotals RemovePortion(const BlendTotals &totals, const QString &weight, const QString &amount)
{
    const double w = difference(StrToFloat(totals.weight), StrToFloat(weight));
    const double a = difference(StrToFloat(totals.amount), StrToFloat(amount));
    // With no weight left there is no unit price to divide out.
    return {FormatGeneral(w), FormatGeneral(a), w == 0 ? QStringLiteral("0") : FormatGeneral(a / w)};
}

namespace {
// "成本单价必须大于0!": the notice of a number that must be above 0.
QString aboveZero(const QString &fieldName, double value)
{
    return value > 0 ? QString() : fieldName + QStringLiteral("必须大于0!");
}
} // namespace

PortionCheck CheckPortion(const QString &lot, const QString &price, const QString &weight, const QString &maximum)
{
    if (lot.isEmpty() || price.isEmpty() || weight.isEmpty())
        return {PortionVerdict::Ignore, {}};
    const double p = StrToFloat(price);
    const double w = StrToFloat(weight);
    for (const QString &problem : {aboveZero(QStringLiteral("成本单价"), p), aboveZero(QStringLiteral("加入重量"), w)})
        if (!problem.isEmpty())
            return {PortionVerdict::Refused, problem};
    return {w > StrToFloat(maximum) ? PortionVerdict::TooHeavy : PortionVerdict::Add, {}};
}

QString WriteBlendDetail(const std::vector<BlendPortion> &portions)
{
    QString out;
    for (const BlendPortion &p : portions) {
        // A line break in a lot number would end its line early and hide every portion after it.
        QString lot = p.lot;
        lot.replace(u'\n', u' ');
        out += lot + QStringLiteral("  ") + p.weight + ' ' + p.price + ' ' + p.amount + QStringLiteral("\r\n");
    }
    return out;
}

std::vector<BlendPortion> ParseBlendDetail(const QString &detail)
{
    std::vector<BlendPortion> out;
    QString text = detail;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QStringList lines = text.split('\n');
    for (const QString &raw : lines) {
        // Peel the three numbers off the end; whatever stays is the lot number and its blanks.
        QString rest = raw;
        QStringList numbers;
        while (numbers.size() < 3) {
            qsizetype end = rest.size();
            while (end > 0 && isBlank(rest[end - 1]))
                --end;
            qsizetype start = end;
            while (start > 0 && !isBlank(rest[start - 1]))
                --start;
            if (start == end)
                break;
            numbers.prepend(rest.mid(start, end - start));
            rest.truncate(start);
        }
        // Lot numbers are stored as typed, blanks and all: only the writer's two blanks after the
        // lot are dropped (a text laid out otherwise loses its whole run of blanks there).
        if (rest.endsWith(QStringLiteral("  "))) {
            rest.chop(2);
        } else {
            while (!rest.isEmpty() && isBlank(rest.back()))
                rest.chop(1);
        }
        if (numbers.size() < 3 || rest.isEmpty())
            break;
        bool numeric = true;
        for (const QString &n : numbers)
            numeric = numeric && IsNumberText(n);
        if (!numeric)
            break;
        out.push_back({rest, numbers[0], numbers[1], numbers[2]});
    }
    return out;
}

QString BlendNumberProblem(const BlendFields &b)
{
    for (const auto &[field, text] : {std::pair{QStringLiteral("成本单价"), b.unitPrice},
                                      std::pair{QStringLiteral("配茶总重"), b.totalWeight},
                                      std::pair{QStringLiteral("总金额"), b.totalAmount},
                                      std::pair{QStringLiteral("销售单价"), b.salePrice}}) {
        QString problem = NumberFieldProblem(field, text);
        if (problem.isEmpty())
            problem = aboveZero(field, StrToFloat(text));
        if (!problem.isEmpty())
            return problem;
    }
    return {};
}

QString BlendInsertStatement(const BlendFields &b)
{
    return QStringLiteral("insert into 库存管理(编号,毛净茶,品种,净茶价,总重量,总金额,剩余重量,销售单价,入库日期,经办人,"
                          "配茶详细,包装,产地,配茶师,配茶)values(") +
           QStringList{QuotedStr(b.number),        QuotedStr(b.rawNet),         QuotedStr(b.variety),
                       b.unitPrice.trimmed(),      b.totalWeight.trimmed(),     b.totalAmount.trimmed(),
                       b.totalWeight.trimmed(),    b.salePrice.trimmed(),       QuotedStr(DateToStr(b.date)),
                       QuotedStr(b.handler),       QuotedStr(b.detail),         QuotedStr(QStringLiteral("散装")),
                       QuotedStr(QStringLiteral("安溪")), QuotedStr(b.blender), QStringLiteral("true")}
               .join(',') +
           ')';
}

QString BlendUpdateStatement(const BlendFields &b, const QString &blendId)
{
    return QStringLiteral("UPDATE 库存管理 SET 编号=") + QuotedStr(b.number) + QStringLiteral(",毛净茶=") +
           QuotedStr(b.rawNet) + QStringLiteral(",品种=") + QuotedStr(b.variety) + QStringLiteral(",净茶价=") +
           QuotedStr(b.unitPrice.trimmed()) + QStringLiteral(",总金额=") + QuotedStr(b.totalAmount.trimmed()) +
           QStringLiteral(",配茶师=") + QuotedStr(b.blender) + QStringLiteral(",总重量=") +
           QuotedStr(b.totalWeight.trimmed()) + QStringLiteral(",销售单价=") + QuotedStr(b.salePrice.trimmed()) +
           QStringLiteral(",入库日期=") + QuotedStr(DateToStr(b.date)) + QStringLiteral(" WHERE ID = ") + idText(blendId);
}

QString BlendAutoNumberText(const QString &variety, const QDate &date, const QString &unitPrice)
{
    return QString(PinyinInitial(variety)) + FormatMMDD(date) + FormatFloat(QStringLiteral("000"), StrToFloat(unitPrice));
}
