#pragma once
// TVelkGPCanvas: the drawing surface of the library.
//
// The canvas draws through a QPainter on one of four targets: nothing (a measuring
// canvas, over an internal 1x1 image, for hit tests and text measuring where no painter
// can be open, for example in mouse events), a QPainter it is given (a widget's, in its
// paint event), a TVelkGPImage, or a QImage. The painter is opened on first use
// (Handle()); until then the state setters only store.
//
// State: the objects created with the canvas as owner, its current pen, brush, font and
// string format, the world matrix (replaced, never composed), the quality modes, the
// page scale and unit, and the clip. The clip is an area in device space (the target's
// coordinates before the world matrix), so clip and hit tests work without a painter.
// ClipRegion() offers it as a region in world coordinates, as the classic API does.
//
// Drawing operations take an opacity; they draw nothing for an opacity <= 0 or a pen or
// brush of kind bkNone, and never change the canvas's own objects (see docs/backend.md).

#include "graphics/corners.h"
#include "graphics/geometry.h"
#include "graphics/gp_types.h"
#include "graphics/graphics_object.h"
#include "graphics/region_area.h"
#include "graphics/string_format.h"
#include "platform/persistent.h"

#include <QColor>
#include <QString>
#include <QTransform>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QIcon;
class QImage;
class QPainter;

namespace velk {

class TVelkGPPen;
class TVelkGPBrush;
class TVelkGPFont;
class TVelkGPPath;
class TVelkPathData;
class TVelkGPRegion;
class TVelkGPCanvasRegion;
class TVelkGPCanvasSaveState;
class TVelkGPImage;
class TVelkGPBitmap;
class TVelkGPImageAttributes;

namespace messages {
inline constexpr char16_t InvalidCanvasOperation[] = u"Invalid canvas operation";
}

// An integer extent (text extents).
struct TSize {
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    bool operator==(const TSize&) const = default;
};

// Values of the platform-canvas interface.
enum TCanvasOrientation { coLeftToRight, coRightToLeft };
enum TFillStyle { fsSurface, fsBorder };

class TVelkGPCanvas : public TPersistent {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // --- Targets (canvas.cpp) ---

    // A measuring canvas at 96 dots per inch: every operation works and draws into an
    // internal 1x1 image.
    TVelkGPCanvas();
    // Draws through Painter, which it does not own and which must stay active while the
    // canvas lives. Pen, brush and font start from the painter's; the painter's current
    // transform is the base under the world matrix. The painter's state is restored when
    // the canvas goes.
    explicit TVelkGPCanvas(QPainter& Painter);
    // Draws on the image's platform image, which must outlive the canvas (a load, resize
    // or Assign replaces it: use Image.Canvas() to get a canvas that goes with it);
    // raises EGDIPException(gpsInvalidParameter) when the image has none.
    explicit TVelkGPCanvas(TVelkGPImage& Image);
    // Draws on Image (which must outlive the canvas).
    explicit TVelkGPCanvas(QImage& Image);
    // Ends an own painter; releases the objects still registered (they live on without
    // owner).
    ~TVelkGPCanvas() override;
    TVelkGPCanvas(const TVelkGPCanvas&) = delete;
    TVelkGPCanvas& operator=(const TVelkGPCanvas&) = delete;

    // The painter, opened on first use, with the world matrix, the clip and the render
    // hints of the modes applied. Raises EGDIPException(gpsInvalidParameter) when the
    // target cannot be painted on. Drawing code changes painter state only between its
    // own save() and restore().
    QPainter& Handle();
    bool HandleAllocated() const { return FPainter != nullptr; }

    // Copies the modes, matrix, page scale and unit and pen position of a canvas, then
    // its clip, string format, pen, font and brush.
    using TPersistent::Assign;
    void Assign(const TPersistent* Source) override;

    // --- Objects and state (canvas.cpp) ---

    // Called by graphics objects created with this canvas as owner.
    void ObjectNotification(TVelkGPGraphicsObject* AObject, TOperation Operation);
    // The objects registered now, in registration order.
    const std::vector<TVelkGPGraphicsObject*>& GPObjects() const { return FGPObjects; }

