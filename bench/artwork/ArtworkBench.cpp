// artwork_bench: artwork against the platform that colours it, two ways.
//
// 1. Hostile files (scan bomb, huge declared sizes, interlaced 40 MP, progressive 36 MP,
//    over the size limit, a PNG stream running on past its rows, dense arithmetic, baseline
//    and progressive JPEG, megabytes of EXIF, 16-bit PNG, truncated, corrupt, garbage), each coloured the way SpringBoard does it
//    (UIImage imageWithData:, then a draw into a one-pixel context) in a child process of
//    its own: CPU time, and peak resident memory above the child's baseline (the artwork
//    already in hand as NSData). Prints the worst case.
// 2. At the floor: the same colouring of ordinary artwork at 600, 1200 and 3000 pixels
//    square beside what the hardware needs (ColourFloors.h), measured in turns in this
//    process, CPU medians, and the ratio. With the lumetrix-colour tool built, its whole-
//    process CPU time too.
//
//   artwork_bench [--quick] [--timeout SECONDS]
//
// It uses only the platform calls the colour has always used, so the same source builds
// against an older platform to give "before" figures, e.g. (the platform's headers and
// library of another tree, this tree's image encoders):
//   g++ -std=c++20 -O2 -I OLD/platform -I . bench/artwork/*.cpp bench/colour/TestArtwork.cpp
//       sim/imaging/*.cpp -L OLD/build/platform -Wl,-rpath,OLD/build/platform -lplatform
//       -lpng -ljpeg -lspng -lz -o artwork_bench_before

#include "ColourFloors.h"

#include "bench/BenchArguments.h"
#include "bench/colour/TestArtwork.h"
#include "sim/imaging/HostileImages.h"
#include "sim/imaging/ImageEncoding.h"

#include "CoreGraphics/CGContext.h"
#include "Foundation/NSData.h"
#include "Platform/Platform.h"
#include "UIKit/UIGraphics.h"
#include "UIKit/UIImage.h"

#include <malloc.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// Where lumetrix-colour was built; empty (no whole-process figures) when built by hand.
#ifndef LUMETRIX_COLOUR_TOOL
#define LUMETRIX_COLOUR_TOOL ""
#endif

