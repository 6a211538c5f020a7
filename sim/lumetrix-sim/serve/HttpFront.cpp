#include "HttpFront.h"

#include "PageAssets.h"
#include "PageLine.h"

#include "UIKit/UIDeviceProfile.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
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

std::string errorInWords(int status)
{
    switch (status) {
    case 400:
        return "the request is malformed";
    case 404:
        return "nothing here";
    case 413:
        return "the request is too large (at most " + std::to_string(HttpFront::kMaximumBody) + " bytes)";
    case 414:
        return "the address is too long";
    default:
        return "HTTP " + std::to_string(status);
    }
}

// Whether binding failed because something listens there already.
bool portInUse(const std::string& host, int port)
{
    addrinfo hints {};
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0)
        return false;
    bool inUse = false;
    for (addrinfo* address = found; address && !inUse; address = address->ai_next) {
        int probe = socket(address->ai_family, address->ai_socktype, address->ai_protocol);
        if (probe < 0)
            continue;
        int yes = 1;
        setsockopt(probe, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
        inUse = ::bind(probe, address->ai_addr, address->ai_addrlen) != 0 && errno == EADDRINUSE;
        ::close(probe);
    }
    freeaddrinfo(found);
    return inUse;
}

std::string frameEvent(const PhoneState::Frame& frame)
{
    // Built by hand: the image is large, and base64 needs no escaping.
    json header = { { "n", frame.number }, { "t", frame.time }, { "type", frame.type } };
    std::string text = header.dump(-1, ' ', false, json::error_handler_t::replace);
    text.pop_back();
    return "event: frame\ndata: " + text + ",\"image\":\"" + *frame.base64 + "\"}\n\n";
}

std::string pieceEvent(const PhoneState::Piece& piece)
{
    json header = { { "n", piece.frame.number }, { "t", piece.frame.time }, { "type", piece.frame.type }, { "x", piece.x }, { "y", piece.y },
        { "width", piece.width }, { "height", piece.height } };
    std::string text = header.dump(-1, ' ', false, json::error_handler_t::replace);
    text.pop_back();
    return "event: piece\ndata: " + text + ",\"image\":\"" + *piece.frame.base64 + "\"}\n\n";
}

} // namespace

HttpFront::HttpFront(PhoneState& state, PhoneLink& link, std::filesystem::path outputFolder)
    : m_state(state)
    , m_link(link)
    , m_outputFolder(std::move(outputFolder))
{
    m_server.new_task_queue = [] { return new httplib::ThreadPool(kWorkers); };
    m_server.set_payload_max_length(kMaximumBody);
    // A page's request arrives whole at once and its connection is reused within a
    // second or so; a connection that dawdles longer gives its worker back soon.
    m_server.set_read_timeout(2s);
    m_server.set_write_timeout(5s);
    m_server.set_keep_alive_timeout(2);
    m_server.set_keep_alive_max_count(100);
    // Without SO_REUSEPORT, which would let a second server share the port and split
    // the page's requests between two phones.
    m_server.set_socket_options([](int socket) {
        int yes = 1;
        setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
        // A piece is a few kilobytes: sent at once, not held back (Nagle) until the page
        // acknowledges the last, which a delayed acknowledgement makes 40 ms.
        setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof(yes));
    });
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
    else if (port > 0 && portInUse(host, port))
        m_bindProblem = "port " + std::to_string(port) + " is in use";
    else
        m_bindProblem = "cannot listen on " + host + " port " + std::to_string(port);
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

    // An answer with no body of its own (a refused size, an unknown path) still says
    // what went wrong, as JSON like every other error.
    m_server.set_error_handler(httplib::Server::HandlerWithResponse([](const httplib::Request&, httplib::Response& response) {
        if (!response.body.empty())
            return httplib::Server::HandlerResponse::Unhandled;
        answer(response, response.status, { { "error", errorInWords(response.status) } });
        return httplib::Server::HandlerResponse::Handled;
    }));

    for (const char* path : { "/", "/page.js", "/page.css", "/favicon.svg" }) {
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
        std::string text = request.has_param("since") ? request.get_param_value("since") : "0";
        try {
            // Digits only: stoul would take "-1" and wrap it round to the largest number.
            if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
                throw std::invalid_argument(text);
            since = std::stoul(text);
        } catch (const std::exception&) {
            answer(response, 400, { { "error", "expected since=N (a whole number), got " + text } });
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
        // Not cached: the index names a different track on the next phone or server.
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

    // A known path asked with the other method is 405, saying which one it takes.
    auto wrongMethod = [](const char* allowed) {
        return [allowed](const httplib::Request& request, httplib::Response& response) {
            response.set_header("Allow", allowed);
            answer(response, 405, { { "error", request.path + " takes " + allowed + ", not " + request.method } });
        };
    };
    for (const char* path : { "/api/action", "/api/clock", "/api/device", "/api/record" })
        m_server.Get(path, wrongMethod("POST"));
    for (const char* path : { "/", "/page.js", "/page.css", "/favicon.svg", "/events", "/frame", "/api/status", "/api/inspect", "/api/log",
             R"(/api/artwork/(\d{1,6}))", "/api/recording" })
        m_server.Post(path, wrongMethod("GET"));
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

void HttpFront::streamEvents(const httplib::Request& request, httplib::Response& response)
{
    if (++m_streams > kMaximumStreams) {
        --m_streams;
        response.set_header("Retry-After", "2");
        answer(response, 503, { { "error", "Too many pages are following this phone (at most " + std::to_string(kMaximumStreams) + "): close one, and this page joins in" } });
        return;
    }
    struct Stream {
        PhoneState::Versions known;
        bool first = true;
        // A page that paints pieces over the frame it shows (the live page does).
        bool takesPieces = false;
        // The frame the page shows once it has what was sent.
        std::uint64_t shown = 0;
    };
    auto stream = std::make_shared<Stream>();
    stream->takesPieces = request.get_param_value("pieces") == "1";
    response.set_chunked_content_provider(
        "text/event-stream",
        [this, stream](std::size_t, httplib::DataSink& sink) {
        // Short waits, so a server asked to stop is not held up by an idle stream.
        PhoneState::Versions now = stream->first ? m_state.versions() : m_state.waitForChange(stream->known, 1s);
        // Word of a line being run (the status) would reach the page just before that
        // line's frame, and the page, the network and the phone would all be busy with it
        // while the frame is on its way: it follows the frame instead.
        if (!stream->first && now.frame == stream->known.frame && !(now == stream->known))
            now = m_state.waitForFrameWhileALineRuns(stream->known, kLongestHeldStatus);
        std::string out;
        if ((stream->first || now.frame != stream->known.frame) && now.frame > 0) {
            // The frame itself, not word of it: the page shows it without asking again.
            // A page that takes pieces gets those it lacks, or, having fallen further
            // behind than the pieces kept, the whole frame.
            auto pieces = stream->takesPieces && stream->shown ? m_state.piecesSince(stream->shown) : std::nullopt;
            if (pieces) {
                for (auto& piece : *pieces) {
                    out += pieceEvent(piece);
                    stream->shown = piece.frame.number;
                }
            } else if (auto frame = m_state.frame()) {
                out += frameEvent(*frame);
                stream->shown = frame->number;
            }
        }
        // After the picture, so the page starts on that first.
        if (stream->first || now.status != stream->known.status)
            out += sseEvent("status", m_state.status());
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
