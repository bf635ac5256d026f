#pragma once

#include <QtGlobal>

namespace kp {

// While it lives, the heap grows ahead of a large load in one step whose pages are asked for
// as transparent huge pages: a big exam's texts (UTF-16, about twice the file) then fill a few
// dozen huge pages instead of tens of thousands of small ones, each a page fault that costs
// dearly in a virtual machine. A hint only: nothing changes below kMinBytes, outside glibc, or
// when the kernel declines.
class HeapHint {
public:
    static constexpr qsizetype kMinBytes = 8 * 1024 * 1024;

    explicit HeapHint(qsizetype expectedBytes);
    ~HeapHint();
    HeapHint(const HeapHint&) = delete;
    HeapHint& operator=(const HeapHint&) = delete;

private:
    bool active_ = false;
};

} // namespace kp
