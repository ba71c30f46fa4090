#pragma once
// The fuzz targets' one way to fail: a message on stderr, then abort, which libFuzzer
// reports as a crash and keeps the input as the reproducer.

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition, ...)                                         \
    do {                                                                   \
        if (!(condition)) {                                                \
            std::fprintf(stderr, "fuzz check failed: %s\n  ", #condition); \
            std::fprintf(stderr, __VA_ARGS__);                             \
            std::fputc('\n', stderr);                                      \
            std::abort();                                                  \
        }                                                                  \
    } while (0)
