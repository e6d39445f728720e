// peak_memory COMMAND [ARG...]: runs the command with its output discarded and prints
// its peak resident memory in bytes and its wall time in microseconds. A process
// measured straight from a test or a script would count their own memory: the
// high-water mark of the process that starts a command carries over into it.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid) return 2;
    const auto micros =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count();
    std::printf("%lld %lld\n", static_cast<long long>(usage.ru_maxrss) * 1024, static_cast<long long>(micros));
    return WIFEXITED(status) ? WEXITSTATUS(status) : 2;
}
