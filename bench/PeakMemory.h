#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstddef>
#include <fstream>
#include <string>

namespace quarmel {

// This process's high-water mark of resident memory, in bytes (0 when it cannot be read).
inline std::size_t PeakResidentBytes() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmHWM:") {
            std::size_t kb = 0;
            status >> kb;
            return kb * 1024;
        }
        status.ignore(1 << 16, '\n');
    }
    return 0;
}

// What `read` adds to the peak resident memory, measured in a child process; 0 on failure.
template <typename Reading>
std::size_t PeakGrowth(Reading reading) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return 0;
    const pid_t child = fork();
    if (child == 0) {
        close(pipeFds[0]);
        std::size_t growth = 0;
        std::ofstream("/proc/self/clear_refs") << "5";  // the mark starts again from now
        const std::size_t before = PeakResidentBytes();
        if (reading()) growth = PeakResidentBytes() - before;
        (void)!write(pipeFds[1], &growth, sizeof growth);
        _exit(0);
    }
    close(pipeFds[1]);
    std::size_t growth = 0;
    if (child < 0 || read(pipeFds[0], &growth, sizeof growth) != sizeof growth) growth = 0;
    close(pipeFds[0]);
    if (child > 0) waitpid(child, nullptr, 0);
    return growth;
}

}  // namespace quarmel
