// What the fuzz targets share: a broken invariant stops the fuzzer with its reason.
#pragma once

#include <cstdio>
#include <cstdlib>

// An abort is what libFuzzer records as a crash, with the input that caused it.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
