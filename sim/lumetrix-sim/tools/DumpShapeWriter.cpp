// lumetrix-dump-shape FILE: gathers what the dumps of this build hold (the tweak's
// exported variables and settings table, one dumped node of each kind) and writes it to
// FILE, so `lumetrix-sim run` checks `expect` paths and setting keys without loading the
// tweak into a probe of its own each time. A build step, not installed as a program.

#include "sim/device/DeviceRoot.h"
#include "sim/lumetrix-sim/run/DumpShapeProbe.h"

#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2 || argv[1][0] == '-') {
        std::fputs("usage: lumetrix-dump-shape FILE\n", stderr);
        return 2;
    }
    std::string file = argv[1];
    std::string temporary = file + ".part";
    try {
        // Removed when the samples are in (the gatherer lays its device out inside).
        auto root = sim::DeviceRoot::makeTemporary();
        std::string text = sim::gatherDumpShapeSamples(root.path()).dump(1) + "\n";
        std::FILE* out = std::fopen(temporary.c_str(), "wb");
        if (!out)
            throw std::runtime_error("cannot write " + temporary);
        bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
        written &= std::fclose(out) == 0;
        if (!written || std::rename(temporary.c_str(), file.c_str()) != 0)
            throw std::runtime_error("cannot write " + file);
    } catch (const std::exception& error) {
        std::remove(temporary.c_str());
        std::fprintf(stderr, "lumetrix-dump-shape: %s\n", error.what());
        return 1;
    }
    return 0;
}
