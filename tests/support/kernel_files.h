#pragma once
// Whether the tests run on a kernel's own file system. The browser build runs
// them under Node, whose file system has no FIFO (mkfifo makes a plain file),
// no /proc, names only in UTF-8 and paths only as long as a path may be: the
// cases that need those are skipped there, and only those.

namespace pellox {

#ifdef __EMSCRIPTEN__
inline constexpr bool kKernelFiles = false;
#else
inline constexpr bool kKernelFiles = true;
#endif

}  // namespace pellox

// Skips the rest of a test that needs a kernel's file system.
#define PELLOX_SKIP_WITHOUT_KERNEL_FILES()                                                   \
    do {                                                                                     \
        if (!::pellox::kKernelFiles) GTEST_SKIP() << "Node's file system lacks what this needs"; \
    } while (false)
