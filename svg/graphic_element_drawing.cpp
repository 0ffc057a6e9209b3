// TSVGGraphicElement: the drawing pipeline. Every element type reuses it and overrides
// only the steps that differ (geometry, bounds, view matrix). Geometry is taken into
// device space before it is drawn, and opacity is applied per paint operation (see
// docs/svg.md, "Drawing").

#include "svg/graphic_element.h"

#include "graphics/brush.h"
#include "graphics/canvas.h"
#include "graphics/canvas_region.h"
#include "graphics/font.h"
#include "graphics/gp_color.h"
#include "graphics/gradient.h"
#include "graphics/path_data.h"
#include "graphics/region.h"
#include "svg/device_geometry.h"
#include "svg/document.h"
#include "svg/length.h"
#include "svg/view_box.h"

#include <QTransform>

#include <cmath>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

namespace velk {

namespace {

// The thinnest stroke handed to the canvas: a width of 0 keeps a pen that draws
// (practically) nothing, where the backend would take 0 for a one-pixel hairline.
constexpr float MinStrokeWidth = 1e-12f;
// Dash lengths in pen widths: anything shorter is dropped by the stroker, caps included.
constexpr float MinDashLength = 1.0f / 64;
// The gap (in pen widths) that stands in for none: too short to show.
constexpr float MinGapLength = 1e-3f;

// SVG strokes in user space: the outline is made there and mapped by M. Under a
// similarity (rotation, reflection, uniform scale) that is the device-space stroke of the
// mapped path with the width scaled by the similarity's factor. Any other M (a skew, a
// non-uniform scale) shapes the nib: the canvas pen keeps the user width and takes M's
// linear part as its matrix. A singular M flattens the stroke to nothing.
struct TStrokeMapping {
    double Scale = 1;
    TMatrix Nib = IdentityMatrix;
};

TStrokeMapping StrokeMapping(const TMatrix& M)
{
    const double a = M.m11, b = M.m12, c = M.m21, d = M.m22;
    const double tolerance = 1e-6 * (std::abs(a) + std::abs(b) + std::abs(c) + std::abs(d));
    const bool similarity =
        std::abs(a - d) + std::abs(b + c) <= tolerance || std::abs(a + d) + std::abs(b - c) <= tolerance;
    if (similarity)
        return {std::hypot(a, b), IdentityMatrix};
    if (!QTransform(a, b, c, d, 0, 0).isInvertible())
        return {0, IdentityMatrix};
    TMatrix nib = IdentityMatrix;
    nib.m11 = M.m11;
    nib.m12 = M.m12;
    nib.m21 = M.m21;
    nib.m22 = M.m22;
    return {1, nib};
}

// Value as a float when it is one (finite, in range), else nothing usable: NaN.
float ToFiniteFloat(double Value)
{
    if (!std::isfinite(Value) || std::abs(Value) > std::numeric_limits<float>::max())
        return std::numeric_limits<float>::quiet_NaN();
    return static_cast<float>(Value);
}

// The zeros of a dash pattern (in pen widths) arrive as the shortest length the SVG pen
// keeps, since the backend takes no zero. They get lengths that draw what a zero draws: a
// dash with caps MinDashLength (its caps then show: the dots of "0 n"), a gap
// MinGapLength. Each stand-in is centred on the zero it replaces, taken half from each
// neighbour, so that the pattern keeps its length and everything else its place; a zero
// gap at a corner thus lies across the corner, and neither dash is joined round it, as
// with a true zero ("n 0"). When entry 0 grows at its start, or the last entry into the
// next period, the offset follows. Flat dashes of no length draw nothing: left alone.
void StandInForZeros(std::vector<float>& Pattern, float& Offset, bool DashCaps)
{
    const std::size_t count = Pattern.size();
    const auto least = [&](std::size_t Index) {
        return Index % 2 == 1 ? MinGapLength : DashCaps ? MinDashLength : 0.0f;
    };
    for (std::size_t i = 0; i < count; ++i) {
        const float standIn = least(i);
        if (Pattern[i] >= standIn)
            continue;
        const float half = (standIn - Pattern[i]) / 2;
        const std::size_t previous = (i + count - 1) % count;
        const std::size_t next = (i + 1) % count;
        const bool room = previous == next ? Pattern[next] - 2 * half >= least(next)
                                           : Pattern[previous] - half >= least(previous) &&
                                                 Pattern[next] - half >= least(next);
        Pattern[i] = standIn;
        // Without room (a pattern of stand-ins) the pattern grows a little.
        if (!room)
            continue;
        Pattern[previous] -= half;
        Pattern[next] -= half;
        if (i == 0)
            Offset += half;
        if (i + 1 == count)
            Offset -= half;
    }
}

void GrayGradient(TVelkGPGradient* Gradient)
{
    if (!Gradient)
        return;
    for (const auto& point : *Gradient->Points())
        point->SetColor(GrayColor(point->Color()));
}

// Fills, then strokes, Path (the element's geometry, a copy that may be changed)
// through M with the canvas's brush and pen at the element's opacities. The brush and
// pen BeginDraw resolved give fill-opacity and stroke-opacity.
void FillAndStroke(const TSVGGraphicElement& Element, TVelkGPPath& Path, const TMatrix& M, TVelkGPCanvas& Canvas)
{
    if (!SVGToDeviceSpace(Path, Element.FillRule(), M))
        return;
    const float opacity = Element.GetAbsoluteOpacity();
    if (Canvas.Brush().Kind() != bkNone)
        Canvas.FillPath(Path, opacity * Element.OwnBrush().Opacity());
    if (Canvas.Pen().Kind() != bkNone)
        Canvas.DrawPath(Path, opacity * Element.OwnPen().Opacity());
}

// The rectangle a resolution of the brush or pen gets: the element's bounds only when it
// is about to resolve paint that refers to a paint server (which is laid out over them),
// and never for a container, which paints nothing itself and whose bounds are a walk of
// its whole subtree. Anything else gets an empty rectangle, which it does not use.
TRectF BoundsForResolution(const TSVGGraphicElement& Element, bool Resolving, const QString& URI)
{
    const TSVGElementType type = Element.SVGType();
    const bool container = SVGStructuralElementTypes.Contains(type) || type == etSwitch;
    return Resolving && !URI.isEmpty() && !container ? Element.GetBoundsRect() : TRectF{};
}

// Runs Action (which must not raise) when it leaves scope, also by an exception.
template <typename F>
class TOnExit {
public:
    explicit TOnExit(F Action) : FAction(std::move(Action)) {}
    ~TOnExit() { FAction(); }
    TOnExit(const TOnExit&) = delete;
    TOnExit& operator=(const TOnExit&) = delete;

private:
    F FAction;
};

} // namespace

// --- Bounds and visibility ---

bool TSVGGraphicElement::IsDisplayed() const
{
    return Display() && TSVGElement::IsDisplayed();
}

TRectF TSVGGraphicElement::GetBoundsRect() const
{
    const float x = GetX();
    const float y = GetY();
    return {x, y, x + GetWidth(), y + GetHeight()};
}

TRectF TSVGGraphicElement::GetBoundsRect(const TMatrix& aMatrix) const
{
    return TransformRectF(MatrixMultiply(FMatrix, aMatrix), GetBoundsRect());
}

// --- Drawing ---

void TSVGGraphicElement::Draw(TVelkGPCanvas& Canvas, const TRectF& aRect)
{
    Draw(GetViewMatrix(aRect), Canvas, aRect);
}

void TSVGGraphicElement::Draw(const TMatrix& aMatrix, TVelkGPCanvas& Canvas, const TRectF& aRect)
{
    if (IsDisplayed())
        DrawElement(aMatrix, Canvas, aRect);
}

void TSVGGraphicElement::Draw(const TMatrix& aMatrix, QPainter& Canvas, const TRect& aRect)
{
    TVelkGPCanvas canvas(Canvas);
    Draw(aMatrix, canvas, RectToRectF(aRect));
}

void TSVGGraphicElement::DrawElement(const TMatrix& aMatrix, TVelkGPCanvas& Canvas, const TRectF& aRect)
{
    const TMatrix M = MatrixMultiply(FMatrix, aMatrix);
    if (!IsFiniteMatrix(M))
        return;
    // The element may be drawn again from inside its own drawing (a paint server or
    // marker that refers back): each drawing keeps its own saved state.
    TVelkGPCanvasSaveState* const outerState = FCanvasState;
    const TOnExit keepOuterState([&] { FCanvasState = outerState; });
    FCanvasState = nullptr;
    try {
        BeginDraw(M, Canvas, aRect);
    } catch (...) {
        // What BeginDraw put onto the canvas goes; DoDrawn belongs to a drawing that began.
        if (FCanvasState)
            Canvas.RestoreState(FCanvasState);
        throw;
    }
    try {
        // A hidden element paints nothing itself; its children decide for themselves.
        if (Visible())
            DrawShape(M, Canvas, aRect);
        DrawChildren(M, Canvas, aRect);
    } catch (...) {
        EndDraw(M, Canvas, aRect);
        throw;
    }
    EndDraw(M, Canvas, aRect);
}

void TSVGGraphicElement::BeginDraw(const TMatrix& M, TVelkGPCanvas& Canvas, const TRectF& aRect)
{
    FCanvasState = Canvas.SaveState();
    Canvas.SetBrush(GetBrush(IdentityMatrix, BoundsForResolution(*this, FBrushChanged, FBrush->URI())));
    PreparePen(Canvas, M, VectorEffect() != veNonScalingStroke);
    Canvas.SetFont(GetFont());
    if (!IsEnabled())
        DrawDisabled(M, Canvas, aRect);
    // Text is filled with the fill.
    Canvas.Font().SetBrush(Canvas.Brush());

    const TSVGDocument* owner = Owner();
    TSVGColorRendering colorRendering = ColorRendering();
    TSVGColorInterpolation colorInterpolation = ColorInterpolation();
    if (owner && colorRendering != clrnOptimizeSpeed && colorRendering != clrnOptimizeQuality) {
        colorRendering = owner->DefaultColorRendering();
        if (colorInterpolation != sciSRGB && colorInterpolation != sciLinearRGB)
            colorInterpolation = owner->DefaultColorInterpolation();
    }
    Canvas.SetCompositingQuality(ColorRenderingToCompositingQuality(colorRendering, colorInterpolation));

    TSVGShapeRendering shapeRendering = ShapeRendering();
    if (owner && (shapeRendering == srnNone || shapeRendering == srnAuto))
        shapeRendering = owner->DefaultShapeRendering();
    // A canvas that cannot paint keeps its mode: hit tests and measuring do not need it.
    Canvas.TrySmoothingMode(ShapeRenderingToSmoothingMode(shapeRendering));

    TSVGTextRendering textRendering = TextRendering();
    if (owner && (textRendering == txrnNone || textRendering == txrnAuto))
        textRendering = owner->DefaultTextRendering();
    Canvas.SetTextRenderingHint(TextRenderingToHint(textRendering));

    ApplyClipPath(M, Canvas, aRect);
    DoDrawing(M, Canvas, aRect);
}

bool TSVGGraphicElement::DrawShape(const TMatrix& M, TVelkGPCanvas& Canvas, const TRectF& aRect)
{
    const TVelkGPPath& shape = GetShape();
    if (shape.Count() == 0)
        return false;
    FillAndStrokePath(shape, M, aRect, Canvas);
    return true;
}

void TSVGGraphicElement::DrawChildren(const TMatrix& M, TVelkGPCanvas& Canvas, const TRectF& aRect)
{
    for (TSVGElement* child : Items())
        if (TSVGGraphicElement* graphic = child->AsGraphicElement())
            graphic->Draw(M, Canvas, aRect);
}

void TSVGGraphicElement::EndDraw(const TMatrix& M, TVelkGPCanvas& Canvas, const TRectF& aRect)
{
    try {
        DoDrawn(M, Canvas, aRect);
    } catch (...) {
        Canvas.RestoreState(FCanvasState);
        throw;
    }
    Canvas.RestoreState(FCanvasState);
}

void TSVGGraphicElement::FillAndStrokePath(const TVelkGPPath& Path, const TMatrix& M, const TRectF& /*Rect*/,
                                           TVelkGPCanvas& Canvas)
{
    const std::unique_ptr<TVelkGPPath> path = Path.Clone(nullptr);
    FillAndStroke(*this, *path, M, Canvas);
}

void TSVGGraphicElement::FillAndStrokePathData(const TVelkPathData& PathData, const TMatrix& M, const TRectF& /*Rect*/,
                                               TVelkGPCanvas& Canvas)
{
    TVelkGPPath path;
    path.Assign(&PathData);
    FillAndStroke(*this, path, M, Canvas);
}

void TSVGGraphicElement::PreparePen(TVelkGPCanvas& Canvas, const TMatrix& M, bool ScaleStroke)
{
    const TSVGPen& pen = GetPen(IdentityMatrix, BoundsForResolution(*this, FPenChanged, FPen->URI()));
    Canvas.SetPen(pen);
    TVelkGPPen& canvasPen = Canvas.Pen();

    // Percentages of the width and the dashes are of the nearest view box's normalised
    // diagonal; without a view box the fraction itself is the value.
    const auto diagonal = [this]() -> double {
        const TSVGCustomViewBox* viewBox = GetNearestViewBox();
        return viewBox ? SVGNormalizedDiagonal(viewBox->ViewBox().Width(), viewBox->ViewBox().Height()) : 1.0;
    };
    const double width = pen.ThicknessIsPercent() ? diagonal() * pen.Thickness() : canvasPen.Thickness();
    const TStrokeMapping mapping = ScaleStroke ? StrokeMapping(M) : TStrokeMapping{};
    const double scale = mapping.Scale;
    // NaN, infinities and widths beyond the float range stroke as thinly as 0.
    float strokeWidth = ToFiniteFloat(width * scale);
    if (!(strokeWidth >= MinStrokeWidth))
        strokeWidth = MinStrokeWidth;
    canvasPen.SetThickness(strokeWidth);
    canvasPen.SetMatrix(mapping.Nib);
    // SVG bevels a miter beyond the limit, which the backend calls a clipped miter (its
    // plain miter is cut off at the limit instead).
    if (canvasPen.Join() == sjMiter)
        canvasPen.SetJoin(sjMiterClipped);

    // The element's dashes are user units; the canvas measures them in pen widths.
    if (canvasPen.Kind() == bkNone || canvasPen.Dash() != sdCustom)
        return;
    const auto userDiagonal = static_cast<float>(diagonal());
    std::vector<float> dashes = pen.UserDashArray(userDiagonal);
    for (float& dash : dashes) {
        dash = ToFiniteFloat(dash * scale / strokeWidth);
        // A pattern that collapsed (a zero scale) or overflowed has no dashes to keep.
        if (!(dash > 0)) {
            canvasPen.SetDash(sdSolid);
            return;
        }
    }
    float offset = ToFiniteFloat(pen.UserDashOffset(userDiagonal) * scale / strokeWidth);
    if (!std::isfinite(offset))
        offset = 0;
    StandInForZeros(dashes, offset, canvasPen.DashCap() != dcFlat);
    canvasPen.SetCustomDash(dashes, offset);
}

// --- Disabled look ---

void TSVGGraphicElement::DrawDisabled(const TMatrix& M, TVelkGPCanvas& Canvas, const TRectF& aRect)
{
    TMatrix matrix = M;
    TRectF rect = aRect;
    if (!DoDisableAppearance(matrix, Canvas, rect))
        return;
    TVelkGPBrush& brush = Canvas.Brush();
    brush.SetColor(GrayColor(brush.Color()));
    if (brush.Kind() == bkGradient)
        GrayGradient(brush.Gradient());
    TVelkGPPen& pen = Canvas.Pen();
    pen.SetColor(GrayColor(pen.Color()));
    if (pen.HasBrush() && pen.Brush().Kind() == bkGradient)
        GrayGradient(pen.Brush().Gradient());
}

// --- Owner events ---

void TSVGGraphicElement::DoDrawing(const TMatrix& M, TVelkGPCanvas& Canvas, const TRectF& aRect)
{
    if (TSVGDocument* owner = Owner(); owner && owner->OnDrawing)
        owner->OnDrawing(this, M, Canvas, aRect);
}

void TSVGGraphicElement::DoDrawn(const TMatrix& M, TVelkGPCanvas& Canvas, const TRectF& aRect)
{
    if (TSVGDocument* owner = Owner(); owner && owner->OnDrawn)
        owner->OnDrawn(this, M, Canvas, aRect);
}

bool TSVGGraphicElement::DoDisableAppearance(TMatrix& M, TVelkGPCanvas& Canvas, TRectF& aRect)
{
    bool doDefault = true;
    if (TSVGDocument* owner = Owner(); owner && owner->OnDisableAppearance)
        owner->OnDisableAppearance(this, M, Canvas, aRect, doDefault);
    return doDefault;
}

// --- Geometry cache ---

TVelkGPPath& TSVGGraphicElement::GetShape()
{
    FShapeCacheChanged = false;
    return *FShape;
}

// --- Clipping ---

TSVGGraphicElement* TSVGGraphicElement::ClipURIElement() const
{
    if (IsInherited(ipClipPath))
        if (const TSVGGraphicElement* parent = GetGraphicParent())
            return parent->ClipURIElement();
    const TSVGDocument* owner = Owner();
    if (FClipURI.isEmpty() || !owner)
        return nullptr;
    TSVGElement* element = nullptr;
    if (!owner->AllItems().TryGetValue(FClipURI, element) || !element || element->SVGType() != etClipPath)
        return nullptr;
    return element->AsGraphicElement();
}

void TSVGGraphicElement::ApplyClipPath(const TMatrix& M, TVelkGPCanvas& Canvas, const TRectF& aRect)
{
    const TSVGDocument* owner = Owner();
    if (!owner || !owner->Options().Contains(soApplyClipping))
        return;
    TSVGGraphicElement* clipPath = ClipURIElement();
    if (!clipPath)
        return;
    TVelkGPRegion region(&Canvas);
    region.Clear();
    clipPath->AddToClipRegion(region, IdentityMatrix, aRect);
    if (region.IsEmpty())
        return;
    region.ApplyMatrix(M);
    Canvas.ClipRegion().Combine(region, cmIntersect);
}

bool TSVGGraphicElement::AddToClipRegion(TVelkGPRegion& Region, const TMatrix& aMatrix, const TRectF& aRect)
{
    if (!IsEnabled())
        return false;
    const TMatrix M = MatrixMultiply(FMatrix, aMatrix);
    if (!IsFiniteMatrix(M))
        return false;
    const TVelkGPPath& shape = GetShape();
    if (shape.Count() > 0) {
        const std::unique_ptr<TVelkGPPath> path = shape.Clone(nullptr);
        if (SVGToDeviceSpace(*path, ClipRule(), M))
            Region.Combine(*path, cmUnion);
    }
    // What would not be painted does not clip either.
    for (TSVGElement* child : Items())
        if (TSVGGraphicElement* graphic = child->AsGraphicElement();
            graphic && graphic->Visible() && graphic->IsDisplayed())
            graphic->AddToClipRegion(Region, M, aRect);
    return true;
}

// --- Rendering hints ---

std::uint8_t TSVGGraphicElement::ShapeRenderingToSmoothingMode(TSVGShapeRendering Value)
{
    switch (Value) {
    case srnAuto:
        return 0; // default
    case srnOptimizeSpeed:
        return 1; // high speed
    case srnCrispEdges:
        return 2; // high quality
    case srnGeometricPrecision:
    case srnNone:
        break;
    }
    return 5; // anti-alias 8x8
}

TVelkGPTextRenderingHint TSVGGraphicElement::TextRenderingToHint(TSVGTextRendering Value)
{
    switch (Value) {
    case txrnAuto:
        return trhSystemDefault;
    case txrnOptimizeSpeed:
        return trhSingleBitPerPixel;
    case txrnOptimizeLegibility:
        return trhAntiAlias;
    case txrnGeometricPrecision:
    case txrnNone:
        break;
    }
    return trhAntiAliasGridFit;
}

std::uint8_t TSVGGraphicElement::ColorRenderingToCompositingQuality(TSVGColorRendering Rendering,
                                                                    TSVGColorInterpolation Interpolation)
{
    if (Rendering == clrnOptimizeSpeed)
        return 1; // high speed
    if (Rendering == clrnOptimizeQuality)
        return 2; // high quality
    if (Interpolation == sciSRGB)
        return 3; // gamma corrected
    if (Interpolation == sciLinearRGB)
        return 4; // assume linear
    return 0;     // default
}

} // namespace velk
