#pragma once
#include <QString>

// The one statement that sets a lot's remaining weight, addressing that lot by its key.
QString RemainingWeightUpdate(qint64 lotId, double remaining);
