#pragma once
#include <QDate>
#include <QString>

// The stock tab's filter entries, in the order of its choice box.
enum class InventoryFilterEntry { All, SoldOut, InStock, Number, Variety, Origin, Supplier, Handler, IntakeDate };

// The list shown when the screen opens, newest first.
QString InventoryOpeningStatement();
// The list of one filter entry; value and date are used only by the keyed entries.
QString InventoryListStatement(InventoryFilterEntry entry, const QString &value, const QDate &date);
// The entry the stock tab runs for its choice box: "全部" in the box wins over the position.
InventoryFilterEntry InventoryEntryFor(const QString &boxText, int position);

// Why a correction cannot be stored with these texts ("请输入正确的剩余重量!"), or empty.
QString InventoryCorrectionProblem(const QString &remaining, const QString &netPrice, const QString &salePrice);
// The correction of one lot; the three texts must have passed InventoryCorrectionProblem.
QString InventoryCorrectionUpdate(const QString &lotId, const QString &remaining, const QString &netPrice,
                              const QString &salePrice);
// Removes one lot (stock or blend) by its key.
QString InventoryDeleteStatement(const QString &lotId);

// The net tea price for a yield ratio ("8.5折") on a raw price: price ÷ ratio × 10 in "0.00".
// Empty when the ratio text holds no "折", the price is empty or the ratio is not above 0.
// A price that is not a number raises the conversion error.
QString NetPriceFromYield(const QString &yieldText, const QString &rawPrice);
