#include "NodeDumper.h"

#include "MaterialKit/MTMaterialView.h"
#include "SpringBoard/CSHomeAffordanceView.h"
#include "UIKit/UIDeviceProfile.h"
#include "UIKit/UIGestureRecognizer.h"
#include "UIKit/UIImageView.h"
#include "UIKit/UILabel.h"
#include "UIKit/UIProgressView.h"
#include "UIKit/UISwipeGestureRecognizer.h"
#include "UIKit/UITapGestureRecognizer.h"
#include "UIKit/UIWindow.h"

#include <algorithm>

using nlohmann::json;

namespace sim {

namespace {

json colorJSON(const NSObject* color)
{
    return color ? color->jsonValue() : json(nullptr);
}

json gestureRecognizersJSON(const UIView* view)
{
    json recognizers = json::array();
    for (auto& recognizer : view->gestureRecognizers()) {
        json entry = {
            { "class", class_getName(recognizer->isa()) },
            { "action", recognizer->actionName().empty() ? json(nullptr) : json(recognizer->actionName()) },
        };
        if (auto tap = objc_cast<UITapGestureRecognizer>(recognizer.get()))
            entry["numberOfTapsRequired"] = tap->numberOfTapsRequired();
        else if (auto swipe = objc_cast<UISwipeGestureRecognizer>(recognizer.get()))
            entry["direction"] = swipe->direction();
        recognizers.push_back(std::move(entry));
    }
    return recognizers;
}

void addKindFields(json& node, UIView* view)
{
    if (auto imageView = objc_cast<UIImageView>(view)) {
        node["image"] = imageView->image() ? imageView->image()->jsonValue() : json(nullptr);
        node["contentMode"] = imageView->contentMode();
        node["tintColor"] = colorJSON(imageView->tintColor());
    }
    if (auto label = objc_cast<UILabel>(view)) {
        node["text"] = label->text() ? json(label->text()->string()) : json(nullptr);
        node["textColor"] = colorJSON(label->textColor());
        node["font"] = label->font() ? label->font()->jsonValue() : json(nullptr);
        node["lineBreakMode"] = label->lineBreakMode();
        node["marqueeEnabled"] = label->marqueeEnabled();
        node["marqueeRunning"] = label->marqueeRunning();
    }
    if (auto progressView = objc_cast<UIProgressView>(view)) {
        node["progress"] = std::clamp(static_cast<double>(progressView->progress()), 0.0, 1.0);
        node["progressViewStyle"] = progressView->progressViewStyle();
        node["progressTintColor"] = colorJSON(progressView->progressTintColor());
        node["trackTintColor"] = colorJSON(progressView->trackTintColor());
    }
    if (auto material = objc_cast<MTMaterialView>(view)) {
        node["recipe"] = material->recipe();
        node["configuration"] = material->configuration();
        node["weighting"] = material->weighting();
    }
    if (auto homeAffordance = objc_cast<CSHomeAffordanceView>(view))
        node["overrideColor"] = colorJSON(homeAffordance->overrideColor());
}

} // namespace

json rectJSON(double x, double y, double width, double height)
{
    return json::array({ x, y, width, height });
}

NodeDumper::NodeDumper(NodeIds& ids, PropertyNames propertyNames)
    : m_ids(ids)
    , m_propertyNames(std::move(propertyNames))
{
}

json NodeDumper::node(UIView* view)
{
    if (!view)
        return nullptr;
    CGRect frame = view->frameInScreen();
    CGAffineTransform transform = view->transform();
    json node = {
        { "class", class_getName(view->isa()) },
        { "id", m_ids.idFor(view) },
    };
    if (auto property = m_propertyNames.find(view); property != m_propertyNames.end())
        node["property"] = property->second;
    node["frame"] = rectJSON(frame.origin.x, frame.origin.y, frame.size.width, frame.size.height);
    node["hidden"] = view->isHidden();
    node["alpha"] = view->alpha();
    node["presentationAlpha"] = view->presentationAlpha();
    node["backgroundColor"] = colorJSON(view->backgroundColor());
    node["cornerRadius"] = view->layer()->cornerRadius();
    node["masksToBounds"] = view->layer()->masksToBounds();
    node["clipsToBounds"] = view->clipsToBounds();
    node["userInteractionEnabled"] = view->isUserInteractionEnabled();
    node["transform"] = json::array({ transform.a, transform.b, transform.c, transform.d, transform.tx, transform.ty });
    node["autoresizingMask"] = view->autoresizingMask();
    node["gestureRecognizers"] = gestureRecognizersJSON(view);
    addKindFields(node, view);
    json subviews = json::array();
    // A copy: dumping never changes the tree, but the references keep every node alive
    // while it is described.
    auto children = view->subviews();
    for (auto& child : children)
        subviews.push_back(this->node(child.get()));
    node["subviews"] = std::move(subviews);
    return node;
}

json NodeDumper::screen(const std::vector<UIWindow*>& windows)
{
    CGRect bounds = UIDeviceProfile::current().screenBounds();
    json subviews = json::array();
    for (UIWindow* window : windows)
        subviews.push_back(node(window));
    return {
        { "class", "UIScreen" },
        // One screen for the device's whole life.
        { "id", "UIScreen#1" },
        { "frame", rectJSON(bounds.origin.x, bounds.origin.y, bounds.size.width, bounds.size.height) },
        { "hidden", false },
        { "alpha", 1.0 },
        { "presentationAlpha", 1.0 },
        { "subviews", std::move(subviews) },
    };
}

} // namespace sim
