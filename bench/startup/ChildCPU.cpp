#include "ChildCPU.h"

#include <fcntl.h>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace startup_bench {

ChildRun runChild(const std::vector<std::string>& argv, const std::string& stdinFile)
{
    std::vector<char*> arguments;
    for (const std::string& argument : argv)
        arguments.push_back(const_cast<char*>(argument.c_str()));
    arguments.push_back(nullptr);
    const char* input = stdinFile.empty() ? "/dev/null" : stdinFile.c_str();

    pid_t child = fork();
    if (child < 0)
        throw std::runtime_error("fork failed");
    if (child == 0) {
        int in = ::open(input, O_RDONLY);
        int out = ::open("/dev/null", O_WRONLY);
        if (in < 0 || out < 0)
            _exit(127);
        dup2(in, 0);
        dup2(out, 1);
        dup2(out, 2);
        execv(arguments[0], arguments.data());
        _exit(127);
    }
    int status = 0;
    rusage usage {};
    if (wait4(child, &status, 0, &usage) != child)
        throw std::runtime_error("wait4 failed");
    auto seconds = [](const timeval& time) { return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) * 1e-6; };
    return { seconds(usage.ru_utime) + seconds(usage.ru_stime), WIFEXITED(status) ? WEXITSTATUS(status) : -1 };
}

} // namespace startup_bench
