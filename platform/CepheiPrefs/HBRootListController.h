#pragma once
// HBRootListController: the first page of a Cephei settings pane, the class a pane's
// root controller derives from. It behaves as any Cephei page.

#include "HBListController.h"

class HBRootListController : public HBListController {
    OBJC_INTERFACE(HBRootListController)
public:
    HBRootListController() = default;

    static void registerRuntimeClass()
    {
        objc::defineClass<HBRootListController>("HBRootListController", HBListController::staticClass());
    }
};
