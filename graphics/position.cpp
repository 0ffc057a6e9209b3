#include "graphics/position.h"

#include "platform/binary_reader.h"

#include <cmath>

namespace velk {

namespace {

bool Differs(float Value, float Default)
{
    return std::fabs(double(Value) - Default) > Epsilon;
}

} // namespace

const TClassInfo& TVelkPosition::StaticClass()
{
    static const TClassInfo info(
        u"TVelkPosition"_qs, &TPersistent::StaticClass(), &CreateInstance<TVelkPosition>,
        // The default is per instance, so the stored conditions alone decide: a Scale of
        // 0 is written and reads back.
        TPublished<TVelkPosition>()
            .Single(u"X"_qs, &TVelkPosition::X, &TVelkPosition::SetX)
            .NoDefault()
            .StoredWhen([](const TVelkPosition& p) { return Differs(p.FX, p.FDefaultValue.X); })
            .Single(u"Y"_qs, &TVelkPosition::Y, &TVelkPosition::SetY)
            .NoDefault()
            .StoredWhen([](const TVelkPosition& p) { return Differs(p.FY, p.FDefaultValue.Y); })
            .Take());
    return info;
}

TVelkPosition::TVelkPosition(const TPointF& ADefaultValue)
    : FY(ADefaultValue.Y), FX(ADefaultValue.X), FDefaultValue(ADefaultValue)
{
}

void TVelkPosition::SetX(float Value)
{
    if (Value == FX)
        return;
    FX = Value;
    Changed();
}

void TVelkPosition::SetY(float Value)
{
    if (Value == FY)
        return;
    FY = Value;
    Changed();
}

void TVelkPosition::SetPoint(const TPointF& Value)
{
    SetPointNoChange(Value);
    Changed();
}

void TVelkPosition::SetVector(const TVector& Value)
{
    SetPoint(PointFromVector(Value));
}

void TVelkPosition::SetPointNoChange(const TPointF& Value)
{
    FX = Value.X;
    FY = Value.Y;
}

void TVelkPosition::Reflect(const TVector& Normal)
{
    const double f = -2 * (double(FX) * Normal.X + double(FY) * Normal.Y);
    SetVector({static_cast<float>(FX + f * Normal.X), static_cast<float>(FY + f * Normal.Y), 1});
}

void TVelkPosition::Assign(const TPersistent* Source)
{
    if (const auto* position = dynamic_cast<const TVelkPosition*>(Source)) {
        SetPoint(position->Point());
        return;
    }
    TPersistent::Assign(Source);
}

void TVelkPosition::DefineProperties(TFiler& Filer)
{
    TPersistent::DefineProperties(Filer);
    Filer.DefineProperty(
        u"Point"_qs, [this](TReader& Reader) { SetPoint(StringToPointF(Reader.ReadString())); }, {}, false);
}

void TVelkPosition::Changed()
{
    if (OnChange)
        OnChange(this);
}

} // namespace velk
