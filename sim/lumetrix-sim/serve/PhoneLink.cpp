#include "PhoneLink.h"

#include "sim/lumetrix-sim/run/LineChannel.h"
#include "sim/lumetrix-sim/run/SimulatedProcess.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>

namespace sim {

PhoneLink::PhoneLink(LivePhoneSetup setup, PhoneState& state)
    : m_state(state)
{
    m_controls = LiveControls::makeShared();
    int requests[2];
    int reports[2];
    if (pipe2(requests, O_CLOEXEC) != 0 || pipe2(reports, O_CLOEXEC) != 0)
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
        setup.requestFd = requests[0];
        setup.reportFd = reports[1];
        setup.controls = m_controls;
        runLivePhoneProcess(setup);
    }
    close(requests[0]);
    close(reports[1]);
    m_device = pid;
    m_requestFd = requests[1];
    m_reportFd = reports[0];
}

PhoneLink::~PhoneLink()
{
    shutDown();
}

void PhoneLink::startReading()
{
    m_reader = std::thread([this] {
        LineChannel reports(m_reportFd, -1);
        for (;;) {
            std::optional<nlohmann::json> report;
            try {
                report = reports.receive();
            } catch (const std::exception&) {
                continue; // a garbled line: the next one stands on its own
            }
            if (!report)
                break;
            m_state.apply(*report);
        }
    });
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

int PhoneLink::shutDown()
{
    {
        std::lock_guard lock(m_sending);
        if (m_requestFd >= 0)
            close(m_requestFd);
        m_requestFd = -1;
    }
    int status = 0;
    if (m_device > 0) {
        waitpid(m_device, &status, 0);
        forgetProcess(m_device);
        m_device = -1;
    }
    if (m_reader.joinable())
        m_reader.join();
    if (m_reportFd >= 0)
        close(m_reportFd);
    m_reportFd = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

} // namespace sim
