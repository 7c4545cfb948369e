// Runs one command and prints "WALL_SECONDS PEAK_RSS_KB EXIT_STATUS" on standard
// output: wall time by the steady clock, peak memory from wait4's rusage.
//   bench_measure [--log FILE] -- COMMAND [ARGS...]
// The command's own output goes to FILE (default /dev/null).
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    const char* log = "/dev/null";
    int i = 1;
    if (i + 1 < argc && std::strcmp(argv[i], "--log") == 0) {
        log = argv[i + 1];
        i += 2;
    }
    if (i < argc && std::strcmp(argv[i], "--") == 0) ++i;
    if (i >= argc) {
        std::fprintf(stderr, "Usage: bench_measure [--log FILE] -- COMMAND [ARGS...]\n");
        return 2;
    }
    auto start = std::chrono::steady_clock::now();
    pid_t child = fork();
    if (child < 0) {
        std::perror("fork");
        return 2;
    }
    if (child == 0) {
        int fd = open(log, O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd >= 0) {
            dup2(fd, 1);
            dup2(fd, 2);
            close(fd);
        }
        execvp(argv[i], argv + i);
        std::fprintf(stderr, "cannot run %s: %s\n", argv[i], std::strerror(errno));
        _exit(127);
    }
    int status = 0;
    struct rusage usage {};
    if (wait4(child, &status, 0, &usage) < 0) {
        std::perror("wait4");
        return 2;
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    std::printf("%.6f %ld %d\n", seconds, usage.ru_maxrss, code);
    return 0;
}
