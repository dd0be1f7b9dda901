// Stops a fuzz run on a broken invariant and names it; libFuzzer then keeps
// the input that broke it.
#ifndef TARN_FUZZ_INVARIANT_H
#define TARN_FUZZ_INVARIANT_H

#include <cstdio>
#include <cstdlib>

#define INVARIANT(condition)                                            \
  ((condition) ? void()                                                 \
               : (std::fprintf(stderr, "%s:%d: invariant broken: %s\n", \
                               __FILE__, __LINE__, #condition),         \
                  std::abort()))

#endif
