// Hosts call the pin-name predicates for every pin they build: they must not allocate.
#include "setup/setup_store.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>

namespace {
std::size_t allocations = 0;
}

void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

TEST(PinNamePredicates, DoNotAllocate) {
    const CPFCoreSetupAPI store;
    // Longer than the short-string buffer, so a copy of the name would show.
    const std::string name = "MEMORY_CHIP_SELECT_LONG_NAME_n";
    std::string pin = "-MEMORY_OUTPUT_ENABLE_LONG_NAME";
    const std::size_t before = allocations;
    EXPECT_EQ(store.IsPinReadActiveLow(name) + store.IsPinWriteActiveLow(name) +
                  store.CreateActiveHighPin(pin),
              2);
    EXPECT_EQ(allocations, before);
}