    // The current drawing objects (owned by the canvas; the setters copy).
    TVelkGPPen& Pen() const { return *FPen; }
    TVelkGPPen& Stroke() const { return *FPen; }
    void SetPen(const TVelkGPPen& Value);
    TVelkGPBrush& Brush() const { return *FBrush; }
    TVelkGPBrush& Fill() const { return *FBrush; }
    void SetBrush(const TVelkGPBrush& Value);
    TVelkGPFont& Font() const { return *FFont; }
    void SetFont(const TVelkGPFont& Value);
    TVelkGPStringFormat& StringFormat() const { return *FStringFormat; }
    void SetStringFormat(const TVelkGPStringFormat& Value);

    // The world matrix; setting it replaces the transform (it is never composed).
    const TMatrix& Matrix() const { return FMatrix; }
    void SetMatrix(const TMatrix& Value);

    float PixelsPerInchX() const { return FDpiX; }
    float PixelsPerInchY() const { return FDpiY; }

    // Quality modes, in the classic API's numbering. Invalid values raise
    // EGDIPException(gpsInvalidParameter) and leave the mode as it was.
    // Smoothing: 0 default, 1 high speed, 2 high quality, 3 none, 4 anti-alias,
    // 5 anti-alias 8x8; 2, 4 and 5 anti-alias.
    std::uint8_t SmoothingMode() const { return FSmoothingMode; }
    void SetSmoothingMode(std::uint8_t Value);
    // Sets the smoothing mode without raising: false (the mode kept) when no painter can
    // be opened or Value is not a smoothing mode.
    bool TrySmoothingMode(std::uint8_t Value);
    // 0 default, 1 low quality, 2 high quality, 3 bilinear, 4 bicubic, 5 nearest
    // neighbour, 6 high-quality bilinear, 7 high-quality bicubic; all but 0, 1 and 5
    // transform images smoothly.
    std::uint8_t InterpolationMode() const { return FInterpolationMode; }
    void SetInterpolationMode(std::uint8_t Value);
    // 0 default, 1 high speed, 2 high quality, 3 none, 4 half. Stored only.
    std::uint8_t PixelOffsetMode() const { return FPixelOffsetMode; }
    void SetPixelOffsetMode(std::uint8_t Value);
    // 0 default, 1 high speed, 2 high quality, 3 gamma corrected, 4 assume linear.
    // Stored only.
    std::uint8_t CompositingQuality() const { return FCompositingQuality; }
    void SetCompositingQuality(std::uint8_t Value);
    TVelkGPCompositingMode CompositingMode() const { return FCompositingMode; }
    void SetCompositingMode(TVelkGPCompositingMode Value);
    // The single-bit hints draw aliased text, the others anti-aliased text.
    TVelkGPTextRenderingHint TextRenderingHint() const { return FTextRenderingHint; }
    void SetTextRenderingHint(TVelkGPTextRenderingHint Value);
    // 0 ... MaxTextContrast. Stored only.
    TVelkGPTextContrast TextContrast() const { return FTextContrast; }
    void SetTextContrast(TVelkGPTextContrast Value);
    // Scales the world to the device (under the world matrix); compared exactly.
    float PageScale() const { return FPageScale; }
    void SetPageScale(float Value);
    // Stored only: the world is always mapped in device pixels.
    TVelkGPUnit PageUnit() const { return FPageUnit; }
    void SetPageUnit(TVelkGPUnit Value);

    // The world-to-device transform: Matrix, then PageScale.
    TMatrix WorldToDevice() const;

    // --- Clip (canvas.cpp) ---

    // The clip in device coordinates; infinite means no clipping.
    const TVelkGPRegionArea& ClipArea() const { return FClip; }
    void SetClipArea(const TVelkGPRegionArea& Value);
    // The clip in world coordinates (device clip under the inverse world-to-device
    // transform); cached until the clip or the transform changes.
    const TVelkGPRegionArea& WorldClipArea() const;
    // The clip as a region: every operation on it acts on the canvas clip in world
    // coordinates (see canvas_region.h). SetClipRegion replaces the clip with the
    // region's area.
    TVelkGPCanvasRegion& ClipRegion() const { return *FClipRegion; }
    void SetClipRegion(const TVelkGPRegion& Value);
    // Bounds of the clip region, rounded.
    TRect GetClipRect() const;

