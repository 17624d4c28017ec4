#pragma once

#include <cstddef>

namespace nuvela {

/// Makes the next `bytes` of the process's main heap one block of huge
/// pages, and keeps large blocks (a page, a decoded photo) on that heap
/// instead of mapping each one afresh. A render touches a few big blocks
/// once; faulting them in 4 KiB at a time costs more than drawing them.
/// Does nothing under an address-space limit, where the reserve could take
/// what the page needs, or when the kernel offers no huge pages.
void reserveHugePageHeap(std::size_t bytes);

/// What a page at 96 dpi needs besides the page itself (its pictures, fonts,
/// the encoder's buffers), with room to spare.
inline constexpr std::size_t kRenderHeapReserve = 28u << 20;

} // namespace nuvela
