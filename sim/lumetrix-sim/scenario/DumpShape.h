#pragma once
// What the dumps hold, as far as `expect` may name it: the players dump down through each
// player's properties, nodes and their subviews, the tweak's globals, the screen and the
// settings dump, and the ten settings' keys. It is built from real dumps (the built
// tweak's exported variables and the dumper's nodes, run::probeDumpShape), so a misspelt
// path or key is refused before anything runs instead of reading null.

#include "ExpectPath.h"

#include <nlohmann/json.hpp>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sim::scenario {

class DumpShape {
public:
    // Samples as run::probeDumpShape gathers them:
    //   "nodes":             one dumped node of each kind (UIView, UILabel, ...)
    //   "lockscreenPlayer", "appPlayer": the property names of each player
    //   "globals":           the globals dump of the loaded tweak
    //   "settings":          the tweak's settings table ({"key", "type", ...} each)
    //   "settingsDump":      a settings dump
    static DumpShape fromSamples(const nlohmann::json& samples);

    // Nothing when every step of `path` is something its dump can hold; else why not,
    // with the nearest known names.
    std::optional<std::string> problem(const ExpectPath& path) const;

    // The settings' keys, in the table's order, and each one's type ("bool", "object").
    const std::vector<std::string>& settingKeys() const { return m_settingKeys; }
    std::optional<std::string> settingType(const std::string& key) const;

    struct Shape;

private:
    std::shared_ptr<Shape> m_players;
    std::shared_ptr<Shape> m_screen;
    std::shared_ptr<Shape> m_settings;
    std::shared_ptr<Shape> m_node;
    std::vector<std::string> m_settingKeys;
    std::map<std::string, std::string> m_settingTypes;
};

// Up to three of `known` closest to `word` in spelling ("subView" for "subVeiw"), best
// first; empty when none is close.
std::vector<std::string> nearestNames(const std::string& word, const std::vector<std::string>& known);

} // namespace sim::scenario
