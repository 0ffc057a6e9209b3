#include "graphics/canvas.h"

#include "graphics/backend_path.h"
#include "graphics/bitmap.h"
#include "graphics/bitmap_size.h"
#include "graphics/brush.h"
#include "graphics/canvas_region.h"
#include "graphics/canvas_save_state.h"
#include "graphics/font.h"
#include "graphics/gp_exception.h"
#include "graphics/image.h"
#include "graphics/path_data.h"
#include "graphics/pen.h"
#include "graphics/qt_conversions.h"
#include "graphics/string_format.h"

#include <QImage>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>

namespace velk {

// What SaveCurrentState keeps: everything a graphics state holds besides the pen, brush
// and font (those are the save-state pool's).
struct TVelkGPCanvas::TGraphicsState {
    std::uint32_t Token = 0;
    TMatrix Matrix;
    TVelkGPRegionArea Clip;
    std::uint8_t PixelOffsetMode = 0;
    TVelkGPTextRenderingHint TextRenderingHint = trhSystemDefault;
    std::uint8_t CompositingQuality = 0;
    std::uint8_t SmoothingMode = 0;
    TVelkGPTextContrast TextContrast = 0;
    TVelkGPCompositingMode CompositingMode = cmSourceOver;
    std::uint8_t InterpolationMode = 0;
    float PageScale = 1;
    TVelkGPUnit PageUnit = uDisplay;
};

namespace {

// Highest valid value of each mode, in the classic numbering.
constexpr std::uint8_t MaxSmoothingMode = 5;
constexpr std::uint8_t MaxInterpolationMode = 7;
constexpr std::uint8_t MaxPixelOffsetMode = 4;
constexpr std::uint8_t MaxCompositingQuality = 4;

void CheckMode(int Value, int Max)
{
    if (Value < 0 || Value > Max)
        throw EGDIPException(gpsInvalidParameter);
}

bool SmoothingAntialiases(std::uint8_t Mode)
{
    return Mode == 2 || Mode == 4 || Mode == 5;
}

// QPainter clips to a path that is a plain axis-aligned rectangle on whole pixels (its
// edges rounded: hard, and up to half a pixel off) but to any other path with coverage.
// Such a rectangle between pixels goes to Qt with one more point, in the middle of its
// top side, so that its edges are anti-aliased (under the antialiasing hint) like those of
// every other clip. A path clip costs: Qt rasterises it again on every painter restore,
// which each drawing operation does. So a rectangle whose edges between pixels all lie in
// the outermost pixels of Device (a drawing fitted to an image of its size rounded up) or
// beyond stays a rectangle: rounding it only changes that last row or column.
QPainterPath AntialiasedClipPath(const QPainterPath& Path, const QRectF& Device)
{
    const int count = Path.elementCount();
    if (count != 4 && count != 5)
        return Path;
    for (int i = 0; i < count; ++i)
        if (Path.elementAt(i).type != (i == 0 ? QPainterPath::MoveToElement : QPainterPath::LineToElement))
            return Path;
    if (count == 5 && QPointF(Path.elementAt(4)) != QPointF(Path.elementAt(0)))
        return Path;
    // Four corners joined by sides that each run along one axis.
    for (int i = 0; i < 4; ++i) {
        const QPointF a = Path.elementAt(i);
        const QPointF b = Path.elementAt((i + 1) % 4);
        if ((a.x() == b.x()) == (a.y() == b.y()))
            return Path;
    }
    const QRectF bounds = Path.boundingRect();
    const auto whole = [](qreal V) { return V == std::nearbyint(V); };
    // An edge that cuts: between pixels and inside the device's outermost pixels.
    const auto cutsLow = [&](qreal V, qreal Low) { return !whole(V) && V > Low + 1; };
    const auto cutsHigh = [&](qreal V, qreal High) { return !whole(V) && V < High - 1; };
    if (!cutsLow(bounds.left(), Device.left()) && !cutsLow(bounds.top(), Device.top()) &&
        !cutsHigh(bounds.right(), Device.right()) && !cutsHigh(bounds.bottom(), Device.bottom()))
        return Path;
    QPainterPath polygon;
    polygon.setFillRule(Path.fillRule());
    polygon.moveTo(bounds.topLeft());
    polygon.lineTo(bounds.center().x(), bounds.top());
    polygon.lineTo(bounds.topRight());
    polygon.lineTo(bounds.bottomRight());
    polygon.lineTo(bounds.bottomLeft());
    polygon.closeSubpath();
    return polygon;
}

bool InterpolationIsSmooth(std::uint8_t Mode)
{
    return Mode != 0 && Mode != 1 && Mode != 5;
}

bool TextAntialiases(TVelkGPTextRenderingHint Hint)
{
    return Hint != trhSingleBitPerPixelGridFit && Hint != trhSingleBitPerPixel;
}

TMatrix FromQTransform(const QTransform& T)
{
    return {static_cast<float>(T.m11()), static_cast<float>(T.m12()), 0,
            static_cast<float>(T.m21()), static_cast<float>(T.m22()), 0,
            static_cast<float>(T.dx()),  static_cast<float>(T.dy()),  1};
}

} // namespace

const TClassInfo& TVelkGPCanvas::StaticClass()
{
    static const TClassInfo info(u"TVelkGPCanvas"_qs, &TPersistent::StaticClass());
    return info;
}

TVelkGPCanvas::TVelkGPCanvas()
{
    FMeasureImage = std::make_unique<QImage>(1, 1, QImage::Format_ARGB32_Premultiplied);
    FMeasureImage->fill(Qt::transparent);
    FTargetImage = FMeasureImage.get();
    InitializeCanvas();
}

TVelkGPCanvas::TVelkGPCanvas(QPainter& Painter) : FExternalPainter(&Painter), FBaseTransform(Painter.worldTransform())
{
    InitializeCanvas();
    if (const QPaintDevice* device = Painter.device()) {
        FDpiX = static_cast<float>(device->logicalDpiX());
        FDpiY = static_cast<float>(device->logicalDpiY());
    }
    FPen->Assign(Painter.pen());
    FBrush->Assign(Painter.brush());
    FFont->Assign(Painter.font());
}

TVelkGPCanvas::TVelkGPCanvas(TVelkGPImage& Image) : FTargetImage(Image.Handle())
{
    if (!FTargetImage)
        throw EGDIPException(gpsInvalidParameter);
    InitializeCanvas();
    FDpiX = static_cast<float>(FTargetImage->logicalDpiX());
    FDpiY = static_cast<float>(FTargetImage->logicalDpiY());
}

TVelkGPCanvas::TVelkGPCanvas(QImage& Image) : FTargetImage(&Image)
{
    InitializeCanvas();
    FDpiX = static_cast<float>(Image.logicalDpiX());
    FDpiY = static_cast<float>(Image.logicalDpiY());
}

void TVelkGPCanvas::InitializeCanvas()
{
    FPen = std::make_unique<TVelkGPPen>(this);
    FFont = std::make_unique<TVelkGPFont>(this);
    FBrush = std::make_unique<TVelkGPBrush>(this);
    FStringFormat = std::make_unique<TVelkGPStringFormat>(this);
    FClipRegion = std::make_unique<TVelkGPCanvasRegion>(*this);
}

TVelkGPCanvas::~TVelkGPCanvas()
{
    FCanvasSaveData.clear();
    FClipRegion.reset();
    if (FOwnPainter)
        FOwnPainter->end();
    else if (FPainter)
        FPainter->restore();
    // One at a time from the list itself: an object that lets go of others when
    // released unregisters them here before their turn comes.
    while (!FGPObjects.empty()) {
        TVelkGPGraphicsObject* object = FGPObjects.back();
        FGPObjects.pop_back();
        object->OwnerReleased(this);
    }
}

// --- Painter ---

QPainter& TVelkGPCanvas::Handle()
{
    if (!FPainter)
        OpenPainter();
    return *FPainter;
}

void TVelkGPCanvas::OpenPainter()
{
    if (FExternalPainter) {
        if (!FExternalPainter->isActive())
            throw EGDIPException(gpsInvalidParameter);
        // Our modes, transform and clip replace the painter's until the canvas goes.
        FExternalPainter->save();
        FPainter = FExternalPainter;
    } else {
        if (FTargetImage->isNull())
            throw EGDIPException(gpsInvalidParameter);
        auto painter = std::make_unique<QPainter>();
        if (!painter->begin(FTargetImage))
            throw EGDIPException(gpsInvalidParameter);
        FOwnPainter = std::move(painter);
        FPainter = FOwnPainter.get();
    }
    ApplyAll();
}

void TVelkGPCanvas::ApplyAll()
{
    ApplyRenderHints();
    ApplyCompositingMode();
    ApplyClip();
    ApplyTransform();
}

void TVelkGPCanvas::ApplyTransform()
{
    if (FPainter)
        FPainter->setWorldTransform(ToQTransform(WorldToDevice()) * FBaseTransform);
}

void TVelkGPCanvas::ApplyClip()
{
    if (!FPainter)
        return;
    if (FClip.Infinite) {
        FPainter->setClipping(false);
        return;
    }
    // The clip is in device space: set it under the base transform alone. Qt keeps a
    // clip in device coordinates, so the world transform set afterwards leaves it as is.
    FPainter->setWorldTransform(FBaseTransform);
    // The device in the clip's space; taken as endless under a base transform (every edge
    // between pixels is anti-aliased then).
    const QPaintDevice* device = FPainter->device();
    constexpr qreal endless = std::numeric_limits<qreal>::infinity();
    const QRectF deviceRect = device && FBaseTransform.isIdentity()
                                  ? QRectF(0, 0, device->width(), device->height())
                                  : QRectF(QPointF(-endless, -endless), QPointF(endless, endless));
    FPainter->setClipPath(AntialiasedClipPath(FClip.Path, deviceRect));
    ApplyTransform();
}

void TVelkGPCanvas::ApplyRenderHints()
{
    if (!FPainter)
        return;
    FPainter->setRenderHint(QPainter::Antialiasing, SmoothingAntialiases(FSmoothingMode));
    FPainter->setRenderHint(QPainter::TextAntialiasing, TextAntialiases(FTextRenderingHint));
    FPainter->setRenderHint(QPainter::SmoothPixmapTransform, InterpolationIsSmooth(FInterpolationMode));
}

void TVelkGPCanvas::ApplyCompositingMode()
{
    if (FPainter)
        FPainter->setCompositionMode(FCompositingMode == cmSourceCopy ? QPainter::CompositionMode_Source
                                                                      : QPainter::CompositionMode_SourceOver);
}

// --- Objects ---

void TVelkGPCanvas::ObjectNotification(TVelkGPGraphicsObject* AObject, TOperation Operation)
{
    if (Operation == opInsert) {
        FGPObjects.push_back(AObject);
        return;
    }
    // Temporary objects are the usual ones to leave: search from the end.
    const auto found = std::find(FGPObjects.rbegin(), FGPObjects.rend(), AObject);
    if (found != FGPObjects.rend())
        FGPObjects.erase(std::next(found).base());
}

void TVelkGPCanvas::SetPen(const TVelkGPPen& Value)
{
    if (&Value != FPen.get())
        FPen->Assign(&Value);
}

void TVelkGPCanvas::SetBrush(const TVelkGPBrush& Value)
{
    if (&Value != FBrush.get())
        FBrush->Assign(&Value);
}

void TVelkGPCanvas::SetFont(const TVelkGPFont& Value)
{
    if (&Value != FFont.get())
        FFont->Assign(&Value);
}

void TVelkGPCanvas::SetStringFormat(const TVelkGPStringFormat& Value)
{
    if (&Value != FStringFormat.get())
        FStringFormat->Assign(&Value);
}

void TVelkGPCanvas::Assign(const TPersistent* Source)
{
    const auto* source = dynamic_cast<const TVelkGPCanvas*>(Source);
    if (!source) {
        TPersistent::Assign(Source);
        return;
    }
    if (source == this)
        return;
    SetGraphicsState(source->CurrentGraphicsState());
    FPenPos = source->FPenPos;
    SetStringFormat(*source->FStringFormat);
    SetPen(*source->FPen);
    SetFont(*source->FFont);
    SetBrush(*source->FBrush);
}

// --- Modes ---

void TVelkGPCanvas::SetMatrix(const TMatrix& Value)
{
    if (Value == FMatrix)
        return;
    FMatrix = Value;
    FWorldClipValid = false;
    ApplyTransform();
}

void TVelkGPCanvas::SetSmoothingMode(std::uint8_t Value)
{
    CheckMode(Value, MaxSmoothingMode);
    if (Value == FSmoothingMode)
        return;
    const bool antialiased = SmoothingAntialiases(FSmoothingMode);
    FSmoothingMode = Value;
    ApplyRenderHints();
    // Qt takes the hint for a clip path when the clip is set.
    if (SmoothingAntialiases(Value) != antialiased)
        ApplyClip();
}

bool TVelkGPCanvas::TrySmoothingMode(std::uint8_t Value)
{
    if (Value > MaxSmoothingMode)
        return false;
    try {
        Handle();
    } catch (const EGDIPException&) {
        return false;
    }
    SetSmoothingMode(Value);
    return true;
}

void TVelkGPCanvas::SetInterpolationMode(std::uint8_t Value)
{
    CheckMode(Value, MaxInterpolationMode);
    if (Value == FInterpolationMode)
        return;
    FInterpolationMode = Value;
    ApplyRenderHints();
}

void TVelkGPCanvas::SetPixelOffsetMode(std::uint8_t Value)
{
    CheckMode(Value, MaxPixelOffsetMode);
    FPixelOffsetMode = Value;
}

void TVelkGPCanvas::SetCompositingQuality(std::uint8_t Value)
{
    CheckMode(Value, MaxCompositingQuality);
    FCompositingQuality = Value;
}

void TVelkGPCanvas::SetCompositingMode(TVelkGPCompositingMode Value)
{
    CheckMode(Value, cmSourceCopy);
    if (Value == FCompositingMode)
        return;
    FCompositingMode = Value;
    ApplyCompositingMode();
}

void TVelkGPCanvas::SetTextRenderingHint(TVelkGPTextRenderingHint Value)
{
    CheckMode(Value, trhClearTypeGridFit);
    if (Value == FTextRenderingHint)
        return;
    FTextRenderingHint = Value;
    ApplyRenderHints();
}

void TVelkGPCanvas::SetTextContrast(TVelkGPTextContrast Value)
{
    CheckMode(Value, MaxTextContrast);
    FTextContrast = Value;
}

void TVelkGPCanvas::SetPageScale(float Value)
{
    // The classic API refuses scales that are not positive; a non-finite one would
    // poison every coordinate.
    if (!(Value > 0) || !std::isfinite(Value))
        throw EGDIPException(gpsInvalidParameter);
    if (Value == FPageScale)
        return;
    FPageScale = Value;
    FWorldClipValid = false;
    ApplyTransform();
}

void TVelkGPCanvas::SetPageUnit(TVelkGPUnit Value)
{
    CheckMode(Value, uMillimeter);
    FPageUnit = Value;
}

TMatrix TVelkGPCanvas::WorldToDevice() const
{
    if (FPageScale == 1)
        return FMatrix;
    return MatrixMultiply(FMatrix, CreateScalingMatrix(FPageScale, FPageScale));
}

// --- Clip ---

void TVelkGPCanvas::SetClipArea(const TVelkGPRegionArea& Value)
{
    FClip = Value;
    FWorldClipValid = false;
    ApplyClip();
}

const TVelkGPRegionArea& TVelkGPCanvas::WorldClipArea() const
{
    const TMatrix toDevice = WorldToDevice();
    if (FClip.Infinite || IsIdentityMatrix(toDevice))
        return FClip;
    if (!FWorldClipValid) {
        bool invertible = false;
        const QTransform toWorld = ToQTransform(toDevice).inverted(&invertible);
        if (invertible) {
            FWorldClip = FClip;
            FWorldClip.Transform(FromQTransform(toWorld));
        } else {
            // Nothing drawn in this world reaches the device in an area.
            FWorldClip = TVelkGPRegionArea::Empty();
        }
        FWorldClipValid = true;
    }
    return FWorldClip;
}

void TVelkGPCanvas::SetClipRegion(const TVelkGPRegion& Value)
{
    FClipRegion->Assign(&Value);
}

TRect TVelkGPCanvas::GetClipRect() const
{
    return RectFToRect(FClipRegion->GetBounds());
}

// --- Save states ---

TVelkGPCanvas::TGraphicsState TVelkGPCanvas::CurrentGraphicsState() const
{
    TGraphicsState state;
    state.Matrix = FMatrix;
    state.Clip = FClip;
    state.PixelOffsetMode = FPixelOffsetMode;
    state.TextRenderingHint = FTextRenderingHint;
    state.CompositingQuality = FCompositingQuality;
    state.SmoothingMode = FSmoothingMode;
    state.TextContrast = FTextContrast;
    state.CompositingMode = FCompositingMode;
    state.InterpolationMode = FInterpolationMode;
    state.PageScale = FPageScale;
    state.PageUnit = FPageUnit;
    return state;
}

void TVelkGPCanvas::SetGraphicsState(const TGraphicsState& State)
{
    FMatrix = State.Matrix;
    FClip = State.Clip;
    FWorldClipValid = false;
    FPixelOffsetMode = State.PixelOffsetMode;
    FTextRenderingHint = State.TextRenderingHint;
    FCompositingQuality = State.CompositingQuality;
    FSmoothingMode = State.SmoothingMode;
    FTextContrast = State.TextContrast;
    FCompositingMode = State.CompositingMode;
    FInterpolationMode = State.InterpolationMode;
    FPageScale = State.PageScale;
    FPageUnit = State.PageUnit;
    if (FPainter)
        ApplyAll();
}

std::uint32_t TVelkGPCanvas::SaveCurrentState()
{
    TGraphicsState state = CurrentGraphicsState();
    state.Token = FNextStateToken++;
    FSavedStates.push_back(std::move(state));
    return FSavedStates.back().Token;
}

void TVelkGPCanvas::RestoreCurrentState(std::uint32_t State)
{
    const auto found = std::find_if(FSavedStates.begin(), FSavedStates.end(),
                                     [State](const TGraphicsState& Saved) { return Saved.Token == State; });
    if (found == FSavedStates.end())
        return;
    // Setting the state applies it to the painter: nothing is left to read back.
    SetGraphicsState(*found);
    DropSavedAfter(static_cast<std::size_t>(found - FSavedStates.begin()));
}

void TVelkGPCanvas::DropSavedAfter(std::size_t Index)
{
    // The restored state goes, and with it every state saved later. Pool entries holding
    // one of those tokens are freed, so that they are reused instead of piling up.
    FSavedStates.resize(Index);
    for (const auto& entry : FCanvasSaveData) {
        if (!entry->FAssigned)
            continue;
        const bool saved = std::any_of(FSavedStates.begin(), FSavedStates.end(), [&entry](const TGraphicsState& S) {
            return S.Token == entry->FSaveState;
        });
        if (!saved)
            entry->FAssigned = false;
    }
}

void TVelkGPCanvas::ReadGraphicsState()
{
    if (FPainter)
        ApplyAll();
}

TVelkGPCanvasSaveState* TVelkGPCanvas::SaveState()
{
    auto free = std::find_if(FCanvasSaveData.begin(), FCanvasSaveData.end(),
                             [](const auto& Entry) { return !Entry->FAssigned; });
    TVelkGPCanvasSaveState* entry;
    if (free != FCanvasSaveData.end()) {
        entry = free->get();
    } else {
        FCanvasSaveData.push_back(std::make_unique<TVelkGPCanvasSaveState>(*this));
        entry = FCanvasSaveData.back().get();
    }
    entry->FFill->Assign(FBrush.get());
    entry->FStroke->Assign(FPen.get());
    entry->FFont->Assign(FFont.get());
    entry->FSaveState = SaveCurrentState();
    entry->FAssigned = true;
    return entry;
}

void TVelkGPCanvas::RestoreState(TVelkGPCanvasSaveState* State)
{
    const bool inPool = std::any_of(FCanvasSaveData.begin(), FCanvasSaveData.end(),
                                    [State](const auto& Entry) { return Entry.get() == State; });
    if (!inPool || !State->FAssigned)
        return;
    State->FAssigned = false;
    FBrush->Assign(State->FFill.get());
    FPen->Assign(State->FStroke.get());
    FFont->Assign(State->FFont.get());
    RestoreCurrentState(State->FSaveState);
}

// --- Whole-target operations ---

void TVelkGPCanvas::Clear(TVelkGPColor aColor)
{
    QPainter& painter = Handle();
    painter.save();
    painter.resetTransform();
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const QPaintDevice* device = painter.device();
    painter.fillRect(QRect(0, 0, device->width(), device->height()), QColor::fromRgba(aColor));
    painter.restore();
}

std::unique_ptr<TVelkGPPath> TVelkGPCanvas::VelkGPPath(const TVelkPathData& Path)
{
    auto path = std::make_unique<TVelkGPPath>(this);
    path->Assign(&Path);
    return path;
}

std::unique_ptr<TVelkGPBitmap> TVelkGPCanvas::MakeScreenshot(std::int32_t Width, std::int32_t Height)
{
    const QSize size = CheckedBitmapSize(Width, Height);
    return std::make_unique<TVelkGPBitmap>(static_cast<std::uint32_t>(size.width()),
                                           static_cast<std::uint32_t>(size.height()));
}

} // namespace velk
