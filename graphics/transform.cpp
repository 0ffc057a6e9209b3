#include "graphics/transform.h"

#include <numbers>

namespace velk {

const TClassInfo& TVelkTransform::StaticClass()
{
    static const TClassInfo info(u"TVelkTransform"_qs, &TPersistent::StaticClass(), &CreateInstance<TVelkTransform>,
                                 TPublished<TVelkTransform>()
                                     .Object(u"Position"_qs, &TVelkTransform::Position)
                                     .Object(u"Scale"_qs, &TVelkTransform::Scale)
                                     .Object(u"Skew"_qs, &TVelkTransform::Skew)
                                     .Object(u"RotationCenter"_qs, &TVelkTransform::RotationCenter)
                                     .Single(u"RotationAngle"_qs, &TVelkTransform::RotationAngle,
                                             &TVelkTransform::SetRotationAngle, 0)
                                     .Take());
    return info;
}

TVelkTransform::TVelkTransform()
    : FPosition(CreatePosition({0, 0})), FScale(CreatePosition({1, 1})), FSkew(CreatePosition({0, 0})),
      FRotationCenter(CreatePosition({0.5f, 0.5f}))
{
}

std::unique_ptr<TVelkPosition> TVelkTransform::CreatePosition(const TPointF& ADefaultValue)
{
    auto position = std::make_unique<TVelkPosition>(ADefaultValue);
    position->OnChange = [this](TObject*) { UpdateMatrix(); };
    return position;
}

void TVelkTransform::SetRotationAngle(float Value)
{
    if (Value == FRotationAngle)
        return;
    FRotationAngle = Value;
    UpdateMatrix();
}

void TVelkTransform::Assign(const TPersistent* Source)
{
    if (const auto* transform = dynamic_cast<const TVelkTransform*>(Source)) {
        FPosition->SetPointNoChange(transform->FPosition->Point());
        FScale->SetPointNoChange(transform->FScale->Point());
        FSkew->SetPointNoChange(transform->FSkew->Point());
        FRotationCenter->SetPointNoChange(transform->FRotationCenter->Point());
        UpdateMatrix();
        return;
    }
    TPersistent::Assign(Source);
}

void TVelkTransform::UpdateMatrix()
{
    TMatrix m = IdentityMatrix;
    m.m31 = FPosition->X();
    m.m32 = FPosition->Y();
    m.m13 = FSkew->X();
    m.m23 = FSkew->Y();
    m.m11 = FScale->X();
    m.m22 = FScale->Y();
    if (FRotationAngle != 0) {
        const auto angle = static_cast<float>(double(FRotationAngle) * std::numbers::pi / 180);
        TMatrix rotation;
        if (OnGetShapeRect) {
            TRectF shape;
            OnGetShapeRect(this, shape);
            rotation = CreateRotationAroundMatrix(RectFCenter(shape), angle);
        } else {
            rotation = CreateRotationMatrix(angle);
        }
        // Scale and translation first, the rotation second.
        m = MatrixMultiply(m, rotation);
    }
    FMatrix = m;
    Changed();
}

void TVelkTransform::Changed()
{
    if (OnChanged)
        OnChanged(this);
}

} // namespace velk
