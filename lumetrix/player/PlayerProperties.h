#pragma once
// The player's views, reached through the properties the tweak added to its host (the
// lock-screen controller, an app's scene controller or the home affordance view). The
// selectors are the same on every host, so one set of accessors serves both players.

#include "UIKit/UIImageView.h"
#include "UIKit/UILabel.h"
#include "UIKit/UIProgressView.h"
#include "UIKit/UIView.h"
#include "objc/runtime.h"

namespace lumetrix {

// The host is an `id` (one of the hosts above): sent and recorded as a message to id.
template<typename T, objc::SelectorName Getter>
T* getProperty(id host)
{
    return static_cast<T*>(objc_send<Getter, id>(host));
}

inline UIView* subView(id host) { return getProperty<UIView, "subView">(host); }
inline UIImageView* previousicon(id host) { return getProperty<UIImageView, "previousicon">(host); }
inline UIImageView* pauseicon(id host) { return getProperty<UIImageView, "pauseicon">(host); }
inline UIView* labelbg(id host) { return getProperty<UIView, "labelbg">(host); }
inline UILabel* label(id host) { return getProperty<UILabel, "label">(host); }
inline UIView* previoustapview(id host) { return getProperty<UIView, "previoustapview">(host); }
inline UIProgressView* progressView(id host) { return getProperty<UIProgressView, "progressView">(host); }

// Recorded with the host's static class where the caller knows it.
template<objc::SelectorName Setter, typename Host>
void setProperty(Host* host, id value)
{
    objc_send<Setter>(host, value);
}

} // namespace lumetrix
