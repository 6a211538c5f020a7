// Files that scenario lines write: where `run` puts them the scenario decides, host paths
// as its author wrote them; the live phone's output folder keeps every one beneath it.

#include "sim/device/OutputFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

namespace {

struct Folders {
    Folders()
    {
        std::string pattern = (fs::temp_directory_path() / "lumetrix-output-XXXXXX").string();
        base = mkdtemp(pattern.data());
        fs::create_directories(base / "out");
        fs::create_directories(base / "outside");
        std::ofstream(base / "outside/victim.json") << "precious";
        fs::create_directory_symlink("../outside", base / "out/linkdir");
        fs::create_symlink(base / "outside/victim.json", base / "out/victim.json");
    }
    ~Folders()
    {
        sim::confineOutputFilesTo({});
        fs::remove_all(base);
    }
    std::string read(const fs::path& file) const
    {
        std::ifstream in(base / file);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    fs::path base;
};

} // namespace

TEST(Sim_OutputFiles, TheLivePhonesFolderIsNotLeftThroughItsLinks)
{
    Folders folders;
    sim::confineOutputFilesTo(folders.base / "out");
    for (const char* name : { "out/linkdir/x.json", "out/victim.json", "out/linkdir/new/x.png" }) {
        SCOPED_TRACE(name);
        std::string error;
        EXPECT_FALSE(sim::writeOutputFile((folders.base / name).string(), "escaped", &error));
        EXPECT_NE(error.find("leads outside the output folder"), std::string::npos) << error;
    }
    EXPECT_EQ(folders.read("outside/victim.json"), "precious");
    EXPECT_FALSE(fs::exists(folders.base / "outside/x.json"));
    EXPECT_FALSE(fs::exists(folders.base / "outside/new"));

    std::string error;
    EXPECT_TRUE(sim::writeOutputFile((folders.base / "out/dumps/players.json").string(), "{}", &error)) << error;
    EXPECT_EQ(folders.read("out/dumps/players.json"), "{}");
}

TEST(Sim_OutputFiles, ARunWritesWhereTheScenarioSays)
{
    Folders folders;
    // Without a confined folder links are the author's own: followed, as the README says.
    std::string error;
    EXPECT_TRUE(sim::writeOutputFile((folders.base / "out/linkdir/x.json").string(), "mine", &error)) << error;
    EXPECT_EQ(folders.read("outside/x.json"), "mine");
    // Outside the confined folder, the same holds.
    sim::confineOutputFilesTo(folders.base / "elsewhere");
    EXPECT_TRUE(sim::writeOutputFile((folders.base / "out/linkdir/y.json").string(), "mine", &error)) << error;
    EXPECT_EQ(folders.read("outside/y.json"), "mine");
    EXPECT_TRUE(sim::writeOutputFile((folders.base / "out/victim.json").string(), "replaced", &error)) << error;
    EXPECT_EQ(folders.read("outside/victim.json"), "replaced");
}
