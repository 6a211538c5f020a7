// Simulated processes that die, stop or lose their settings folder in the middle of a
// run. The run names the process and the scenario line, stops within the watchdog's
// wall-clock limit instead of waiting for ever, and never reports a lost write as done.
// A helper process does the damage at a real instant while the run goes on in real time.

#include "sim/lumetrix-sim/run/DumpShapeProbe.h"
#include "sim/lumetrix-sim/run/EventLog.h"
#include "sim/lumetrix-sim/run/ScenarioRun.h"
#include "sim/lumetrix-sim/scenario/ScenarioParser.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The children of `parent` other than `except`, oldest first (pids grow here).
std::vector<pid_t> childrenOf(pid_t parent, pid_t except)
{
    std::vector<pid_t> children;
    DIR* proc = opendir("/proc");
    while (dirent* entry = proc ? readdir(proc) : nullptr) {
        pid_t pid = std::atoi(entry->d_name);
        if (pid <= 0 || pid == except)
            continue;
        std::ifstream stat("/proc/" + std::string(entry->d_name) + "/stat");
        std::string line;
        std::getline(stat, line);
        std::size_t close = line.rfind(')');
        if (close == std::string::npos)
            continue;
        char state = 0;
        int ppid = 0;
        if (std::sscanf(line.c_str() + close + 1, " %c %d", &state, &ppid) == 2 && ppid == parent && state != 'Z')
            children.push_back(pid);
    }
    if (proc)
        closedir(proc);
    std::sort(children.begin(), children.end());
    return children;
}

class Sim_ProcessFaults : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "lumetrix-faults-XXXXXX").string();
        ASSERT_TRUE(mkdtemp(pattern.data()));
        m_folder = pattern;
        setenv("LUMETRIX_SIM_WATCHDOG", "1", 1);
    }
    void TearDown() override
    {
        unsetenv("LUMETRIX_SIM_WATCHDOG");
        if (m_helper > 0) {
            kill(m_helper, SIGKILL);
            waitpid(m_helper, nullptr, 0);
        }
        fs::remove_all(m_folder);
    }

    // After `seconds`, a helper process does `damage` with the pids of this process's
    // simulated children (the Settings app first, then SpringBoard once booted).
    void afterDelay(double seconds, std::function<void(const std::vector<pid_t>&)> damage)
    {
        pid_t runner = getpid();
        std::fflush(nullptr);
        m_helper = fork();
        if (m_helper == 0) {
            usleep(static_cast<useconds_t>(seconds * 1e6));
            damage(childrenOf(runner, getpid()));
            _exit(0);
        }
    }

    // Runs in real time; returns the failures and leaves standard error in m_errors.
    int run(const std::string& text, double* wallSeconds = nullptr)
    {
        auto scenario = sim::scenario::parseScenarioText(text, "test.scenario", m_folder);
        sim::EventLog log((m_folder / "events.jsonl").string());
        sim::RunOptions options;
        options.realtime = true;
        options.root = (m_folder / "root").string();
        auto start = std::chrono::steady_clock::now();
        testing::internal::CaptureStderr();
        int failures = sim::runScenario(scenario, options, log);
        m_errors = testing::internal::GetCapturedStderr();
        if (wallSeconds)
            *wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        return failures;
    }

    fs::path m_folder;
    pid_t m_helper = -1;
    std::string m_errors;
};

void killOldest(const std::vector<pid_t>& children, int signal)
{
    if (!children.empty())
        kill(children.front(), signal);
}

void killNewest(const std::vector<pid_t>& children, int signal)
{
    if (!children.empty())
        kill(children.back(), signal);
}

TEST_F(Sim_ProcessFaults, SettingsKilledBeforeBootIsNamedWithTheLine)
{
    afterDelay(0.3, [](auto& children) { killOldest(children, SIGKILL); });
    EXPECT_GE(run("wait 1\npref enable false\n"), 1);
    EXPECT_NE(m_errors.find("test.scenario:2: Settings stopped"), std::string::npos) << m_errors;
}

TEST_F(Sim_ProcessFaults, SettingsKilledUnderSpringBoardIsNotCalledSpringBoard)
{
    afterDelay(0.5, [](auto& children) { killOldest(children, SIGKILL); });
    EXPECT_GE(run("boot\nwait 1.5\npref enable false\n"), 1);
    EXPECT_NE(m_errors.find("test.scenario:3: Settings stopped"), std::string::npos) << m_errors;
    EXPECT_EQ(m_errors.find("SpringBoard stopped"), std::string::npos) << m_errors;
}

