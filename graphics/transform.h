#pragma once
// TVelkTransform: a 2-D transform edited as a position, a scale, a skew and a rotation
// angle; keeps the resulting matrix up to date and reports every change.
//
// A point (x, y) maps to (x * Scale.X + Position.X, y * Scale.Y + Position.Y), then turns
// by RotationAngle degrees (clockwise on a y-down screen) about the centre of the shape
// rectangle that OnGetShapeRect supplies, or about the origin without it. Skew lands in
// m13/m23, which take no part in transforming a point (see geometry.h). RotationCenter
// does not enter the matrix: it is a fraction of a reference area read by radial
// gradients.

#include "graphics/geometry.h"
#include "graphics/position.h"
#include "platform/persistent.h"

#include <functional>
#include <memory>

namespace velk {

// The owner fills aRect with the rectangle of the shape the transform belongs to.
using TVelkGetRectEvent = std::function<void(TObject* Sender, TRectF& aRect)>;

class TVelkTransform : public TPersistent {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // Identity matrix; Position (0, 0), Scale (1, 1), Skew (0, 0), RotationCenter
    // (0.5, 0.5), each also its position's default.
    TVelkTransform();

    // Published. The owned positions are never replaced: the setters copy the given
    // point in (one matrix update and one OnChanged), and any change of an owned
    // position's coordinates updates the matrix at once.
    TVelkPosition* Position() const { return FPosition.get(); }
    void SetPosition(const TVelkPosition& Value) { FPosition->Assign(&Value); }
    TVelkPosition* Scale() const { return FScale.get(); }
    void SetScale(const TVelkPosition& Value) { FScale->Assign(&Value); }
    TVelkPosition* Skew() const { return FSkew.get(); }
    void SetSkew(const TVelkPosition& Value) { FSkew->Assign(&Value); }
    TVelkPosition* RotationCenter() const { return FRotationCenter.get(); }
    void SetRotationCenter(const TVelkPosition& Value) { FRotationCenter->Assign(&Value); }
    // Degrees.
    float RotationAngle() const { return FRotationAngle; }
    void SetRotationAngle(float Value);

    const TMatrix& Matrix() const { return FMatrix; }

    // From a TVelkTransform: the four positions' coordinates, then one matrix update
    // and one OnChanged; RotationAngle is kept. Anything else: TPersistent's rules.
    void Assign(const TPersistent* Source) override;

    TNotifyEvent OnChanged;
    // Asked for on every matrix update while RotationAngle is not 0; a change of the
    // rectangle alone does not update the matrix.
    TVelkGetRectEvent OnGetShapeRect;

protected:
    // Recomputes Matrix from the parts, then Changed.
    void UpdateMatrix();
    void Changed();

private:
    std::unique_ptr<TVelkPosition> CreatePosition(const TPointF& ADefaultValue);

    TMatrix FMatrix = IdentityMatrix;
    float FRotationAngle = 0;
    std::unique_ptr<TVelkPosition> FPosition;
    std::unique_ptr<TVelkPosition> FScale;
    std::unique_ptr<TVelkPosition> FSkew;
    std::unique_ptr<TVelkPosition> FRotationCenter;
};

} // namespace velk
