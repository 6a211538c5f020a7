#include "FakePlayer.h"

#include <poll.h>

#include <stdexcept>
#include <thread>

namespace musictest {

namespace {
constexpr const char* kPlayer = "org.mpris.MediaPlayer2.Player";
constexpr const char* kProperties = "org.freedesktop.DBus.Properties";
// The value inside `value`, not the variant around it.
void appendValue(sdbus::Message& message, const sdbus::Variant& value)
{
    std::string type = value.peekValueType();
    if (type == "s")
        message << value.get<std::string>();
    else if (type == "b")
        message << value.get<bool>();
    else if (type == "d")
        message << value.get<double>();
    else if (type == "i")
        message << value.get<std::int32_t>();
    else if (type == "x")
        message << value.get<std::int64_t>();
    else if (type == "as")
        message << value.get<std::vector<std::string>>();
    else if (type == "a{sv}")
        message << value.get<sim::PropertyMap>();
    else
        throw std::logic_error("the fake player cannot send type " + type);
}

} // namespace

FakePlayer::FakePlayer(const std::string& address, const std::string& name, sim::PropertyMap properties)
    : m_name("org.mpris.MediaPlayer2." + name)
    , m_properties(std::move(properties))
{
    m_connection = sdbus::createSessionBusConnectionWithAddress(address);
    m_object = sdbus::createObject(*m_connection, "/org/mpris/MediaPlayer2");
    // Only the metadata is slow, so a read of every property is slow once.
    auto wait = [this] {
        std::chrono::milliseconds delay;
        {
            std::lock_guard lock(m_mutex);
            delay = m_delay;
        }
        std::this_thread::sleep_for(delay);
    };
    // sd-bus answers Get and GetAll itself from the registered properties; each getter
    // writes the value of whatever type the test gave, under that type's signature.
    for (auto& [propertyName, initial] : m_properties) {
        std::string property = propertyName;
        m_object->registerProperty(kPlayer, property, initial.peekValueType(), [this, wait, property](sdbus::PropertyGetReply& reply) {
            if (property == "Metadata")
                wait();
            std::lock_guard lock(m_mutex);
            appendValue(reply, m_properties.at(property));
        });
    }
    for (const char* method : { "Play", "Pause", "PlayPause", "Next", "Previous" }) {
        m_object->registerMethod(kPlayer, method, "", "", [this, method](sdbus::MethodCall call) {
            {
                std::lock_guard lock(m_mutex);
                m_calls.push_back(method);
            }
            call.createReply().send();
        });
    }
    m_object->registerMethod(kPlayer, "Seek", "x", "", [this](sdbus::MethodCall call) {
        std::int64_t offset;
        call >> offset;
        {
            std::lock_guard lock(m_mutex);
            m_calls.push_back("Seek " + std::to_string(offset));
        }
        call.createReply().send();
    });
    m_object->finishRegistration();
    m_connection->requestName(m_name);
    // Its own loop rather than sdbus-c++'s, so a bus that dies under it ends the loop
    // instead of the test.
    m_loop = std::thread([this] {
        try {
            while (!m_stopping) {
                while (m_connection->processPendingRequest()) { }
                auto data = m_connection->getEventLoopPollData();
                pollfd fd { data.fd, data.events, 0 };
                poll(&fd, 1, 20);
            }
        } catch (const sdbus::Error&) {
        }
    });
}

FakePlayer::~FakePlayer()
{
    m_stopping = true;
    m_loop.join();
}

void FakePlayer::setAnswerDelay(std::chrono::milliseconds delay)
{
    std::lock_guard lock(m_mutex);
    m_delay = delay;
}

void FakePlayer::changeProperties(const sim::PropertyMap& changed)
{
    {
        std::lock_guard lock(m_mutex);
        for (auto& [name, value] : changed)
            m_properties.insert_or_assign(name, value);
    }
    std::vector<std::string> names;
    for (auto& [name, value] : changed)
        names.push_back(name);
    m_object->emitPropertiesChangedSignal(kPlayer, names);
}

std::vector<std::string> FakePlayer::calls()
{
    std::lock_guard lock(m_mutex);
    return m_calls;
}

void FakePlayer::quit()
{
    m_connection->releaseName(m_name);
}

sim::PropertyMap FakePlayer::playingTrack()
{
    sim::PropertyMap metadata {
        { "xesam:title", sdbus::Variant(std::string("Daybreak")) },
        { "xesam:artist", sdbus::Variant(std::vector<std::string> { "Ana", "Bo" }) },
        { "mpris:length", sdbus::Variant(std::int64_t(90'000'000)) },
    };
    return {
        { "Metadata", sdbus::Variant(metadata) },
        { "PlaybackStatus", sdbus::Variant(std::string("Playing")) },
        { "Rate", sdbus::Variant(1.0) },
        { "Position", sdbus::Variant(std::int64_t(5'000'000)) },
        { "CanGoNext", sdbus::Variant(true) },
        { "CanGoPrevious", sdbus::Variant(true) },
        { "CanSeek", sdbus::Variant(true) },
        { "CanPlay", sdbus::Variant(true) },
        { "CanPause", sdbus::Variant(true) },
    };
}

} // namespace musictest
