#pragma once
// TVelkGPPen: how lines are stroked — width, colour or brush, caps, joins, miter limit,
// dashes, compound lines, alignment and a nib transform.
//
// Qt strokes the plain cases itself (Handle() is the QPen for them). Everything QPen
// cannot express — triangle, anchor and custom caps, dash caps that differ from the line
// caps, compound arrays, inset alignment, a nib transform — is drawn by filling the
// pen's outline (StrokeOutline, graphics/stroker.h) with the pen's brush. Dash lengths
// and the dash offset are in pen widths; the miter limit is miter length / width.

#include "graphics/gp_types.h"
#include "graphics/graphics_object.h"
#include "graphics/stroker.h"

#include <QPainterPath>
#include <QPen>

#include <memory>
#include <optional>
#include <span>
#include <vector>

class QPainter;

namespace velk {

class TVelkGPBrush;
class TVelkGPCustomLineCap;

class TVelkGPPen : public TVelkGPGraphicsObject {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // Solid opaque black, one unit wide.
    explicit TVelkGPPen(TVelkGPCanvas* AOwner = nullptr);
    // Kind and colour, current and default, from the arguments.
    TVelkGPPen(TVelkGPCanvas* AOwner, TVelkGPBrushKind ADefaultKind, TVelkGPColor ADefaultColor);
    ~TVelkGPPen() override;

    // Published.
    float Thickness() const { return FThickness; }
    void SetThickness(float Value);
    // Also the kind of the pen's brush (when it has one).
    TVelkGPBrushKind Kind() const { return FKind; }
    void SetKind(TVelkGPBrushKind Value);
    // Also the colour of the pen's brush (when it has one).
    TVelkGPColor Color() const { return FColor; }
    void SetColor(TVelkGPColor Value);
    // Miter length / width; values below 1 are stored as 1.
    float MiterLimit() const { return FMiterLimit; }
    void SetMiterLimit(float Value);
    // In pen widths.
    float DashOffset() const { return FDashOffset; }
    void SetDashOffset(float Value);

    // Public.
    TVelkGPBrushKind DefaultKind() const { return FDefaultKind; }
    TVelkGPColor DefaultColor() const { return FDefaultColor; }
    // The nib transform: the pen's shape is mapped by its linear part (translation is
    // ignored); a singular matrix strokes as the identity.
    const TMatrix& Matrix() const { return FMatrix; }
    void SetMatrix(const TMatrix& Value);
    TVelkGPLineCap StartCap() const { return FStartCap; }
    void SetStartCap(TVelkGPLineCap Value);
    TVelkGPLineCap EndCap() const { return FEndCap; }
    void SetEndCap(TVelkGPLineCap Value);
    // dcUnused is refused silently.
    TVelkGPDashCap DashCap() const { return FDashCap; }
    void SetDashCap(TVelkGPDashCap Value);
    TVelkGPStrokeJoin Join() const { return FJoin; }
    void SetJoin(TVelkGPStrokeJoin Value);
    // sdCustom draws DashArray (SetCustomDash sets both).
    TVelkGPStrokeDash Dash() const { return FDash; }
    void SetDash(TVelkGPStrokeDash Value);
    // paInset lays the stroke of closed figures inside them; open figures stay centred.
    TVelkGPPenAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TVelkGPPenAlignment Value);
    // Dash and gap lengths in pen widths. Every element must be > 0 (else
    // EGDIPException with the dash-pattern message, the pen unchanged).
    const std::vector<float>& DashArray() const { return FDashArray; }
    void SetDashArray(std::span<const float> Value);
    // Dash := sdCustom, DashArray := Dash, DashOffset := Offset, one change event.
    // Raises like SetDashArray, leaving the pen unchanged.
    void SetCustomDash(std::span<const float> Dash, float Offset);
    // Pairs of band edges across the stroke, as fractions of the width from the left
    // side of the line: an even count, at least 2, non-decreasing (else EGDIPException
    // with the compound-array message, the pen unchanged). Empty: one full band.
    const std::vector<float>& CompoundArray() const { return FCompoundArray; }
    void SetCompoundArray(std::span<const float> Value);

