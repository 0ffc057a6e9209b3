#pragma once
// TVelkGPGradient: the description of a gradient fill — its colour stops, the direction
// of a linear gradient (start and stop positions as fractions of the painted area), the
// centre of a radial one — and the colour list ("preset blend") a drawing brush is built
// from. TVelkGPGradientPoint and TVelkGPGradientPoints are its stops.
//
// Positions are fractions of the area the brush is prepared for: (0, 0) is its top-left
// corner and (1, 1) its bottom-right. A radial gradient runs from its boundary (offset 0)
// to its centre point (offset 1).

#include "graphics/geometry.h"
#include "graphics/gp_types.h"
#include "graphics/position.h"
#include "graphics/transform.h"
#include "platform/list.h"
#include "platform/persistent.h"

#include <QPainterPath>

#include <memory>
#include <span>
#include <vector>

namespace velk {

class TVelkGPBrush;
class TVelkGPGradient;
class TVelkGPGradientPoints;

// One colour stop.
class TVelkGPGradientPoint : public TPersistent {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // Transparent black at offset 0. A point made by a collection belongs to it.
    explicit TVelkGPGradientPoint(TVelkGPGradientPoints* ACollection = nullptr);

    // Published. Setting a different value (offsets compared exactly) notifies the
    // collection.
    TVelkGPColor Color() const { return FColor; }
    void SetColor(TVelkGPColor Value);
    // Position along the gradient, usually 0…1 (values beyond are kept as given).
    float Offset() const { return FOffset; }
    void SetOffset(float Value);

    TVelkGPGradientPoints* Collection() const { return FCollection; }
    // Position in the collection, -1 without one.
    int Index() const;

    // From a point: colour and offset, one notification. Anything else: TPersistent's
    // rules.
    void Assign(const TPersistent* Source) override;

private:
    void Changed();

    TVelkGPGradientPoints* FCollection;
    TVelkGPColor FColor = 0;
    float FOffset = 0;
};

// The stops of a gradient, owned by it. Every change (an item's colour or offset, an
// item added or removed) calls the gradient's Change; inside an update bracket the
// outermost EndUpdate does that once.
class TVelkGPGradientPoints : public TPersistent {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    explicit TVelkGPGradientPoints(TVelkGPGradient* AOwner = nullptr);
    ~TVelkGPGradientPoints() override;

    int Count() const { return FItems.Count(); }
    // Raises EListError "List index out of bounds (%d)" for an index outside the items.
    TVelkGPGradientPoint* GetPoint(int Index) const { return FItems[Index]; }
    TVelkGPGradientPoint* operator[](int Index) const { return FItems[Index]; }
    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }

    TVelkGPGradientPoint* Add();
    TVelkGPGradientPoint* Add(TVelkGPColor AColor, float AOffset);
    TVelkGPGradientPoint* Insert(int Index);
    void Delete(int Index);
    void Clear();

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    // From points: the same stops (colours and offsets), one change.
    void Assign(const TPersistent* Source) override;
    TPersistent* GetOwner() const override;

    // An item or the list changed.
    void Changed();

private:
    TVelkGPGradient* FOwner;
    TObjectList<TVelkGPGradientPoint> FItems;
    int FUpdateCount = 0;
};

// One entry of the colour list a brush draws with; Position is within 0…1.
struct TVelkGPBlendStop {
    TVelkGPColor Color = 0;
    float Position = 0;
    bool operator==(const TVelkGPBlendStop&) const = default;
};
using TVelkGPBlend = std::vector<TVelkGPBlendStop>;

// The preset blend: the stops (Color = colour, Position = offset, in their given order)
// turned into positions along the line from Start to Stop, clipped to 0…1 with the colours
// at the cut interpolated, starting at 0 and ending at 1. Without stops: (Color, 0) and
// (Color, 1).
//
// The line is moved parallel to itself through the origin; a horizontal line maps a stop
// to its X, a vertical one to its Y, any other to its distance from the moved start
// scaled by the line's length (1/L for lines longer than 1, L otherwise). A list whose
// first two different positions decrease is mirrored (1 − t).
TVelkGPBlend PresetBlend(std::span<const TVelkGPBlendStop> Stops, TVelkGPColor Color, const TPointF& Start,
                         const TPointF& Stop);

class TVelkGPGradient : public TPersistent {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // Stops (0xFF000000, 0) and (0xFFFFFFFF, 1); linear from (0, 0) to (0, 1) (downwards);
    // radial transform at position (0.5, 0.5) with rotation centre (0.5, 0.5); no gamma
    // correction; normal shape with focus and scale 1.
    TVelkGPGradient();
    ~TVelkGPGradient() override;

