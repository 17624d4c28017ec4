#include "app/heapreserve.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include <malloc.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>

namespace nuvela {

namespace {
constexpr std::uintptr_t kHugePage = 2 << 20;
// Blocks below this stay on the heap; glibc's own default maps every block
// from 128 KiB up (later up to 32 MiB) as fresh, unfaulted memory.
constexpr int kMapThreshold = 32 << 20; // glibc's largest
} // namespace

void reserveHugePageHeap(std::size_t bytes)
{
#if defined(__SANITIZE_ADDRESS__)
    (void)bytes; // the sanitizer keeps its own heap
#else
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur != RLIM_INFINITY)
        return;
    // A heap block freed is kept for the next one rather than given back.
    mallopt(M_MMAP_THRESHOLD, kMapThreshold);
    mallopt(M_TRIM_THRESHOLD, int(std::min<std::size_t>(bytes * 2, INT32_MAX)));
    const auto start = reinterpret_cast<std::uintptr_t>(sbrk(0));
    void* block = std::malloc(bytes);
    if (!block)
        return;
    const auto end = reinterpret_cast<std::uintptr_t>(sbrk(0));
    const std::uintptr_t from = (start + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t to = end & ~(kHugePage - 1);
    // The block came from the main heap (beginning in what was left of it)
    // only when the break moved to make room for it.
    const auto at = reinterpret_cast<std::uintptr_t>(block);
    if (to > from && at < end && at + bytes <= end)
        madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
    std::free(block);
#endif
}

} // namespace nuvela
