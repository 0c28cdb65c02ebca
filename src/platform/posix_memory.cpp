// Large zero-filled blocks on POSIX systems: an anonymous mapping, which costs memory only
// where it is written, marked for large pages so that writing a picture into it takes a
// fraction of the page faults. The image loader's store is the one user.
#include <sys/mman.h>

#include "platform/platform.h"

namespace platform {

std::uint8_t* AllocateZeroedBlock(std::size_t bytes) {
    void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) return nullptr;
#ifdef MADV_HUGEPAGE
    madvise(block, bytes, MADV_HUGEPAGE);  // a hint: without large pages the block works the same
#endif
    return static_cast<std::uint8_t*>(block);
}

}  // namespace platform