namespace {

double cpuSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The tweak's steps (its library cannot be linked here): decode, one pixel, its bytes.
bool platformColour(const NSData* artwork, std::uint8_t rgb[3])
{
    auto image = UIImage::imageWithData(artwork);
    if (!image)
        return false;
    UIGraphicsBeginImageContext(CGSizeMake(1.0, 1.0));
    CGContextRef context = UIGraphicsGetCurrentContext();
    CGContextSetInterpolationQuality(context, kCGInterpolationMedium);
    image->drawInRect(CGRectMake(0, 0, 1, 1), kCGBlendModeCopy, 1.0);
    std::memcpy(rgb, CGBitmapContextGetData(context), 3);
    UIGraphicsEndImageContext();
    return true;
}

// MARK: Hostile files, one child process each

struct Hostile {
    std::string name;
    Bytes bytes;
};

Bytes randomBytes(std::size_t count, std::uint64_t seed)
{
    Bytes bytes(count);
    for (auto& byte : bytes) {
        seed ^= seed << 13;
        seed ^= seed >> 7;
        seed ^= seed << 17;
        byte = static_cast<std::uint8_t>(seed);
    }
    return bytes;
}

Bytes prefixed(Bytes prefix, const Bytes& rest)
{
    prefix.insert(prefix.end(), rest.begin(), rest.end());
    return prefix;
}

Bytes firstHalf(const Bytes& bytes)
{
    return Bytes(bytes.begin(), bytes.begin() + static_cast<long>(bytes.size() / 2));
}

std::vector<Hostile> hostileFiles(bool quick)
{
    std::vector<Hostile> files;
    auto add = [&](std::string name, Bytes bytes) {
        std::fprintf(stderr, "  made %-52s %10zu bytes\n", name.c_str(), bytes.size());
        files.push_back({ std::move(name), std::move(bytes) });
    };
    std::fprintf(stderr, "making the hostile files...\n");
    add("scan bomb: 6000x6000 grey, last scan x20000", imaging::scanBombJPEG(6000, 20000));
    add("scan bomb: 4000x4000 grey, last scan x20000", imaging::scanBombJPEG(4000, 20000));
    Bytes smallPNG = imaging::flatPNG(16, 16, false);
    Bytes grey(16 * 16 * 3, 0x70);
    Bytes smallJPEG = imaging::encodeJPEG(grey.data(), 16, 16, 90);
    add("PNG declaring 60000x60000", imaging::declaringSize(smallPNG, 60000, 60000));
    add("JPEG declaring 60000x60000", imaging::declaringSize(smallJPEG, 60000, 60000));
    add("PNG declaring 8000x5000, 16x16 of data", imaging::declaringSize(smallPNG, 8000, 5000));
    add("JPEG declaring 6000x6000, 16x16 of data", imaging::declaringSize(smallJPEG, 6000, 6000));
    add("PNG 8000x5000 (40 MP), one colour", imaging::flatPNG(8000, 5000, false));
    add("interlaced PNG 8000x5000 (40 MP)", imaging::flatPNG(8000, 5000, true));
    if (!quick) {
        Bytes flat(6300 * 6300 * 3, 0x5A);
        add("JPEG 6300x6300 (39.7 MP), one colour", imaging::encodeJPEG(flat.data(), 6300, 6300, 50));
        imaging::JPEGOptions progressive;
        progressive.progressive = true;
        progressive.quality = 50;
        add("progressive JPEG 6000x6000 (36 MP)", imaging::encodeJPEG(flat.data(), 6000, 6000, progressive));
        Bytes grainy = TestArtwork::pixels(3000, 3000);
        progressive.quality = 90;
        add("progressive JPEG 3000x3000, grainy", imaging::encodeJPEG(grainy.data(), 3000, 3000, progressive));
        add("PNG over 64 MiB (101 MB of stored noise)", imaging::storedNoisePNG(5800, 5800));
    }
    // Files within the byte limit that cost the most to decode, kind by kind.
    add("PNG 1x1, stream runs on (1 GiB of zeros)", imaging::trailingDeflateBombPNG(1024));
    if (!quick)
        add("PNG 1x1, stream runs on (4 GiB of zeros)", imaging::trailingDeflateBombPNG(4096));
    imaging::JPEGOptions dense;
    dense.quality = 100;
    dense.fullColour = true;
    dense.arithmetic = true;
    add("arithmetic JPEG 2000x1500 noise, 4:4:4", imaging::noiseJPEG(2000, 1500, dense));
    if (!quick) {
        add("arithmetic JPEG 4000x3000 noise, 4:4:4", imaging::noiseJPEG(4000, 3000, dense));
        dense.arithmetic = false;
        add("baseline JPEG 4400x3400 noise, 4:4:4", imaging::noiseJPEG(4400, 3400, dense));
        dense.fullColour = false;
        dense.progressive = true;
        add("progressive JPEG 3000x3000 noise", imaging::noiseJPEG(3000, 3000, dense));
        add("EXIF-heavy JPEG (59 MiB of APP1)", imaging::withMetadataSegments(smallJPEG, 59));
        imaging::PNGOptions deep;
        deep.sixteenBit = true;
        deep.paeth = true;
        deep.compression = 1;
        auto gradient = [](std::size_t rowBytes) {
            return [rowBytes](std::uint8_t* row, std::size_t y) {
                for (std::size_t i = 0; i < rowBytes; ++i)
                    row[i] = static_cast<std::uint8_t>(i * 7 + y * 3);
            };
        };
        add("16-bit RGBA PNG 8000x5000 (40 MP), Paeth", imaging::encodePNGRows(8000, 5000, 4, deep, gradient(8000 * 8)));
        add("16-bit RGB PNG 5400x5400 (29 MP), Paeth", imaging::encodePNGRows(5400, 5400, 3, deep, gradient(5400 * 6)));
        add("16-bit RGBA PNG 4480x4480 (20 MP), Paeth", imaging::encodePNGRows(4480, 4480, 4, deep, gradient(4480 * 8)));
        deep.sixteenBit = false;
        add("RGBA PNG 8000x5000 (40 MP), Paeth", imaging::encodePNGRows(8000, 5000, 4, deep, gradient(8000 * 4)));
    }
    add("corrupt JPEG 3000x3000 (first half, then an end marker)", imaging::halfWithEndMarker(TestArtwork::encodeJPEG(3000, 3000, 90)));
    add("truncated JPEG 3000x3000 (first half)", firstHalf(TestArtwork::encodeJPEG(3000, 3000, 90)));
    if (!quick)
        add("truncated PNG 3000x3000 (first half)", firstHalf(TestArtwork::encodePNG(3000, 3000)));
    add("garbage: 1 MB of noise", randomBytes(1 << 20, 1));
    add("garbage: PNG signature, then 1 MB of noise", prefixed({ 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' }, randomBytes(1 << 20, 2)));
    add("garbage: JPEG start, then 1 MB of noise", prefixed({ 0xFF, 0xD8, 0xFF }, randomBytes(1 << 20, 3)));
    return files;
}

long statusKilobytes(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0)
            return std::atol(line.c_str() + std::strlen(field));
    }
    return -1;
}

struct ChildFigures {
    double cpu = 0;
    double peakMegabytes = 0;
    int outcome = 0; // 1 coloured, 0 refused
    bool timedOut = false;
    std::uint8_t rgb[3] = { 0, 0, 0 };
};

ChildFigures colourInChild(const Bytes& bytes, int timeoutSeconds)
{
    int channel[2];
    if (pipe(channel))
        std::abort();
    std::fflush(nullptr);
    pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        auto artwork = NSData::dataWithBytes(bytes.data(), bytes.size());
        // Memory the parent freed (making the files) is handed back first, or the decoder
        // would reuse it without growing; then the peak starts again from what is resident.
        malloc_trim(0);
        std::ofstream("/proc/self/clear_refs") << "5";
        long baseline = statusKilobytes("VmHWM:");
        ChildFigures figures;
        double start = cpuSeconds();
        figures.outcome = platformColour(artwork.get(), figures.rgb) ? 1 : 0;
        figures.cpu = cpuSeconds() - start;
        figures.peakMegabytes = static_cast<double>(statusKilobytes("VmHWM:") - baseline) / 1024.0;
        if (write(channel[1], &figures, sizeof figures) != sizeof figures)
            _exit(3);
        _exit(0);
    }
    close(channel[1]);
    ChildFigures figures;
    pollfd waitFor { channel[0], POLLIN, 0 };
    if (poll(&waitFor, 1, timeoutSeconds * 1000) <= 0 || read(channel[0], &figures, sizeof figures) != sizeof figures) {
        kill(child, SIGKILL);
        figures = {};
        figures.timedOut = true;
        figures.cpu = timeoutSeconds;
    }
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!figures.timedOut && (!WIFEXITED(status) || WEXITSTATUS(status) != 0))
        figures.outcome = -1;
    return figures;
}

