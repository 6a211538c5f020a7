#include "ExpectPath.h"

#include <algorithm>
#include <cctype>

namespace sim::scenario {

namespace {

bool isNameCharacter(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

} // namespace

ExpectPath ExpectPath::parse(std::string_view text)
{
    ExpectPath path;
    std::size_t i = 0;
    auto fail = [&](const std::string& what) -> PathSyntaxError {
        return PathSyntaxError("expected " + what + " at column " + std::to_string(i + 1) + " of the path \"" + std::string(text) + "\"");
    };
    bool expectName = true;
    while (i < text.size()) {
        if (!expectName) {
            if (text[i] == '.') {
                ++i;
                expectName = true;
                continue;
            }
            if (text[i] != '[')
                throw fail("'.' or '['");
        }
        if (text[i] == '[') {
            if (path.m_steps.empty())
                throw fail("a field name");
            std::size_t close = text.find(']', i);
            std::string_view digits = text.substr(i + 1, close == std::string_view::npos ? 0 : close - i - 1);
            if (close == std::string_view::npos || digits.empty() || digits.size() > 9
                || !std::all_of(digits.begin(), digits.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
                throw fail("an index like [0]");
            path.m_steps.push_back({ PathStep::Kind::Index, {}, std::stoul(std::string(digits)) });
            i = close + 1;
            expectName = false;
            continue;
        }
        if (text.substr(i, 4) == "app(") {
            std::size_t close = text.find(')', i);
            if (close == std::string_view::npos || close == i + 4)
                throw fail("a bundle identifier in app(...)");
            path.m_steps.push_back({ PathStep::Kind::App, std::string(text.substr(i + 4, close - i - 4)), 0 });
            i = close + 1;
            expectName = false;
            continue;
        }
        std::size_t start = i;
        while (i < text.size() && isNameCharacter(text[i]))
            ++i;
        if (i == start)
            throw fail("a field name");
        path.m_steps.push_back({ PathStep::Kind::Field, std::string(text.substr(start, i - start)), 0 });
        expectName = false;
    }
    if (path.m_steps.empty() || expectName)
        throw fail("a field name");
    return path;
}

nlohmann::json ExpectPath::evaluate(const nlohmann::json& root) const
{
    const nlohmann::json* current = &root;
    nlohmann::json computed;
    for (auto& step : m_steps) {
        switch (step.kind) {
        case PathStep::Kind::Field:
            if (step.name == "length" && (current->is_array() || current->is_string())) {
                computed = current->is_array() ? current->size() : current->get_ref<const std::string&>().size();
                current = &computed;
                continue;
            }
            if (!current->is_object() || !current->contains(step.name))
                return nullptr;
            current = &(*current)[step.name];
            continue;
        case PathStep::Kind::Index:
            if (!current->is_array() || step.index >= current->size())
                return nullptr;
            current = &(*current)[step.index];
            continue;
        case PathStep::Kind::App: {
            if (!current->is_object() || !current->contains("apps"))
                return nullptr;
            const auto& apps = (*current)["apps"];
            if (!apps.is_object() || !apps.contains(step.name))
                return nullptr;
            current = &apps[step.name];
            continue;
        }
        }
    }
    return *current;
}

} // namespace sim::scenario
