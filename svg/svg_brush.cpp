#include "svg/svg_brush.h"

#include "svg/color.h"

#include <algorithm>
#include <cmath>

namespace velk {

float SVGClampOpacity(float Value, float Current)
{
    return std::isnan(Value) ? Current : std::clamp(Value, 0.0f, 1.0f);
}

const TClassInfo& TSVGBrush::StaticClass()
{
    static const TClassInfo info(u"TSVGBrush"_qs, &TVelkGPBrush::StaticClass(), &CreateInstance<TSVGBrush>,
                                 TPublished<TSVGBrush>()
                                     .Single(u"Opacity"_qs, &TSVGBrush::Opacity, &TSVGBrush::SetOpacity)
                                     .NoDefault()
                                     .StoredWhen([](const TSVGBrush& b) { return b.Opacity() != b.DefaultOpacity(); })
                                     .Enumeration(u"Kind"_qs, &TSVGBrush::Kind, &TSVGBrush::SetKind)
                                     .StoredWhen([](const TSVGBrush& b) { return b.Kind() != b.DefaultKind(); })
                                     .String(u"URI"_qs, &TSVGBrush::URI, &TSVGBrush::SetURI)
                                     .Take());
    return info;
}

TSVGBrush::TSVGBrush(TVelkGPCanvas* Canvas) : TVelkGPBrush(Canvas)
{
}

TSVGBrush::TSVGBrush(TVelkGPCanvas* Canvas, TVelkGPBrushKind ADefaultKind, TVelkGPColor ADefaultColor)
    : TVelkGPBrush(Canvas, ADefaultKind, ADefaultColor)
{
}

TSVGBrush::~TSVGBrush() = default;

std::unique_ptr<TVelkGPGraphicsObject> TSVGBrush::CreateSame(TVelkGPCanvas* AOwner) const
{
    return std::make_unique<TSVGBrush>(AOwner);
}

void TSVGBrush::SetOpacity(float Value)
{
    Value = SVGClampOpacity(Value, FOpacity);
    if (Value == FOpacity)
        return;
    FOpacity = Value;
    Changed();
}

void TSVGBrush::SetDefaultOpacity(float Value)
{
    FDefaultOpacity = SVGClampOpacity(Value, FDefaultOpacity);
}

void TSVGBrush::SetKind(TVelkGPBrushKind Value)
{
    if (Value == Kind())
        return;
    if (Value == bkNone || Value == bkSolid)
        FURI.clear();
    TVelkGPBrush::SetKind(Value);
}

void TSVGBrush::SetURI(const QString& Value)
{
    if (Value == FURI)
        return;
    FURI = Value;
    Changed();
}

void TSVGBrush::Clear()
{
    SetColor(0xFF000000);
    SetURI(QString());
    FCurrentColor = false;
    SetOpacity(FDefaultOpacity);
    SetKind(bkSolid);
}

void TSVGBrush::UpdateColorOpacity()
{
    SetColor(SVGSetColorOpacity(Color(), FOpacity));
}

void TSVGBrush::Assign(const TPersistent* Source)
{
    if (const auto* brush = dynamic_cast<const TSVGBrush*>(Source)) {
        FDefaultOpacity = brush->FDefaultOpacity;
        FOpacity = brush->FOpacity;
        FURI = brush->FURI;
        FCurrentColor = brush->FCurrentColor;
    }
    TVelkGPBrush::Assign(Source);
}

} // namespace velk
