// Listening where other machines reach the page takes a flag of its own, and a warning
// says what it exposes.
#include "sim/lumetrix-sim/serve/ServeOptions.h"

#include <gtest/gtest.h>

namespace sim {
namespace {

ServeOptions readArguments(std::vector<std::string> words)
{
    std::vector<char*> argv;
    for (auto& word : words)
        argv.push_back(word.data());
    ServeOptions options;
    for (int i = 0; i < static_cast<int>(argv.size()); ++i) {
        auto problem = readServeArgument(options, static_cast<int>(argv.size()), argv.data(), i);
        EXPECT_FALSE(problem) << *problem;
    }
    return options;
}

TEST(Serve_NetworkExposure, LoopbackNeedsNoFlag)
{
    for (const char* host : { "127.0.0.1", "127.0.0.2", "localhost", "::1", "[::1]" }) {
        EXPECT_FALSE(listensBeyondLoopback(host)) << host;
        EXPECT_FALSE(serveOptionsProblem(readArguments({ "--host", host }))) << host;
    }
}

TEST(Serve_NetworkExposure, AnyOtherAddressNeedsTheFlagAndIsWarnedAbout)
{
    for (const char* host : { "0.0.0.0", "::", "192.168.1.20", "phone.example" }) {
        EXPECT_TRUE(listensBeyondLoopback(host)) << host;
        auto problem = serveOptionsProblem(readArguments({ "--host", host }));
        ASSERT_TRUE(problem) << host;
        EXPECT_NE(problem->find("--allow-network"), std::string::npos);
        EXPECT_FALSE(serveOptionsProblem(readArguments({ "--host", host, "--allow-network" }))) << host;
    }
    auto warning = networkWarning(readArguments({ "--host", "0.0.0.0", "--allow-network", "--out", "/tmp/o" }), 8137);
    for (const char* named : { "0.0.0.0", "8137", "drive the phone", "/tmp/o" })
        EXPECT_NE(warning.find(named), std::string::npos) << named << " in: " << warning;
}

} // namespace
} // namespace sim
