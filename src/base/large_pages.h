#pragma once
// Large buffers the reader fills at once (a file's text, a big section's name index) ask the
// kernel for pages of 2 MiB: filling them then takes a few page faults instead of one per
// 4 KiB. Only whole 2 MiB pages inside the buffer are asked for, and only for buffers that are
// written whole, so no memory is held that is not used. A hint: where the kernel has no such
// pages, nothing changes.

#include <cstddef>

namespace pfsetup {

void AskForLargePages(void* buffer, std::size_t size);

// Memory about to be written, record after record (a read's directive pool): the whole pages
// inside are faulted in with one call, where writing them one by one costs a fault each, which
// in a virtual machine costs more than the page's records. Only what is asked for is backed.
void BackWithPages(void* buffer, std::size_t size);

// Zeroed memory for a table probed at random (a big section's name index): one of 2 MiB or
// more comes straight from the kernel, already zero, and starts on a 2 MiB boundary, so all of
// it can lie in large pages and a probe costs no page walk, which in a virtual machine costs
// more than the probe itself. Throws std::bad_alloc when there is no memory.
void* AllocateZeroedTable(std::size_t bytes);
void FreeTable(void* table, std::size_t bytes);

} // namespace pfsetup
