#pragma once
// The bridge to a desktop player: a thread of its own that owns the D-Bus connection,
// finds the player, keeps a PlayerState from its properties and signals, and carries
// commands to it. SpringBoard's thread never touches the bus: it reads what the bridge
// has posted (updates()) when wakeFd() turns readable, and posts commands (send()),
// which return at once.
//
// Every call to the bus gives up after kCallTimeout; a player that does not answer,
// lies about types or goes away costs a message, and the last state stays.

#include "MusicOption.h"
#include "PlayerState.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace sim {

class MprisBridge {
public:
    static constexpr std::chrono::milliseconds kCallTimeout { 100 };

    enum class Command {
        Play,
        Pause,
        PlayPause,
        Next,
        Previous,
        Seek
    };

    struct Update {
        // Set when this update carries the player's state: `player` empty means no
        // player is followed now (it went away). Unset: messages only.
        bool hasState = false;
        std::optional<PlayerState> player;
        // The bus name followed, with a state.
        std::string busName;
        // Sentences for the log.
        std::vector<std::string> messages;
    };

    // Starts the thread; it connects to the session bus of DBUS_SESSION_BUS_ADDRESS.
    explicit MprisBridge(MusicOption);
    // Stops the thread (within one call timeout) and closes the connection.
    ~MprisBridge();
    MprisBridge(const MprisBridge&) = delete;
    MprisBridge& operator=(const MprisBridge&) = delete;

    // Readable while updates wait; takeUpdates() empties it.
    int wakeFd() const { return m_wakeFd; }
    std::vector<Update> takeUpdates();

    // `seekMicroseconds` only for Seek. Never waits for the bus.
    void send(Command, std::int64_t seekMicroseconds = 0);

    // Steady-clock seconds, the clock PlayerState::positionReadAt is in.
    static double steadyNow();

private:
    struct PendingCommand {
        Command command;
        std::int64_t seekMicroseconds;
    };
    class Worker;

    void post(Update);

    MusicOption m_option;
    int m_wakeFd = -1;
    int m_commandFd = -1;
    std::mutex m_mutex;
    std::vector<Update> m_updates;
    std::deque<PendingCommand> m_commands;
    bool m_stopping = false;
    std::thread m_thread;
};

} // namespace sim