    // --- Save states (canvas.cpp) ---

    // Saves matrix, clip, modes, page scale and unit, plus copies of Fill, Stroke and
    // Font, into an entry of the canvas's pool (reusing free entries).
    TVelkGPCanvasSaveState* SaveState();
    // Restores a state from SaveState. States saved after it are dropped (their entries
    // freed for reuse); a state not in this canvas's pool, or already restored, is
    // ignored.
    void RestoreState(TVelkGPCanvasSaveState* State);
    // Saves matrix, clip, modes, page scale and unit; returns a token for them.
    std::uint32_t SaveCurrentState();
    // Restores the token's state and drops every state saved after it; a token that is
    // not saved (any more) does nothing.
    void RestoreCurrentState(std::uint32_t State);
    // Re-reads the fields from the state the canvas draws with; the canvas's own
    // fields are that state, so this only re-applies them to the painter.
    void ReadGraphicsState();

    // --- Whole-target operations (canvas.cpp) ---

    // Fills the target inside the clip with aColor, replacing what is there.
    void Clear(TVelkGPColor aColor);
    // A new backend path owned by this canvas, assigned from Path.
    std::unique_ptr<TVelkGPPath> VelkGPPath(const TVelkPathData& Path);
    // A transparent bitmap of the given size (sizes checked by CheckedBitmapSize).
    std::unique_ptr<TVelkGPBitmap> MakeScreenshot(std::int32_t Width, std::int32_t Height);

    // --- Drawing (canvas_drawing.cpp) ---

    void FillPath(const TVelkGPPath& APath, float AOpacity);
    void FillPath(const TVelkGPPath& APath, float AOpacity, const TVelkGPBrush& ABrush);
    void FillPath(const TVelkPathData& APath, float AOpacity);
    void FillPath(const TVelkPathData& APath, float AOpacity, const TVelkGPBrush& ABrush);
    void DrawPath(const TVelkGPPath& APath, float AOpacity);
    void DrawPath(const TVelkGPPath& APath, float AOpacity, const TVelkGPPen& ABrush);
    void DrawPath(const TVelkPathData& APath, float AOpacity);
    void DrawPath(const TVelkPathData& APath, float AOpacity, const TVelkGPPen& ABrush);

    void FillRect(const TRectF& ARect, float XRadius, float YRadius, TVelkCorners ACorners, float AOpacity,
                  TVelkCornerType ACornerType = ctRound);
    void FillRect(const TRectF& ARect, float XRadius, float YRadius, TVelkCorners ACorners, float AOpacity,
                  const TVelkGPBrush& ABrush, TVelkCornerType ACornerType = ctRound);
    void FillRect(const TRectF& aRect, float Opacity);
    void DrawRect(const TRectF& ARect, float XRadius, float YRadius, TVelkCorners ACorners, float AOpacity,
                  TVelkCornerType ACornerType = ctRound);
    void DrawRect(const TRectF& ARect, float XRadius, float YRadius, TVelkCorners ACorners, float AOpacity,
                  const TVelkGPPen& ABrush, TVelkCornerType ACornerType = ctRound);
    void DrawRectSides(const TRectF& ARect, float XRadius, float YRadius, TVelkCorners ACorners, float AOpacity,
                       TVelkSides ASides, TVelkCornerType ACornerType = ctRound);
    void DrawRectSides(const TRectF& ARect, float XRadius, float YRadius, TVelkCorners ACorners, float AOpacity,
                       TVelkSides ASides, const TVelkGPPen& ABrush, TVelkCornerType ACornerType = ctRound);
    void DrawDashRect(const TRectF& ARect, float XRadius, float YRadius, TVelkCorners ACorners, float AOpacity,
                      TVelkGPColor AColor);
    void DrawFocusRect(const TRectF& Rect);
    void DrawFocusRect(const TRect& Rect);

