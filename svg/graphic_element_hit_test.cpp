// TSVGGraphicElement: hit testing. The tree is walked in reverse drawing order with the
// matrices of drawing, so the element found is the topmost one painted at the point.

#include "svg/graphic_element.h"

#include "graphics/canvas.h"
#include "graphics/canvas_save_state.h"
#include "graphics/pen.h"
#include "svg/device_geometry.h"

#include <memory>

namespace velk {

namespace {

// Strokes thinner than this (device units) are hit as if this wide, so that hairlines
// can be picked.
constexpr float HitStrokeWidth = 3;

} // namespace

TSVGGraphicElement* TSVGGraphicElement::ElementAtPos(TVelkGPCanvas& Canvas, const TPointF& Pt, const TRectF& aRect,
                                                     TSVGFindOptions Options)
{
    return ElementAtPos(GetViewMatrix(aRect), Canvas, Pt, aRect, Options);
}

TSVGGraphicElement* TSVGGraphicElement::ElementAtPos(const TMatrix& aMatrix, TVelkGPCanvas& Canvas,
                                                     const TPointF& Pt, const TRectF& aRect, TSVGFindOptions Options)
{
    if (!Options.Contains(foFindHiddenElements) && !IsDisplayed())
        return nullptr;
    if (!Options.Contains(foFindDisabled) && !IsEnabled())
        return nullptr;
    // What draws nothing is never hit.
    if (!IsFiniteMatrix(MatrixMultiply(FMatrix, aMatrix)))
        return nullptr;
    return HitTest(aMatrix, Canvas, Options, aRect, Pt);
}

TSVGGraphicElement* TSVGGraphicElement::HitTest(const TMatrix& aMatrix, TVelkGPCanvas& Canvas,
                                                TSVGFindOptions Options, const TRectF& aRect, const TPointF& Pt)
{
    const TMatrix M = MatrixMultiply(FMatrix, aMatrix);
    for (int i = Count() - 1; i >= 0; --i)
        if (TSVGGraphicElement* graphic = Child(i)->AsGraphicElement())
            if (TSVGGraphicElement* found = graphic->ElementAtPos(M, Canvas, Pt, aRect, Options))
                return found;
    // A hidden element is not hit itself (its children may be, above).
    if (!Visible() && !Options.Contains(foFindHiddenElements))
        return nullptr;
    return HitTestSelf(M, Canvas, Options, aRect, Pt);
}

TSVGGraphicElement* TSVGGraphicElement::HitTestSelf(const TMatrix& M, TVelkGPCanvas& Canvas,
                                                    TSVGFindOptions Options, const TRectF& aRect, const TPointF& Pt)
{
    TVelkGPPath bounds;
    bounds.AddRectangle(GetBoundsRect());
    if (!SVGToDeviceSpace(bounds, frNone, M) || !bounds.IsVisiblePathPoint(Pt, &Canvas))
        return nullptr;
    if (!Options.Contains(foUseBoundingBox)) {
        const TVelkGPPath& shape = GetShape();
        if (shape.Count() > 0)
            return HitTestShape(M, Canvas, Options, shape, aRect, Pt);
    }
    return DoElementFound(this);
}

TSVGGraphicElement* TSVGGraphicElement::HitTestShape(const TMatrix& M, TVelkGPCanvas& Canvas,
                                                     TSVGFindOptions Options, const TVelkGPPath& Path,
                                                     const TRectF& aRect, const TPointF& Pt)
{
    const std::unique_ptr<TVelkGPPath> path = Path.Clone(nullptr);
    if (!SVGToDeviceSpace(*path, FillRule(), M))
        return nullptr;
    const bool filled = Options.Contains(foFindNonFilled) || GetBrush(M, aRect).Kind() != bkNone;

    const auto test = [&] {
        PreparePen(Canvas, M, VectorEffect() != veNonScalingStroke);
        if (Canvas.Pen().Thickness() < HitStrokeWidth)
            Canvas.Pen().SetThickness(HitStrokeWidth);
        ApplyClipPath(M, Canvas, aRect);
        // A part the clip path cuts away is not painted, so it is not hit either.
        return Canvas.WorldClipArea().IsVisible(Pt) &&
               ((filled && path->IsVisiblePathPoint(Pt, &Canvas)) ||
                path->IsOutlineVisiblePathPoint(Pt, Canvas.Pen(), &Canvas));
    };
    // The pen and clip of the test go with the saved state, also on failure.
    TVelkGPCanvasSaveState* const state = Canvas.SaveState();
    bool hit = false;
    try {
        hit = test();
    } catch (...) {
        Canvas.RestoreState(state);
        throw;
    }
    Canvas.RestoreState(state);
    return hit ? DoElementFound(this) : nullptr;
}

} // namespace velk
