#include "MprisBridge.h"

#include "CoverArt.h"

#include <sdbus-c++/sdbus-c++.h>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <set>
#include <stdexcept>

namespace sim {

namespace {

constexpr const char* kPlayerInterface = "org.mpris.MediaPlayer2.Player";
constexpr const char* kPropertiesInterface = "org.freedesktop.DBus.Properties";
constexpr const char* kPlayerPath = "/org/mpris/MediaPlayer2";
// How often the bridge looks again for a bus or a player it is waiting for.
constexpr int kRetryMilliseconds = 500;

void signalFd(int fd)
{
    std::uint64_t one = 1;
    // A full counter already wakes the reader; nothing is lost.
    [[maybe_unused]] auto written = write(fd, &one, sizeof one);
}

void drainFd(int fd)
{
    std::uint64_t count;
    [[maybe_unused]] auto read = ::read(fd, &count, sizeof count);
}

std::string describe(const sdbus::Error& error)
{
    if (error.getName() == "org.freedesktop.DBus.Error.Timeout" || error.getName() == "org.freedesktop.DBus.Error.NoReply"
        || error.getMessage().find("imed out") != std::string::npos)
        return "no answer within " + std::to_string(MprisBridge::kCallTimeout.count()) + " ms";
    std::string text = error.getName() + ": " + error.getMessage();
    return text.substr(0, 300);
}

const char* methodName(MprisBridge::Command command)
{
    switch (command) {
    case MprisBridge::Command::Play:
        return "Play";
    case MprisBridge::Command::Pause:
        return "Pause";
    case MprisBridge::Command::PlayPause:
        return "PlayPause";
    case MprisBridge::Command::Next:
        return "Next";
    case MprisBridge::Command::Previous:
        return "Previous";
    case MprisBridge::Command::Seek:
        return "Seek";
    }
    return "";
}

} // namespace

// Runs on the bridge thread only; the signal handlers it registers run inside
// processPendingRequest, on the same thread, and only note what arrived: the calls that
// follow are made after dispatch, never from inside it.
class MprisBridge::Worker {
public:
    explicit Worker(MprisBridge& bridge)
        : m_bridge(bridge)
    {
    }

    void run()
    {
        while (!stopping()) {
            if (!m_connection && !connect()) {
                waitForCommands(kRetryMilliseconds);
                continue;
            }
            try {
                if (!m_player)
                    findPlayer();
                while (m_connection->processPendingRequest()) { }
                handleArrivals();
                runCommands();
                flush();
                waitForBus();
            } catch (const sdbus::Error& error) {
                busLost(describe(error));
            }
        }
        flush();
    }

private:
    bool stopping()
    {
        std::lock_guard lock(m_bridge.m_mutex);
        return m_bridge.m_stopping;
    }

    void say(std::string text) { m_messages.push_back(std::move(text)); }
    // A player's problem is said once while it is followed: a player that keeps sending
    // the same bad value costs one line, not one a second.
    void sayOnce(const std::string& text)
    {
        if (m_said.insert(text).second)
            say(text);
    }

    bool connect()
    {
        try {
            m_connection = sdbus::createSessionBusConnection();
            m_busProxy = sdbus::createProxy(*m_connection, "org.freedesktop.DBus", "/org/freedesktop/DBus");
            m_busProxy->registerSignalHandler("org.freedesktop.DBus", "NameOwnerChanged", [this](sdbus::Signal& signal) {
                try {
                    std::string name, oldOwner, newOwner;
                    signal >> name >> oldOwner >> newOwner;
                    if (name.rfind(kMprisBusNamePrefix, 0) == 0)
                        m_namesChanged = true;
                } catch (const sdbus::Error&) {
                }
            });
            m_busProxy->finishRegistration();
            m_waitingForBusSaid = false;
            return true;
        } catch (const sdbus::Error& error) {
            m_busProxy.reset();
            m_connection.reset();
            if (!m_waitingForBusSaid) {
                const char* address = getenv("DBUS_SESSION_BUS_ADDRESS");
                say("no session bus to find the player on (DBUS_SESSION_BUS_ADDRESS=" + std::string(address ? address : "unset") + "): "
                    + describe(error) + "; trying again");
                m_waitingForBusSaid = true;
                flush();
            }
            return false;
        }
    }