    // Published.
    bool GammaCorrection() const { return FGammaCorrection; }
    void SetGammaCorrection(bool Value);
    // The owned stops; the setter copies.
    TVelkGPGradientPoints* Points() const { return FPoints.get(); }
    void SetPoints(const TVelkGPGradientPoints& Value);
    TVelkGPGradientStyle Style() const { return FStyle; }
    void SetStyle(TVelkGPGradientStyle Value);
    TVelkGPLinearGradientShape Shape() const { return FShape; }
    void SetShape(TVelkGPLinearGradientShape Value);
    // Clamped to 0…1.
    float ShapeFocus() const { return FShapeFocus; }
    void SetShapeFocus(float Value);
    float ShapeScale() const { return FShapeScale; }
    void SetShapeScale(float Value);
    // The owned positions and transform; the setters copy. Streamed for the style that
    // uses them.
    TVelkPosition* StartPosition() const { return FStartPosition.get(); }
    void SetStartPosition(const TVelkPosition& Value) { FStartPosition->Assign(&Value); }
    TVelkPosition* StopPosition() const { return FStopPosition.get(); }
    void SetStopPosition(const TVelkPosition& Value) { FStopPosition->Assign(&Value); }
    // Radial gradients: RotationCenter is the centre point (offset 1) as a fraction of
    // the area; Position (default (0.5, 0.5)) is the centre of the boundary ellipse and
    // Scale its radii relative to the ellipse inscribed in the area.
    TVelkTransform* RadialTransform() const { return FRadialTransform.get(); }
    void SetRadialTransform(const TVelkTransform& Value) { FRadialTransform->Assign(&Value); }

    // Colour of stop Index; an index outside the stops raises EArgumentOutOfRangeException
    // "Argument out of range". Writing the stored colour does nothing.
    TVelkGPColor GetColor(int Index) const;
    void SetColor(int Index, TVelkGPColor Value);
    // Stop 0's and stop 1's colour.
    TVelkGPColor Color() const { return GetColor(0); }
    void SetColor(TVelkGPColor Value) { SetColor(0, Value); }
    TVelkGPColor Color1() const { return GetColor(1); }
    void SetColor1(TVelkGPColor Value) { SetColor(1, Value); }

    // From a gradient: the stops, the style, the radial transform (radial style) or the
    // stop and start positions (linear style), gamma correction, shape, focus and scale;
    // one Change. Anything else: TPersistent's rules.
    void Assign(const TPersistent* Source) override;
    // Same stop count, start and stop positions within Epsilon, identical stop colours,
    // offsets within Epsilon. Style and shape are not compared.
    bool Equal(const TVelkGPGradient* AGradient) const;

    // The colour at Offset (clamped to 0…1) between the stops; 0 with fewer than two.
    TVelkGPColor InterpolateColor(float Offset) const;
    // The colour at a point of the unit square: radial style measures 1 − 2·distance from
    // the rotation centre, linear style the projection onto the start-stop line.
    TVelkGPColor InterpolateColor(float X, float Y) const;

    // PresetBlend of these stops along the start-stop line; Color stands in when there are
    // no stops.
    TVelkGPBlend PresetBlend(TVelkGPColor Color) const;

    // The boundary ellipse of a radial gradient as the brush last prepared it for an
    // area (user space, the brush matrix applied); empty before and for linear style.
    const QPainterPath& Path() const { return FPath; }

    // Raises OnChanged (not inside Assign).
    void Change();
    void DefineProperties(TFiler& Filer) override;

    TNotifyEvent OnChanged;

private:
    friend class TVelkGPBrush;

    // Stop Index; raises EArgumentOutOfRangeException outside the stops.
    TVelkGPGradientPoint* CheckedPoint(int Index) const;

    std::unique_ptr<TVelkGPGradientPoints> FPoints;
    std::unique_ptr<TVelkPosition> FStartPosition;
    std::unique_ptr<TVelkPosition> FStopPosition;
    TVelkGPGradientStyle FStyle = gsLinear;
    std::unique_ptr<TVelkTransform> FRadialTransform;
    bool FGammaCorrection = false;
    TVelkGPLinearGradientShape FShape = lgsNormal;
    float FShapeScale = 1;
    float FShapeFocus = 1;
    QPainterPath FPath;
    // Assign in progress: changes of the parts do not raise OnChanged.
    bool FAssigning = false;
};

} // namespace velk