    // The brush a non-solid pen strokes with; created on first read with the pen's
    // owner. Setting assigns into it.
    TVelkGPBrush& Brush();
    bool HasBrush() const { return FBrush != nullptr; }
    void SetBrush(const TVelkGPBrush& Value);
    // Drawn for lcCustom when valid; created on first read with the pen's owner.
    TVelkGPCustomLineCap& CustomStartCap();
    void SetCustomStartCap(const TVelkGPCustomLineCap& Value);
    TVelkGPCustomLineCap& CustomEndCap();
    void SetCustomEndCap(const TVelkGPCustomLineCap& Value);
    bool HasCustomStartCap() const { return FCustomStartCap != nullptr; }
    bool HasCustomEndCap() const { return FCustomEndCap != nullptr; }

    // From a TVelkGPPen: every setting, the brush and custom caps when the source has
    // them (an own brush the source lacks follows the new kind and colour); one change
    // event.
    void Assign(const TPersistent* Source) override;
    using TVelkGPGraphicsObject::Assign;
    // From a platform pen: its colour (also the default colour) and width; its style
    // gives the kind and dash (no pen → bkNone; solid, dash, dot, dash-dot, dash-dot-dot
    // → bkSolid with that dash; others → bkSolid, dash unchanged).
    void Assign(const QPen& Source);
    // Opacity < 1 scales the colour's alpha; then the brush of a pen that strokes with
    // one (created here when missing) is prepared for aRect and Opacity, scaling its own
    // colours. Returns the pen.
    TVelkGPGraphicsObject* Prepare(const TRectF& aRect, float Opacity) override;
    // Rebuilds the QPen from the fields.
    void Update() override;

    // The QPen for the cases Qt strokes itself (CanStrokeWithQPen); Qt::NoPen for
    // bkNone and a thickness that is not a number. A zero thickness gives Qt's cosmetic
    // one-pixel pen (the classic hairline).
    QPen Handle() const;
    // True when Handle() draws exactly what the pen describes.
    bool CanStrokeWithQPen() const;

    // The area the pen covers when stroking Path, in Path's coordinates, to be filled
    // with the non-zero rule. Curves are flattened to within Flatness. A subpath whose
    // last point equals its first is closed (no caps), as Qt strokes it.
    static constexpr qreal DefaultFlatness = 0.25;
    QPainterPath StrokeOutline(const QPainterPath& Path, qreal Flatness = DefaultFlatness) const;
    // Strokes Path on Painter with its current transform: through the QPen when Qt can,
    // otherwise by filling StrokeOutline with the pen's brush. Nothing for bkNone or a
    // thickness that is not finite.
    void Paint(QPainter& Painter, const QPainterPath& Path) const;

    // The stroke geometry of the pen (the stroker's input). HairlineWidth stands in for
    // a zero thickness.
    TVelkStrokeStyle StrokeStyle(qreal HairlineWidth = 1) const;

protected:
    std::unique_ptr<TVelkGPGraphicsObject> CreateSame(TVelkGPCanvas* AOwner) const override;
    void DestroyHandle() override;

private:
    void OwnedChanged(TObject* Sender);
    // Runs Action, which changes the pen's brush or caps, without their change events.
    template <typename F>
    void Syncing(F&& Action);
    TVelkGPCustomLineCap& OwnedCap(std::unique_ptr<TVelkGPCustomLineCap>& Cap);
    // The pen's brush (when it has one) takes the pen's kind and colour.
    void FollowIntoBrush();
    QBrush StrokeBrush() const;

    float FThickness = 1;
    TVelkGPBrushKind FKind = bkSolid;
    TVelkGPColor FColor = 0xFF000000;
    TMatrix FMatrix = IdentityMatrix;
    TVelkGPLineCap FStartCap = lcFlat;
    TVelkGPStrokeJoin FJoin = sjMiter;
    TVelkGPDashCap FDashCap = dcFlat;
    TVelkGPStrokeDash FDash = sdSolid;
    TVelkGPPenAlignment FAlignment = paCenter;
    TVelkGPLineCap FEndCap = lcFlat;
    float FMiterLimit = 10;
    std::vector<float> FDashArray;
    float FDashOffset = 0;
    std::vector<float> FCompoundArray;
    TVelkGPBrushKind FDefaultKind = bkSolid;
    TVelkGPColor FDefaultColor = 0xFF000000;
    std::unique_ptr<TVelkGPBrush> FBrush;
    std::unique_ptr<TVelkGPCustomLineCap> FCustomStartCap;
    std::unique_ptr<TVelkGPCustomLineCap> FCustomEndCap;
    mutable std::optional<QPen> FHandle;
    // Set while the pen itself changes its brush or caps, whose change events it
    // reports once on its own.
    bool FSyncing = false;
};

} // namespace velk
