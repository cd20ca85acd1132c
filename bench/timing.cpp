#include "bench/timing.h"

#include <QElapsedTimer>
#include <algorithm>
#include <vector>

double MedianMs(const std::function<void()> &work, int runs)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}
