#pragma once
#include <QString>
#include <QStringList>

// The ratios offered by the calculator, in their order (there is no 25% and no 15%).
extern const QStringList kNetTeaRatios;

// What the calculator's boxes hold.
struct NetTeaBoxes {
    QString totalWeight; // raw tea, typed
    QString rawPrice;    // per unit of weight, typed
    QString ratio;       // "80%"; a text without "%" is no ratio
    QString netWeight;   // result
    QString netPrice;    // result
};

// "=": the net weight from a typed total weight, then the net price from a typed raw price,
// in the general number format; an empty input skips its step. An error throws ConvertError
// and leaves both results as they were.
void CalculateNetTea(NetTeaBoxes &boxes);
