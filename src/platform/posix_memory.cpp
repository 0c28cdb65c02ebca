// Large zero-filled blocks on POSIX systems: an anonymous mapping, which costs memory only
// where it is written, outside the allocator's heap (whose freed pages stay resident). The
// image store asks for large pages, so that writing a picture into it takes a fraction of the
// page faults; the thumbnail page's decode blocks do not.
#include <sys/mman.h>

#include "platform/platform.h"

namespace platform {

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
