// lumetrix-host: lays out a device root, installs the built tweak as a device package
// would, starts SpringBoard in its own process with every tweak whose filter names it,
// and reports what got installed.

#include "LumetrixVersion.h"

#include "sim/device/DeviceRoot.h"
#include "sim/springboardprocess/SpringBoardProcess.h"

#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void printUsage(std::FILE* out)
{
    std::fprintf(out,
        "usage: lumetrix-host [--root DIR] [--no-install]\n"
        "\n"
        "Boots SpringBoard with the tweaks installed in a device root and prints, as JSON,\n"
        "the tweaks loaded, every method they replaced or added (in order) and the\n"
        "variables the tweak exports.\n"
        "\n"
        "  --root DIR     use and keep DIR as the device root (default: a fresh temporary one)\n"
        "  --no-install   do not install the built deliverables into the root first\n"
        "  --help         show this text\n");
}

} // namespace

int main(int argc, char** argv)
{
    std::optional<std::string> rootPath;
    bool install = true;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            printUsage(stdout);
            return 0;
        }
        if (!std::strcmp(argv[i], "--version")) {
            std::printf("lumetrix-host %s\n", LUMETRIX_VERSION);
            return 0;
        }
        if (!std::strcmp(argv[i], "--root") && i + 1 < argc) {
            rootPath = argv[++i];
        } else if (!std::strcmp(argv[i], "--no-install")) {
            install = false;
        } else {
            std::fprintf(stderr, "lumetrix-host: unknown argument '%s'\n\n", argv[i]);
            printUsage(stderr);
            return 2;
        }
    }

    try {
        sim::DeviceRoot root = rootPath ? sim::DeviceRoot(*rootPath) : sim::DeviceRoot::makeTemporary();
        if (install)
            root.install(sim::Artefacts::fromBuild());

        std::fflush(stdout);
        pid_t child = fork();
        if (child < 0) {
            std::perror("lumetrix-host: fork");
            return 1;
        }
        if (child == 0) {
            sim::SpringBoardProcess springBoard(root.path().string());
            std::cout << springBoard.report().dump(2) << std::endl;
            std::fflush(stdout);
            _exit(0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        if (WIFSIGNALED(status)) {
            std::fprintf(stderr, "lumetrix-host: SpringBoard died with signal %d\n", WTERMSIG(status));
            return 1;
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "lumetrix-host: %s\n", error.what());
        return 1;
    }
}
