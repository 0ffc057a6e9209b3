#pragma once
// TSVGCustomViewBox: the base of the viewport elements (nested svg documents, symbol,
// marker, pattern, image), which map a viewBox into a rectangle under a
// preserveAspectRatio rule. Here: the values and their reading and writing.

#include "svg/aspect_ratio.h"
#include "svg/group.h"

#include <QString>
#include <memory>

namespace velk {

// The size of the viewport an outermost svg element measures percentages in when it
// has no view box (SVG's 100%, the usual renderers' 100 x 100).
inline constexpr float SVGDefaultViewportSize = 100;

// Fits a view box of the given size into aRect under AspectRatio: the scale factors sx,
// sy and the translation tx, ty of the view box's origin. A view box side of at most 1
// (or negative) scales by 1 / side, a zero side by 1.
struct TSVGViewBoxFit {
    float sx = 1;
    float sy = 1;
    float tx = 0;
    float ty = 0;
};
TSVGViewBoxFit SVGFitViewBox(const TRectF& aRect, const TSizeF& ViewBoxSize,
                             const TSVGPreserveAspectRatio& AspectRatio);
// The matrix that maps ViewBox into aRect: translate(-left, -top), then the fit's scale,
// then its translation.
TMatrix SVGViewBoxMatrix(const TRectF& ViewBox, const TRectF& aRect, const TSVGPreserveAspectRatio& AspectRatio);

class TSVGCustomViewBox : public TSVGCustomGroup {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // The aspect ratio starts as SVG's initial xMidYMid meet; no view box; overflow
    // hidden (SVG's user agent style sheet), so the viewport clips.
    explicit TSVGCustomViewBox(TSVGDocument* aOwner = nullptr);
    ~TSVGCustomViewBox() override;

    // This element when its view box was given or it is an svg element (its own
    // rectangle then stands in for the view box), else the inherited search.
    TSVGCustomViewBox* GetNearestViewBox() override;
    // Also the view box (with its given flag) and the aspect ratio of a viewport element.
    void AssignProperties(const TPersistent* Source) override;
    // Also the aspect ratio back to xMidYMid meet, no view box and overflow hidden,
    // inside an update bracket.
    void Clear() override;

    // (left, top, right, bottom). Writing also marks the view box as given.
    const TRectF& ViewBox() const { return FViewBox; }
    void SetViewBox(const TRectF& Value);
    // A viewBox attribute was given (or ViewBox was set).
    bool ViewBoxSpecified() const { return FViewBoxSpecified; }
    TSVGPreserveAspectRatio& AspectRatio() const { return *FAspectRatio; }
    void SetAspectRatio(const TSVGPreserveAspectRatio& Value) { FAspectRatio->Assign(&Value); }
    // The view box as attribute text, with the owner's number format. Writing a
    // non-empty text parses it and marks the view box as given; an empty text removes it.
    QString ViewBoxRect() const;
    void SetViewBoxRect(const QString& Value);

    // --- Viewport (view_box_drawing.cpp) ---

    // The view box for an owner-less element with one, else (x, y, x + width,
    // y + height).
    TRectF GetBoundsRect() const override;
    // That rectangle through FMatrix x aMatrix (the box of its four corners).
    TRectF GetBoundsRect(const TMatrix& aMatrix) const override;
    using TSVGCustomGroup::GetViewMatrix;
    // Without a view box: the scale of OldTransformation, then aRect's top-left (the
    // content's origin is the viewport's corner; the alignment has nothing to align).
    // With one: the view box fitted into aRect (SVGFitViewBox) after moving its origin
    // to 0, 0.
    TMatrix GetViewMatrix(const TMatrix& OldTransformation, const TRectF& aRect) const override;
    // DrawViewport into OwnViewport.
    void Draw(const TMatrix& aMatrix, TVelkGPCanvas& Canvas, const TRectF& aRect) override;
    using TSVGCustomGroup::Draw;
    // Draws the element as a viewport at Viewport (in aMatrix's space; a use element
    // passes its own rectangle). When IsDisplayed, inside a saved canvas state: unless
    // overflow is visible, Viewport (with the clip offsets; aRect when ClipsToTarget) is
    // intersected into the canvas clip; then DrawElement with GetViewMatrix(identity,
    // Viewport) x aMatrix.
    // Nothing is drawn for an empty, negative or non-finite Viewport or given view box,
    // or when the matrix overflows.
    void DrawViewport(const TMatrix& aMatrix, TVelkGPCanvas& Canvas, const TRectF& Viewport, const TRectF& aRect);
    // Hit testing of the element drawn by DrawViewport: ElementAtPos, with the children
    // searched under the viewport's view matrix and, unless overflow is visible, only
    // inside the viewport.
    TSVGGraphicElement* ElementAtViewportPos(const TMatrix& aMatrix, TVelkGPCanvas& Canvas, const TPointF& Pt,
                                             const TRectF& Viewport, const TRectF& aRect, TSVGFindOptions Options);
    // Unless overflow is visible: the clip rectangle (GetClipRect) through Matrix is
    // intersected into the canvas clip.
    virtual void ClipToViewport(const TMatrix& Matrix, TVelkGPCanvas& Canvas, const TRectF& aRect);

protected:
    // Where the element is a viewport when drawn where it stands: GetBoundsRect.
    virtual TRectF OwnViewport() const { return GetBoundsRect(); }
    // The viewport is the target rectangle itself (aRect, in the canvas's world space),
    // as for an outermost svg element fitted into it, rather than Viewport through the
    // matrix.
    virtual bool ClipsToTarget() const { return false; }
    // The children's search as DrawViewport draws them: into OwnViewport, or into the
    // viewport ElementAtViewportPos gives.
    TSVGGraphicElement* HitTest(const TMatrix& aMatrix, TVelkGPCanvas& Canvas, TSVGFindOptions Options,
                                const TRectF& aRect, const TPointF& Pt) override;
    // "hidden" for overflow: a viewport clips unless told otherwise.
    QString StylePropertyDefault(TSVGStyleProperty Property) const override;
    // The graphic element's attributes; then the view box starts as the element's own
    // rectangle and, when a non-empty viewBox attribute is there, becomes that (given);
    // then preserveAspectRatio (a missing attribute keeps the current value).
    void ReadAttributes(TXMLNode Node) override;
    // The graphic element's attributes; with a given view box, viewBox and
    // preserveAspectRatio (omitted in compact export when it is xMidYMid meet).
    void WriteAttributes(TXMLNode Node) override;

private:
    // A rectangle a viewport can be drawn into: Viewport, and the view box when given, are
    // finite with a positive width and height.
    bool IsDrawableViewport(const TRectF& Viewport) const;
    // Viewport with the clip offsets of the own rectangle.
    TRectF ViewportClipRect(const TRectF& Viewport) const;
    // Unless overflow is visible, the viewport's clip (see DrawViewport) intersected into
    // Clip.
    void ClipViewport(const TMatrix& aMatrix, TVelkGPRegion& Clip, const TRectF& Viewport,
                      const TRectF& aRect) const;

    std::unique_ptr<TSVGPreserveAspectRatio> FAspectRatio;
    // The viewport ElementAtViewportPos hands to HitTest (nullptr: OwnViewport).
    const TRectF* FHitViewport = nullptr;
    TRectF FViewBox;
    bool FViewBoxSpecified = false;
};

} // namespace velk
