#pragma once
// The whole-process CPU time of a program: user and system time of the child as the
// kernel counts it (exec, the dynamic loader, the program, exit), with its output thrown
// away.

#include <string>
#include <vector>

namespace startup_bench {

struct ChildRun {
    double cpuSeconds = 0;
    int exitStatus = -1; // -1 when it did not exit normally
};

// Runs `argv` (argv[0] a path) with standard input from `stdinFile` (/dev/null when empty).
ChildRun runChild(const std::vector<std::string>& argv, const std::string& stdinFile = {});

} // namespace startup_bench
