#include "graphics/custom_line_cap.h"

#include "graphics/backend_path.h"

#include <QScopeGuard>

namespace velk {

const TClassInfo& TVelkGPCustomLineCap::StaticClass()
{
    using C = TVelkGPCustomLineCap;
    static const TClassInfo info(u"TVelkGPCustomLineCap"_qs, &TVelkGPGraphicsObject::StaticClass(),
                                 &CreateInstance<TVelkGPCustomLineCap>,
                                 TPublished<C>()
                                     .Enumeration(u"BaseCap"_qs, &C::BaseCap, &C::SetBaseCap, lcFlat)
                                     .Single(u"BaseInset"_qs, &C::BaseInset, &C::SetBaseInset)
                                     .Single(u"WidthScale"_qs, &C::WidthScale, &C::SetWidthScale, 1)
                                     .Enumeration(u"Join"_qs, &C::Join, &C::SetJoin, sjMiter)
                                     .Enumeration(u"StartCap"_qs, &C::StartCap, &C::SetStartCap, lcFlat)
                                     .Enumeration(u"EndCap"_qs, &C::EndCap, &C::SetEndCap, lcFlat)
                                     .Boolean(u"UsePathAsFill"_qs, &C::UsePathAsFill, &C::SetUsePathAsFill, false)
                                     .String(u"PathData"_qs, &C::PathData, &C::SetPathData)
                                     .Take());
    return info;
}

TVelkGPCustomLineCap::TVelkGPCustomLineCap(TVelkGPCanvas* AOwner) : TVelkGPGraphicsObject(AOwner)
{
}

TVelkGPCustomLineCap::~TVelkGPCustomLineCap() = default;

std::unique_ptr<TVelkGPGraphicsObject> TVelkGPCustomLineCap::CreateSame(TVelkGPCanvas* AOwner) const
{
    return std::make_unique<TVelkGPCustomLineCap>(AOwner);
}

TVelkGPPath& TVelkGPCustomLineCap::Path()
{
    if (!FPath) {
        FPath = std::make_unique<TVelkGPPath>(Owner());
        FPath->SetData(FPathData);
        FPath->OnChange = [this](TObject*) {
            if (!FAssigning)
                Changed();
        };
    }
    return *FPath;
}

QString TVelkGPCustomLineCap::PathData() const
{
    return FPath ? FPath->GetData() : FPathData;
}

void TVelkGPCustomLineCap::SetPathData(const QString& Value)
{
    if (!FPath) {
        Store(FPathData, Value);
        return;
    }
    if (Value == PathData())
        return;
    FPathData = Value;
    FPath->SetData(Value); // the path's change event reports it
}

void TVelkGPCustomLineCap::SetBaseCap(TVelkGPLineCap Value)
{
    Store(FBaseCap, Value);
}

void TVelkGPCustomLineCap::SetBaseInset(float Value)
{
    Store(FBaseInset, Value);
}

void TVelkGPCustomLineCap::SetWidthScale(float Value)
{
    Store(FWidthScale, Value);
}

void TVelkGPCustomLineCap::SetJoin(TVelkGPStrokeJoin Value)
{
    Store(FJoin, Value);
}

void TVelkGPCustomLineCap::SetStartCap(TVelkGPLineCap Value)
{
    Store(FStartCap, Value);
}

void TVelkGPCustomLineCap::SetEndCap(TVelkGPLineCap Value)
{
    Store(FEndCap, Value);
}

void TVelkGPCustomLineCap::SetUsePathAsFill(bool Value)
{
    Store(FUsePathAsFill, Value);
}

bool TVelkGPCustomLineCap::IsValid() const
{
    return (FPath && FPath->Count() > 0) || !PathData().isEmpty();
}

void TVelkGPCustomLineCap::Assign(const TPersistent* Source)
{
    const auto* cap = dynamic_cast<const TVelkGPCustomLineCap*>(Source);
    if (!cap) {
        TVelkGPGraphicsObject::Assign(Source);
        return;
    }
    if (cap == this)
        return;
    FBaseCap = cap->FBaseCap;
    FWidthScale = cap->FWidthScale;
    FJoin = cap->FJoin;
    FEndCap = cap->FEndCap;
    FStartCap = cap->FStartCap;
    FUsePathAsFill = cap->FUsePathAsFill;
    FBaseInset = cap->FBaseInset;
    FPathData = cap->PathData();
    {
        FAssigning = true;
        const auto restore = qScopeGuard([this] { FAssigning = false; });
        if (cap->FPath && cap->IsValid())
            Path().Assign(cap->FPath.get());
        else if (FPath)
            FPath->SetData(FPathData);
    }
    Changed();
}

TVelkStrokeCustomCap TVelkGPCustomLineCap::Shape() const
{
    TVelkStrokeCustomCap shape;
    if (FPath) {
        shape.Path = FPath->ToQPainterPath();
    } else {
        TVelkGPPath path;
        path.SetData(FPathData);
        shape.Path = path.ToQPainterPath();
    }
    shape.Fill = FUsePathAsFill;
    shape.BaseCap = FBaseCap;
    shape.BaseInset = FBaseInset;
    shape.WidthScale = FWidthScale;
    shape.Join = FJoin;
    shape.StartCap = FStartCap;
    shape.EndCap = FEndCap;
    return shape;
}

} // namespace velk
