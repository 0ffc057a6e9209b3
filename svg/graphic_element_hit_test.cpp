// TSVGGraphicElement: hit testing. The tree is walked in reverse drawing order with the
// matrices of drawing, so the element found is the topmost one painted at the point.

#include "svg/graphic_element.h"

#include "graphics/canvas.h"
#include "graphics/canvas_save_state.h"
#include "graphics/pen.h"
#include "svg/device_geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace velk {

namespace {

// Strokes thinner than this (device units) are hit as if this wide, so that hairlines
// can be picked.
constexpr float HitStrokeWidth = 3;

// Widens Pen where its stroke is thinner than HitStrokeWidth. A pen with a nib matrix is
// as thin as its width through the matrix's smallest stretch; when that is too thin it
// becomes a round nib as wide as the stroke's widest part (at least HitStrokeWidth).
void WidenForHitTest(TVelkGPPen& Pen)
{
    const TMatrix& nib = Pen.Matrix();
    const double a = nib.m11, b = nib.m12, c = nib.m21, d = nib.m22;
    const double half = (a * a + b * b + c * c + d * d) / 2;
    const double det = std::abs(a * d - b * c);
    const double largest = std::sqrt(half + std::sqrt(std::max(0.0, half * half - det * det)));
    const double smallest = largest > 0 ? det / largest : 0;
    const double width = Pen.Thickness();
    if (width * smallest >= HitStrokeWidth)
        return;
    Pen.SetMatrix(IdentityMatrix);
    const double widest = std::min(width * largest, double(std::numeric_limits<float>::max()));
    Pen.SetThickness(std::max(HitStrokeWidth, static_cast<float>(widest)));
}

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
        WidenForHitTest(Canvas.Pen());
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
