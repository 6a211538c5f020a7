#include "PhoneLink.h"

#include "PhoneKeeper.h"

#include "sim/lumetrix-sim/run/LineChannel.h"
#include "sim/lumetrix-sim/run/SimulatedProcess.h"

#include "Platform/ScratchFolder.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <stdexcept>

namespace sim {

namespace {

// How often the readers look whether the server is stopping.
constexpr double kReaderPatience = 0.1;

} // namespace

PhoneLink::PhoneLink(LivePhoneSetup setup, PhoneState& state)
    : m_state(state)
{
    m_controls = LiveControls::makeShared();
    if (!setup.run.root) {
        std::string pattern = (std::filesystem::path(platform::scratchFolder()) / "lumetrix-phone-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a folder for the phone's device roots");
        m_temporaryRoots = pattern;
        setup.run.temporaryRootsFolder = pattern;
    }
    int requests[2];
    int reports[2];
    int errors[2];
    if (pipe2(requests, O_CLOEXEC) != 0 || pipe2(reports, O_CLOEXEC) != 0 || pipe2(errors, O_CLOEXEC) != 0)
        throw std::runtime_error("cannot make the pipes to the phone");
    // Room for a few frames, so a burst of them does not wait for the reader.
    fcntl(reports[1], F_SETPIPE_SZ, 1 << 20);
    std::fflush(nullptr);
    pid_t pid = forkSimulatedProcess();
    if (pid < 0)
        throw std::runtime_error("cannot start the phone");
    if (pid == 0) {
        close(requests[1]);
        close(reports[0]);
        close(errors[0]);
        dup2(errors[1], STDERR_FILENO);
        close(errors[1]);
        setup.requestFd = requests[0];
        setup.reportFd = reports[1];
        setup.controls = m_controls;
        keepLivePhones(setup);
    }
    close(requests[0]);
    close(reports[1]);
    close(errors[1]);
    m_keeper = pid;
    m_requestFd = requests[1];
    m_reportFd = reports[0];
    m_errorFd = errors[0];
}

PhoneLink::~PhoneLink()
{
    shutDown();
}

void PhoneLink::startReading()
{
    m_reader = std::thread([this] { readReports(); });
    m_errorReader = std::thread([this] { readErrors(); });
}

void PhoneLink::readReports()
{
    LineChannel reports(m_reportFd, -1);
    while (!m_stopping) {
        std::optional<nlohmann::json> report;
        bool timedOut = false;
        try {
            report = reports.receiveWithin(kReaderPatience, timedOut);
        } catch (const std::exception&) {
            continue; // a garbled line: the next one stands on its own
        }
        if (timedOut)
            continue;
        if (!report)
            break;
        if (report->contains("device-process")) {
            m_device = (*report)["device-process"].get<pid_t>();
            continue;
        }
        m_state.apply(*report);
    }
}

void PhoneLink::readErrors()
{
    std::string pending;
    while (!m_stopping) {
        pollfd polled { m_errorFd, POLLIN, 0 };
        int ready = poll(&polled, 1, static_cast<int>(kReaderPatience * 1000));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            continue;
        char buffer[4096];
        ssize_t count = read(m_errorFd, buffer, sizeof(buffer));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            break;
        // The terminal sees everything, as before; the page gets whole lines.
        fwrite(buffer, 1, static_cast<std::size_t>(count), stderr);
        pending.append(buffer, static_cast<std::size_t>(count));
        for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
            m_state.phoneSaid(pending.substr(0, end));
            pending.erase(0, end + 1);
        }
        if (pending.size() > 4096)
            pending.clear();
    }
}

bool PhoneLink::send(const nlohmann::json& request)
{
    std::lock_guard lock(m_sending);
    if (m_requestFd < 0)
        return false;
    try {
        LineChannel(-1, m_requestFd).send(request);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

int PhoneLink::shutDown(std::chrono::milliseconds patience)
{
    {
        std::lock_guard lock(m_sending);
        if (m_requestFd >= 0)
            close(m_requestFd);
        m_requestFd = -1;
    }
    int status = 0;
    if (m_keeper > 0) {
        auto deadline = std::chrono::steady_clock::now() + patience;
        pid_t ended = 0;
        while ((ended = waitpid(m_keeper, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (ended == 0) {
            // A phone that does not finish in time is stopped, all of it.
            if (m_device > 0)
                kill(-m_device, SIGKILL);
            kill(m_keeper, SIGKILL);
            waitpid(m_keeper, &status, 0);
        }
        forgetProcess(m_keeper);
        m_keeper = -1;
    }
    if (!m_temporaryRoots.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_temporaryRoots, ignored);
        m_temporaryRoots.clear();
    }
    m_stopping = true;
    if (m_reader.joinable())
        m_reader.join();
    if (m_errorReader.joinable())
        m_errorReader.join();
    for (int* fd : { &m_reportFd, &m_errorFd }) {
        if (*fd >= 0)
            close(*fd);
        *fd = -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

} // namespace sim