    void busLost(const std::string& why)
    {
        say("the session bus went away (" + why + "); the phone keeps the last state it had");
        m_player.reset();
        m_busProxy.reset();
        m_connection.reset();
        m_busName.clear();
        m_waitingForBusSaid = true;
        flush();
        waitForCommands(kRetryMilliseconds);
    }

    void findPlayer()
    {
        std::vector<std::string> names;
        m_busProxy->callMethod("ListNames").onInterface("org.freedesktop.DBus").withTimeout(kCallTimeout).storeResultsTo(names);
        std::string wanted = m_bridge.m_option.busName();
        std::vector<std::string> players;
        for (auto& name : names) {
            if (m_bridge.m_option.playerName ? name == wanted : name.rfind(kMprisBusNamePrefix, 0) == 0)
                players.push_back(name);
        }
        if (players.empty()) {
            if (!m_waitingSaid) {
                say(m_bridge.m_option.playerName ? "waiting for the player " + wanted + " on the session bus"
                                                 : std::string("waiting for an MPRIS player on the session bus"));
                m_waitingSaid = true;
            }
            return;
        }
        std::sort(players.begin(), players.end());
        attach(players.front());
    }

    void attach(const std::string& busName)
    {
        m_busName = busName;
        m_said.clear();
        m_waitingSaid = false;
        m_state = PlayerState {};
        m_loadedArtUrl.reset();
        m_player = sdbus::createProxy(*m_connection, busName, kPlayerPath);
        m_player->registerSignalHandler(kPropertiesInterface, "PropertiesChanged", [this](sdbus::Signal& signal) {
            try {
                std::string interface;
                PropertyMap changed;
                std::vector<std::string> invalidated;
                signal >> interface >> changed >> invalidated;
                if (interface != kPlayerInterface)
                    return;
                for (auto& [name, value] : changed)
                    m_changed.insert_or_assign(name, value);
                if (!invalidated.empty())
                    m_refreshAll = true;
            } catch (const sdbus::Error&) {
                sayOnce("the player sent PropertiesChanged with the wrong types: ignored");
            }
        });
        m_player->registerSignalHandler(kPlayerInterface, "Seeked", [this](sdbus::Signal& signal) {
            try {
                std::int64_t position;
                signal >> position;
                m_seekedTo = std::max<double>(0, position / 1e6);
            } catch (const sdbus::Error&) {
                sayOnce("the player sent Seeked with the wrong type: its position is read instead");
                m_readPosition = true;
            }
        });
        m_player->finishRegistration();
        say("following the player " + busName);
        if (!readAll()) {
            // Followed all the same: what it sends from now on still counts.
        }
        postState();
    }

    void detach(const std::string& why)
    {
        say("the player " + m_busName + " " + why + "; nothing is playing");
        m_player.reset();
        m_busName.clear();
        m_changed.clear();
        m_refreshAll = m_readPosition = false;
        m_seekedTo.reset();
        Update update;
        update.hasState = true;
        post(std::move(update));
    }

    bool readAll()
    {
        PropertyMap properties;
        try {
            m_player->callMethod("GetAll").onInterface(kPropertiesInterface).withTimeout(kCallTimeout).withArguments(std::string(kPlayerInterface)).storeResultsTo(properties);
        } catch (const sdbus::Error& error) {
            sayOnce("the player's properties could not be read: " + describe(error));
            return false;
        }
        double readAt = steadyNow();
        std::vector<std::string> problems;
        PlayerState fresh = m_state;
        applyPlayerProperties(fresh, properties, problems);
        if (properties.count("Position"))
            fresh.positionReadAt = readAt;
        for (auto& problem : problems)
            sayOnce(problem);
        m_state = std::move(fresh);
        loadArt();
        return true;
    }

