// Large zero-filled blocks on POSIX systems: an anonymous mapping, which costs memory only
// where it is written, outside the allocator's heap (whose freed pages stay resident). The
// image store asks for large pages, so that writing a picture into it takes a fraction of the
// page faults; the thumbnail page's decode blocks do not.
#include <malloc.h>
#include <sys/mman.h>

#include "platform/platform.h"

namespace platform {

namespace {

// The C library serves a block freed once from its heap from then on, raising its threshold for
// fresh mappings up to 32 MB, and a heap keeps freed pages resident: decode buffers of a few
// megabytes would stay in memory for the rest of the run. A fixed threshold hands them back.
[[maybe_unused]] const bool LargeAllocationsMapped = [] {
#ifdef M_MMAP_THRESHOLD
    return mallopt(M_MMAP_THRESHOLD, 256 * 1024) == 1;
#else
    return false;
#endif
}();

}  // namespace

std::uint8_t* AllocateZeroedBlock(std::size_t bytes, bool largePages) {
    void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) return nullptr;
#ifdef MADV_HUGEPAGE
    // A hint: without large pages the block works the same.
    if (largePages) madvise(block, bytes, MADV_HUGEPAGE);
#endif
    return static_cast<std::uint8_t*>(block);
}

}  // namespace platform
