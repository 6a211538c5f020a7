#pragma once
// The server's end of the live phone: forks the keeper of the device processes (before
// the server has any thread, so the simulator's own forks start from a one-thread
// process), sends it requests, and reads its reports into PhoneState on a thread of its
// own. What the phone's processes print on standard error passes through the server to
// the terminal, and the page is told the last of it when the phone stops.

#include "LivePhoneProcess.h"
#include "PhoneState.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <sys/types.h>
#include <thread>

namespace sim {

class PhoneLink {
public:
    // Forks the keeper; `setup`'s descriptors and controls are filled in here.
    PhoneLink(LivePhoneSetup setup, PhoneState&);
    ~PhoneLink();
    PhoneLink(const PhoneLink&) = delete;
    PhoneLink& operator=(const PhoneLink&) = delete;

    // Starts reading reports (call once the fork is done with).
    void startReading();
    // One request; false when the phone has gone.
    bool send(const nlohmann::json&);
    LiveControls& controls() { return *m_controls; }

    // Closes the request pipe, so the phone finishes and its processes quit; what has not
    // quit within `patience` is killed. The exit status of the keeper (0: all quit).
    int shutDown(std::chrono::milliseconds patience = std::chrono::milliseconds(1200));

private:
    void readReports();
    void readErrors();

    PhoneState& m_state;
    LiveControls* m_controls = nullptr;
    pid_t m_keeper = -1;
    // Where the phone's temporary device roots go: what a killed device process leaves
    // there is removed by the keeper, and the folder itself once the keeper is gone.
    std::filesystem::path m_temporaryRoots;
    std::atomic<pid_t> m_device { -1 };
    int m_requestFd = -1;
    int m_reportFd = -1;
    int m_errorFd = -1;
    std::atomic<bool> m_stopping { false };
    std::mutex m_sending;
    std::thread m_reader;
    std::thread m_errorReader;
};

} // namespace sim
