#include "app/stacklimit.h"

#include <algorithm>

#include <sys/resource.h>

void RaiseStackLimit()
{
    // The kernel keeps at least 128 MB free below the main thread's stack,
    // so growing it to 64 MB never runs into other mappings.
    constexpr rlim_t wanted = rlim_t(64) * 1024 * 1024;
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_STACK, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur >= wanted)
        return;
    limit.rlim_cur = limit.rlim_max == RLIM_INFINITY ? wanted : std::min(wanted, limit.rlim_max);
    ::setrlimit(RLIMIT_STACK, &limit);
}
