#include "UIViewController.h"

#include "UIScreen.h"
#include "UIView.h"

UIViewController::~UIViewController() = default;

UIViewController* UIViewController::init()
{
    return static_cast<UIViewController*>(objc_msgSend<id>(this, "init"_sel));
}

UIViewController* UIViewController::initImp(UIViewController* self, SEL)
{
    return self;
}

UIView* UIViewController::loadedView()
{
    // A -loadView that reads self.view before it has made one would recurse forever on
    // iOS; here the read during loading simply answers what exists so far.
    if (m_view || m_loadingView)
        return m_view.get();
    objc::RefPtr<UIViewController> protectedThis(this);
    m_loadingView = true;
    loadView();
    m_loadingView = false;
    if (!m_view) {
        // A -loadView that made nothing gets a plain view, so callers always have one.
        auto view = UIView::alloc();
        view->initWithFrame(UIScreen::mainScreen()->bounds());
        m_view = view;
    }
    viewDidLoad();
    return m_view.get();
}

void UIViewController::setView(UIView* view)
{
    m_view = view;
}

void UIViewController::loadView()
{
    objc_msgSend(this, "loadView"_sel);
}

void UIViewController::viewDidLoad()
{
    objc_msgSend(this, "viewDidLoad"_sel);
}

void UIViewController::loadViewImp(UIViewController* self, SEL)
{
    // UIKit's default: a plain view the size of the screen, resizing with its window.
    auto view = UIView::alloc();
    view->initWithFrame(UIScreen::mainScreen()->bounds());
    self->setView(view.get());
}

void UIViewController::viewDidLoadImp(UIViewController*, SEL)
{
}

void UIViewController::registerRuntimeClass()
{
    Class cls = objc::defineClass<UIViewController>("UIViewController", UIResponder::staticClass());
    objc::addMethod(cls, "init", &initImp);
    objc::addMethod(cls, "loadView", &loadViewImp);
    objc::addMethod(cls, "viewDidLoad", &viewDidLoadImp);
    objc::addMethod(cls, "view", +[](UIViewController* self, SEL) { return static_cast<id>(self->loadedView()); });
}
