#include "DumpShape.h"

#include <algorithm>
#include <cctype>

using nlohmann::json;

namespace sim::scenario {

struct DumpShape::Shape {
    enum class Kind {
        Open, // nothing known below: anything goes (a value that was null in every sample)
        Leaf, // a number, boolean or string
        Object, // known fields
        Array, // elements of one shape
        Dictionary, // any key, values of one shape (apps by bundle identifier, stored values)
        Node, // a view node (subviews hold nodes again)
    };
    Kind kind = Kind::Open;
    // What the fields are called in messages: "field", "player property", "global".
    std::string noun = "field";
    std::map<std::string, std::shared_ptr<Shape>> fields;
    std::shared_ptr<Shape> element;

    static std::shared_ptr<Shape> make(Kind kind, std::string noun = "field")
    {
        auto shape = std::make_shared<Shape>();
        shape->kind = kind;
        shape->noun = std::move(noun);
        return shape;
    }

    // Learns from one sample value what can lie here.
    void merge(const json& sample)
    {
        if (sample.is_null())
            return;
        if (sample.is_object()) {
            kind = Kind::Object;
            for (auto& [name, value] : sample.items()) {
                auto& field = fields[name];
                if (!field)
                    field = make(Kind::Open);
                field->merge(value);
            }
            return;
        }
        if (sample.is_array()) {
            kind = Kind::Array;
            if (!element)
                element = make(Kind::Open);
            for (auto& item : sample)
                element->merge(item);
            return;
        }
        if (kind == Kind::Open)
            kind = Kind::Leaf;
    }

    std::vector<std::string> names() const
    {
        std::vector<std::string> names;
        for (auto& [name, field] : fields)
            names.push_back(name);
        return names;
    }
};

namespace {

using Shape = DumpShape::Shape;
using Kind = Shape::Kind;

std::string lowered(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::size_t editDistance(const std::string& a, const std::string& b)
{
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            std::size_t above = row[j];
            row[j] = std::min({ row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1) });
            diagonal = above;
        }
    }
    return row[b.size()];
}

std::string joined(const std::vector<std::string>& names)
{
    std::string text;
    for (auto& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

// "did you mean X?" with the nearest names, or the known names when none is near.
std::string hint(const std::string& word, const std::vector<std::string>& known)
{
    auto nearest = nearestNames(word, known);
    if (!nearest.empty())
        return "did you mean " + joined(nearest) + "?";
    return "known: " + joined(known);
}

} // namespace

std::vector<std::string> nearestNames(const std::string& word, const std::vector<std::string>& known)
{
    // Case is ignored: `subview` is near `subView`. Further than a third of the word is a
    // different word.
    std::size_t limit = std::max<std::size_t>(1, std::min<std::size_t>(3, word.size() / 3));
    std::vector<std::pair<std::size_t, std::string>> close;
    for (auto& name : known) {
        std::size_t distance = editDistance(lowered(word), lowered(name));
        if (distance <= limit)
            close.emplace_back(distance, name);
    }
    std::stable_sort(close.begin(), close.end(), [](auto& a, auto& b) { return a.first < b.first; });
    std::vector<std::string> names;
    for (std::size_t i = 0; i < close.size() && i < 3; ++i)
        names.push_back(close[i].second);
    return names;
}

DumpShape DumpShape::fromSamples(const json& samples)
{
    DumpShape shape;
    shape.m_node = Shape::make(Kind::Object);
    for (auto& node : samples.value("nodes", json::array()))
        shape.m_node->merge(node);
    auto subviews = Shape::make(Kind::Array);
    subviews->element = Shape::make(Kind::Node);
    shape.m_node->fields["subviews"] = subviews;

    auto player = [](const json& names) {
        auto player = Shape::make(Kind::Object, "player property");
        for (auto& name : names)
            player->fields[name.get<std::string>()] = Shape::make(Kind::Node);
        return player;
    };
    auto globals = Shape::make(Kind::Object, "global");
    globals->merge(samples.value("globals", json::object()));
    globals->kind = Kind::Object;
    globals->noun = "global";
    auto apps = Shape::make(Kind::Dictionary);
    apps->element = player(samples.value("appPlayer", json::array()));

    shape.m_players = Shape::make(Kind::Object);
    shape.m_players->fields = {
        { "time", Shape::make(Kind::Leaf) },
        { "lockscreen", player(samples.value("lockscreenPlayer", json::array())) },
        { "apps", apps },
        { "globals", globals },
    };
    shape.m_screen = Shape::make(Kind::Node);

    shape.m_settings = Shape::make(Kind::Object);
    shape.m_settings->merge(samples.value("settingsDump", json::object()));
    // Stored values are whatever the store holds, foreign keys included.
    auto values = Shape::make(Kind::Dictionary);
    values->element = Shape::make(Kind::Open);
    shape.m_settings->fields["values"] = values;

    for (auto& row : samples.value("settings", json::array())) {
        std::string key = row.value("key", "");
        shape.m_settingKeys.push_back(key);
        shape.m_settingTypes[key] = row.value("type", "");
    }
    return shape;
}

std::optional<std::string> DumpShape::settingType(const std::string& key) const
{
    auto type = m_settingTypes.find(key);
    if (type == m_settingTypes.end())
        return std::nullopt;
    return type->second;
}

std::optional<std::string> DumpShape::problem(const ExpectPath& path) const
{
    auto& steps = path.steps();
    std::size_t first = 0;
    const Shape* shape = m_players.get();
    std::string dumpName = "the players dump";
    if (!steps.empty() && steps[0].kind == PathStep::Kind::Field && (steps[0].name == "screen" || steps[0].name == "settings")) {
        first = 1;
        shape = steps[0].name == "screen" ? m_screen.get() : m_settings.get();
        dumpName = "the " + steps[0].name + " dump";
    }
    for (std::size_t i = first; i < steps.size(); ++i) {
        auto& step = steps[i];
        std::string where = i == first ? dumpName : path.text(i);
        if (shape->kind == Kind::Node)
            shape = m_node.get();
        if (shape->kind == Kind::Open)
            return std::nullopt;
        switch (step.kind) {
        case PathStep::Kind::App:
            if (shape != m_players.get())
                return "app(" + step.name + ") goes only at the start of a path into the players dump";
            shape = m_players->fields.at("apps")->element.get();
            continue;
        case PathStep::Kind::Index:
            if (shape->kind != Kind::Array)
                return where + " is not a list, so it has no [" + std::to_string(step.index) + "]";
            shape = shape->element.get();
            continue;
        case PathStep::Kind::Field:
            break;
        }
        if (step.name == "length" && (shape->kind == Kind::Array || shape->kind == Kind::Leaf)) {
            // A length is a number: nothing lies below it.
            if (i + 1 < steps.size())
                return path.text(i + 1) + " is a number, so it has no " + path.text(steps.size()).substr(path.text(i + 1).size());
            return std::nullopt;
        }
        if (shape->kind == Kind::Dictionary) {
            shape = shape->element.get();
            continue;
        }
        if (shape->kind == Kind::Array)
            return where + " is a list: its parts are [N] and .length, not ." + step.name;
        if (shape->kind == Kind::Leaf)
            return where + " is a single value, so it has no ." + step.name;
        auto field = shape->fields.find(step.name);
        if (field == shape->fields.end())
            return where + " has no " + shape->noun + " \"" + step.name + "\" (" + hint(step.name, shape->names()) + ")";
        shape = field->second.get();
    }
    return std::nullopt;
}

} // namespace sim::scenario