    void FillEllipse(const TRectF& ARect, float AOpacity);
    void FillEllipse(const TRectF& ARect, float AOpacity, const TVelkGPBrush& ABrush);
    void DrawEllipse(const TRectF& ARect, float AOpacity);
    void DrawEllipse(const TRectF& ARect, float AOpacity, const TVelkGPPen& ABrush);
    // Angles in degrees, clockwise on screen from the positive x axis (as TVelkPathData::AddArc).
    void FillArc(const TPointF& Center, const TPointF& Radius, float StartAngle, float SweepAngle, float AOpacity);
    void FillArc(const TPointF& Center, const TPointF& Radius, float StartAngle, float SweepAngle, float AOpacity,
                 const TVelkGPBrush& ABrush);
    void DrawArc(const TPointF& Center, const TPointF& Radius, float StartAngle, float SweepAngle, float AOpacity);
    void DrawArc(const TPointF& Center, const TPointF& Radius, float StartAngle, float SweepAngle, float AOpacity,
                 const TVelkGPPen& ABrush);
    void DrawLine(const TPointF& APt1, const TPointF& APt2, float AOpacity);
    void DrawLine(const TPointF& APt1, const TPointF& APt2, float AOpacity, const TVelkGPPen& ABrush);
    void DrawLine(const TPoint& APt1, const TPoint& APt2, float AOpacity);
    void DrawLine(const TPoint& APt1, const TPoint& APt2, float AOpacity, const TVelkGPPen& ABrush);

    // --- Text (canvas_text.cpp) ---

    // StringFormat may be null (the default layout).
    void FillText(const TRectF& ARect, const QString& AText, const TVelkGPStringFormat* StringFormat,
                  const TVelkGPFont& Font, float AOpacity);
    void FillText(const TRectF& ARect, const QString& AText, float AOpacity);
    // These first set the canvas's string format: Align, LineAlign, and Trimming (stWord
    // with WordWrap, else stNone). Flags is accepted and ignored.
    void FillText(const TRectF& ARect, const QString& AText, bool WordWrap, TVelkGPFillTextFlags Flags,
                  TVelkGPStringAlignment ATextAlign, TVelkGPStringAlignment AVTextAlign, float AOpacity);
    void FillText(const TRectF& ARect, const QString& AText, bool WordWrap, TVelkGPFillTextFlags Flags,
                  TVelkGPStringAlignment ATextAlign, TVelkGPStringAlignment AVTextAlign, const TVelkGPFont& Font,
                  float AOpacity);
    // ARect in: the layout rectangle; out: the bounding box of the text.
    void MeasureText(TRectF& ARect, const QString& AText, const TVelkGPStringFormat* StringFormat,
                     const TVelkGPFont& Font);
    void MeasureText(TRectF& ARect, const QString& AText);
    void MeasureText(TRectF& ARect, const QString& AText, bool WordWrap, TVelkGPFillTextFlags Flags,
                     TVelkGPStringAlignment ATextAlign, TVelkGPStringAlignment AVTextAlign);
    float TextWidth(const QString& AText);
    float TextHeight(const QString& AText);
    TSize TextExtent(const QString& AText);
    TSizeF TextExtentF(const QString& AText);
    void TextOut(float X, float Y, const QString& Text);
    void TextOut(std::int32_t X, std::int32_t Y, const QString& Text);
    // TextOut clipped to Rect; the clip is restored afterwards, also on failure.
    void TextRect(const TRect& Rect, std::int32_t X, std::int32_t Y, const QString& Text);

    // --- Images (canvas_images.cpp) ---
    // One overload per destination form: the classic image interface and image class
    // overloads are the same here (TVelkGPImage). Integer X, Y forms are the TPoint
    // overloads. Callback: return true to abort drawing (may be empty).

