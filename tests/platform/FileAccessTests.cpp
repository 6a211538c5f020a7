// Files named by someone else: read only when they are regular files within a limit, and
// written only beneath the folder they are meant to be in, whatever links lie in the way.

#include "Platform/BeneathFolder.h"
#include "Platform/RegularFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using platform::RegularFileRead;

namespace {

struct Folder {
    Folder()
    {
        std::string pattern = (fs::temp_directory_path() / "lumetrix-files-XXXXXX").string();
        path = mkdtemp(pattern.data());
    }
    ~Folder() { fs::remove_all(path); }
    fs::path path;
};

std::string contentsOf(const fs::path& file)
{
    std::ifstream in(file);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

TEST(Platform_RegularFile, OnlyARegularFileWithinTheLimitIsRead)
{
    Folder folder;
    std::ofstream(folder.path / "small") << "twelve bytes";
    auto read = platform::readRegularFile((folder.path / "small").string(), 12);
    ASSERT_TRUE(read.ok()) << read.problem;
    EXPECT_EQ(std::string(read.bytes.begin(), read.bytes.end()), "twelve bytes");
    EXPECT_EQ(platform::readRegularFile((folder.path / "small").string(), 11).outcome, RegularFileRead::Outcome::TooLarge);
    EXPECT_EQ(platform::readRegularFile((folder.path / "none").string(), 11).outcome, RegularFileRead::Outcome::Missing);

    // Each would block, never end or is no file at all; each says what it is.
    ASSERT_EQ(mkfifo((folder.path / "fifo").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", folder.path / "zero");
    struct Case {
        fs::path path;
        const char* kind;
    } cases[] = { { folder.path / "fifo", "a FIFO" }, { folder.path / "zero", "a character device" }, { folder.path, "a folder" } };
    for (auto& c : cases) {
        SCOPED_TRACE(c.path);
        auto refused = platform::readRegularFile(c.path.string(), 1 << 20);
        EXPECT_EQ(refused.outcome, RegularFileRead::Outcome::NotRegular);
        EXPECT_EQ(refused.problem, std::string("is not a regular file (it is ") + c.kind + ")");
    }
}

TEST(Platform_RegularFile, FilesThatSayNothingOfTheirSizeAreReadUpToTheLimit)
{
    // /proc files say 0 bytes and hold more; /proc/self/mem says 0 and cannot be read at 0.
    auto status = platform::readRegularFile("/proc/self/status", 1 << 20);
    ASSERT_TRUE(status.ok()) << status.problem;
    EXPECT_NE(std::string(status.bytes.begin(), status.bytes.end()).find("VmRSS"), std::string::npos);
    EXPECT_EQ(platform::readRegularFile("/proc/self/status", 64).outcome, RegularFileRead::Outcome::TooLarge);
    auto memory = platform::readRegularFile("/proc/self/mem", 1 << 20);
    EXPECT_EQ(memory.outcome, RegularFileRead::Outcome::Unreadable);
    EXPECT_EQ(memory.problem.rfind("cannot be read: ", 0), 0u) << memory.problem;
}

TEST(Platform_BeneathFolder, WritesStayBeneathTheFolderThroughAnyLink)
{
    Folder folder;
    fs::path out = folder.path / "out";
    fs::path outside = folder.path / "outside";
    fs::create_directories(out);
    fs::create_directories(outside);
    std::ofstream(outside / "victim.json") << "precious";
    fs::create_directory_symlink("../outside", out / "linkdir");
    fs::create_symlink(outside / "victim.json", out / "victim.json");
    fs::create_symlink("../outside/new.json", out / "dangling.json");

    platform::BeneathFolder beneath(out.string());
    ASSERT_TRUE(beneath.valid());
    for (const char* path : { "linkdir/x.json", "victim.json", "dangling.json", "../outside/y.json", "/tmp/z.json", "linkdir/deeper/x.json" }) {
        SCOPED_TRACE(path);
        std::string error;
        bool ledOut = false;
        EXPECT_FALSE(beneath.writeFile(path, "escaped", &error, &ledOut));
        EXPECT_TRUE(ledOut) << error;
    }
    EXPECT_EQ(contentsOf(outside / "victim.json"), "precious");
    EXPECT_EQ(std::distance(fs::directory_iterator(outside), fs::directory_iterator()), 1);

    std::string error;
    ASSERT_TRUE(beneath.writeFile("a/b/c.json", "made", &error)) << error;
    EXPECT_EQ(contentsOf(out / "a/b/c.json"), "made");
    ASSERT_TRUE(beneath.writeFile("a/b/c.json", "new", &error)) << error;
    EXPECT_EQ(contentsOf(out / "a/b/c.json"), "new") << "an existing file is emptied first";
    ASSERT_EQ(mkfifo((out / "fifo").c_str(), 0600), 0);
    EXPECT_FALSE(beneath.writeFile("fifo", "x", &error));
    EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
}
