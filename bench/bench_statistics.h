#pragma once
#include <QString>

// The daily statistics on a ten-year shop: each rebuild next to the raw engine's sums.
void BenchStatistics(const QString &folder);