    void DrawImage(const TVelkGPImage& Image, float X, float Y, float AOpacity = 1);
    void DrawImage(const TVelkGPImage& Image, const TPointF& Point, float AOpacity = 1);
    void DrawImage(const TVelkGPImage& Image, const TPoint& Point, float AOpacity = 1);
    void DrawImage(const TVelkGPImage& Image, const TRectF& DstRect, float AOpacity = 1);
    void DrawImage(const TVelkGPImage& Image, const TRect& DstRect, float AOpacity = 1);
    // Three points: the destination's top-left, top-right and bottom-left corners.
    void DrawImage(const TVelkGPImage& Image, const TVelkPoints& DstPoints, float AOpacity = 1);
    void DrawImage(const TVelkGPImage& Image, const TCanvasPoints& DstPoints, float AOpacity = 1);
    void DrawImage(const TVelkGPImage& Image, float X, float Y, const TRectF& SrcRect, TVelkGPUnit SrcUnit,
                   float AOpacity = 1);
    void DrawImage(const TVelkGPImage& Image, const TPointF& Point, const TRectF& SrcRect, TVelkGPUnit SrcUnit,
                   float AOpacity = 1);
    void DrawImage(const TVelkGPImage& Image, const TRectF& DstRect, const TRectF& SrcRect, TVelkGPUnit SrcUnit,
                   float AOpacity = 1);
    void DrawImage(const TVelkGPImage& Image, const TVelkPoints& DstPoints, const TRectF& SrcRect,
                   TVelkGPUnit SrcUnit, float AOpacity = 1);
    void DrawImage(const TVelkGPImage& Image, float DstX, float DstY, float DstWidth, float DstHeight, float SrcX,
                   float SrcY, float SrcWidth, float SrcHeight, TVelkGPUnit SrcUnit,
                   const TVelkGPImageAttributes* ImageAttributes, const std::function<bool()>& Callback = {});
    void DrawImage(const TVelkGPImage& Image, const TVelkPoints& DstPoints, float SrcX, float SrcY, float SrcWidth,
                   float SrcHeight, TVelkGPUnit SrcUnit, const TVelkGPImageAttributes* ImageAttributes,
                   const std::function<bool()>& Callback = {});
    void DrawBitmap(const QImage& ABitmap, const TRectF& SrcRect, const TRectF& DstRect, float AOpacity,
                    bool HighSpeed);
    // A platform bitmap or icon at (X, Y), at Opacity / 255.
    void Draw(std::int32_t X, std::int32_t Y, const QImage& Graphic);
    void Draw(std::int32_t X, std::int32_t Y, const QImage& Graphic, std::uint8_t Opacity);
    void Draw(std::int32_t X, std::int32_t Y, const QIcon& Graphic);
    void Draw(std::int32_t X, std::int32_t Y, const QIcon& Graphic, std::uint8_t Opacity);

    // --- Platform-canvas compatibility (canvas_compat.cpp) ---
    // The raster operations of the platform canvas interface: those that need pixels
    // raise EInvalidOperation "Invalid canvas operation", the others not supported here
    // do nothing, the rest draw with Fill and Stroke at opacity 1.

    void Arc(std::int32_t X1, std::int32_t Y1, std::int32_t X2, std::int32_t Y2, std::int32_t X3, std::int32_t Y3,
             std::int32_t X4, std::int32_t Y4);
    void ArcTo(std::int32_t X1, std::int32_t Y1, std::int32_t X2, std::int32_t Y2, std::int32_t X3,
               std::int32_t Y3, std::int32_t X4, std::int32_t Y4);
    void AngleArc(std::int32_t X, std::int32_t Y, std::uint32_t Radius, float StartAngle, float SweepAngle);
    void BrushCopy(const TRect& Dest, const QImage& Bitmap, const TRect& Source, const QColor& Color);
    void Chord(std::int32_t X1, std::int32_t Y1, std::int32_t X2, std::int32_t Y2, std::int32_t X3, std::int32_t Y3,
               std::int32_t X4, std::int32_t Y4);
    void Pie(std::int32_t X1, std::int32_t Y1, std::int32_t X2, std::int32_t Y2, std::int32_t X3, std::int32_t Y3,
             std::int32_t X4, std::int32_t Y4);
    void RoundRect(std::int32_t X1, std::int32_t Y1, std::int32_t X2, std::int32_t Y2, std::int32_t X3,
                   std::int32_t Y3);
    void StretchDraw(const TRect& Rect, const QImage& Graphic);
    // TextFormat: the platform's text format flags.
    void TextRect(TRect& Rect, QString& Text, std::uint32_t TextFormat = 0);
    void Refresh();

    void FloodFill(std::int32_t X, std::int32_t Y, const QColor& Color, TFillStyle FillStyle);
    TCanvasOrientation GetCanvasOrientation() const;
    QColor GetPixel(std::int32_t X, std::int32_t Y) const;
    void SetPixel(std::int32_t X, std::int32_t Y, const QColor& Color);

