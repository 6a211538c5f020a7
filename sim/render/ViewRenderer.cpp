#include "ViewRenderer.h"

#include "ImagePainter.h"
#include "LabelPainter.h"
#include "MaterialPainter.h"
#include "NavigationBarPainter.h"
#include "PaintContext.h"
#include "PillPainter.h"
#include "ProgressPainter.h"
#include "RenderColor.h"
#include "SwitchPainter.h"
#include "TablePainter.h"
#include "TextFieldPainter.h"

#include "MaterialKit/MTMaterialView.h"
#include "SpringBoard/CSHomeAffordanceView.h"
#include "SpringBoard/MTLumaDodgePillView.h"
#include "UIKit/UIImageView.h"
#include "UIKit/UILabel.h"
#include "UIKit/UINavigationBar.h"
#include "UIKit/UIProgressView.h"
#include "UIKit/UISwitch.h"
#include "UIKit/UITableView.h"
#include "UIKit/UITextField.h"
#include "UIKit/UIVisualEffectView.h"

namespace sim::render {

namespace {

// Below this a view leaves no mark a pixel could show (1/512 of full strength).
constexpr double kInvisibleAlpha = 1.0 / 512;
// Anti-aliased edges and rounded glyph corners reach a little past the shapes.
constexpr int kEdgePixels = 2;

bool isDrawn(const UIView* view, double* alpha = nullptr)
{
    if (view->isHidden())
        return false;
    double value = view->presentationAlpha();
    if (alpha)
        *alpha = value;
    return value >= kInvisibleAlpha;
}

bool isInvertible(const cairo_matrix_t& matrix)
{
    cairo_matrix_t copy = matrix;
    return cairo_matrix_invert(&copy) == CAIRO_STATUS_SUCCESS;
}

} // namespace

ViewRenderer::ViewRenderer(Canvas& canvas, double now)
    : m_canvas(canvas)
    , m_layers(canvas)
    , m_now(now)
{
}

void ViewRenderer::setBackdrop(const UIView* view, Backdrop backdrop)
{
    m_backdrops[view] = std::move(backdrop);
}

cairo_matrix_t ViewRenderer::viewToCanvas(const UIView* view, const cairo_matrix_t& parentToCanvas)
{
    // Core Animation's geometry with the anchor point in the middle: the bounds' centre
    // goes to `center` in the superview, turned and scaled by the transform around it.
    CGRect bounds = view->bounds();
    CGPoint center = view->center();
    CGAffineTransform t = view->transform();
    cairo_matrix_t local;
    cairo_matrix_init_translate(&local, center.x, center.y);
    cairo_matrix_t affine;
    cairo_matrix_init(&affine, t.a, t.b, t.c, t.d, t.tx, t.ty);
    cairo_matrix_multiply(&local, &affine, &local);
    cairo_matrix_t toCentre;
    cairo_matrix_init_translate(&toCentre, -(bounds.origin.x + bounds.size.width / 2), -(bounds.origin.y + bounds.size.height / 2));
    cairo_matrix_multiply(&local, &toCentre, &local);
    cairo_matrix_t result;
    cairo_matrix_multiply(&result, &local, &parentToCanvas);
    return result;
}

PixelRect ViewRenderer::subtreePixelBounds(const UIView* view, const cairo_matrix_t& parentToCanvas)
{
    if (!isDrawn(view))
        return {};
    cairo_matrix_t toCanvas = viewToCanvas(view, parentToCanvas);
    if (!isInvertible(toCanvas))
        return {};
    CGRect bounds = view->bounds();
    PixelRect own = PixelRect::covering(bounds.origin.x, bounds.origin.y, bounds.size.width, bounds.size.height, toCanvas);
    if (view->layer()->masksToBounds())
        return own.inflated(kEdgePixels);
    if (auto* imageView = objc_cast<UIImageView>(const_cast<UIView*>(view)); imageView && imageView->image()) {
        CGRect image = imageRectForContentMode(imageView->contentMode(), imageView->image()->size(), bounds);
        own = own.united(PixelRect::covering(image.origin.x, image.origin.y, image.size.width, image.size.height, toCanvas));
    }
    for (auto& subview : view->subviews())
        own = own.united(subtreePixelBounds(subview.get(), toCanvas));
    return own.inflated(kEdgePixels);
}

void ViewRenderer::drawTree(UIView* root)
{
    if (!root)
        return;
    drawView(root, m_canvas.pointToPixelMatrix());
}

void ViewRenderer::drawView(UIView* view, const cairo_matrix_t& parentToCanvas)
{
    double alpha = 1;
    if (!isDrawn(view, &alpha))
        return;
    cairo_matrix_t toCanvas = viewToCanvas(view, parentToCanvas);
    // A view scaled to nothing shows nothing.
    if (!isInvertible(toCanvas))
        return;
    // Views are kept alive by the tree while drawing reads them.
    objc::RefPtr<UIView> protect = view;

    bool group = alpha < 1;
    if (group) {
        PixelRect area = subtreePixelBounds(view, parentToCanvas).intersection(m_layers.clipExtents()).intersection(m_layers.canvasRect());
        if (area.isEmpty())
            return;
        m_layers.push(area);
    }

    cairo_t* cr = m_layers.context();
    cairo_save(cr);
    m_layers.setMatrix(toCanvas);
    CGRect bounds = view->bounds();
    CGFloat cornerRadius = view->layer()->cornerRadius();

    if (auto backdrop = m_backdrops.find(view); backdrop != m_backdrops.end()) {
        cairo_save(cr);
        backdrop->second(cr, bounds);
        cairo_restore(cr);
    }
    if (!isInvisible(view->backgroundColor())) {
        setSourceColor(cr, view->backgroundColor());
        addRoundedRect(cr, bounds, cornerRadius);
        cairo_fill(cr);
    }
    // Masking cuts the layer's contents (an aspect-filled image) as well as its sublayers.
    if (view->layer()->masksToBounds()) {
        addRoundedRect(cr, bounds, cornerRadius);
        cairo_clip(cr);
    }
    drawContent(view, toCanvas);
    for (auto& subview : std::vector<objc::RefPtr<UIView>>(view->subviews()))
        drawView(subview.get(), toCanvas);
    m_layers.setMatrix(toCanvas);
    drawOverlay(view, toCanvas);
    cairo_restore(cr);

    if (group)
        m_layers.popWithAlpha(alpha);
}

void ViewRenderer::drawContent(UIView* view, const cairo_matrix_t& toCanvas)
{
    PaintContext paint { m_layers.context(), m_layers, toCanvas, m_canvas.pixelsPerPoint(), m_now };
    UIUserInterfaceStyle style = UIKitCurrentUserInterfaceStyle();
    if (auto* label = objc_cast<UILabel>(view))
        paintLabel(paint, label);
    else if (auto* imageView = objc_cast<UIImageView>(view))
        paintImageView(paint, imageView);
    else if (auto* material = objc_cast<MTMaterialView>(view))
        paintMaterial(paint, view->bounds(), view->layer()->cornerRadius(), materialLookForRecipe(material->recipe(), material->weighting(), style));
    else if (auto* effectView = objc_cast<UIVisualEffectView>(view)) {
        if (UIBlurEffect* effect = effectView->effect())
            paintMaterial(paint, view->bounds(), view->layer()->cornerRadius(), materialLookForBlurStyle(effect->style(), style));
    } else if (auto* toggle = objc_cast<UISwitch>(view))
        paintSwitch(paint, toggle);
    else if (auto* field = objc_cast<UITextField>(view))
        paintTextField(paint, field);
    else if (auto* table = objc_cast<UITableView>(view))
        paintTableSections(paint, table);
    else if (auto* bar = objc_cast<UINavigationBar>(view))
        paintNavigationBar(paint, bar);
    else if (objc_cast<MTLumaDodgePillView>(view)) {
        auto* homeBar = view->superview() ? objc_cast<CSHomeAffordanceView>(view->superview()) : nullptr;
        UIColor* override = homeBar ? objc_cast<UIColor>(homeBar->overrideColor()) : nullptr;
        paintLumaDodgePill(paint, view, override);
    }
}

void ViewRenderer::drawOverlay(UIView* view, const cairo_matrix_t& toCanvas)
{
    PaintContext paint { m_layers.context(), m_layers, toCanvas, m_canvas.pixelsPerPoint(), m_now };
    if (auto* progressView = objc_cast<UIProgressView>(view))
        paintProgressBar(paint, progressView);
    // Separators lie over the cells, which may have backgrounds of their own.
    else if (auto* table = objc_cast<UITableView>(view))
        paintTableSeparators(paint, table);
}

} // namespace sim::render
