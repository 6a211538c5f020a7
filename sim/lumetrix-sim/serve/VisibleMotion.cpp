#include "VisibleMotion.h"

#include <algorithm>
#include <cmath>
#include <vector>

using nlohmann::json;

namespace sim {

namespace {

struct Box {
    double left = 0, top = 0, right = 0, bottom = 0;

    bool isEmpty() const { return right <= left || bottom <= top; }
    Box meet(const Box& other) const
    {
        return { std::max(left, other.left), std::max(top, other.top), std::min(right, other.right), std::min(bottom, other.bottom) };
    }
    bool contains(const Box& other) const
    {
        return left <= other.left && top <= other.top && right >= other.right && bottom >= other.bottom;
    }
};

// A view as it is painted: where it shows (after its ancestors' clipping) and whether it
// hides everything behind it there.
struct Painted {
    Box shown;
    bool opaque = false;
    bool scrollingTitle = false;
};

// (Looked up with find: operator[] on a const json that lacks the key reads past the
// object, which AddressSanitizer reports.)
Box boxOf(const json& node)
{
    if (!node.is_object())
        return {};
    auto found = node.find("frame");
    if (found == node.end() || !found->is_array() || found->size() != 4)
        return {};
    const json& frame = *found;
    for (const json& value : frame) {
        if (!value.is_number())
            return {};
    }
    double x = frame[0].get<double>(), y = frame[1].get<double>();
    return { x, y, x + frame[2].get<double>(), y + frame[3].get<double>() };
}

double number(const json& node, const char* key, double otherwise)
{
    auto found = node.find(key);
    return found != node.end() && found->is_number() ? found->get<double>() : otherwise;
}

bool flag(const json& node, const char* key)
{
    auto found = node.find(key);
    return found != node.end() && found->is_boolean() && found->get<bool>();
}

// Paints nothing at the default pixel depth.
constexpr double kInvisibleAlpha = 1.0 / 255;

void paint(const json& node, double alpha, const Box& clip, std::vector<Painted>& painted)
{
    if (!node.is_object() || flag(node, "hidden"))
        return;
    alpha *= number(node, "presentationAlpha", number(node, "alpha", 1));
    if (alpha < kInvisibleAlpha)
        return;
    Box frame = boxOf(node);
    Box shown = frame.meet(clip);
    Painted here { shown };
    here.scrollingTitle = flag(node, "marqueeRunning");
    // Opaque: fully drawn, square corners, a background colour without transparency.
    if (auto background = node.find("backgroundColor"); background != node.end() && background->is_object() && alpha >= 1
        && number(node, "cornerRadius", 0) == 0) {
        auto rgba = background->find("rgba");
        here.opaque = rgba != background->end() && rgba->is_array() && rgba->size() == 4 && (*rgba)[3].is_number() && (*rgba)[3].get<double>() >= 1;
    }
    if (!shown.isEmpty())
        painted.push_back(here);
    Box inner = flag(node, "clipsToBounds") || flag(node, "masksToBounds") ? shown : clip;
    if (auto subviews = node.find("subviews"); subviews != node.end() && subviews->is_array()) {
        for (auto& child : *subviews)
            paint(child, alpha, inner, painted);
    }
}

} // namespace

bool aFadeIsUnderWay(const json& screen)
{
    if (!screen.is_object() || flag(screen, "hidden"))
        return false;
    if (std::abs(number(screen, "alpha", 1) - number(screen, "presentationAlpha", number(screen, "alpha", 1))) > 1e-6)
        return true;
    if (auto subviews = screen.find("subviews"); subviews != screen.end() && subviews->is_array())
        return std::any_of(subviews->begin(), subviews->end(), [](const json& child) { return aFadeIsUnderWay(child); });
    return false;
}

bool aVisibleTitleScrolls(const json& screen)
{
    std::vector<Painted> painted;
    paint(screen, 1, boxOf(screen), painted);
    for (std::size_t i = 0; i < painted.size(); ++i) {
        if (!painted[i].scrollingTitle)
            continue;
        bool covered = std::any_of(painted.begin() + static_cast<std::ptrdiff_t>(i) + 1, painted.end(),
            [&](const Painted& above) { return above.opaque && above.shown.contains(painted[i].shown); });
        if (!covered)
            return true;
    }
    return false;
}

} // namespace sim
