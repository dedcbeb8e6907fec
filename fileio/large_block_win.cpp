#include "fileio/large_block.h"

// Large pages on Windows need a privilege that users' accounts lack, so the
// room is ordinary.
std::shared_ptr<unsigned char[]> AllocateLargeBlock(std::size_t size) {
    return std::make_shared_for_overwrite<unsigned char[]>(size);
}
