#pragma once
// A view and its subtree as the JSON NODE that dumps show: geometry in screen
// coordinates, appearance (model and on-screen alpha), gesture recognizers, and what
// each kind of view adds (image, text, progress, material, home affordance colour).

#include "NodeIds.h"

#include <nlohmann/json.hpp>

#include <string>
#include <unordered_map>
#include <vector>

class UIView;
class UIWindow;

namespace sim {

class NodeDumper {
public:
    // Views held by a player's added properties, so each node can say which one holds it.
    using PropertyNames = std::unordered_map<const UIView*, std::string>;

    NodeDumper(NodeIds&, PropertyNames);

    nlohmann::json node(UIView*);
    // The screen as one node whose subviews are the windows on it, back to front.
    nlohmann::json screen(const std::vector<UIWindow*>&);

private:
    NodeIds& m_ids;
    PropertyNames m_propertyNames;
};

// [x, y, w, h]
nlohmann::json rectJSON(double x, double y, double width, double height);

} // namespace sim
