#pragma once
// The server's end of the live phone: forks the device process (before the server has
// any thread, so the simulator's own forks start from a one-thread process), sends it
// requests, and reads its reports into PhoneState on a thread of its own.

#include "LivePhoneProcess.h"
#include "PhoneState.h"

#include <mutex>
#include <sys/types.h>
#include <thread>

namespace sim {

class PhoneLink {
public:
    // Forks the device process; `setup`'s descriptors and controls are filled in here.
    PhoneLink(LivePhoneSetup setup, PhoneState&);
    ~PhoneLink();
    PhoneLink(const PhoneLink&) = delete;
    PhoneLink& operator=(const PhoneLink&) = delete;

    // Starts reading reports (call once the fork is done with).
    void startReading();
    // One request; false when the phone has gone.
    bool send(const nlohmann::json&);
    LiveControls& controls() { return *m_controls; }

    // Closes the request pipe, so the phone finishes and its processes quit; waits for
    // them. The exit status of the device process.
    int shutDown();

private:
    PhoneState& m_state;
    LiveControls* m_controls = nullptr;
    pid_t m_device = -1;
    int m_requestFd = -1;
    int m_reportFd = -1;
    std::mutex m_sending;
    std::thread m_reader;
};

} // namespace sim
