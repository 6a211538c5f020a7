#pragma once
// A tiny MPRIS player for the tests, on the private bus: it answers GetAll and Get with
// whatever properties the test gives it (of any type, however large), can be told to
// answer slowly, records the methods it is called with, and can send PropertiesChanged.
// The property names are fixed when it starts; their values may change (same types).

#include "sim/lumetrix-sim/music/PlayerState.h"

#include <sdbus-c++/sdbus-c++.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace musictest {

class FakePlayer {
public:
    // Takes org.mpris.MediaPlayer2.NAME on the bus at `address`.
    FakePlayer(const std::string& address, const std::string& name, sim::PropertyMap properties);
    ~FakePlayer();

    // Every read of the metadata waits this long before answering.
    void setAnswerDelay(std::chrono::milliseconds);
    void changeProperties(const sim::PropertyMap& changed);
    // "Play", "Next", "Seek 15000000", ... in the order they came.
    std::vector<std::string> calls();
    // Gives the bus name up, as a player that quits.
    void quit();

    // A sensible playing track, to start from.
    static sim::PropertyMap playingTrack();

private:
    std::string m_name;
    std::unique_ptr<sdbus::IConnection> m_connection;
    std::unique_ptr<sdbus::IObject> m_object;
    std::mutex m_mutex;
    sim::PropertyMap m_properties;
    std::chrono::milliseconds m_delay { 0 };
    std::vector<std::string> m_calls;
    std::atomic<bool> m_stopping { false };
    std::thread m_loop;
};

} // namespace musictest
