#include "SymbolGlyphs.h"

#include "RenderColor.h"

#include <cmath>
#include <functional>
#include <map>
#include <numbers>

namespace sim::render {

namespace {

// Symbols are drawn in em units around the box's centre, y downwards.
struct Em {
    cairo_t* context;
    CGFloat cx;
    CGFloat cy;
    CGFloat em;

    void moveTo(double x, double y) const { cairo_move_to(context, cx + x * em, cy + y * em); }
    void lineTo(double x, double y) const { cairo_line_to(context, cx + x * em, cy + y * em); }
    double length(double value) const { return value * em; }

    // A filled polygon whose corners are rounded by stroking it with a round join.
    void roundedPolygon(std::initializer_list<std::pair<double, double>> points, double rounding) const
    {
        bool first = true;
        for (auto [x, y] : points) {
            if (first)
                moveTo(x, y);
            else
                lineTo(x, y);
            first = false;
        }
        cairo_close_path(context);
        cairo_set_line_join(context, CAIRO_LINE_JOIN_ROUND);
        cairo_set_line_width(context, length(rounding));
        cairo_fill_preserve(context);
        cairo_stroke(context);
    }

    void roundedBar(double x, double y, double width, double height, double radius) const
    {
        addRoundedRect(context, CGRectMake(cx + x * em, cy + y * em, width * em, height * em), radius * em);
        cairo_fill(context);
    }

    // An arc of the circle around the centre, from `start` to `end` degrees clockwise,
    // ending in an arrowhead that points the way the arc runs.
    void arrowArc(double radius, double start, double end, double thickness) const
    {
        double from = start * std::numbers::pi / 180;
        double to = end * std::numbers::pi / 180;
        cairo_new_sub_path(context);
        cairo_arc(context, cx, cy, length(radius), from, to);
        cairo_set_line_width(context, length(thickness));
        cairo_set_line_cap(context, CAIRO_LINE_CAP_ROUND);
        cairo_stroke(context);
        double ex = std::cos(to) * radius;
        double ey = std::sin(to) * radius;
        double dx = -std::sin(to), dy = std::cos(to); // the way a clockwise arc runs
        double nx = std::cos(to), ny = std::sin(to); // outwards
        double head = thickness * 1.6;
        roundedPolygon({ { ex + dx * head * 1.1, ey + dy * head * 1.1 }, { ex + nx * head, ey + ny * head }, { ex - nx * head, ey - ny * head } },
            thickness * 0.4);
    }
};

using Drawing = std::function<void(const Em&)>;

const std::map<std::string, Drawing>& drawings()
{
    static const auto* table = new std::map<std::string, Drawing> {
        { "play.fill", [](const Em& g) { g.roundedPolygon({ { -0.34, -0.40 }, { 0.36, 0 }, { -0.34, 0.40 } }, 0.10); } },
        { "pause.fill",
            [](const Em& g) {
        g.roundedBar(-0.33, -0.40, 0.23, 0.80, 0.06);
        g.roundedBar(0.10, -0.40, 0.23, 0.80, 0.06);
    } },
        { "forward.fill",
            [](const Em& g) {
        g.roundedPolygon({ { -0.46, -0.30 }, { 0, 0 }, { -0.46, 0.30 } }, 0.07);
        g.roundedPolygon({ { 0, -0.30 }, { 0.46, 0 }, { 0, 0.30 } }, 0.07);
    } },
        { "backward.fill",
            [](const Em& g) {
        g.roundedPolygon({ { 0.46, -0.30 }, { 0, 0 }, { 0.46, 0.30 } }, 0.07);
        g.roundedPolygon({ { 0, -0.30 }, { -0.46, 0 }, { 0, 0.30 } }, 0.07);
    } },
        { "arrow.2.circlepath",
            [](const Em& g) {
        g.arrowArc(0.34, 195, 330, 0.085);
        g.arrowArc(0.34, 15, 150, 0.085);
    } },
    };
    return *table;
}

} // namespace

bool isKnownSymbol(const std::string& name)
{
    return drawings().count(name) != 0;
}

std::vector<std::string> knownSymbolNames()
{
    std::vector<std::string> names;
    for (const auto& [name, drawing] : drawings())
        names.push_back(name);
    return names;
}

bool drawSymbol(cairo_t* context, const std::string& name, CGRect box)
{
    Em em { context, CGRectGetMidX(box), CGRectGetMidY(box), std::min(CGRectGetWidth(box), CGRectGetHeight(box)) };
    if (em.em <= 0)
        return isKnownSymbol(name);
    cairo_save(context);
    auto it = drawings().find(name);
    if (it != drawings().end())
        it->second(em);
    else {
        addRoundedRect(context, CGRectMake(em.cx - 0.38 * em.em, em.cy - 0.38 * em.em, 0.76 * em.em, 0.76 * em.em), 0.16 * em.em);
        cairo_set_line_width(context, 0.08 * em.em);
        cairo_stroke(context);
    }
    cairo_restore(context);
    return it != drawings().end();
}

} // namespace sim::render
