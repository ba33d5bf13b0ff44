#pragma once
// Large buffers the reader fills at once (a file's text, a big section's name index) ask the
// kernel for pages of 2 MiB: filling them then takes a few page faults instead of one per
// 4 KiB. Only whole 2 MiB pages inside the buffer are asked for, and only for buffers that are
// written whole, so no memory is held that is not used. A hint: where the kernel has no such
// pages, nothing changes.

#include <cstddef>

namespace pfsetup {

void AskForLargePages(void* buffer, std::size_t size);

} // namespace pfsetup
