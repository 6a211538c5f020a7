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

template<typename T>
T* getProperty(id host, SEL getter)
{
    return static_cast<T*>(objc_msgSend<id>(host, getter));
}

inline UIView* subView(id host) { return getProperty<UIView>(host, "subView"_sel); }
inline UIImageView* previousicon(id host) { return getProperty<UIImageView>(host, "previousicon"_sel); }
inline UIImageView* pauseicon(id host) { return getProperty<UIImageView>(host, "pauseicon"_sel); }
inline UIView* labelbg(id host) { return getProperty<UIView>(host, "labelbg"_sel); }
inline UILabel* label(id host) { return getProperty<UILabel>(host, "label"_sel); }
inline UIView* previoustapview(id host) { return getProperty<UIView>(host, "previoustapview"_sel); }
inline UIProgressView* progressView(id host) { return getProperty<UIProgressView>(host, "progressView"_sel); }

inline void setProperty(id host, SEL setter, id value) { objc_msgSend(host, setter, value); }

} // namespace lumetrix
