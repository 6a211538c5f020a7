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

class ExpectPath {
public:
    ExpectPath() = default;
    static ExpectPath parse(std::string_view text);

    // Walks `root`; a step that finds nothing (a missing field, an index out of range,
    // anything below null) gives null, so a path into an absent player reads null.
    nlohmann::json evaluate(const nlohmann::json& root) const;

    const std::vector<PathStep>& steps() const { return m_steps; }

private:
    std::vector<PathStep> m_steps;
};

} // namespace sim::scenario
