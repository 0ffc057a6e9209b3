#pragma once
// TVelkPosition: an editable point with a default value and a change event, streamed as
// a nested object (gradient end points, the parts of a TVelkTransform).

#include "graphics/geometry.h"
#include "platform/persistent.h"

namespace velk {

class TVelkPosition : public TPersistent {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // X, Y and DefaultValue all take ADefaultValue; no event.
    explicit TVelkPosition(const TPointF& ADefaultValue = {});

    // Published. A coordinate is streamed only when it differs from DefaultValue's.
    float X() const { return FX; }
    void SetX(float Value);
    float Y() const { return FY; }
    void SetY(float Value);

    TPointF Point() const { return {FX, FY}; }
    // Stores both coordinates and raises OnChange, also when nothing changed.
    void SetPoint(const TPointF& Value);
    // (X, Y, 1).
    TVector Vector() const { return {FX, FY, 1}; }
    // SetPoint((V.X, V.Y)); W is ignored.
    void SetVector(const TVector& Value);
    // Decides what is streamed; written without an event.
    TPointF DefaultValue() const { return FDefaultValue; }
    void SetDefaultValue(const TPointF& Value) { FDefaultValue = Value; }

    // Stores both coordinates without an event.
    void SetPointNoChange(const TPointF& Value);
    // Both coordinates exactly 0.
    bool Empty() const { return FX == 0 && FY == 0; }
    // Mirrors the position at the line through the origin with that normal. The normal
    // is used as given (not normalised) and its W is ignored. One change event.
    void Reflect(const TVector& Normal);

    // From a TVelkPosition: SetPoint with its point. Anything else: TPersistent's rules.
    void Assign(const TPersistent* Source) override;
    // Reads the older form "Point" = "(X,Y)"; never written.
    void DefineProperties(TFiler& Filer) override;

    // Raised with the position as sender after a change.
    TNotifyEvent OnChange;

protected:
    void Changed();

private:
    float FY = 0;
    float FX = 0;
    TPointF FDefaultValue;
};

} // namespace velk
