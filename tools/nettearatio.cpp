#include "tools/nettearatio.h"

#include "datalayer/numbertext.h"

#include <cmath>

const QStringList kNetTeaRatios = {
    QStringLiteral("100%"), QStringLiteral("95%"), QStringLiteral("90%"), QStringLiteral("85%"),
    QStringLiteral("80%"),  QStringLiteral("75%"), QStringLiteral("70%"), QStringLiteral("65%"),
    QStringLiteral("60%"),  QStringLiteral("55%"), QStringLiteral("50%"), QStringLiteral("45%"),
    QStringLiteral("40%"),  QStringLiteral("35%"), QStringLiteral("30%"), QStringLiteral("20%"),
    QStringLiteral("10%")};

namespace {
// "82.5%" is 0.825; without a "%" there is no ratio, which reads as the empty text.
long double ratioOf(const QString &text)
{
    const QString number = text.contains(u'%') ? QString(text).remove(u'%') : QString();
    return static_cast<long double>(StrToFloat(number)) / 100;
}

QString result(long double value)
{
    // A result beyond the number range is an error, never "INF" in a box.
    const double v = double(value);
    if (!std::isfinite(v))
        throw ConvertError(QStringLiteral("Floating point overflow"));
    return FormatGeneral(v);
}
} // namespace

void CalculateNetTea(NetTeaBoxes &boxes)
{
    // Both results are worked out before either is shown: a half answer would pass for a whole one.
    NetTeaBoxes out = boxes;
    if (!boxes.totalWeight.isEmpty()) {
        const long double weight = StrToFloat(boxes.totalWeight);
        out.netWeight = result(weight * ratioOf(boxes.ratio));
    }
    if (!boxes.rawPrice.isEmpty()) {
        const long double price = StrToFloat(boxes.rawPrice);
        const long double ratio = ratioOf(boxes.ratio);
        if (ratio == 0)
            throw ConvertError(QStringLiteral("Floating point division by zero"));
        out.netPrice = result(price / ratio);
    }
    boxes = out;
}
