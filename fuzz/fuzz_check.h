#pragma once
// Properties the fuzz targets hold their code to. A broken one aborts, so libFuzzer keeps the
// input that broke it like any crash.

#include <cstdio>
#include <cstdlib>

#define ZZ_FUZZ_CHECK(condition)                                                                  \
    do {                                                                                          \
        if (!(condition)) {                                                                       \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                         \
        }                                                                                         \
    } while (false)
