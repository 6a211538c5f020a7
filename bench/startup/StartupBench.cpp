// Start-up against its floor: the whole-process CPU time of lumetrix-colour and of a
// trivial lumetrix-sim run, beside programs that do the least the same job could (an empty
// C program; libjpeg alone decoding the same JPEG at 1/8 and summing it), all measured in
// one run, interleaved, so a busy machine weighs on every row alike. Then many covers
// coloured in one call against the sum of their in-process colour times.
//
//   startup_bench [--rounds N] [--covers N] [--before BUILD_DIR]
//
// --before names another build folder (an older tree's `build`) whose lumetrix-colour and
// lumetrix-sim are measured in the same rounds, for a before-and-after table. A
// lumetrix-colour that takes one file a call is given the covers one process each.

#include "ChildCPU.h"
#include "InProcessColour.h"
#include "bench/colour/TestArtwork.h"
#include "sim/imaging/ImageEncoding.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace startup_bench;

namespace {

struct Options {
    int rounds = 21;
    int covers = 1000;
    std::string before;
};

[[noreturn]] void usage(int status)
{
    std::fprintf(status ? stderr : stdout, "usage: startup_bench [--rounds N] [--covers N] [--before BUILD_DIR]\n");
    std::exit(status);
}

Options parse(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc)
                usage(2);
            return argv[++i];
        };
        if (argument == "--rounds")
            options.rounds = std::max(1, std::atoi(value().c_str()));
        else if (argument == "--covers")
            options.covers = std::max(1, std::atoi(value().c_str()));
        else if (argument == "--before")
            options.before = value();
        else if (argument == "--help" || argument == "-h")
            usage(0);
        else
            usage(2);
    }
    return options;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Build {
    std::string name;
    std::string colourTool;
    std::string simulator;
};

// The inputs, made once in a temporary folder: a 600 x 600 JPEG, a file that is no image,
// a boot-and-wait scenario, and `covers` distinct 600 x 600 JPEGs (distinct, so nothing
// can recognise one it has seen).
struct Inputs {
    fs::path folder = fs::temp_directory_path() / ("startup-bench-" + std::to_string(::getpid()));
    std::string jpeg, notImage, scenario, coverList;
    std::vector<std::string> covers;

    explicit Inputs(int coverCount)
    {
        fs::create_directories(folder);
        std::vector<std::uint8_t> pixels = TestArtwork::pixels(600, 600);
        jpeg = write("cover.jpg", imaging::encodeJPEG(pixels.data(), 600, 600, 90));
        notImage = write("notes.txt", std::vector<std::uint8_t>(4096, 'a'));
        std::string scenarioText = "boot\nwait 1\n";
        scenario = write("boot-and-wait.scenario", std::vector<std::uint8_t>(scenarioText.begin(), scenarioText.end()));
        std::string list;
        for (int i = 0; i < coverCount; ++i) {
            std::vector<std::uint8_t> tinted = pixels;
            for (std::size_t p = 0; p < tinted.size(); p += 3)
                tinted[p] = static_cast<std::uint8_t>(tinted[p] ^ (i & 0x3f));
            tinted[0] = static_cast<std::uint8_t>(i);
            tinted[3] = static_cast<std::uint8_t>(i >> 8);
            covers.push_back(write("cover-" + std::to_string(i) + ".jpg", imaging::encodeJPEG(tinted.data(), 600, 600, 90)));
            list += covers.back() + "\n";
        }
        coverList = write("covers.txt", std::vector<std::uint8_t>(list.begin(), list.end()));
    }
    ~Inputs() { fs::remove_all(folder); }

    std::string write(const std::string& name, const std::vector<std::uint8_t>& bytes)
    {
        std::string path = (folder / name).string();
        if (!imaging::writeFile(path, bytes)) {
            std::fprintf(stderr, "startup_bench: cannot write %s\n", path.c_str());
            std::exit(1);
        }
        return path;
    }
};

double checkedCPU(const std::vector<std::string>& argv, int expectedStatus, const std::string& stdinFile = {})
{
    ChildRun run = runChild(argv, stdinFile);
    if (run.exitStatus != expectedStatus) {
        std::fprintf(stderr, "startup_bench: %s exited %d, expected %d\n", argv[0].c_str(), run.exitStatus, expectedStatus);
        std::exit(1);
    }
    return run.cpuSeconds;
}

