#include "base/large_pages.h"

#include <cstdint>
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

} // namespace pfsetup