void runHostile(bool quick, int timeoutSeconds)
{
    auto files = hostileFiles(quick);
    std::printf("\nHostile artwork, each coloured in a process of its own (CPU time; peak resident memory above the baseline)\n");
    std::printf("%-52s %11s  %-9s %10s %10s\n", "file", "bytes", "result", "CPU ms", "peak MB");
    const Hostile* slowest = nullptr;
    const Hostile* biggest = nullptr;
    ChildFigures slowestFigures, biggestFigures;
    for (const auto& file : files) {
        ChildFigures figures = colourInChild(file.bytes, timeoutSeconds);
        char result[32];
        if (figures.timedOut)
            std::snprintf(result, sizeof result, "timed out");
        else if (figures.outcome < 0)
            std::snprintf(result, sizeof result, "crashed");
        else if (figures.outcome == 0)
            std::snprintf(result, sizeof result, "refused");
        else
            std::snprintf(result, sizeof result, "#%02X%02X%02X", figures.rgb[0], figures.rgb[1], figures.rgb[2]);
        std::printf("%-52s %11zu  %-9s %10.1f %10.1f\n", file.name.c_str(), file.bytes.size(), result, figures.cpu * 1000,
            figures.peakMegabytes);
        std::fflush(stdout);
        if (!slowest || figures.cpu > slowestFigures.cpu) {
            slowest = &file;
            slowestFigures = figures;
        }
        if (!biggest || figures.peakMegabytes > biggestFigures.peakMegabytes) {
            biggest = &file;
            biggestFigures = figures;
        }
    }
    std::printf("worst CPU:    %.1f ms (%s)\n", slowestFigures.cpu * 1000, slowest->name.c_str());
    std::printf("worst memory: %.1f MB above baseline (%s)\n", biggestFigures.peakMegabytes, biggest->name.c_str());
}

// MARK: At the floor

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Runs a and b in turns, `rounds` times each: the machine's ups and downs fall on both.
std::pair<double, double> medianCPU(int rounds, const std::function<void()>& a, const std::function<void()>& b)
{
    std::vector<double> timesA, timesB;
    a();
    b();
    for (int round = 0; round < rounds; ++round) {
        double start = cpuSeconds();
        a();
        double middle = cpuSeconds();
        b();
        double end = cpuSeconds();
        timesA.push_back(middle - start);
        timesB.push_back(end - middle);
    }
    return { median(timesA), median(timesB) };
}

