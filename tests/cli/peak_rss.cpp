// peak_rss REPORT PROGRAM [ARGS...]: runs PROGRAM with ARGS, writes the peak
// resident memory of that process in bytes to the file REPORT, and exits as
// it did (128 + signal when a signal ended it).
//
// A process forked from the test runner itself would count the runner's
// memory as its own until it replaced itself by the program; forked from
// this small one it starts from almost nothing.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: peak_rss REPORT PROGRAM [ARGS...]\n");
        return 125;
    }
    const pid_t child = fork();
    if (child < 0) {
        std::perror("peak_rss: fork");
        return 125;
    }
    if (child == 0) {
        execv(argv[2], argv + 2);
        std::perror("peak_rss: exec");
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child) {
        std::perror("peak_rss: wait4");
        return 125;
    }
    if (std::FILE* report = std::fopen(argv[1], "w")) {
        std::fprintf(report, "%ld\n", usage.ru_maxrss * 1024L);
        std::fclose(report);
    }
    if (WIFSIGNALED(status)) {
        return 128 + WTERMSIG(status);
    }
    return WEXITSTATUS(status);
}
