#include "LayerStack.h"

#include "Canvas.h"

#include <cassert>

namespace sim::render {

LayerStack::LayerStack(Canvas& canvas)
{
    cairo_surface_reference(canvas.surface());
    m_layers.push_back({ canvas.surface(), cairo_create(canvas.surface()), { 0, 0, canvas.width(), canvas.height() } });
}

LayerStack::~LayerStack()
{
    for (auto& layer : m_layers) {
        cairo_destroy(layer.context);
        cairo_surface_destroy(layer.surface);
    }
}

void LayerStack::setMatrix(const cairo_matrix_t& canvasMatrix) const
{
    const Layer& top = m_layers.back();
    cairo_matrix_t offset;
    cairo_matrix_init_translate(&offset, -top.rect.x, -top.rect.y);
    cairo_matrix_t matrix;
    // cairo_matrix_multiply(result, a, b) applies a first, then b.
    cairo_matrix_multiply(&matrix, &canvasMatrix, &offset);
    cairo_set_matrix(top.context, &matrix);
}

PixelRect LayerStack::clipExtents() const
{
    const Layer& top = m_layers.back();
    cairo_save(top.context);
    cairo_identity_matrix(top.context);
    double x1, y1, x2, y2;
    cairo_clip_extents(top.context, &x1, &y1, &x2, &y2);
    cairo_restore(top.context);
    cairo_matrix_t toCanvas;
    cairo_matrix_init_translate(&toCanvas, top.rect.x, top.rect.y);
    return PixelRect::covering(x1, y1, x2 - x1, y2 - y1, toCanvas);
}

void LayerStack::push(PixelRect rect)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(1, rect.width), std::max(1, rect.height));
    m_layers.push_back({ surface, cairo_create(surface), rect });
}

void LayerStack::popWithAlpha(double alpha)
{
    assert(m_layers.size() > 1);
    Layer top = m_layers.back();
    m_layers.pop_back();
    const Layer& below = m_layers.back();
    cairo_surface_flush(top.surface);
    cairo_save(below.context);
    cairo_identity_matrix(below.context);
    cairo_set_source_surface(below.context, top.surface, top.rect.x - below.rect.x, top.rect.y - below.rect.y);
    cairo_paint_with_alpha(below.context, alpha);
    cairo_restore(below.context);
    cairo_destroy(top.context);
    cairo_surface_destroy(top.surface);
}

cairo_surface_t* LayerStack::flatten(PixelRect rect) const
{
    cairo_surface_t* result = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(1, rect.width), std::max(1, rect.height));
    cairo_t* context = cairo_create(result);
    for (auto& layer : m_layers) {
        cairo_surface_flush(layer.surface);
        cairo_set_source_surface(context, layer.surface, layer.rect.x - rect.x, layer.rect.y - rect.y);
        cairo_paint(context);
    }
    cairo_destroy(context);
    cairo_surface_flush(result);
    return result;
}

} // namespace sim::render