// Whole-process CPU of lumetrix-colour FILE (the children's user and system time).
double toolCPU(const std::string& tool, const std::string& file, int rounds)
{
    std::vector<double> times;
    for (int round = 0; round < rounds; ++round) {
        rusage before {}, after {};
        getrusage(RUSAGE_CHILDREN, &before);
        std::fflush(nullptr);
        pid_t child = fork();
        if (child == 0) {
            std::freopen("/dev/null", "w", stdout);
            std::freopen("/dev/null", "w", stderr);
            execl(tool.c_str(), tool.c_str(), file.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        int status = 0;
        waitpid(child, &status, 0);
        getrusage(RUSAGE_CHILDREN, &after);
        auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6; };
        times.push_back(seconds(after.ru_utime) - seconds(before.ru_utime) + seconds(after.ru_stime) - seconds(before.ru_stime));
    }
    return median(times);
}

void runFloors(bool quick)
{
    std::printf("\nAt the floor: CPU medians in this process, the platform's colour against the least the libraries need\n");
    std::printf("%-44s %12s %12s %8s\n", "artwork", "platform ms", "floor ms", "ratio");
    std::string tool = LUMETRIX_COLOUR_TOOL;
    std::vector<std::pair<std::string, std::string>> toolFiles;
    std::string folder = "/tmp/artwork-bench-" + std::to_string(getpid());
    if (!tool.empty())
        std::system(("mkdir -p " + folder).c_str());
    std::vector<std::size_t> sides = { 600, 1200, 3000 };
    for (bool jpeg : { true, false }) {
        for (std::size_t side : sides) {
            Bytes bytes = jpeg ? TestArtwork::encodeJPEG(side, side, 90) : TestArtwork::encodePNG(side, side);
            auto artwork = NSData::dataWithBytes(bytes.data(), bytes.size());
            int rounds = quick ? 5 : (side >= 3000 ? 11 : 21);
            std::uint8_t rgb[3];
            std::uint64_t sink = 0;
            auto platform = [&] { platformColour(artwork.get(), rgb); };
            char name[64];
            if (jpeg) {
                auto [mine, floor] = medianCPU(rounds, platform, [&] { colour_floors::jpegEighthScaleSum(bytes.data(), bytes.size(), sink); });
                std::snprintf(name, sizeof name, "JPEG %zux%zu vs 1/8 decode + sum", side, side);
                std::printf("%-44s %12.2f %12.2f %8.2f\n", name, mine * 1000, floor * 1000, mine / floor);
            } else {
                auto [mine, floor] = medianCPU(rounds, platform, [&] { colour_floors::libpngRows(bytes.data(), bytes.size(), sink); });
                std::snprintf(name, sizeof name, "PNG %zux%zu vs bare libpng decode", side, side);
                std::printf("%-44s %12.2f %12.2f %8.2f\n", name, mine * 1000, floor * 1000, mine / floor);
                auto [spng, png] = medianCPU(rounds, [&] { colour_floors::libspngRows(bytes.data(), bytes.size(), sink); },
                    [&] { colour_floors::libpngRows(bytes.data(), bytes.size(), sink); });
                char versus[64];
                std::snprintf(versus, sizeof versus, "  bare libspng vs bare libpng, %zu", side);
                std::printf("%-44s %12.2f %12.2f %8.2f\n", versus, spng * 1000, png * 1000, spng / png);
            }
            std::fflush(stdout);
            if (!tool.empty()) {
                std::string file = folder + "/" + std::to_string(side) + (jpeg ? ".jpg" : ".png");
                imaging::writeFile(file, bytes);
                toolFiles.push_back({ name, file });
            }
        }
    }
    if (tool.empty())
        return;
    std::string empty = folder + "/not-an-image";
    imaging::writeFile(empty, Bytes(16, 0));
    double startup = toolCPU(tool, empty, 11);
    std::printf("\nWhole process: lumetrix-colour FILE, CPU medians (start-up and tweak loading alone: %.2f ms)\n", startup * 1000);
    for (auto& [name, file] : toolFiles) {
        double whole = toolCPU(tool, file, quick ? 3 : 11);
        std::printf("%-44s %12.2f ms, %.2f ms beyond start-up\n", name.substr(0, name.find(" vs")).c_str(), whole * 1000,
            (whole - startup) * 1000);
    }
    std::system(("rm -rf " + folder).c_str());
}

} // namespace

int main(int argc, char** argv)
{
    bool quick = false;
    int timeoutSeconds = 120;
    bench::Arguments("artwork_bench", "usage: artwork_bench [--quick] [--timeout SECONDS]", argc, argv).read([&](bench::Arguments& arguments) {
        if (arguments.is("--quick"))
            quick = true;
        else if (arguments.is("--timeout"))
            timeoutSeconds = static_cast<int>(arguments.whole(1, 86400));
        else
            return false;
        return true;
    });
    platform::registerClasses();
    runHostile(quick, timeoutSeconds);
    runFloors(quick);
    return 0;
}
