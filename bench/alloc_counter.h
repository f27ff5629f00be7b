#pragma once

#include <cstdint>

namespace recibo::bench {

// Heap allocations made through the global operator new since the program
// started (every form of it: plain, array, aligned, nothrow). The bench
// binaries replace the global allocation functions to count them; the
// program itself does not.
std::uint64_t allocationCount();

} // namespace recibo::bench