// All the covers in one call when the tool takes several files (names on standard input),
// else one process a cover.
double coloursOfAllCovers(const Build& build, const Inputs& inputs)
{
    bool manyFilesACall = runChild({ build.colourTool, inputs.jpeg, inputs.jpeg }).exitStatus == 0;
    if (manyFilesACall)
        return checkedCPU({ build.colourTool, "-" }, 0, inputs.coverList);
    double total = 0;
    for (const std::string& cover : inputs.covers)
        total += checkedCPU({ build.colourTool, cover }, 0);
    return total;
}

} // namespace

int main(int argc, char** argv)
{
    Options options = parse(argc, argv);
    std::vector<Build> builds { { "after", LUMETRIX_COLOUR_TOOL, LUMETRIX_SIM } };
    if (!options.before.empty())
        builds.insert(builds.begin(), { "before", options.before + "/sim/lumetrix-colour", options.before + "/sim/lumetrix-sim" });
    for (const Build& build : builds) {
        if (access(build.colourTool.c_str(), X_OK) != 0 || access(build.simulator.c_str(), X_OK) != 0) {
            std::fprintf(stderr, "startup_bench: no lumetrix-colour or lumetrix-sim in the %s build\n", build.name.c_str());
            return 2;
        }
    }
    Inputs inputs(options.covers);

    // Each row: a name and how to measure one sample of it; the rounds interleave them.
    struct Row {
        std::string name;
        std::function<double()> sample;
        std::vector<double> samples;
    };
    std::vector<Row> rows;
    rows.push_back({ "floor: empty C program", [] { return checkedCPU({ LUMETRIX_EMPTY_FLOOR }, 0); }, {} });
    rows.push_back({ "(for scale: empty C++ program)", [] { return checkedCPU({ LUMETRIX_EMPTY_CXX_FLOOR }, 0); }, {} });
    rows.push_back({ "floor: libjpeg 1/8 decode + sum, 600x600 JPEG", [&] { return checkedCPU({ LUMETRIX_JPEG_FLOOR, inputs.jpeg }, 0); }, {} });
    for (const Build& build : builds) {
        rows.push_back({ build.name + ": lumetrix-colour, not an image", [&] { return checkedCPU({ build.colourTool, inputs.notImage }, 1); }, {} });
        rows.push_back({ build.name + ": lumetrix-colour, 600x600 JPEG", [&] { return checkedCPU({ build.colourTool, inputs.jpeg }, 0); }, {} });
        rows.push_back({ build.name + ": lumetrix-sim run, boot + wait 1", [&] { return checkedCPU({ build.simulator, "run", inputs.scenario }, 0); }, {} });
    }
    // Every other round runs the rows backwards: a process that runs right after a heavy one
    // (a whole `run`) reads higher, and no row should always have the same one before it.
    for (int round = 0; round < options.rounds; ++round) {
        if (round % 2 == 0) {
            for (Row& row : rows)
                row.samples.push_back(row.sample());
        } else {
            for (auto row = rows.rbegin(); row != rows.rend(); ++row)
                row->samples.push_back(row->sample());
        }
    }

    std::printf("Whole-process CPU time, median of %d rounds (ms)\n\n", options.rounds);
    std::printf("%-52s %10s\n", "", "median");
    std::map<std::string, double> medians;
    for (Row& row : rows) {
        medians[row.name] = median(row.samples) * 1e3;
        std::printf("%-52s %10.2f\n", row.name.c_str(), medians[row.name]);
    }
    std::printf("\n");
    for (const Build& build : builds) {
        double jpegRatio = medians[build.name + ": lumetrix-colour, 600x600 JPEG"] / medians["floor: libjpeg 1/8 decode + sum, 600x600 JPEG"];
        std::printf("%s: lumetrix-colour on the JPEG is %.2fx the libjpeg floor\n", build.name.c_str(), jpegRatio);
    }

    // Many covers: once each way (they take a while), against the in-process sum.
    double inProcess = inProcessColourSeconds(inputs.covers);
    std::printf("\n%d covers, in-process colour time summed: %.1f ms\n", options.covers, inProcess * 1e3);
    for (const Build& build : builds) {
        double whole = coloursOfAllCovers(build, inputs);
        std::printf("%s: %d covers through lumetrix-colour: %.1f ms CPU, %.2fx the in-process sum\n", build.name.c_str(), options.covers,
            whole * 1e3, whole / inProcess);
    }
    return 0;
}