    void readPosition()
    {
        sdbus::Variant value;
        try {
            m_player->callMethod("Get").onInterface(kPropertiesInterface).withTimeout(kCallTimeout).withArguments(std::string(kPlayerInterface), std::string("Position")).storeResultsTo(value);
        } catch (const sdbus::Error& error) {
            sayOnce("the player's position could not be read: " + describe(error));
            return;
        }
        double readAt = steadyNow();
        auto position = microsecondsToSeconds(value);
        if (!position) {
            sayOnce("Position is not a count of microseconds (type " + value.peekValueType() + "): ignored");
            return;
        }
        m_state.position = std::max(0.0, *position);
        m_state.positionReadAt = readAt;
    }

    void loadArt()
    {
        if (m_state.artUrl == m_loadedArtUrl)
            return;
        m_loadedArtUrl = m_state.artUrl;
        m_state.art.reset();
        if (!m_state.artUrl || m_state.artUrl->empty())
            return;
        CoverArt art = loadCoverArt(*m_state.artUrl);
        if (art.bytes)
            m_state.art = std::move(art.bytes);
        else
            sayOnce(art.problem);
    }

    void handleArrivals()
    {
        if (std::exchange(m_namesChanged, false)) {
            if (m_player && !nameHasOwner(m_busName))
                detach("went away");
            if (!m_player)
                findPlayer();
        }
        if (!m_player)
            return;
        bool changed = false;
        if (std::exchange(m_refreshAll, false)) {
            m_changed.clear();
            readAll();
            changed = true;
        }
        if (!m_changed.empty()) {
            PropertyMap properties = std::exchange(m_changed, {});
            std::vector<std::string> problems;
            PlayerState before = m_state;
            applyPlayerProperties(m_state, properties, problems);
            for (auto& problem : problems)
                sayOnce(problem);
            loadArt();
            // Position is never signalled: read it whenever anything else changes, so the
            // sample and the new state belong together.
            if (!properties.count("Position"))
                m_readPosition = true;
            else
                m_state.positionReadAt = steadyNow();
            changed = changed || !(before == m_state) || m_readPosition;
        }
        if (auto seeked = std::exchange(m_seekedTo, std::nullopt)) {
            m_state.position = *seeked;
            m_state.positionReadAt = steadyNow();
            changed = true;
        }
        if (std::exchange(m_readPosition, false)) {
            readPosition();
            changed = true;
        }
        if (changed)
            postState();
    }

    bool nameHasOwner(const std::string& name)
    {
        bool hasOwner = false;
        m_busProxy->callMethod("NameHasOwner").onInterface("org.freedesktop.DBus").withTimeout(kCallTimeout).withArguments(name).storeResultsTo(hasOwner);
        return hasOwner;
    }

    void runCommands()
    {
        std::deque<PendingCommand> commands;
        {
            std::lock_guard lock(m_bridge.m_mutex);
            commands.swap(m_bridge.m_commands);
        }
        for (auto& pending : commands) {
            const char* method = methodName(pending.command);
            if (!m_player) {
                say(std::string("no player to send ") + method + " to");
                continue;
            }
            if (auto refusal = refusalFor(pending.command)) {
                say("the player says it cannot " + *refusal + ": " + method + " not sent");
                continue;
            }
            try {
                auto call = m_player->createMethodCall(kPlayerInterface, method);
                if (pending.command == Command::Seek)
                    call << pending.seekMicroseconds;
                m_player->callMethod(call, std::chrono::duration_cast<std::chrono::microseconds>(kCallTimeout).count());
            } catch (const sdbus::Error& error) {
                say(std::string("the player did not take ") + method + ": " + describe(error));
            }
        }
    }

