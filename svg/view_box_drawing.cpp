// TSVGCustomViewBox: fitting a view box into a viewport, the view matrix, bounds and the
// drawing of a viewport with its clip (see docs/svg.md, "Viewports").

#include "svg/view_box.h"

#include "graphics/canvas.h"
#include "graphics/canvas_region.h"
#include "graphics/geometry.h"
#include "graphics/region.h"

#include <QScopeGuard>

#include <algorithm>
#include <cmath>

namespace velk {

namespace {

// The factor that maps a view box side onto an extent: a zero side stays unscaled, and a
// side of at most 1 (or a negative one) scales by its inverse whatever the extent.
float FitFactor(float Side, float Extent)
{
    if (Side == 0)
        return 1;
    if (Side <= 1)
        return 1 / Side;
    return Extent / Side;
}

// A rectangle a viewport can be drawn into: finite, with a positive width and height.
bool IsDrawableRect(const TRectF& R)
{
    return std::isfinite(R.Left) && std::isfinite(R.Top) && std::isfinite(R.Right) && std::isfinite(R.Bottom)
        && R.Width() > 0 && R.Height() > 0;
}

// Intersects Rect, taken through Matrix, into Clip (the canvas clip in world space, or a
// region for a hit test). A rectangle or matrix that is not finite leaves nothing.
void IntersectClip(const TMatrix& Matrix, TVelkGPRegion& Clip, const TRectF& Rect)
{
    TVelkGPRegion region(Clip.Owner());
    if (IsFiniteMatrix(Matrix) && IsDrawableRect(Rect)) {
        region.Combine(Rect, cmReplace);
        region.ApplyMatrix(Matrix);
    } else {
        region.Clear();
    }
    Clip.Combine(region, cmIntersect);
}

} // namespace

TSVGViewBoxFit SVGFitViewBox(const TRectF& aRect, const TSizeF& ViewBoxSize, const TSVGPreserveAspectRatio& AspectRatio)
{
    TSVGViewBoxFit fit;
    fit.sx = FitFactor(ViewBoxSize.Width, aRect.Width());
    fit.sy = FitFactor(ViewBoxSize.Height, aRect.Height());
    fit.tx = aRect.Left;
    fit.ty = aRect.Top;
    const TSVGAlign align = AspectRatio.Align();
    if (align == saNone)
        return fit;
    fit.sx = fit.sy = AspectRatio.Slice() ? std::max(fit.sx, fit.sy) : std::min(fit.sx, fit.sy);
    switch (align) {
    case saXMidYMin:
    case saXMidYMid:
    case saXMidYMax:
        fit.tx = aRect.Left + aRect.Width() / 2 - ViewBoxSize.Width * fit.sx / 2;
        break;
    case saXMaxYMin:
    case saXMaxYMid:
    case saXMaxYMax:
        fit.tx = aRect.Right - ViewBoxSize.Width * fit.sx;
        break;
    default:
        break;
    }
    switch (align) {
    case saXMinYMid:
    case saXMidYMid:
    case saXMaxYMid:
        fit.ty = aRect.Top + aRect.Height() / 2 - ViewBoxSize.Height * fit.sy / 2;
        break;
    case saXMinYMax:
    case saXMidYMax:
    case saXMaxYMax:
        fit.ty = aRect.Bottom - ViewBoxSize.Height * fit.sy;
        break;
    default:
        break;
    }
    return fit;
}

TMatrix SVGViewBoxMatrix(const TRectF& ViewBox, const TRectF& aRect, const TSVGPreserveAspectRatio& AspectRatio)
{
    const TSVGViewBoxFit fit = SVGFitViewBox(aRect, {ViewBox.Width(), ViewBox.Height()}, AspectRatio);
    return MatrixMultiply(
        MatrixMultiply(CreateTranslationMatrix(-ViewBox.Left, -ViewBox.Top), CreateScalingMatrix(fit.sx, fit.sy)),
        CreateTranslationMatrix(fit.tx, fit.ty));
}

TRectF TSVGCustomViewBox::GetBoundsRect() const
{
    if (FViewBoxSpecified && !Owner())
        return FViewBox;
    const float x = GetX();
    const float y = GetY();
    return {x, y, x + GetWidth(), y + GetHeight()};
}

TRectF TSVGCustomViewBox::GetBoundsRect(const TMatrix& aMatrix) const
{
    return TransformRectBoundsF(MatrixMultiply(Matrix(), aMatrix), GetBoundsRect());
}

TMatrix TSVGCustomViewBox::GetViewMatrix(const TMatrix& OldTransformation, const TRectF& aRect) const
{
    if (!FViewBoxSpecified)
        return MatrixMultiply(CreateScalingMatrix(OldTransformation.m11, OldTransformation.m22),
                              CreateTranslationMatrix(aRect.Left, aRect.Top));
    return SVGViewBoxMatrix(FViewBox, aRect, *FAspectRatio);
}

void TSVGCustomViewBox::Draw(const TMatrix& aMatrix, TVelkGPCanvas& Canvas, const TRectF& aRect)
{
    DrawViewport(aMatrix, Canvas, OwnViewport(), aRect);
}

void TSVGCustomViewBox::DrawViewport(const TMatrix& aMatrix, TVelkGPCanvas& Canvas, const TRectF& Viewport,
                                     const TRectF& aRect)
{
    if (!IsDisplayed() || !IsDrawableViewport(Viewport))
        return;
    const TMatrix M = MatrixMultiply(GetViewMatrix(IdentityMatrix, Viewport), aMatrix);
    if (!IsFiniteMatrix(M))
        return;
    TVelkGPCanvasSaveState* const state = Canvas.SaveState();
    const auto restore = qScopeGuard([&] { Canvas.RestoreState(state); });
    ClipViewport(aMatrix, Canvas.ClipRegion(), Viewport, aRect);
    DrawElement(M, Canvas, aRect);
}

TSVGGraphicElement* TSVGCustomViewBox::ElementAtViewportPos(const TMatrix& aMatrix, TVelkGPCanvas& Canvas,
                                                            const TPointF& Pt, const TRectF& Viewport,
                                                            const TRectF& aRect, TSVGFindOptions Options)
{
    const TRectF* const outer = FHitViewport;
    const auto restore = qScopeGuard([&] { FHitViewport = outer; });
    FHitViewport = &Viewport;
    return ElementAtPos(aMatrix, Canvas, Pt, aRect, Options);
}

TSVGGraphicElement* TSVGCustomViewBox::HitTest(const TMatrix& aMatrix, TVelkGPCanvas& Canvas,
                                               TSVGFindOptions Options, const TRectF& aRect, const TPointF& Pt)
{
    const TRectF viewport = FHitViewport ? *FHitViewport : OwnViewport();
    // Elements below search with their own viewports.
    FHitViewport = nullptr;
    if (!IsDrawableViewport(viewport))
        return nullptr;
    const TMatrix M = MatrixMultiply(GetViewMatrix(IdentityMatrix, viewport), aMatrix);
    if (!IsFiniteMatrix(M))
        return nullptr;
    if (!Overflow()) {
        TVelkGPRegion clip(&Canvas);
        ClipViewport(aMatrix, clip, viewport, aRect);
        if (!clip.IsVisible(Pt))
            return nullptr;
    }
    return TSVGCustomGroup::HitTest(M, Canvas, Options, aRect, Pt);
}

void TSVGCustomViewBox::ClipToViewport(const TMatrix& Matrix, TVelkGPCanvas& Canvas, const TRectF& /*aRect*/)
{
    if (!Overflow())
        IntersectClip(Matrix, Canvas.ClipRegion(), GetClipRect());
}

bool TSVGCustomViewBox::IsDrawableViewport(const TRectF& Viewport) const
{
    // SVG: a zero-sized viewport or view box disables drawing, a negative one is an error.
    return IsDrawableRect(Viewport) && (!FViewBoxSpecified || IsDrawableRect(FViewBox));
}

void TSVGCustomViewBox::ClipViewport(const TMatrix& aMatrix, TVelkGPRegion& Clip, const TRectF& Viewport,
                                     const TRectF& aRect) const
{
    if (Overflow())
        return;
    if (ClipsToTarget())
        IntersectClip(IdentityMatrix, Clip, ViewportClipRect(aRect));
    else
        IntersectClip(aMatrix, Clip, ViewportClipRect(Viewport));
}

TRectF TSVGCustomViewBox::ViewportClipRect(const TRectF& Viewport) const
{
    const TRectF bounds = GetBoundsRect();
    const TRectF clip = GetClipRect();
    return {Viewport.Left + clip.Left - bounds.Left, Viewport.Top + clip.Top - bounds.Top,
            Viewport.Right + clip.Right - bounds.Right, Viewport.Bottom + clip.Bottom - bounds.Bottom};
}

} // namespace velk
