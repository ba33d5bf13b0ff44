#include "base/large_pages.h"

#include <cstdint>
#include <cstdlib>
#include <new>
#include <sys/mman.h>

namespace pfsetup {

namespace {

constexpr std::size_t kPage = 4096;
constexpr std::size_t kLargePage = std::size_t{2} << 20;

constexpr std::size_t RoundUp(std::size_t bytes, std::size_t unit) {
    return (bytes + unit - 1) & ~(unit - 1);
}

// Gives `advice` for the whole pages of `unit` bytes inside the buffer, if there are any.
void AdviseWholePages(void* buffer, std::size_t size, std::size_t unit, int advice) {
    const auto start = reinterpret_cast<std::uintptr_t>(buffer);
    const std::uintptr_t begin = RoundUp(start, unit);
    const std::uintptr_t end = (start + size) & ~(unit - 1);
    if (end > begin) {
        ::madvise(static_cast<char*>(buffer) + (begin - start), end - begin, advice);
    }
}

} // namespace

void AskForLargePages(void* buffer, std::size_t size) {
    AdviseWholePages(buffer, size, kLargePage, MADV_HUGEPAGE);
}

void BackWithPages(void* buffer, std::size_t size) {
#ifdef MADV_POPULATE_WRITE
    // A kernel without it refuses the advice, and the pages come one fault at a time.
    AdviseWholePages(buffer, size, kPage, MADV_POPULATE_WRITE);
#else
    static_cast<void>(buffer);
    static_cast<void>(size);
#endif
}

void* AllocateZeroedTable(std::size_t bytes) {
    if (bytes < kLargePage) {
        void* table = std::calloc(bytes == 0 ? 1 : bytes, 1);
        if (table == nullptr) {
            throw std::bad_alloc();
        }
        return table;
    }
    // Fresh anonymous pages are zero: a table as large as this is never written just to clear
    // it. One large page more is mapped, and what lies outside the aligned table given back.
    const std::size_t length = RoundUp(bytes, kLargePage);
    void* mapped = ::mmap(nullptr, length + kLargePage, PROT_READ | PROT_WRITE,
                          MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) {
        throw std::bad_alloc();
    }
    char* const start = static_cast<char*>(mapped);
    const std::size_t lead =
        (kLargePage - reinterpret_cast<std::uintptr_t>(mapped) % kLargePage) % kLargePage;
    char* const table = start + lead;
    if (lead > 0) {
        ::munmap(start, lead);
    }
    ::munmap(table + length, kLargePage - lead);
    ::madvise(table, length, MADV_HUGEPAGE);
    return table;
}

void FreeTable(void* table, std::size_t bytes) {
    if (bytes < kLargePage) {
        std::free(table);
    } else {
        ::munmap(table, RoundUp(bytes, kLargePage));
    }
}

} // namespace pfsetup
