#pragma once
// A path into a JSON dump, as `expect` writes it: `.name` for a field, `[N]` for an
// element, `.length` for an array's (or string's) length, and `app(BUNDLE)` for an entry
// of the players dump's "apps", e.g. `app(com.example.notes).progressView.progress`.

#include <nlohmann/json.hpp>

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace sim::scenario {

struct PathStep {
    enum class Kind {
        Field,
        Index,
        App
    };
    Kind kind;
    std::string name; // field name or bundle identifier
    std::size_t index = 0;
};

class PathSyntaxError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What a path found: the value, or why there is none to compare (`problem`).
struct PathValue {
    nlohmann::json value;
    std::string problem;
};

class ExpectPath {
public:
    ExpectPath() = default;
    static ExpectPath parse(std::string_view text);

    // Walks `root` from step `first`. A step through null, a field a node's class does
    // not have, or an index past the end is a problem naming that part. Only a check
    // against null (`nullCheck`) may find null, or nothing, at the path's last step.
    PathValue find(const nlohmann::json& root, bool nullCheck, std::size_t first = 0) const;
    // The same, where nothing found reads as null (the live page's shallow look-ups).
    nlohmann::json evaluate(const nlohmann::json& root) const;

    const std::vector<PathStep>& steps() const { return m_steps; }
    // The path as written up to (not including) step `end`.
    std::string text(std::size_t end) const;

private:
    std::vector<PathStep> m_steps;
};

} // namespace sim::scenario