    std::optional<std::string> refusalFor(Command command) const
    {
        switch (command) {
        case Command::Play:
            return m_state.canPlay ? std::nullopt : std::optional<std::string>("play (CanPlay is false)");
        case Command::Pause:
        case Command::PlayPause:
            return m_state.canPause || (command == Command::PlayPause && m_state.canPlay) ? std::nullopt : std::optional<std::string>("pause (CanPause is false)");
        case Command::Next:
            return m_state.canGoNext ? std::nullopt : std::optional<std::string>("go to the next track (CanGoNext is false)");
        case Command::Previous:
            return m_state.canGoPrevious ? std::nullopt : std::optional<std::string>("go to the previous track (CanGoPrevious is false)");
        case Command::Seek:
            return m_state.canSeek ? std::nullopt : std::optional<std::string>("seek (CanSeek is false)");
        }
        return std::nullopt;
    }

    void postState()
    {
        Update update;
        update.hasState = true;
        update.player = m_state;
        update.busName = m_busName;
        post(std::move(update));
    }

    void post(Update update)
    {
        update.messages = std::exchange(m_messages, {});
        m_bridge.post(std::move(update));
    }

    void flush()
    {
        if (!m_messages.empty())
            post(Update {});
    }

    void waitForCommands(int milliseconds)
    {
        pollfd fd { m_bridge.m_commandFd, POLLIN, 0 };
        if (poll(&fd, 1, milliseconds) > 0)
            drainFd(m_bridge.m_commandFd);
    }

    void waitForBus()
    {
        auto data = m_connection->getEventLoopPollData();
        int timeout = m_player ? -1 : kRetryMilliseconds;
        if (data.timeout_usec != UINT64_MAX) {
            timespec now;
            clock_gettime(CLOCK_MONOTONIC, &now);
            std::uint64_t nowUsec = static_cast<std::uint64_t>(now.tv_sec) * 1'000'000 + static_cast<std::uint64_t>(now.tv_nsec) / 1000;
            int until = data.timeout_usec > nowUsec ? static_cast<int>(std::min<std::uint64_t>((data.timeout_usec - nowUsec + 999) / 1000, 60'000)) : 0;
            timeout = timeout < 0 ? until : std::min(timeout, until);
        }
        pollfd fds[2] = { { data.fd, data.events, 0 }, { m_bridge.m_commandFd, POLLIN, 0 } };
        if (poll(fds, 2, timeout) > 0 && (fds[1].revents & POLLIN))
            drainFd(m_bridge.m_commandFd);
    }

    MprisBridge& m_bridge;
    std::unique_ptr<sdbus::IConnection> m_connection;
    std::unique_ptr<sdbus::IProxy> m_busProxy;
    std::unique_ptr<sdbus::IProxy> m_player;
    std::string m_busName;
    PlayerState m_state;
    std::optional<std::string> m_loadedArtUrl;
    std::vector<std::string> m_messages;
    std::set<std::string> m_said;
    bool m_waitingSaid = false;
    bool m_waitingForBusSaid = false;

    // What the signal handlers noted, acted on after dispatch.
    bool m_namesChanged = false;
    PropertyMap m_changed;
    bool m_refreshAll = false;
    bool m_readPosition = false;
    std::optional<double> m_seekedTo;
};

MprisBridge::MprisBridge(MusicOption option)
    : m_option(std::move(option))
{
    m_wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    m_commandFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_wakeFd < 0 || m_commandFd < 0)
        throw std::runtime_error("cannot make the music bridge's wake-up descriptors");
    m_thread = std::thread([this] { Worker(*this).run(); });
}

MprisBridge::~MprisBridge()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    signalFd(m_commandFd);
    m_thread.join();
    close(m_wakeFd);
    close(m_commandFd);
}

std::vector<MprisBridge::Update> MprisBridge::takeUpdates()
{
    std::lock_guard lock(m_mutex);
    drainFd(m_wakeFd);
    return std::exchange(m_updates, {});
}

void MprisBridge::send(Command command, std::int64_t seekMicroseconds)
{
    {
        std::lock_guard lock(m_mutex);
        m_commands.push_back({ command, seekMicroseconds });
    }
    signalFd(m_commandFd);
}

double MprisBridge::steadyNow()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void MprisBridge::post(Update update)
{
    {
        std::lock_guard lock(m_mutex);
        m_updates.push_back(std::move(update));
    }
    signalFd(m_wakeFd);
}

} // namespace sim
