#pragma once
// TVelkGPBrush: how the backend fills — a solid colour, a linear or radial gradient, a
// texture image or one of the 53 hatch patterns. The brush keeps its settings in fields
// and builds the QBrush lazily (Handle); Prepare fits it to the area being drawn and to
// an opacity.
//
// Qt mapping (see docs/backend.md):
//  - linear gradients: QLinearGradient; wmClamp lays the gradient across the whole area
//    in the direction of the start-stop line (pad spread); the other wrap modes run it
//    from the start to the stop position (tile → repeat, flips → reflect);
//  - radial gradients: QRadialGradient over a unit circle with the focal point at the
//    centre point, shaped into the boundary ellipse by the brush transform; the colour
//    list is reversed, since Qt's position 0 is the centre;
//  - a zero-length linear gradient, or a radial gradient with a zero radius, paints the
//    solid colour its far end would have (the last stop of the gradient as SVG writes it);
//    so does a gradient whose geometry is not finite or whose matrix is singular;
//  - texture brushes tile the image (mirrored copies for the flip modes); wmClamp paints
//    the image once, inside PaintArea; a singular matrix paints nothing;
//  - hatch brushes tile an 8×8 pattern of Color on BackColor.

#include "graphics/geometry.h"
#include "graphics/gp_types.h"
#include "graphics/graphics_object.h"

#include <QBrush>
#include <QImage>
#include <QLineF>
#include <QPainterPath>
#include <QPointF>

#include <memory>
#include <optional>

namespace velk {

class TVelkGPGradient;

class TVelkGPBrush : public TVelkGPGraphicsObject {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // Solid white (current and default), hatch hsHorizontal, back colour opaque black,
    // wrap mode wmTile, identity matrix, empty source rectangle, no bitmap.
    explicit TVelkGPBrush(TVelkGPCanvas* AOwner = nullptr);
    // As above, then kind and colour, current and default, from the arguments.
    TVelkGPBrush(TVelkGPCanvas* AOwner, TVelkGPBrushKind ADefaultKind, TVelkGPColor ADefaultColor);
    ~TVelkGPBrush() override;

    // Published.
    // Mirrors stop 0 of the gradient: setting it writes that stop.
    TVelkGPColor Color() const { return FColor; }
    void SetColor(TVelkGPColor Value);
    // Becoming bkGradient sets the wrap mode to wmClamp.
    TVelkGPBrushKind Kind() const { return FKind; }
    void SetKind(TVelkGPBrushKind Value);
    // Mirrors stop 1 of the gradient; the background of hatch patterns.
    TVelkGPColor BackColor() const { return FBackColor; }
    void SetBackColor(TVelkGPColor Value);
    // The owned gradient; the setter copies. A change of the gradient copies its stops 0
    // and 1 into Color and BackColor and raises the brush's OnChange.
    TVelkGPGradient* Gradient() const { return FGradient.get(); }
    void SetGradient(const TVelkGPGradient& Value);

    // Public.
    TVelkGPHatchStyle HatchStyle() const { return FHatchStyle; }
    void SetHatchStyle(TVelkGPHatchStyle Value);
    TVelkGPWrapMode WrapMode() const { return FWrapMode; }
    void SetWrapMode(TVelkGPWrapMode Value);
    // The texture image (implicitly shared). Setting a null image on a bkBitmap brush
    // makes it bkNone.
    const QImage& Bitmap() const { return FBitmap; }
    void SetBitmap(const QImage& Value);
    // The part of Bitmap a texture uses; an empty rectangle (zero width and height) uses
    // the whole image. A rectangle reaching outside the image raises EGDIPException
    // "Invalid Parameter for GDI+ function" when the brush is built.
    const TRectF& BitmapSrcRect() const { return FBitmapSrcRect; }
    void SetBitmapSrcRect(const TRectF& Value);
    // Maps texture and radial gradient space to user space (the QBrush transform).
    const TMatrix& Matrix() const { return FMatrix; }
    void SetMatrix(const TMatrix& Value);
    TVelkGPBrushKind DefaultKind() const { return FDefaultKind; }
    TVelkGPColor DefaultColor() const { return FDefaultColor; }

