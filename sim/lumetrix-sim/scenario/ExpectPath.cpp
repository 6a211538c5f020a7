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

std::string ExpectPath::text(std::size_t end) const
{
    std::string text;
    for (std::size_t i = 0; i < end && i < m_steps.size(); ++i) {
        auto& step = m_steps[i];
        if (step.kind == PathStep::Kind::Index)
            text += "[" + std::to_string(step.index) + "]";
        else
            text += (text.empty() ? "" : ".") + (step.kind == PathStep::Kind::App ? "app(" + step.name + ")" : step.name);
    }
    return text;
}

PathValue ExpectPath::find(const nlohmann::json& root, bool nullCheck, std::size_t first) const
{
    const nlohmann::json* current = &root;
    nlohmann::json computed;
    for (std::size_t i = first; i < m_steps.size(); ++i) {
        auto& step = m_steps[i];
        bool last = i + 1 == m_steps.size();
        if (current->is_null())
            return { nullptr, text(i) + " is null" };
        // Nothing there: only `== null` / `!= null` on exactly this step may say so.
        auto absent = [&](const std::string& why) -> PathValue {
            if (last && nullCheck)
                return { nullptr, {} };
            return { nullptr, why };
        };
        switch (step.kind) {
        case PathStep::Kind::Field:
            if (step.name == "length" && (current->is_array() || current->is_string())) {
                computed = current->is_array() ? current->size() : current->get_ref<const std::string&>().size();
                current = &computed;
                continue;
            }
            if (current->is_object() && current->contains(step.name)) {
                current = &(*current)[step.name];
                continue;
            }
            // A node's fields depend on its class: a field it lacks is never null.
            if (current->is_object() && current->contains("class") && (*current)["class"].is_string())
                return { nullptr, text(i) + " is a " + (*current)["class"].get<std::string>() + ", which has no " + step.name };
            if (!current->is_object())
                return { nullptr, text(i) + " is " + current->dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + ", which has no field " + step.name };
            return absent(text(i) + " has no " + step.name);
        case PathStep::Kind::Index:
            if (!current->is_array())
                return { nullptr, text(i) + " is not a list" };
            if (step.index >= current->size())
                return { nullptr, text(i) + " has " + std::to_string(current->size()) + " elements, so no [" + std::to_string(step.index) + "]" };
            current = &(*current)[step.index];
            continue;
        case PathStep::Kind::App: {
            const nlohmann::json* apps = current->is_object() && current->contains("apps") ? &(*current)["apps"] : nullptr;
            if (!apps || !apps->is_object() || !apps->contains(step.name))
                return absent(text(i + 1) + " is null (no scene of that app is loaded)");
            current = &(*apps)[step.name];
            continue;
        }
        }
    }
    return { *current, {} };
}

nlohmann::json ExpectPath::evaluate(const nlohmann::json& root) const
{
    auto found = find(root, true);
    return found.problem.empty() ? found.value : nlohmann::json(nullptr);
}

} // namespace sim::scenario
