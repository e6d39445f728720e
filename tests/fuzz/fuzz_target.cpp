// The engine under libFuzzer: any input is a file; everything a user can see of it is
// rendered. Built by scripts/fuzz (clang, -fsanitize=fuzzer,address,undefined).
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "support/render_all.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The engine reads files: the input becomes one in memory.
    const int fd = memfd_create("input", MFD_CLOEXEC);
    if (fd < 0) return 0;
    for (size_t done = 0; done < size;) {
        const ssize_t n = write(fd, data + done, size - done);
        if (n <= 0) break;
        done += size_t(n);
    }
    if (!RenderEverything("/proc/self/fd/" + std::to_string(fd), 2000, 1000000, 4 << 20).streamedAgrees) __builtin_trap();
    close(fd);
    return 0;
}
