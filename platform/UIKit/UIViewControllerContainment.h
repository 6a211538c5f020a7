#pragma once
// UIKit's containment and navigation additions to every view controller: its parent,
// its navigation controller and navigation item, and the appearance callbacks
// (viewWillAppear: and friends). On iOS these are categories of UIViewController; here
// they are added to the runtime class the same way, their state kept as associated
// objects, so controllers made anywhere (a pane loaded from a bundle) answer them.
//
// The C++ entry points below send through the runtime wherever a subclass or a hook may
// replace the method.

#include "UIViewController.h"

class UINavigationController;
class UINavigationItem;

class UIViewControllerContainment {
public:
    // -navigationItem: made on first use; the controller keeps it.
    static UINavigationItem* navigationItem(UIViewController*);
    // -navigationController: the nearest ancestor that is a navigation controller.
    static UINavigationController* navigationController(UIViewController*);
    // -parentViewController: not kept (a parent keeps its children, not the reverse).
    static UIViewController* parentViewController(UIViewController*);
    // For containers: records or clears (null) the child's parent.
    static void setParentViewController(UIViewController* child, UIViewController* parent);

    static void viewWillAppear(UIViewController*, bool animated);
    static void viewDidAppear(UIViewController*, bool animated);
    static void viewWillDisappear(UIViewController*, bool animated);
    static void viewDidDisappear(UIViewController*, bool animated);

    // Adds the category's methods to UIViewController (a method the class already has is
    // left alone, as class_addMethod does).
    static void registerCategory();
};
