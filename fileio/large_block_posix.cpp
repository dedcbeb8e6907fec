#include "fileio/large_block.h"

#include <sys/mman.h>

#include <cstdlib>
#include <new>

std::shared_ptr<unsigned char[]> AllocateLargeBlock(std::size_t size) {
#if defined(MADV_HUGEPAGE)
    if (size != 0 && size % kLargePageBytes == 0) {
        void* const room = std::aligned_alloc(kLargePageBytes, size);
        if (room == nullptr) {
            throw std::bad_alloc();
        }
        // Only a hint: where large pages are off, the room is as usable.
        ::madvise(room, size, MADV_HUGEPAGE);
        return std::shared_ptr<unsigned char[]>(static_cast<unsigned char*>(room),
                                                [](unsigned char* block) { std::free(block); });
    }
#endif
    return std::make_shared_for_overwrite<unsigned char[]>(size);
}
