// What a process maps is what its work needs: colouring artwork, or a scenario that takes
// no picture, never loads the text and drawing stack (pango, cairo and what they pull
// in); the first picture does. Neither maps a crypto library, and a run maps neither the
// live phone's server (cpp-httplib, OpenSSL) nor the bridge to desktop players (sdbus-c++,
// libsystemd), which their commands load, nor libarchive: the build's device package is
// plain archives, which the installer reads itself. The dynamic loader names every file it opens, in every
// process of the run (LD_DEBUG=files), dlopen included.

#include "support/TestImages.h"
#include "sim/imaging/ImageEncoding.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

using namespace testing_support;

namespace {

// The loader's record of what `command` and every process it starts opened.
std::string loaderLog(const std::string& command)
{
    FILE* pipe = popen(("LD_DEBUG=files " + command + " 2>&1 >/dev/null").c_str(), "r");
    std::string output;
    std::array<char, 4096> buffer;
    while (std::size_t count = std::fread(buffer.data(), 1, buffer.size(), pipe))
        output.append(buffer.data(), count);
    pclose(pipe);
    return output;
}

// Whether the loader looked for or opened `library` (a file name or its start).
bool opened(const std::string& log, const std::string& library)
{
    return log.find("file=" + library) != std::string::npos || log.find("/" + library) != std::string::npos;
}

struct ScratchFolder {
    std::filesystem::path path = std::filesystem::temp_directory_path() / ("loaded-libraries-" + std::to_string(::getpid()));
    ScratchFolder() { std::filesystem::create_directories(path); }
    ~ScratchFolder() { std::filesystem::remove_all(path); }
    std::string write(const std::string& name, const std::string& text) const
    {
        std::ofstream((path / name).string()) << text;
        return (path / name).string();
    }
};

} // namespace

// lumetrix-colour's worker carries the platform, the tweak and (in an ordinary build) the
// C++ runtime: colouring a JPEG maps the worker and libjpeg, none of the payload's other
// libraries, nothing of the text and drawing stack, and neither libpng, libplist nor libm,
// which it loads at the first call into them. A PNG among the files loads
// libpng then, and colours as any other.
TEST(Startup_LoadedLibraries, ColouringArtworkMapsTheWorkerAndTheDecodersItUsesAlone)
{
    ScratchFolder folder;
    std::string cover = (folder.path / "cover.jpg").string();
    ASSERT_TRUE(imaging::writeFile(cover, solidJPEG(64, 64, { 10, 200, 30, 255 })));
    std::string log = loaderLog(std::string(LUMETRIX_COLOUR_TOOL) + " '" + cover + "'");
    ASSERT_TRUE(opened(log, "libjpeg")) << "the loader's log is not being read:\n"
                                        << log;
    EXPECT_TRUE(opened(log, "libsimcolour")) << log;
    for (const char* library : { "libplatform", "lumetrix.so", "libplatformtext", "libsimrender", "libpango", "libcairo", "libfontconfig", "libX11", "libglib", "libcrypto", "libpng",
             "libz.", "libplist" })
        EXPECT_FALSE(opened(log, library)) << library << " was loaded";
#if !defined(__SANITIZE_ADDRESS__)
    // A sanitizer build's worker links the shared C++ runtime (and with it libm), as the
    // sanitizers expect.
    EXPECT_FALSE(opened(log, "libstdc++")) << "libstdc++ was loaded";
    EXPECT_FALSE(opened(log, "libm.")) << "libm was loaded";
#endif

    std::string png = (folder.path / "cover.png").string();
    ASSERT_TRUE(imaging::writeFile(png, solidPNG(8, 8, { 200, 100, 50, 255 })));
    std::string both = loaderLog(std::string(LUMETRIX_COLOUR_TOOL) + " '" + cover + "' '" + png + "'");
    EXPECT_TRUE(opened(both, "libpng16")) << both;
    EXPECT_FALSE(opened(both, "libplist")) << "libplist was loaded";
}

TEST(Startup_LoadedLibraries, RefusingFilesThatAreNoImageLoadsNeitherThePlatformNorTheCxxRuntime)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "a sanitizer build maps the worker at start (LeakSanitizer cannot follow a later one)";
#endif
    ScratchFolder folder;
    std::string text = folder.write("notes.txt", "no picture here\n");
    std::string empty = folder.write("empty.png", "");
    std::string log = loaderLog(std::string(LUMETRIX_COLOUR_TOOL) + " '" + text + "' '" + empty + "'");
    ASSERT_TRUE(opened(log, "libc.so")) << "the loader's log is not being read:\n"
                                        << log;
    for (const char* library : { "libsimcolour", "libplatform", "libstdc++", "lumetrix.so", "libjpeg", "libpng" })
        EXPECT_FALSE(opened(log, library)) << library << " was loaded";
}

TEST(Startup_LoadedLibraries, ARunWithoutPicturesLoadsNoRendererAndAPictureDoes)
{
    ScratchFolder folder;
    std::string plain = folder.write("plain.scenario", "boot\nwait 1\n");
    std::string plainLog = loaderLog(std::string(LUMETRIX_SIM) + " run '" + plain + "'");
    ASSERT_TRUE(opened(plainLog, "lumetrix.dylib")) << "SpringBoard did not load the tweak:\n"
                                                    << plainLog;
    for (const char* library : { "libsimrender", "libpango", "libcairo", "libfontconfig", "libX11", "libsimserve", "libcpp-httplib", "libssl", "libarchive", "libsimarchive", "libxml2", "libicu",
             "libcrypto", "libsimmusic", "libsdbus-c++", "libsystemd" })
        EXPECT_FALSE(opened(plainLog, library)) << library << " was loaded";

    std::string picture = folder.write("picture.scenario", "boot\nwait 1\nsnapshot \"screen.png\"\n");
    std::string pictureLog = loaderLog(std::string(LUMETRIX_SIM) + " run '" + picture + "'");
    EXPECT_TRUE(opened(pictureLog, "libsimrender"));
    EXPECT_TRUE(opened(pictureLog, "libcairo"));
    EXPECT_TRUE(std::filesystem::exists(folder.path / "screen.png"));
}
