// lumetrix-colour FILE...: the artwork colour from the command line, through the tweak the
// build made, with a clear message and exit 1 for a file that gives none.

#include "LumetrixVersion.h"
#include "support/TestImages.h"
#include "sim/imaging/ImageEncoding.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

using namespace testing_support;

namespace {

struct ToolRun {
    int status;
    std::string output;
};

// `environment`: assignments for the tool alone ("NAME='value' ...").
ToolRun runTool(const std::string& arguments, const std::string& program = LUMETRIX_COLOUR_TOOL, const std::string& environment = "")
{
    std::string command = environment + " '" + program + "' " + arguments + " 2>&1";
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

TEST(Sim_ColourTool, ImagesOfSeveralColoursGiveTheirTrueAverage)
{
    Folder folder;
    int number = 0;
    for (auto& image : imagesWithKnownAverage()) {
        SCOPED_TRACE(image.story);
        const char* extension = image.bytes.at(0) == 0xFF ? ".jpg" : ".png";
        ToolRun run = runTool(folder.write("mixed-" + std::to_string(++number) + extension, image.bytes));
        ASSERT_EQ(run.status, 0) << run.output;
        int red = -1, green = -1, blue = -1;
        ASSERT_EQ(std::sscanf(run.output.c_str(), "%d %d %d", &red, &green, &blue), 3) << run.output;
        EXPECT_NEAR(red, image.average.r, image.tolerance);
        EXPECT_NEAR(green, image.average.g, image.tolerance);
        EXPECT_NEAR(blue, image.average.b, image.tolerance);
    }
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
        { (folder.path / "missing.png").string(), "does not exist" },
        { (folder.path / "cut.png" / "inside.png").string(), "does not exist" },
        { folder.path.string(), "is not a regular file" },
        { "/dev/null", "is not a regular file" },
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
    EXPECT_EQ(runTool("--colour x.png").status, 2);
}

TEST(Sim_ColourTool, WhatCannotBeReadIsAnErrorLineNotACrashOrAHang)
{
    Folder folder;
    // Reads of a process's memory file fail at offset 0; that must stay one file's error.
    ToolRun memory = runTool("/proc/self/mem");
    EXPECT_EQ(memory.status, 1);
    EXPECT_EQ(memory.output.rfind("lumetrix-colour: /proc/self/mem: no colour: ", 0), 0u) << memory.output;
    // A FIFO nobody writes to is refused at once instead of blocking the open.
    std::string fifo = (folder.path / "pipe.png").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ToolRun pipe = runTool(fifo);
    EXPECT_EQ(pipe.status, 1);
    EXPECT_NE(pipe.output.find("no colour: is not a regular file"), std::string::npos) << pipe.output;
}

TEST(Sim_ColourTool, ColoursManyFilesInOneCallEachOnItsOwnLine)
{
    Folder folder;
    std::string red = folder.write("red.png", solidPNG(8, 8, { 200, 0, 0, 255 }));
    std::string blue = folder.write("blue.png", solidPNG(8, 8, { 0, 0, 200, 255 }));
    std::string text = folder.write("notes.txt", std::vector<std::uint8_t>(64, 'a'));
    std::string missing = (folder.path / "missing.png").string();

    ToolRun all = runTool(red + " " + blue);
    EXPECT_EQ(all.status, 0);
    EXPECT_EQ(all.output, red + " 200 0 0 #C80000\n" + blue + " 0 0 200 #0000C8\n");

    // A file that gives no colour has its error line in its place; the rest go on, and
    // the call exits 1.
    ToolRun mixed = runTool(red + " " + text + " " + missing + " " + blue);
    EXPECT_EQ(mixed.status, 1);
    EXPECT_EQ(mixed.output,
        red + " 200 0 0 #C80000\n"
            + "lumetrix-colour: " + text + ": no colour: not a PNG or JPEG image that decodes within the artwork limits\n"
            + "lumetrix-colour: " + missing + ": no colour: does not exist\n"
            + blue + " 0 0 200 #0000C8\n");

    // - reads the names from standard input, one a line; blank lines are skipped.
    std::string list = folder.write("list.txt", std::vector<std::uint8_t>());
    {
        std::ofstream out(list);
        out << blue << "\n\n"
            << red << "\n";
    }
    ToolRun fromInput = runTool("- < '" + list + "'");
    EXPECT_EQ(fromInput.status, 0);
    EXPECT_EQ(fromInput.output, blue + " 0 0 200 #0000C8\n" + red + " 200 0 0 #C80000\n");
    // -- ends the options, so a file may be called -x.
    std::filesystem::copy_file(red, folder.path / "-x");
    ToolRun dashed = runTool("-- '" + (folder.path / "-x").string() + "'");
    EXPECT_EQ(dashed.output, "200 0 0 #C80000\n");
}

TEST(Sim_ColourTool, AnswersHelpAndVersion)
{
    ToolRun help = runTool("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.output.rfind("usage: lumetrix-colour ", 0), 0u) << help.output;
    ToolRun version = runTool("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.output, std::string("lumetrix-colour ") + LUMETRIX_VERSION + "\n");
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
        { fifo, "is not a regular file (it is a FIFO)" },
        { "/dev/zero", "is not a regular file (it is a character device)" },
        { folder.path.string(), "is not a regular file (it is a folder)" },
        // A regular file by its kind that cannot be read from its start.
        { "/proc/self/mem", "cannot be read" },
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.file);
        ToolRun run = runTool("'" + c.file + "'");
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.output.find("lumetrix-colour: " + c.file + ": no colour: " + c.why), std::string::npos) << run.output;
    }
}

// Colouring reads the file and writes its line, nothing else: the tool is no SpringBoard,
// so the tweak's initialiser (its settings, its notifications) does not run in it, and it
// lays out no device root. With $TMPDIR a file, where no folder can be made, the colour
// still comes alone.
TEST(Sim_ColourTool, ColouringMakesNoFolderAndNoNotificationChannel)
{
    Folder folder;
    std::string jpeg = folder.write("cover.jpg", solidJPEG(16, 16, { 10, 200, 30, 255 }));
    std::string blocked = folder.write("not-a-folder", { 'x' });
    ToolRun run = runTool("'" + jpeg + "'", LUMETRIX_COLOUR_TOOL, "TMPDIR='" + blocked + "'");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output.find("notify"), std::string::npos) << run.output;
    EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 1) << run.output;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path), {}), 2) << "the tool left something beside its input";
}

// The program alone refuses what is plainly no image; anything that may be one needs the
// worker library beside the platform, and a tree without it says so and exits 2.
TEST(Sim_ColourTool, ATreeWithoutItsWorkerLibraryStillRefusesNonImagesAndSaysWhatIsMissing)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "a sanitizer build's program maps the platform at start, so it cannot run alone";
#endif
    Folder folder;
    std::filesystem::path alone = folder.path / "bin" / "lumetrix-colour";
    std::filesystem::create_directories(alone.parent_path());
    std::filesystem::copy_file(LUMETRIX_COLOUR_TOOL, alone);
    std::string text = folder.write("notes.txt", { 'n', 'o', '\n' });
    std::string png = folder.write("cover.png", solidPNG(4, 4, { 200, 100, 50, 255 }));

    ToolRun refused = runTool("'" + text + "'", alone.string());
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.output, runTool("'" + text + "'").output) << "the same refusal as the whole tree gives";

    ToolRun image = runTool("'" + png + "'", alone.string());
    EXPECT_EQ(image.status, 2);
    EXPECT_NE(image.output.find("lumetrix-colour: cannot load libsimcolour.so"), std::string::npos) << image.output;
}
