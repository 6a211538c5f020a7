#pragma once
// UIResponder: the base of everything that takes part in event handling (views, view
// controllers). Touches reach gesture recognizers directly here, so it adds no state.

#include "Foundation/NSObject.h"

class UIResponder : public NSObject {
    OBJC_INTERFACE(UIResponder)
public:
    UIResponder() = default;
};
