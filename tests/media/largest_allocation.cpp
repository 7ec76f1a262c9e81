#include "tests/media/largest_allocation.h"

#include <cstdlib>
#include <new>

std::atomic<std::size_t> pellox::testing::g_largest_allocation{0};

void* operator new(std::size_t size) {
    auto& largest = pellox::testing::g_largest_allocation;
    std::size_t seen = largest.load();
    while (size > seen && !largest.compare_exchange_weak(seen, size)) {}
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
