#pragma once
// Reads what the dumps and `expect` show from a running SpringBoard: the two kinds of
// player (the lock screen's and each open app's), the tweak's exported variables and the
// whole screen. With no SpringBoard (before boot) the players dump says so with a null
// lock screen and the screen has no windows.

#include "NodeDumper.h"
#include "NodeIds.h"

#include <nlohmann/json.hpp>

class NSObject;
class UIView;
class SpringBoard;

namespace sim {

class SpringBoardObserver {
public:
    // Both may be null: no SpringBoard running, no tweak loaded.
    SpringBoardObserver(SpringBoard*, void* tweakHandle, NodeIds&);

    // {"time", "lockscreen": PLAYER|null, "apps": {BUNDLE: PLAYER}, "globals"}
    nlohmann::json players(double time);
    nlohmann::json globals();
    nlohmann::json screen();

    // The names of the properties the tweak adds to its player hosts.
    static const std::vector<const char*>& playerPropertyNames();
    // What an added property of `host` holds; null when it holds nothing or the host has
    // no such property (the tweak is not loaded, or not enabled).
    static UIView* playerProperty(NSObject* host, const char* name);

private:
    NodeDumper::PropertyNames propertyNames() const;
    nlohmann::json player(NSObject* host, NSObject* stripHost, NodeDumper&);

    SpringBoard* m_springBoard;
    void* m_tweak;
    NodeIds& m_ids;
};

} // namespace sim
