#pragma once
#include <QString>

#include <cstdio>
#include <cstdlib>

// Stops the run when a promise of the code under test is broken, naming the promise and the
// case, so that libFuzzer keeps the input as a crash and the replay test fails on it.
#define FUZZ_CHECK(condition, detail)                                                          \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: broken: %s\n%s\n", __FILE__, __LINE__, #condition,    \
                         QString(detail).toUtf8().constData());                                \
            std::abort();                                                                      \
        }                                                                                      \
    } while (false)
