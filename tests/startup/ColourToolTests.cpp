// lumetrix-colour FILE: the artwork colour from the command line, through the tweak the
// build made, with a clear message and exit 1 for a file that gives none.

#include "support/TestImages.h"
#include "sim/imaging/ImageEncoding.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

using namespace testing_support;

namespace {

struct ToolRun {
    int status;
    std::string output;
};

ToolRun runTool(const std::string& arguments)
{
    std::string command = std::string(LUMETRIX_COLOUR_TOOL) + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    std::array<char, 512> buffer;
    while (std::size_t count = std::fread(buffer.data(), 1, buffer.size(), pipe))
        output.append(buffer.data(), count);
    int status = pclose(pipe);
    return { WIFEXITED(status) ? WEXITSTATUS(status) : -1, output };
}

struct Folder {
    std::filesystem::path path = std::filesystem::temp_directory_path() / ("colour-tool-" + std::to_string(::getpid()));
    Folder() { std::filesystem::create_directories(path); }
    ~Folder() { std::filesystem::remove_all(path); }
    std::string write(const std::string& name, const std::vector<std::uint8_t>& bytes) const
    {
        imaging::writeFile((path / name).string(), bytes);
        return (path / name).string();
    }
};

} // namespace

TEST(Sim_ColourTool, PrintsTheArtworksAverageColourAsThePlayersGetIt)
{
    Folder folder;
    ToolRun png = runTool(folder.write("cover.png", solidPNG(30, 20, { 200, 100, 50, 255 })));
    EXPECT_EQ(png.status, 0);
    EXPECT_EQ(png.output, "200 100 50 #C86432\n");
    // Transparency pulls towards black, as on the lock screen.
    ToolRun half = runTool(folder.write("half.png", solidPNG(4, 4, { 200, 100, 50, 128 })));
    EXPECT_EQ(half.output, "100 50 25 #643219\n");
}

TEST(Sim_ColourTool, AFileThatGivesNoColourSaysWhyAndExitsOne)
{
    Folder folder;
    auto png = solidPNG(20, 20, { 1, 2, 3, 255 });
    struct Case {
        std::string file;
        const char* why;
    } cases[] = {
        { folder.write("cut.png", std::vector<std::uint8_t>(png.begin(), png.begin() + 40)), "not a PNG or JPEG image that decodes" },
        { folder.write("notes.txt", std::vector<std::uint8_t>(100, 'a')), "not a PNG or JPEG image that decodes" },
        { (folder.path / "missing.png").string(), "not a readable file" },
        { folder.path.string(), "not a readable file" },
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.file);
        ToolRun run = runTool("'" + c.file + "'");
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.output.rfind("lumetrix-colour: " + c.file + ": no colour: ", 0), 0u) << run.output;
        EXPECT_NE(run.output.find(c.why), std::string::npos) << run.output;
    }
    // Beyond the artwork limit, the file is not even read (a sparse file, no disk taken).
    std::string huge = folder.write("huge.png", png);
    std::filesystem::resize_file(huge, 64 * 1024 * 1024 + 1);
    EXPECT_NE(runTool(huge).output.find("larger than the 64 MiB artwork limit"), std::string::npos);

    EXPECT_EQ(runTool("").status, 2);
    EXPECT_EQ(runTool("a b").status, 2);
}

TEST(Sim_ColourTool, WhatIsNotARegularFileIsRefusedSayingWhatItIs)
{
    Folder folder;
    std::string fifo = (folder.path / "cover.png").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    struct Case {
        std::string file;
        const char* why;
    } cases[] = {
        { fifo, "not a readable file: it is not a regular file (it is a FIFO)" },
        { "/dev/zero", "not a readable file: it is not a regular file (it is a character device)" },
        { folder.path.string(), "not a readable file: it is not a regular file (it is a folder)" },
        // A regular file by its kind that cannot be read from its start.
        { "/proc/self/mem", "not a readable file: it cannot be read" },
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.file);
        ToolRun run = runTool("'" + c.file + "'");
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.output.find("lumetrix-colour: " + c.file + ": no colour: " + c.why), std::string::npos) << run.output;
    }
}
