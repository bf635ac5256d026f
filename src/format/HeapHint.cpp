#include "format/HeapHint.h"

#include <cstdint>

#if defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace kp {

#if defined(__GLIBC__)

namespace {

// glibc's own top pad, restored after the load so that later frees give memory back as usual.
constexpr int kDefaultTopPad = 128 * 1024;
constexpr std::uintptr_t kHugePage = 2 * 1024 * 1024;

} // namespace

HeapHint::HeapHint(qsizetype expectedBytes) {
    if (expectedBytes < kMinBytes || expectedBytes > (1LL << 31) - kDefaultTopPad)
        return;
    // The next growth of the main heap takes the whole pad at once. Blocks below the mmap
    // threshold, taken until the heap grows, make it happen now, so that the new stretch is
    // known and can be advised before the load touches it.
    const auto before = reinterpret_cast<std::uintptr_t>(::sbrk(0));
    ::mallopt(M_TOP_PAD, static_cast<int>(expectedBytes));
    active_ = true;
    constexpr int kMaxProbes = 512;
    void* probes[kMaxProbes];
    int taken = 0;
    while (taken < kMaxProbes && reinterpret_cast<std::uintptr_t>(::sbrk(0)) == before)
        probes[taken++] = ::malloc(96 * 1024);
    const auto after = reinterpret_cast<std::uintptr_t>(::sbrk(0));
    while (taken > 0)
        ::free(probes[--taken]);
    // The first 2 MiB stay in small pages: an exam of few records (pictures, mostly) then never
    // takes a whole huge page for them.
    const std::uintptr_t begin = ((before + kHugePage - 1) & ~(kHugePage - 1)) + kHugePage;
    const std::uintptr_t end = after & ~(kHugePage - 1);
    if (end > begin)
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

HeapHint::~HeapHint() {
    if (active_)
        ::mallopt(M_TOP_PAD, kDefaultTopPad);
}

#else

HeapHint::HeapHint(qsizetype) {}
HeapHint::~HeapHint() = default;

#endif

} // namespace kp
