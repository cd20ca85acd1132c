#pragma once
#include <functional>

// The median of a few timed runs in milliseconds: one run slowed by a cold cache or the
// scheduler does not move it.
double MedianMs(const std::function<void()> &work, int runs);
