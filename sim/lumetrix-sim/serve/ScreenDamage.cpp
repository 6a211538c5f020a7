#include "ScreenDamage.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

using nlohmann::json;

namespace sim {

namespace {

// Anti-aliased edges and glyphs reach a little past a view's frame.
constexpr double kEdgePoints = 2;
// JPEG codes colour in blocks of 16 x 16 pixels (4:2:0).
constexpr int kBlockPixels = 16;

ScreenArea frameOf(const json& node)
{
    auto found = node.find("frame");
    if (found == node.end() || !found->is_array() || found->size() != 4)
        return {};
    for (const json& value : *found) {
        if (!value.is_number())
            return {};
    }
    return { (*found)[0].get<double>(), (*found)[1].get<double>(), (*found)[2].get<double>(), (*found)[3].get<double>() };
}

// Views that draw from the pixels under their frame: what changes anywhere under them
// changes all of them.
bool readsWhatIsUnder(const json& node)
{
    auto found = node.find("class");
    if (found == node.end() || !found->is_string())
        return false;
    const std::string& name = found->get_ref<const std::string&>();
    return name == "MTMaterialView" || name == "UIVisualEffectView" || name == "MTLumaDodgePillView" || node.contains("recipe");
}

struct Indexed {
    // The node's own fields, with its subviews' ids in place of the subviews.
    json own;
    // Where it and everything inside it lie.
    ScreenArea reach;
    bool marqueeRunning = false;
    bool samples = false;
    ScreenArea frame;
};

ScreenArea indexTree(const json& node, std::map<std::string, Indexed>& index)
{
    if (!node.is_object())
        return {};
    Indexed entry;
    entry.frame = frameOf(node);
    entry.reach = entry.frame;
    entry.own = json::object();
    json subviewIds = json::array();
    for (auto& [key, value] : node.items()) {
        if (key != "subviews")
            entry.own[key] = value;
    }
    if (auto subviews = node.find("subviews"); subviews != node.end() && subviews->is_array()) {
        for (const json& child : *subviews) {
            entry.reach = entry.reach.united(indexTree(child, index));
            subviewIds.push_back(child.is_object() ? child.value("id", json()) : json());
        }
    }
    entry.own["subviews"] = std::move(subviewIds);
    auto marquee = node.find("marqueeRunning");
    entry.marqueeRunning = marquee != node.end() && marquee->is_boolean() && marquee->get<bool>();
    entry.samples = readsWhatIsUnder(node);
    std::string id = node.contains("id") && node["id"].is_string() ? node["id"].get<std::string>() : node.value("class", std::string("?")) + "@" + std::to_string(index.size());
    ScreenArea reach = entry.reach;
    index[id] = std::move(entry);
    return reach;
}

} // namespace

ScreenArea ScreenArea::united(const ScreenArea& other) const
{
    if (other.isEmpty())
        return *this;
    if (isEmpty())
        return other;
    double left = std::min(x, other.x), top = std::min(y, other.y);
    double right = std::max(x + width, other.x + other.width), bottom = std::max(y + height, other.y + other.height);
    return { left, top, right - left, bottom - top };
}

bool ScreenArea::intersects(const ScreenArea& other) const
{
    return !isEmpty() && !other.isEmpty() && x < other.x + other.width && other.x < x + width && y < other.y + other.height && other.y < y + height;
}

ScreenArea ScreenArea::inflated(double by) const
{
    if (isEmpty())
        return *this;
    return { x - by, y - by, width + 2 * by, height + 2 * by };
}

ScreenArea screenDamage(const json& before, const json& after, bool titlesScroll)
{
    std::map<std::string, Indexed> old, now;
    indexTree(before, old);
    indexTree(after, now);

    ScreenArea damage;
    for (auto& [id, entry] : now) {
        auto earlier = old.find(id);
        if (earlier == old.end())
            damage = damage.united(entry.reach);
        else if (earlier->second.own != entry.own)
            damage = damage.united(entry.reach).united(earlier->second.reach);
        else if (titlesScroll && entry.marqueeRunning)
            damage = damage.united(entry.reach);
    }
    for (auto& [id, entry] : old) {
        if (!now.count(id))
            damage = damage.united(entry.reach);
    }
    if (damage.isEmpty())
        return damage;
    damage = damage.inflated(kEdgePoints);

    // A material under the damage is drawn again whole, from a backdrop drawn again
    // whole; one it takes in may reach another.
    for (bool grown = true; grown;) {
        grown = false;
        for (auto* tree : { &old, &now }) {
            for (auto& [id, entry] : *tree) {
                if (!entry.samples || !entry.frame.intersects(damage))
                    continue;
                ScreenArea whole = entry.frame.inflated(kEdgePoints);
                ScreenArea widened = damage.united(whole);
                if (widened.x != damage.x || widened.y != damage.y || widened.width != damage.width || widened.height != damage.height) {
                    damage = widened;
                    grown = true;
                }
            }
        }
    }
    return damage;
}

PixelArea blockAlignedPixels(const ScreenArea& area, double pixelsPerPoint, int frameWidth, int frameHeight)
{
    auto down = [](double pixels) { return static_cast<int>(std::floor(pixels / kBlockPixels)) * kBlockPixels; };
    auto up = [](double pixels) { return static_cast<int>(std::ceil(pixels / kBlockPixels)) * kBlockPixels; };
    int left = std::clamp(down(area.x * pixelsPerPoint), 0, frameWidth);
    int top = std::clamp(down(area.y * pixelsPerPoint), 0, frameHeight);
    int right = std::clamp(up((area.x + area.width) * pixelsPerPoint), 0, frameWidth);
    int bottom = std::clamp(up((area.y + area.height) * pixelsPerPoint), 0, frameHeight);
    return { left, top, std::max(0, right - left), std::max(0, bottom - top) };
}

} // namespace sim
