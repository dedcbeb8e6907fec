#pragma once

#include <cstddef>
#include <memory>

// The processor's large page on x86 systems.
inline constexpr std::size_t kLargePageBytes = std::size_t{1} << 21;

// Room for data written once and then kept, such as the texts of a load.
// Room of whole large pages is, where the system allows, aligned to them
// and marked for them, so that filling it costs one page fault per 2 MB
// instead of one per 4 KB; any other size is ordinary room. Implemented in
// large_block_posix.cpp and large_block_win.cpp.
std::shared_ptr<unsigned char[]> AllocateLargeBlock(std::size_t size);
