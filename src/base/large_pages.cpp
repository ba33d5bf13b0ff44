#include "base/large_pages.h"

#include <cstdint>
#include <new>
#include <sys/mman.h>

namespace pfsetup {

void AskForLargePages(void* buffer, std::size_t size) {
    constexpr std::uintptr_t kLarge = std::uintptr_t{2} << 20;
    const auto start = reinterpret_cast<std::uintptr_t>(buffer);
    const std::uintptr_t begin = (start + kLarge - 1) & ~(kLarge - 1);
    const std::uintptr_t end = (start + size) & ~(kLarge - 1);
    if (end > begin) {
        ::madvise(static_cast<char*>(buffer) + (begin - start), end - begin, MADV_HUGEPAGE);
    }
}

namespace {
constexpr std::size_t kLargePage = std::size_t{2} << 20;
} // namespace

void* AllocateTable(std::size_t bytes) {
    if (bytes < kLargePage) {
        return ::operator new(bytes);
    }
    void* table = ::operator new(bytes, std::align_val_t(kLargePage));
    AskForLargePages(table, bytes);
    return table;
}

void FreeTable(void* table, std::size_t bytes) {
    if (bytes < kLargePage) {
        ::operator delete(table);
    } else {
        ::operator delete(table, std::align_val_t(kLargePage));
    }
}

} // namespace pfsetup
