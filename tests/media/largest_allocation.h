#pragma once
// The largest single allocation made through operator new since the last
// reset: a file that claims gigabytes must not make a reader ask for them.
// Linking largest_allocation.cpp replaces the program's operator new.

#include <atomic>
#include <cstddef>

namespace pellox::testing {

extern std::atomic<std::size_t> g_largest_allocation;

}  // namespace pellox::testing