    // From a brush: gradient, default colour, colour, matrix, hatch style, back colour,
    // wrap mode, bitmap with its source rectangle, default kind and kind, so that the
    // copy draws like the source. Anything else: TPersistent's rules.
    void Assign(const TPersistent* Source) override;
    using TVelkGPGraphicsObject::Assign;
    // From a platform brush: colour and default colour take its colour; its style gives
    // the kind (solid → bkSolid, none → bkNone, the six line patterns → bkHatchFill with
    // the matching hatch style, anything else → bkSolid); the default kind follows.
    void Assign(const QBrush& Source);

    // The Qt brush for the fields (and the area of the last Prepare), built on first use
    // after a change. bkNone gives Qt::NoBrush.
    const QBrush& Handle();
    // Where the brush paints, in user space: a clamped texture paints only inside its
    // image (nowhere under a singular matrix); nothing means everywhere.
    std::optional<QPainterPath> PaintArea() const;

    // Rebuilds the Qt brush from the fields.
    void Update() override;
    // Opacity < 1 scales the alpha of Color and BackColor, of every gradient stop and of
    // the texture image; a gradient brush is then laid out over aRect (a zero width or
    // height counts as 0.01). Returns the brush.
    TVelkGPGraphicsObject* Prepare(const TRectF& aRect, float Opacity) override;

protected:
    std::unique_ptr<TVelkGPGraphicsObject> CreateSame(TVelkGPCanvas* AOwner) const override;
    void DestroyHandle() override;

private:
    // A radial gradient's boundary ellipse and centre point in area coordinates.
    struct TEllipse {
        QPointF Center;
        double RadiusX;
        double RadiusY;
        QPointF Focus;
        // Room for the colours: both radii positive, every number finite.
        bool IsDrawable() const;
    };

    // Writes Value into Field and into gradient stop Stop (when there is one).
    void SetMirroredColor(TVelkGPColor& Field, int Stop, TVelkGPColor Value);
    // Runs Action, which changes the gradient, without the gradient's change echoing
    // back into Color and BackColor.
    template <typename F>
    void WithoutGradientEcho(F&& Action);
    void GradientChanged();
    TEllipse RadialGeometry() const;
    QPainterPath RadialEllipse() const;
    QBrush CreateHandle() const;
    QBrush GradientBrush() const;
    QBrush RadialBrush() const;
    QBrush LinearBrush() const;
    // A point of the area given as fractions of it.
    QPointF AreaPoint(const TPointF& Fraction) const;
    // The line a wmClamp gradient runs along.
    QLineF ClampedLine(const TPointF& Start, const TPointF& Stop) const;
    QBrush TextureBrush() const;
    QImage SourceImage() const;

    QImage FBitmap;
    TVelkGPColor FColor = 0xFFFFFFFF;
    TVelkGPBrushKind FKind = bkSolid;
    TVelkGPHatchStyle FHatchStyle = hsHorizontal;
    TVelkGPColor FBackColor = 0xFF000000;
    TVelkGPWrapMode FWrapMode = wmTile;
    std::unique_ptr<TVelkGPGradient> FGradient;
    TMatrix FMatrix = IdentityMatrix;
    TRectF FBitmapSrcRect;
    TVelkGPBrushKind FDefaultKind = bkSolid;
    TVelkGPColor FDefaultColor = 0xFFFFFFFF;
    // The area gradients are laid out over: the unit square until Prepare gives one.
    TRectF FArea{0, 0, 1, 1};
    // The opacity Prepare applied to the texture image.
    float FBitmapOpacity = 1;
    // The brush writes the gradient's stops itself: no echo from the gradient.
    bool FGradientSilent = false;
    std::optional<QBrush> FHandle;
};

} // namespace velk
