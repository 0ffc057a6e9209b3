#pragma once
// TSVGBrush: an element's fill. The backend brush plus what SVG adds: an opacity kept
// apart from the colour (fill-opacity and fill may arrive in either order) and the ID of
// a paint server (gradient or pattern) that the element resolves when it draws.
//
//   TSVGBrush fill(nullptr, bkSolid, 0xFF000000);
//   fill.SetOpacity(0.5f);
//   fill.UpdateColorOpacity();                  // Color() == 0x80000000

#include "graphics/brush.h"

#include <QString>

namespace velk {

// Value clamped into 0..1, the opacity rule of fill and stroke; NaN gives Current (a
// setter that receives NaN keeps what it has).
float SVGClampOpacity(float Value, float Current);

class TSVGBrush : public TVelkGPBrush {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // The backend brush's defaults (solid white); opacity and default opacity 1.
    explicit TSVGBrush(TVelkGPCanvas* Canvas = nullptr);
    // Kind and colour, current and default, from the arguments; opacity and default
    // opacity 1. Canvas may be nullptr (elements create their brush without one).
    TSVGBrush(TVelkGPCanvas* Canvas, TVelkGPBrushKind ADefaultKind, TVelkGPColor ADefaultColor);
    ~TSVGBrush() override;

    // Published.
    // Clamped into 0..1; a change raises OnChange. Stored when it differs from
    // DefaultOpacity.
    float Opacity() const { return FOpacity; }
    void SetOpacity(float Value);
    // Hides the backend setter: bkNone and bkSolid also empty URI (a solid or no paint
    // has no server); then the backend kind is set. Nothing when equal.
    void SetKind(TVelkGPBrushKind Value);
    using TVelkGPBrush::Kind;
    // The paint server's ID, empty for none.
    const QString& URI() const { return FURI; }
    void SetURI(const QString& Value);

    // Public.
    // The opacity Clear restores; clamped into 0..1, no change event.
    float DefaultOpacity() const { return FDefaultOpacity; }
    void SetDefaultOpacity(float Value);

    // The colour follows the element's color property (currentColor): the element takes
    // it again whenever it resolves its paint for drawing. No change event.
    bool CurrentColor() const { return FCurrentColor; }
    void SetCurrentColor(bool Value) { FCurrentColor = Value; }

    // Colour opaque black, URI empty, CurrentColor off, Opacity := DefaultOpacity, kind bkSolid.
    virtual void Clear();
    // Folds Opacity into the colour's alpha byte (Opacity × 255, halves to even); red,
    // green and blue stay. For where one colour must carry both (a gradient stop).
    void UpdateColorOpacity();

    // From a TSVGBrush: default opacity, opacity, URI and CurrentColor; then the backend brush's rules.
    void Assign(const TPersistent* Source) override;
    using TVelkGPBrush::Assign;

protected:
    std::unique_ptr<TVelkGPGraphicsObject> CreateSame(TVelkGPCanvas* AOwner) const override;

private:
    float FOpacity = 1;
    QString FURI;
    bool FCurrentColor = false;
    float FDefaultOpacity = 1;
};

} // namespace velk
