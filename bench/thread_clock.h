#pragma once
// CPU time of the calling thread, in nanoseconds: what one thread spends,
// whatever the renderer's worker threads do meanwhile.

#include <time.h>

#include <cstdint>

namespace bench {

inline uint64_t threadNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return uint64_t(now.tv_sec) * 1'000'000'000u + uint64_t(now.tv_nsec);
}

}  // namespace bench
