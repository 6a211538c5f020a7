// A restart, or a new server on the same output folder, keeps the earlier phone's event
// log and transcript beside the new ones instead of emptying them.
#include "sim/lumetrix-sim/serve/LivePhoneProcess.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace sim {
namespace {

std::string contents(const fs::path& file)
{
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(Serve_EarlierPhoneFiles, EachPhonesFilesAreKeptUnderTheNextFreeNumber)
{
    fs::path folder = fs::temp_directory_path() / ("lumetrix-phone-files-" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    EXPECT_EQ(keepEarlierPhoneFiles(folder), 0) << "nothing to keep on a first start";

    std::ofstream(folder / kLiveEventsFile) << "first events\n";
    std::ofstream(folder / kLiveTranscriptFile) << "first transcript\n";
    EXPECT_EQ(keepEarlierPhoneFiles(folder), 1);
    EXPECT_EQ(contents(folder / "events.1.jsonl"), "first events\n");
    EXPECT_EQ(contents(folder / "transcript.1.jsonl"), "first transcript\n");
    EXPECT_FALSE(fs::exists(folder / kLiveEventsFile));

    // A number taken by either file is skipped for both, so a pair stays a pair.
    std::ofstream(folder / "transcript.2.jsonl") << "someone else's\n";
    std::ofstream(folder / kLiveEventsFile) << "second events\n";
    std::ofstream(folder / kLiveTranscriptFile) << "second transcript\n";
    EXPECT_EQ(keepEarlierPhoneFiles(folder), 3);
    EXPECT_EQ(contents(folder / "events.3.jsonl"), "second events\n");
    EXPECT_EQ(contents(folder / "transcript.3.jsonl"), "second transcript\n");
    EXPECT_EQ(contents(folder / "transcript.2.jsonl"), "someone else's\n");
    EXPECT_EQ(contents(folder / "events.1.jsonl"), "first events\n");
    fs::remove_all(folder);
}

} // namespace
} // namespace sim