    // Fill, then outline, of the ellipse in (X1, Y1, X2, Y2).
    void Ellipse(std::int32_t X1, std::int32_t Y1, std::int32_t X2, std::int32_t Y2);
    void Ellipse(float X1, float Y1, float X2, float Y2, float Opacity);
    void Rectangle(std::int32_t X1, std::int32_t Y1, std::int32_t X2, std::int32_t Y2);
    void FillRect(const TRect& Rect);
    // Outlines the pixel rectangle (the line runs through the edge pixels' centres).
    void FrameRect(const TRect& Rect);
    TPoint PenPos() const { return FPenPos; }
    void SetPenPos(const TPoint& Value) { FPenPos = Value; }
    void MoveTo(std::int32_t X, std::int32_t Y);
    void LineTo(std::int32_t X, std::int32_t Y);
    void Polygon(const TCanvasPoints& Points);
    void Polyline(const TCanvasPoints& Points);
    // One cubic from the first four points, another from every following three; nothing
    // with fewer than four points. PolyBezierTo takes each cubic's three points relative
    // to the cubic's start.
    void PolyBezier(const TCanvasPoints& Points);
    void PolyBezierTo(const TCanvasPoints& Points);

private:
    struct TGraphicsState;
    friend class TVelkGPCanvasRegion;

    void InitializeCanvas();
    void OpenPainter();
    void ApplyTransform();
    void ApplyClip();
    void ApplyRenderHints();
    void ApplyCompositingMode();
    void ApplyAll();
    void ClipChanged();
    TGraphicsState CurrentGraphicsState() const;
    void SetGraphicsState(const TGraphicsState& State);
    void DropSavedAfter(std::size_t Index);
    void DrawPolyPath(const TCanvasPoints& Points, bool Close);
    void DrawBeziers(const TCanvasPoints& Points, bool Relative);

    std::vector<TVelkGPGraphicsObject*> FGPObjects;
    std::unique_ptr<TVelkGPPen> FPen;
    std::unique_ptr<TVelkGPFont> FFont;
    std::unique_ptr<TVelkGPBrush> FBrush;
    std::unique_ptr<TVelkGPStringFormat> FStringFormat;
    TPoint FPenPos;

    // Target: exactly one of a given painter, an image to open a painter on, or the
    // measuring image.
    QPainter* FPainter = nullptr;               // the painter in use, once opened
    QPainter* FExternalPainter = nullptr;       // not owned
    std::unique_ptr<QPainter> FOwnPainter;      // on FTargetImage
    QImage* FTargetImage = nullptr;             // not owned, or FMeasureImage
    std::unique_ptr<QImage> FMeasureImage;
    QTransform FBaseTransform;

    std::uint8_t FPixelOffsetMode = 0;
    TVelkGPTextRenderingHint FTextRenderingHint = trhSystemDefault;
    std::uint8_t FCompositingQuality = 0;
    TMatrix FMatrix = IdentityMatrix;
    std::uint8_t FSmoothingMode = 0;
    TVelkGPTextContrast FTextContrast = 0;
    TVelkGPCompositingMode FCompositingMode = cmSourceOver;
    std::uint8_t FInterpolationMode = 0;
    float FPageScale = 1;
    TVelkGPUnit FPageUnit = uDisplay;
    float FDpiX = 96;
    float FDpiY = 96;

    TVelkGPRegionArea FClip;
    mutable TVelkGPRegionArea FWorldClip;
    mutable bool FWorldClipValid = false;
    std::unique_ptr<TVelkGPCanvasRegion> FClipRegion;

    // The save-state pool, and the saved graphics states, oldest first.
    std::vector<std::unique_ptr<TVelkGPCanvasSaveState>> FCanvasSaveData;
    std::vector<TGraphicsState> FSavedStates;
    std::uint32_t FNextStateToken = 1;
};

template <> struct EnumNames<TCanvasOrientation> {
    static constexpr std::array<std::u16string_view, 2> Names{u"coLeftToRight", u"coRightToLeft"};
};
template <> struct EnumNames<TFillStyle> {
    static constexpr std::array<std::u16string_view, 2> Names{u"fsSurface", u"fsBorder"};
};

} // namespace velk
