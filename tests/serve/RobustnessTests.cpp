// `lumetrix-sim serve` when things go wrong: a port already taken, a device process
// killed, a phone stuck, a crowd of idle or slow connections, a host beyond loopback.
// Each runs servers of its own.
#include "tests/support/ServedPhone.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>

namespace fs = std::filesystem;
using nlohmann::json;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

struct Finished {
    int status = -1;
    std::string output;
};

// Runs `lumetrix-sim ARGUMENTS` to its end (killed after `limit`), with what it printed.
Finished runSimulator(std::vector<std::string> arguments, std::chrono::seconds limit = 20s)
{
    int out[2];
    if (pipe(out) != 0)
        return {};
    arguments.insert(arguments.begin(), LUMETRIX_SIM);
    pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        dup2(out[1], STDERR_FILENO);
        close(out[0]);
        std::vector<char*> argv;
        for (auto& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(out[1]);
    Finished finished;
    auto deadline = Clock::now() + limit;
    char buffer[4096];
    for (;;) {
        pollfd polled { out[0], POLLIN, 0 };
        if (poll(&polled, 1, 100) > 0) {
            ssize_t count = read(out[0], buffer, sizeof(buffer));
            if (count <= 0)
                break;
            finished.output.append(buffer, static_cast<std::size_t>(count));
        }
        if (Clock::now() > deadline) {
            kill(pid, SIGKILL);
            break;
        }
    }
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    finished.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return finished;
}

std::vector<pid_t> childrenOf(pid_t pid)
{
    std::vector<pid_t> children;
    std::ifstream in("/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) + "/children");
    for (pid_t child; in >> child;)
        children.push_back(child);
    return children;
}

std::set<pid_t> descendantsOf(pid_t pid)
{
    std::set<pid_t> all;
    for (pid_t child : childrenOf(pid)) {
        all.insert(child);
        for (pid_t below : descendantsOf(child))
            all.insert(below);
    }
    return all;
}

bool isRunning(pid_t pid)
{
    // A zombie has finished; only its parent has yet to hear.
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto close = text.rfind(')');
    return close != std::string::npos && text.size() > close + 2 && text[close + 2] != 'Z' && text[close + 2] != 'X';
}

bool allGone(const std::set<pid_t>& pids, std::chrono::milliseconds within)
{
    auto deadline = Clock::now() + within;
    for (;;) {
        if (std::none_of(pids.begin(), pids.end(), isRunning))
            return true;
        if (Clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(20ms);
    }
}

// The temporary device roots anywhere beneath `folder`.
std::vector<fs::path> deviceRootsIn(const fs::path& folder)
{
    std::vector<fs::path> roots;
    std::error_code ignored;
    for (auto it = fs::recursive_directory_iterator(folder, ignored); it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        if (it->path().filename().string().rfind("lumetrix-device-", 0) == 0) {
            roots.push_back(it->path());
            it.disable_recursion_pending();
        }
    }
    return roots;
}

class Serve_Robustness : public ::testing::Test {
protected:
    void SetUp() override
    {
        output = fs::temp_directory_path() / ("lumetrix-serve-robust-" + std::to_string(getpid()) + "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(output);
        // The servers' temporary folder, so what they leave there is seen (and no other
        // run's is).
        temporary = output.string() + "-tmp";
        fs::create_directories(temporary);
        const char* earlier = std::getenv("TMPDIR");
        if (earlier)
            earlierTemporary = earlier;
        setenv("TMPDIR", temporary.c_str(), 1);
    }
    void TearDown() override
    {
        if (earlierTemporary)
            setenv("TMPDIR", earlierTemporary->c_str(), 1);
        else
            unsetenv("TMPDIR");
        fs::remove_all(output);
        fs::remove_all(temporary);
    }

    fs::path output;
    fs::path temporary;
    std::optional<std::string> earlierTemporary;
};

TEST_F(Serve_Robustness, ASecondServerOnABusyPortIsRefused)
{
    ServedPhone first(LUMETRIX_SIM, { "--out", (output / "first").string() });
    auto second = runSimulator({ "serve", "--port", std::to_string(first.port()), "--out", (output / "second").string() });
    EXPECT_EQ(second.status, 2) << second.output;
    EXPECT_NE(second.output.find("port " + std::to_string(first.port()) + " is in use"), std::string::npos) << second.output;
    EXPECT_TRUE(first.waitUntilLive(20)) << "the first server carries on";
}

TEST_F(Serve_Robustness, ListeningBeyondThisMachineNeedsItsFlag)
{
    auto refused = runSimulator({ "serve", "--host", "0.0.0.0", "--out", output.string() });
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.output.find("--allow-network"), std::string::npos) << refused.output;
}

// kill -9 of the device process: its SpringBoard and Settings app go with it, the page
// hears why, a restart brings a phone back, and SIGTERM still stops everything at once.
TEST_F(Serve_Robustness, AKilledDeviceProcessTakesItsProcessesAlongAndRestarts)
{
    ServedPhone server(LUMETRIX_SIM, { "--out", output.string() });
    ASSERT_TRUE(server.waitUntilLive(20));
    auto keepers = childrenOf(server.pid());
    ASSERT_EQ(keepers.size(), 1u);
    auto devices = childrenOf(keepers[0]);
    ASSERT_EQ(devices.size(), 1u);
    auto phoneProcesses = descendantsOf(devices[0]);
    ASSERT_GE(phoneProcesses.size(), 2u) << "SpringBoard and the Settings app run under the device process";
    phoneProcesses.insert(devices[0]);

    ASSERT_EQ(deviceRootsIn(temporary).size(), 1u) << "the phone's device root is a temporary one";

    kill(devices[0], SIGKILL);
    EXPECT_TRUE(allGone(phoneProcesses, 3s)) << "no orphans run on";
    json ended;
    for (int tries = 0; tries < 100 && !(ended = server.status()["ended"]).is_object(); ++tries)
        std::this_thread::sleep_for(50ms);
    ASSERT_TRUE(ended.is_object()) << server.status().dump();
    EXPECT_NE(ended.value("error", "").find("killed by signal 9"), std::string::npos) << ended.dump();
    EXPECT_TRUE(deviceRootsIn(temporary).empty()) << "the killed process's device root is removed by the process that waited for it";

    std::string device = server.status()["devices"][0];
    auto restart = httplib::Client(server.host()).Post("/api/device", device, "text/plain");
    ASSERT_TRUE(restart);
    EXPECT_EQ(restart->status, 202);
    ASSERT_TRUE(server.waitUntilLive(20)) << "the phone comes back";
    EXPECT_TRUE(server.status()["ended"].is_null());
    EXPECT_EQ(server.status()["phone"]["device"], device);

    auto everything = descendantsOf(server.pid());
    auto stopping = Clock::now();
    EXPECT_EQ(server.stop(), 143);
    EXPECT_LT(Clock::now() - stopping, 2s);
    EXPECT_TRUE(allGone(everything, 1s));
    EXPECT_TRUE(fs::is_empty(temporary)) << "nothing of the phone is left in the temporary folder";
}

// A SpringBoard that never answers (stopped) must not hold the server's exit.
TEST_F(Serve_Robustness, SigtermStopsEvenAStuckPhoneWithinTwoSeconds)
{
    ServedPhone server(LUMETRIX_SIM, { "--out", output.string() });
    ASSERT_TRUE(server.waitUntilLive(20));
    auto everything = descendantsOf(server.pid());
    for (pid_t pid : everything)
        kill(pid, SIGSTOP);
    // A line waiting for the stuck phone, as a page's click would.
    std::thread click([&] { httplib::Client(server.host()).Post("/api/action", "lock", "text/plain"); });
    std::this_thread::sleep_for(300ms);
    auto stopping = Clock::now();
    EXPECT_EQ(server.stop(), 143);
    EXPECT_LT(Clock::now() - stopping, 2s);
    click.join();
    EXPECT_TRUE(allGone(everything, 1s));
    EXPECT_TRUE(fs::is_empty(temporary)) << "the killed phone's device root is removed by the server";
}

TEST_F(Serve_Robustness, SigtermWhileThePhoneStartsStopsWithinTwoSeconds)
{
    ServedPhone server(LUMETRIX_SIM, { "--out", output.string() });
    auto stopping = Clock::now();
    EXPECT_EQ(server.stop(), 143);
    EXPECT_LT(Clock::now() - stopping, 2s);
}

TEST_F(Serve_Robustness, CtrlCStopsARunningPhoneWithTheInterruptStatus)
{
    ServedPhone server(LUMETRIX_SIM, { "--out", output.string() });
    ASSERT_TRUE(server.waitUntilLive(20));
    auto everything = descendantsOf(server.pid());
    auto stopping = Clock::now();
    EXPECT_EQ(server.stop(SIGINT), 130);
    EXPECT_LT(Clock::now() - stopping, 2s);
    EXPECT_TRUE(allGone(everything, 1s));
    EXPECT_TRUE(fs::is_empty(temporary));
}

// Connections that send nothing, or their headers a byte at a time, hold a worker each;
// the page still gets its answers.
TEST_F(Serve_Robustness, IdleAndSlowConnectionsDoNotStopThePage)
{
    ServedPhone server(LUMETRIX_SIM, { "--out", output.string() });
    ASSERT_TRUE(server.waitUntilLive(20));
    std::vector<int> sockets;
    auto connectOne = [&] {
        int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(server.port()));
        inet_pton(AF_INET, "127.0.0.1", &address.sin_addr);
        EXPECT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
        sockets.push_back(fd);
        return fd;
    };
    for (int i = 0; i < 50; ++i)
        connectOne();
    std::vector<int> slow;
    for (int i = 0; i < 50; ++i)
        slow.push_back(connectOne());
    std::string request = "GET /api/status HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(server.port()) + "\r\n";
    for (std::size_t at = 0; at < 12; ++at) {
        for (int fd : slow)
            (void)!send(fd, &request[at], 1, MSG_NOSIGNAL);
        std::this_thread::sleep_for(100ms);
        if (at % 4 == 3) {
            httplib::Client page(server.host());
            page.set_connection_timeout(1s);
            page.set_read_timeout(1s);
            auto answer = page.Get("/api/status");
            ASSERT_TRUE(answer) << "the page got no answer within a second";
            EXPECT_EQ(answer->status, 200);
        }
    }
    for (int fd : sockets)
        close(fd);
}

} // namespace