TEST_F(Sim_ProcessFaults, AStoppedSettingsAppTripsTheWatchdog)
{
    afterDelay(0.3, [](auto& children) { killOldest(children, SIGSTOP); });
    double seconds = 0;
    EXPECT_GE(run("wait 1\npref enable false\nwait 1\n", &seconds), 1);
    EXPECT_NE(m_errors.find("test.scenario:2: Settings gave no answer within 1 s of wall-clock time (stopped (SIGSTOP))"), std::string::npos) << m_errors;
    EXPECT_LT(seconds, 20);
}

TEST_F(Sim_ProcessFaults, AStoppedSpringBoardTripsTheWatchdog)
{
    afterDelay(0.8, [](auto& children) { killNewest(children, SIGSTOP); });
    double seconds = 0;
    EXPECT_GE(run("boot\nwait 2\nexpect globals.enable == true\n", &seconds), 1);
    EXPECT_NE(m_errors.find("test.scenario:2: SpringBoard gave no answer within 4 s of wall-clock time (stopped (SIGSTOP)); the run stops"), std::string::npos) << m_errors;
    EXPECT_LT(seconds, 30);
}

TEST_F(Sim_ProcessFaults, WritesThatCannotReachTheFileFailTheirLine)
{
    fs::path preferences = m_folder / "root/var/mobile/Library/Preferences";
    // The settings folder turns into a file while the run waits.
    afterDelay(0.3, [preferences](auto&) {
        fs::remove_all(preferences);
        std::ofstream(preferences.string()) << "not a folder";
    });
    EXPECT_EQ(run("wait 1\npref enable false\nsettings set alwaysshow true\npref-reset\n"), 3);
    EXPECT_NE(m_errors.find("test.scenario:2: expected the Settings app to enable false, got: cannot write"), std::string::npos) << m_errors;
    EXPECT_NE(m_errors.find("test.scenario:3: expected the Settings app to set alwaysshow true, got: \"Always show controls\" could not be saved"), std::string::npos) << m_errors;
    EXPECT_NE(m_errors.find("test.scenario:4: expected the Settings app to pref-reset, got: cannot write"), std::string::npos) << m_errors;
}

TEST_F(Sim_ProcessFaults, ARunEndingOnAnErrorLeavesNoTemporaryEventLog)
{
    fs::path temporary = m_folder / "tmp";
    fs::create_directories(temporary);
    std::ofstream(m_folder / "boot.scenario") << "boot\n";
    // A device root that cannot be laid out: the run ends on an error before any line.
    std::ofstream(m_folder / "not-a-folder") << "a file";
    sim::RunOptions options;
    options.root = (m_folder / "not-a-folder").string();
    const char* previous = std::getenv("TMPDIR");
    std::string kept = previous ? previous : "";
    setenv("TMPDIR", temporary.c_str(), 1);
    EXPECT_ANY_THROW(sim::runScenarioFiles({ (m_folder / "boot.scenario").string() }, options));
    if (previous)
        setenv("TMPDIR", kept.c_str(), 1);
    else
        unsetenv("TMPDIR");
    EXPECT_TRUE(fs::is_empty(temporary)) << fs::directory_iterator(temporary)->path();
}

// The probe of the dumps' shape, forked before a run, killed outright: the process that
// waited for it removes the device root it was laying out.
TEST_F(Sim_ProcessFaults, AProbeKilledOutrightLeavesNoDeviceRoot)
{
    fs::path temporary = m_folder / "tmp";
    fs::create_directories(temporary);
    const char* previous = std::getenv("TMPDIR");
    std::string kept = previous ? previous : "";
    setenv("TMPDIR", temporary.c_str(), 1);
    pid_t runner = getpid();
    std::fflush(nullptr);
    m_helper = fork();
    if (m_helper == 0) {
        // Killed once it has had a moment to start laying out its device (a probe
        // answers in a few tens of milliseconds, so the moment is short).
        for (int tries = 0; tries < 20000; ++tries) {
            auto children = childrenOf(runner, getpid());
            if (!children.empty()) {
                usleep(2000);
                kill(children.front(), SIGKILL);
                _exit(0);
            }
            usleep(500);
        }
        _exit(1);
    }
    EXPECT_THROW(sim::probeDumpShape(), std::runtime_error) << "the probe was killed before it answered";
    if (previous)
        setenv("TMPDIR", kept.c_str(), 1);
    else
        unsetenv("TMPDIR");
    EXPECT_TRUE(fs::is_empty(temporary)) << fs::directory_iterator(temporary)->path();
}

} // namespace
