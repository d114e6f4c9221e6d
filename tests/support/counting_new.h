// Counts the calls of the global operator new in a program that links counting_new.cpp (which
// replaces it), so a test or benchmark can see whether a piece of code allocates.
#pragma once

#include <cstdint>

namespace quibra::testing {

int64_t AllocationCount();

}  // namespace quibra::testing
