#include "graphics/region.h"

#include "graphics/backend_path.h"
#include "graphics/canvas.h"
#include "graphics/gp_exception.h"
#include "platform/format.h"

namespace velk {

namespace {

// Regions are device areas of a canvas: they cannot exist without one.
TVelkGPCanvas* RequireOwner(TVelkGPCanvas* AOwner)
{
    if (!AOwner)
        throw EGDIPException(Format(messages::GPNoOwner, TVelkGPRegion::StaticClass().Name()));
    return AOwner;
}

} // namespace

const TClassInfo& TVelkGPRegion::StaticClass()
{
    static const TClassInfo info(u"TVelkGPRegion"_qs, &TVelkGPGraphicsObject::StaticClass());
    return info;
}

TVelkGPRegion::TVelkGPRegion(TVelkGPCanvas* AOwner) : TVelkGPGraphicsObject(RequireOwner(AOwner))
{
}

TVelkGPRegion::TVelkGPRegion(TVelkGPCanvas* AOwner, const TRect& aRect) : TVelkGPRegion(AOwner, RectToRectF(aRect))
{
}

TVelkGPRegion::TVelkGPRegion(TVelkGPCanvas* AOwner, const TRectF& aRect)
    : TVelkGPGraphicsObject(RequireOwner(AOwner)), FArea(TVelkGPRegionArea::FromRect(aRect))
{
}

TVelkGPRegion::TVelkGPRegion(TVelkGPCanvas* AOwner, const TVelkGPPath& aPath)
    : TVelkGPGraphicsObject(RequireOwner(AOwner)), FArea(TVelkGPRegionArea::FromPath(aPath.Handle()))
{
}

TVelkGPRegion::TVelkGPRegion(TVelkGPCanvas* AOwner, const TVelkGPRegion* aRegion)
    : TVelkGPGraphicsObject(RequireOwner(AOwner)), FArea(aRegion ? aRegion->Area() : AOwner->WorldClipArea())
{
}

TVelkGPRegion::TVelkGPRegion(TVelkGPCanvas* AOwner, const QRegion& aRegion)
    : TVelkGPGraphicsObject(RequireOwner(AOwner)), FArea(TVelkGPRegionArea::FromRegion(aRegion))
{
}

TVelkGPRegion::TVelkGPRegion(TVelkGPCanvas* AOwner, const QByteArray& Data)
    : TVelkGPGraphicsObject(RequireOwner(AOwner)), FArea(TVelkGPRegionArea::FromData(Data))
{
}

std::unique_ptr<TVelkGPGraphicsObject> TVelkGPRegion::CreateSame(TVelkGPCanvas* AOwner) const
{
    return std::make_unique<TVelkGPRegion>(AOwner);
}

void TVelkGPRegion::SetArea(const TVelkGPRegionArea& Value)
{
    FArea = Value;
    Changed();
}

void TVelkGPRegion::SetBounds(const TRectF& Value)
{
    Combine(Value, cmReplace);
}

void TVelkGPRegion::Assign(const TPersistent* Source)
{
    if (const auto* region = dynamic_cast<const TVelkGPRegion*>(Source))
        SetArea(region->Area());
    else
        TVelkGPGraphicsObject::Assign(Source);
}

void TVelkGPRegion::Assign(const QRegion& Value)
{
    SetArea(TVelkGPRegionArea::FromRegion(Value));
}

void TVelkGPRegion::Clear()
{
    SetArea(TVelkGPRegionArea::Empty());
}

void TVelkGPRegion::MakeInfinite()
{
    SetArea(TVelkGPRegionArea());
}

void TVelkGPRegion::Combine(const TRect& aRect, TVelkGPRegionCombineMode Mode)
{
    Combine(RectToRectF(aRect), Mode);
}

void TVelkGPRegion::Combine(const TRectF& aRect, TVelkGPRegionCombineMode Mode)
{
    CombineArea(TVelkGPRegionArea::FromRect(aRect), Mode);
}

void TVelkGPRegion::Combine(const TVelkGPPath& aPath, TVelkGPRegionCombineMode Mode)
{
    CombineArea(TVelkGPRegionArea::FromPath(aPath.Handle()), Mode);
}

void TVelkGPRegion::Combine(const TVelkGPRegion& aRegion, TVelkGPRegionCombineMode Mode)
{
    CombineArea(aRegion.Area(), Mode);
}

void TVelkGPRegion::CombineArea(const TVelkGPRegionArea& Other, TVelkGPRegionCombineMode Mode)
{
    TVelkGPRegionArea area = Area();
    area.Combine(Other, Mode);
    SetArea(area);
}

void TVelkGPRegion::Translate(std::int32_t DX, std::int32_t DY)
{
    Translate(float(DX), float(DY));
}

void TVelkGPRegion::Translate(float DX, float DY)
{
    TVelkGPRegionArea area = Area();
    area.Translate(DX, DY);
    SetArea(area);
}

void TVelkGPRegion::ApplyMatrix(const TMatrix& M)
{
    TVelkGPRegionArea area = Area();
    area.Transform(M);
    SetArea(area);
}

TRectF TVelkGPRegion::GetBounds() const
{
    return Area().Bounds();
}

bool TVelkGPRegion::IsEmpty() const
{
    return Area().IsEmpty();
}

bool TVelkGPRegion::IsInfinite() const
{
    return Area().Infinite;
}

bool TVelkGPRegion::IsVisible(const TPoint& P) const
{
    return Area().IsVisible(P);
}

bool TVelkGPRegion::IsVisible(const TPointF& P) const
{
    return Area().IsVisible(P);
}

bool TVelkGPRegion::IsVisible(const TRect& R) const
{
    return Area().IsVisible(RectToRectF(R));
}

bool TVelkGPRegion::IsVisible(const TRectF& R) const
{
    return Area().IsVisible(R);
}

QRegion TVelkGPRegion::GetHRGN() const
{
    return Area().Scans();
}

QByteArray TVelkGPRegion::GetData() const
{
    return Area().Data();
}

QList<TRectF> TVelkGPRegion::GetRegionScans() const
{
    TVelkGPRegionArea area = Area();
    if (Owner())
        area.Transform(Owner()->Matrix());
    QList<TRectF> scans;
    for (const QRect& r : area.Scans())
        scans.append({float(r.left()), float(r.top()), float(r.left() + r.width()), float(r.top() + r.height())});
    return scans;
}

bool TVelkGPRegion::Equals(const TVelkGPRegion& aRegion) const
{
    return Area().Equals(aRegion.Area());
}

} // namespace velk
