// What a fuzz harness asserts: a property that fails aborts the run, so the
// fuzzer keeps the input and the replay test fails on it.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                       \
  do {                                                                              \
    if (!(condition)) {                                                             \
      std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__,      \
                   #condition);                                                     \
      std::abort();                                                                 \
    }                                                                               \
  } while (0)
