// Kept for the benchmarks until they include tests/support/code39_model.h.
#include "tests/support/code39_model.h"
