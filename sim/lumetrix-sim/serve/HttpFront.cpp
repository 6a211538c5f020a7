#include "HttpFront.h"

#include "PageAssets.h"
#include "PageLine.h"

#include "UIKit/UIDeviceProfile.h"

#include <chrono>
#include <map>

using nlohmann::json;
using namespace std::chrono_literals;

namespace sim {

namespace {

void answer(httplib::Response& response, int status, const json& body)
{
    response.status = status;
    response.set_content(body.dump(-1, ' ', false, json::error_handler_t::replace), "application/json");
}

std::string trimmed(std::string text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text;
}

std::string sseEvent(const char* name, const json& data)
{
    return std::string("event: ") + name + "\ndata: " + data.dump(-1, ' ', false, json::error_handler_t::replace) + "\n\n";
}

} // namespace

HttpFront::HttpFront(PhoneState& state, PhoneLink& link, std::filesystem::path outputFolder)
    : m_state(state)
    , m_link(link)
    , m_outputFolder(std::move(outputFolder))
{
    // Enough workers for the page's streams and requests; each stream keeps one.
    m_server.new_task_queue = [] { return new httplib::ThreadPool(12); };
    m_server.set_payload_max_length(kMaximumBody);
    m_server.set_read_timeout(5s);
    m_server.set_write_timeout(5s);
    m_server.set_keep_alive_max_count(100);
    route();
}

int HttpFront::bind(const std::string& host, int port)
{
    int bound = port;
    if (port == 0)
        bound = m_server.bind_to_any_port(host);
    else if (!m_server.bind_to_port(host, port))
        bound = -1;
    if (bound > 0)
        m_guard.emplace(host, bound);
    return bound;
}

void HttpFront::serve()
{
    m_server.listen_after_bind();
}

void HttpFront::stop()
{
    m_server.stop();
}

bool HttpFront::flushRecording()
{
    int id = m_state.newRequestId();
    if (!m_link.send({ { "flush", id } }))
        return false;
    return m_state.waitForOutcome(id, 5s).has_value();
}

void HttpFront::route()
{
    m_server.set_pre_routing_handler([this](const httplib::Request& request, httplib::Response& response) {
        auto refusal = m_guard->refusal(request.get_header_value("Host"), request.get_header_value("Origin"),
            request.get_header_value("Sec-Fetch-Site"));
        if (!refusal)
            return httplib::Server::HandlerResponse::Unhandled;
        answer(response, 403, { { "error", *refusal } });
        return httplib::Server::HandlerResponse::Handled;
    });
    m_server.set_post_routing_handler([](const httplib::Request&, httplib::Response& response) {
        response.set_header("X-Content-Type-Options", "nosniff");
        response.set_header("X-Frame-Options", "DENY");
        response.set_header("Referrer-Policy", "no-referrer");
        response.set_header("Content-Security-Policy", "default-src 'self'; img-src 'self' data:; frame-ancestors 'none'");
        if (!response.has_header("Cache-Control"))
            response.set_header("Cache-Control", "no-store");
    });

    for (const char* path : { "/", "/page.js", "/page.css" }) {
        m_server.Get(path, [](const httplib::Request& request, httplib::Response& response) {
            PageAsset asset = pageAsset(request.path);
            response.set_content(std::string(asset.content), std::string(asset.type) + "; charset=utf-8");
        });
    }
    m_server.Get("/events", [this](const httplib::Request& request, httplib::Response& response) { streamEvents(request, response); });
    m_server.Get("/frame", [this](const httplib::Request&, httplib::Response& response) {
        auto frame = m_state.frame();
        if (!frame) {
            answer(response, 404, { { "error", "no frame yet: the phone is starting" } });
            return;
        }
        response.set_header("X-Frame-Number", std::to_string(frame->number));
        response.set_content(*frame->image, frame->type);
    });
    m_server.Get("/api/status", [this](const httplib::Request&, httplib::Response& response) {
        answer(response, 200, m_state.status());
    });
    m_server.Get("/api/inspect", [this](const httplib::Request&, httplib::Response& response) {
        auto inspection = m_state.inspection();
        if (!inspection) {
            answer(response, 404, { { "error", "no frame yet: the phone is starting" } });
            return;
        }
        response.set_content(*inspection, "application/json");
    });
    m_server.Get("/api/log", [this](const httplib::Request& request, httplib::Response& response) {
        std::size_t since = 0;
        try {
            since = request.has_param("since") ? std::stoul(request.get_param_value("since")) : 0;
        } catch (const std::exception&) {
            answer(response, 400, { { "error", "expected since=N (a whole number)" } });
            return;
        }
        answer(response, 200, m_state.logSince(since));
    });
    m_server.Get(R"(/api/artwork/(\d{1,6}))", [this](const httplib::Request& request, httplib::Response& response) {
        auto artwork = m_state.artwork(std::stoul(request.matches[1].str()));
        if (!artwork) {
            answer(response, 404, { { "error", "no artwork for that track" } });
            return;
        }
        response.set_header("Cache-Control", "max-age=3600");
        response.set_content(*artwork->second, artwork->first);
    });
    m_server.Get("/api/recording", [this](const httplib::Request&, httplib::Response& response) {
        // The time since the last line belongs in the file too.
        flushRecording();
        response.set_header("Content-Disposition", "attachment; filename=\"lumetrix-session.scenario\"");
        response.set_content(m_state.recordingText(), "text/plain; charset=utf-8");
    });

    m_server.Post("/api/action", [this](const httplib::Request& request, httplib::Response& response) { postAction(request, response); });
    m_server.Post("/api/clock", [this](const httplib::Request& request, httplib::Response& response) {
        std::string body = trimmed(request.body);
        static const std::map<std::string, double> speeds { { "pause", 0 }, { "1", 1 }, { "10", 10 }, { "60", 60 } };
        auto known = speeds.find(body);
        if (known == speeds.end()) {
            answer(response, 400, { { "error", "expected pause, 1, 10 or 60, got " + body } });
            return;
        }
        double speed = known->second;
        m_link.controls().setSpeed(speed);
        m_state.setSpeed(speed);
        answer(response, 200, { { "speed", speed } });
    });
    m_server.Post("/api/device", [this](const httplib::Request& request, httplib::Response& response) {
        std::string name = trimmed(request.body);
        auto* profile = UIDeviceProfile::named(name);
        if (!profile) {
            answer(response, 400, { { "error", "expected a device name (see lumetrix-sim devices), got " + name } });
            return;
        }
        m_state.markRestarting();
        if (!m_link.send({ { "end", true } }) || !m_link.send({ { "start", { { "device", profile->name } } } })) {
            answer(response, 503, { { "error", "the phone has gone" } });
            return;
        }
        answer(response, 202, { { "device", profile->name } });
    });
    m_server.Post("/api/record", [this](const httplib::Request& request, httplib::Response& response) {
        std::string body = trimmed(request.body);
        if (body != "start" && body != "stop") {
            answer(response, 400, { { "error", "expected start or stop, got " + body } });
            return;
        }
        if (!flushRecording()) {
            answer(response, 503, { { "error", "the phone did not answer" } });
            return;
        }
        if (body == "start")
            m_state.startRecording();
        else
            m_state.stopRecording();
        answer(response, 200, m_state.status()["recording"]);
    });
}

void HttpFront::postAction(const httplib::Request& request, httplib::Response& response)
{
    std::string line = trimmed(request.body);
    try {
        readPageLine(line, m_outputFolder, 0);
    } catch (const PageLineRefused& refused) {
        answer(response, 400, { { "error", refused.what() }, { "line", line } });
        return;
    }
    if (!m_state.isLive()) {
        answer(response, 409, { { "error", "the phone is not running yet (starting or restarting)" } });
        return;
    }
    // Lines queue behind a long `wait`; a page that keeps sending is told to wait.
    if (m_linesInFlight.load() >= 16) {
        answer(response, 503, { { "error", "too many lines waiting for the phone" } });
        return;
    }
    ++m_linesInFlight;
    int id = m_state.newRequestId();
    bool sent = m_link.send({ { "line", line }, { "id", id } });
    auto outcome = sent ? m_state.waitForOutcome(id, 10s) : std::nullopt;
    --m_linesInFlight;
    if (!sent)
        answer(response, 503, { { "error", "the phone has gone" } });
    else if (!outcome)
        answer(response, 202, { { "id", id }, { "line", line }, { "queued", true } });
    else if (outcome->contains("error"))
        answer(response, 400, *outcome);
    else
        answer(response, 200, *outcome);
}

void HttpFront::streamEvents(const httplib::Request&, httplib::Response& response)
{
    if (++m_streams > kMaximumStreams) {
        --m_streams;
        answer(response, 503, { { "error", "too many event streams open" } });
        return;
    }
    struct Stream {
        PhoneState::Versions known;
        bool first = true;
    };
    auto stream = std::make_shared<Stream>();
    response.set_chunked_content_provider(
        "text/event-stream",
        [this, stream](std::size_t, httplib::DataSink& sink) {
        // Short waits, so a server asked to stop is not held up by an idle stream.
        PhoneState::Versions now = stream->first ? m_state.versions() : m_state.waitForChange(stream->known, 1s);
        std::string out;
        if (stream->first || now.status != stream->known.status)
            out += sseEvent("status", m_state.status());
        if ((stream->first || now.frame != stream->known.frame) && now.frame > 0) {
            auto frame = m_state.frame();
            out += sseEvent("frame", { { "n", frame ? frame->number : 0 }, { "t", frame ? frame->time : 0 } });
        }
        if (stream->first || now.log != stream->known.log)
            out += sseEvent("log", { { "version", now.log } });
        if (out.empty())
            out = ": still here\n\n";
        stream->first = false;
        stream->known = now;
        return sink.write(out.data(), out.size());
    },
        [this](bool) { --m_streams; });
}

} // namespace sim
