// Reading a long list value must cost work in proportion to its length: the bytes allocated
// while it is read are counted, since a split that copies the rest of the list for every item
// allocates the square of the length.
#include "setup/setup_store.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>

namespace {
std::size_t allocatedBytes = 0;

void* Allocate(std::size_t size) noexcept {
    allocatedBytes += size;
    return std::malloc(size == 0 ? 1 : size);
}
} // namespace

// The forms the library allocates and frees with are replaced together (array forms stay the
// runtime's own pair), so the sanitizers see matching pairs.
void* operator new(std::size_t size) {
    if (void* p = Allocate(size))
        return p;
    throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

TEST(ListValues, AreSplitInOnePass) {
    constexpr int kItems = 20000;
    std::string errors, placeHolders;
    for (int i = 0; i < kItems; ++i) {
        errors += (i ? "," : "") + std::to_string(i % 60000);
        placeHolders += (i ? ",PH" : "PH") + std::to_string(i);
    }
    CPFCoreSetupAPI store;
    std::size_t before = allocatedBytes;
    store.ProcessNameValuePair("User_Defined_OverriddenError", errors);
    EXPECT_LT(allocatedBytes - before, 32 * errors.size());
    before = allocatedBytes;
    store.ProcessNameValuePair("PackagePlaceHolder", placeHolders);
    EXPECT_LT(allocatedBytes - before, 32 * placeHolders.size());
    ASSERT_EQ(store.GetOverriddenErrors().size(), static_cast<std::size_t>(kItems));
    ASSERT_EQ(store.GetPackagePlaceHolders().size(), static_cast<std::size_t>(kItems));
    EXPECT_EQ(store.GetPackagePlaceHolders().back(), "PH19999");
}

} // namespace
