#include "UIViewControllerContainment.h"

#include "UINavigationController.h"
#include "UINavigationItem.h"

namespace {

// Keys of the associated objects: the addresses of these variables.
char navigationItemKey;
char parentLinkKey;

// A zeroing reference to a parent, held by the child as an associated object.
class ParentLink : public NSObject {
public:
    static Class staticClass() { return objc_getClass("_UIViewControllerParentLink"); }
    ParentLink() = default;
    objc::WeakPtr<UIViewController> parent;
};

id navigationItemImp(UIViewController* self, SEL)
{
    id item = objc_getAssociatedObject(self, &navigationItemKey);
    if (!item) {
        auto made = UINavigationItem::alloc();
        objc_setAssociatedObject(self, &navigationItemKey, made.get(), OBJC_ASSOCIATION_RETAIN_NONATOMIC);
        item = made.get();
    }
    return item;
}

id parentViewControllerImp(UIViewController* self, SEL)
{
    auto link = static_cast<ParentLink*>(objc_getAssociatedObject(self, &parentLinkKey));
    return link ? link->parent.get() : nullptr;
}

id navigationControllerImp(UIViewController* self, SEL)
{
    for (UIViewController* ancestor = UIViewControllerContainment::parentViewController(self); ancestor;
        ancestor = UIViewControllerContainment::parentViewController(ancestor)) {
        if (auto navigation = objc_cast<UINavigationController>(ancestor))
            return navigation;
    }
    return nullptr;
}

// UIViewController's own appearance callbacks do nothing; subclasses call them as super.
void appearanceImp(UIViewController*, SEL, bool)
{
}

} // namespace

UINavigationItem* UIViewControllerContainment::navigationItem(UIViewController* controller)
{
    return static_cast<UINavigationItem*>(objc_msgSend<id>(controller, "navigationItem"_sel));
}

UINavigationController* UIViewControllerContainment::navigationController(UIViewController* controller)
{
    return static_cast<UINavigationController*>(objc_msgSend<id>(controller, "navigationController"_sel));
}

UIViewController* UIViewControllerContainment::parentViewController(UIViewController* controller)
{
    return static_cast<UIViewController*>(objc_msgSend<id>(controller, "parentViewController"_sel));
}

void UIViewControllerContainment::setParentViewController(UIViewController* child, UIViewController* parent)
{
    if (!parent) {
        objc_setAssociatedObject(child, &parentLinkKey, nullptr, OBJC_ASSOCIATION_RETAIN_NONATOMIC);
        return;
    }
    auto link = objc::make<ParentLink>(ParentLink::staticClass());
    link->parent = parent;
    objc_setAssociatedObject(child, &parentLinkKey, link.get(), OBJC_ASSOCIATION_RETAIN_NONATOMIC);
}

void UIViewControllerContainment::viewWillAppear(UIViewController* controller, bool animated)
{
    objc_msgSend(controller, "viewWillAppear:"_sel, animated);
}

void UIViewControllerContainment::viewDidAppear(UIViewController* controller, bool animated)
{
    objc_msgSend(controller, "viewDidAppear:"_sel, animated);
}

void UIViewControllerContainment::viewWillDisappear(UIViewController* controller, bool animated)
{
    objc_msgSend(controller, "viewWillDisappear:"_sel, animated);
}

void UIViewControllerContainment::viewDidDisappear(UIViewController* controller, bool animated)
{
    objc_msgSend(controller, "viewDidDisappear:"_sel, animated);
}

void UIViewControllerContainment::registerCategory()
{
    objc::defineClass<ParentLink>("_UIViewControllerParentLink", NSObject::staticClass());
    Class cls = UIViewController::staticClass();
    objc::addMethod(cls, "navigationItem", &navigationItemImp);
    objc::addMethod(cls, "navigationController", &navigationControllerImp);
    objc::addMethod(cls, "parentViewController", &parentViewControllerImp);
    for (const char* name : { "viewWillAppear:", "viewDidAppear:", "viewWillDisappear:", "viewDidDisappear:" })
        objc::addMethod(cls, name, &appearanceImp);
}
