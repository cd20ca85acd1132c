#pragma once
#include <QDate>
#include <QString>
#include <vector>

// The columns every query of the blend grid selects.
QString BlendColumnList();
// The blend list shown when the screen opens, newest first.
QString BlendOpeningStatement();

// The blend filter entries, in the order of its choice box.
enum class BlendEntry { All, Number, Variety, Blender, IntakeDate };
// A blend list, oldest first; value and date are used only by the keyed entries.
QString BlendListStatement(BlendEntry entry, const QString &value, const QDate &date);

// The all-stock filter entries, in the order of its choice box.
enum class AllStockEntry { All, Number, Supplier, IntakeDate };
QString AllStockStatement(AllStockEntry entry, const QString &value, const QDate &date);

// "全部" in a choice box wins over its position; positions past the last entry mean "全部" too.
int BlendTabEntryFor(const QString &boxText, int position, int entryCount);

// One portion of a blend: the texts of one row of the component list.
struct BlendPortion {
    QString lot, weight, price, amount;
    bool operator==(const BlendPortion &) const = default;
};

// The three totals of the blend being composed, as the fields show them.
struct BlendTotals {
    QString weight, amount, unitPrice;
    bool operator==(const BlendTotals &) const = default;
};

// The amount of a portion, weight × price in the general number format.
QString PortionAmount(double weight, double price);
// The totals after a portion joins: sums in the general format, the unit price in "0.00".
// Texts that are not numbers raise the conversion error.
BlendTotals AddPortion(const BlendTotals &totals, double weight, double price);
// The totals after a portion leaves, all in the general format; "0" as unit price once no
// weight is left.
BlendTotals RemovePortion(const BlendTotals &totals, const QString &weight, const QString &amount);

// What "加入" of the component dialog does with its three texts and the lot's maximum weight.
enum class PortionVerdict { Ignore, Refused, TooHeavy, Add };
struct PortionCheck {
    PortionVerdict verdict;
    QString problem; // Refused: the notice, naming the field ("加入重量必须大于0!")
};
// Ignore when a text is empty; Refused when the price or the weight is not above 0; TooHeavy
// above the maximum. Texts that are not numbers raise the conversion error.
PortionCheck CheckPortion(const QString &lot, const QString &price, const QString &weight, const QString &maximum);

// 配茶详细: one line per portion, "lot  weight price amount" and CR LF each; a line break
// in a lot is written as a blank.
QString WriteBlendDetail(const std::vector<BlendPortion> &portions);
// Reads 配茶详细 back: a line's last three blank-separated numbers are weight, price and
// amount, everything before them the lot, blanks and all but the two that follow it; the
// first line that does not read so ends the list. What the writer wrote reads back the same.
std::vector<BlendPortion> ParseBlendDetail(const QString &detail);

// What the blending tab holds when a blend is stored, as typed.
struct BlendFields {
    QString number, rawNet, variety, unitPrice, totalWeight, totalAmount, salePrice;
    QDate date;
    QString handler, detail, blender;
};

// Why a blend cannot be stored with these texts, or empty: the first of 成本单价, 配茶总重, 总金额
// and 销售单价 that is no number ("请输入正确的成本单价!") or not above 0 ("配茶总重必须大于0!").
QString BlendNumberProblem(const BlendFields &blend);
// A new blend is made of at least one portion.
inline const QString kBlendWithoutPortion = QStringLiteral("请先加入配茶!");
// The new blend: remaining weight its total weight, packaging "散装", origin "安溪".
// The number texts must have passed BlendNumberProblem.
QString BlendInsertStatement(const BlendFields &blend);
// The correction of a stored blend; every value quoted, numbers too.
QString BlendUpdateStatement(const BlendFields &blend, const QString &blendId);

// The generated blend number: pinyin initial of the variety, "mmdd" of the date and the cost
// unit price in "000". A price that is not a number raises the conversion error.
QString BlendAutoNumberText(const QString &variety, const QDate &date, const QString &unitPrice);
