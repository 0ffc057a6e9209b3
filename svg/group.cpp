#include "svg/group.h"

#include "svg/defs.h"
#include "svg/document.h"
#include "svg/element_registry.h"

#include <algorithm>
#include <cmath>

namespace velk {

namespace {

// Elements without geometry give (0, 0, 0, 0); a rectangle that overflowed gives
// non-finite edges. Neither widens a union. A line has extent in one direction only.
bool HasExtent(const TRectF& R)
{
    return std::isfinite(R.Left) && std::isfinite(R.Top) && std::isfinite(R.Right) && std::isfinite(R.Bottom) &&
           (R.Right != R.Left || R.Bottom != R.Top);
}

// Transformed rectangles may arrive with Left > Right (a mirroring transform).
TRectF Normalized(const TRectF& R)
{
    return {std::min(R.Left, R.Right), std::min(R.Top, R.Bottom), std::max(R.Left, R.Right),
            std::max(R.Top, R.Bottom)};
}

void UniteInto(TRectF& Bounds, const TRectF& R)
{
    if (!HasExtent(R))
        return;
    if (!HasExtent(Bounds)) {
        Bounds = Normalized(R);
        return;
    }
    const TRectF r = Normalized(R);
    Bounds = Normalized(Bounds);
    Bounds = {std::min(Bounds.Left, r.Left), std::min(Bounds.Top, r.Top), std::max(Bounds.Right, r.Right),
              std::max(Bounds.Bottom, r.Bottom)};
}

} // namespace

const TClassInfo& TSVGCustomGroup::StaticClass()
{
    static const TClassInfo info(QStringLiteral("TSVGCustomGroup"), &TSVGGraphicElement::StaticClass());
    return info;
}

int TSVGCustomGroup::CreateChildElement(TXMLNode Node)
{
    TSVGElementType type = SVGNameToElementType(Node.LocalName());
    if (type == etStyle) {
        if (TSVGDocument* document = ChildOwner())
            document->ReadStyleElement(Node);
        return -1;
    }
    // An entity reference becomes a group that reads the entity's content.
    if (type == etNone && Node.NodeType() == ntEntityRef)
        type = etGroup;
    std::unique_ptr<TSVGElement> child = CreateSVGElement(type, ChildOwner());
    if (!child) {
        const int index = TSVGGraphicElement::CreateChildElement(Node);
        if (Node.NodeType() == ntElement && type != etDesc && type != etTitle)
            KeepUnknownContent(Node);
        return index;
    }
    Add(std::move(child));
    return Count() - 1;
}

void TSVGCustomGroup::KeepUnknownContent(TXMLNode Node)
{
    if (!ChildSVGTypes().Contains(etDefs))
        return;
    TSVGDefs* holder = Add(std::make_unique<TSVGDefs>(ChildOwner()));
    holder->ReadChildren(Node);
    if (holder->Count() == 0)
        Items().Remove(holder);
}

// --- Bounds ---

TRectF TSVGCustomGroup::GetBoundsRect() const
{
    // Every change of an element reaches its owner document's Changed, so the document's
    // count tells whether anything below (or anything a use here shows) has changed.
    const TSVGCustomGroup* document = ChildOwner();
    if (!FCalcBR && document && document->FChangeCount == FBoundsStamp)
        return FBoundsRect;
    // Taken before computing: a change made meanwhile leaves the cache stale.
    const std::uint64_t stamp = document ? document->FChangeCount : 0;
    FBoundsRect = UniteBounds(TSVGGraphicElement::GetBoundsRect(), IdentityMatrix);
    FBoundsStamp = stamp;
    FCalcBR = false;
    return FBoundsRect;
}

TRectF TSVGCustomGroup::GetBoundsRect(const TMatrix& aMatrix) const
{
    // The own rectangle as the graphic element has it: GetBoundsRect(aMatrix) of the base
    // would ask this class's GetBoundsRect and unite the children twice.
    const TMatrix M = MatrixMultiply(Matrix(), aMatrix);
    return UniteBounds(TransformRectF(M, TSVGGraphicElement::GetBoundsRect()), M);
}

TRectF TSVGCustomGroup::UniteBounds(const TRectF& Own, const TMatrix& aMatrix) const
{
    TRectF bounds = Own;
    ForEachRenderedChild([&](const TSVGGraphicElement& Child) { UniteInto(bounds, Child.GetBoundsRect(aMatrix)); });
    return bounds;
}

void TSVGCustomGroup::ForEachRenderedChild(const std::function<void(const TSVGGraphicElement&)>& Action) const
{
    for (TSVGElement* child : Items())
        if (const TSVGGraphicElement* graphic = child->AsGraphicElement(); graphic && graphic->IsDisplayed())
            Action(*graphic);
}

void TSVGCustomGroup::Reset()
{
    FCalcBR = true;
    TSVGGraphicElement::Reset();
}

void TSVGCustomGroup::Changed()
{
    FCalcBR = true;
    ++FChangeCount;
    TSVGGraphicElement::Changed();
}

// --- Hit testing ---

TSVGGraphicElement* TSVGCustomGroup::HitTest(const TMatrix& aMatrix, TVelkGPCanvas& Canvas, TSVGFindOptions Options,
                                             const TRectF& aRect, const TPointF& Pt)
{
    return ReportGroup(TSVGGraphicElement::HitTest(aMatrix, Canvas, Options, aRect, Pt), Options);
}

TSVGGraphicElement* TSVGCustomGroup::HitTestSelf(const TMatrix& /*M*/, TVelkGPCanvas& /*Canvas*/,
                                                 TSVGFindOptions /*Options*/, const TRectF& /*aRect*/,
                                                 const TPointF& /*Pt*/)
{
    return nullptr;
}

TSVGGraphicElement* TSVGCustomGroup::ReportGroup(TSVGGraphicElement* Found, TSVGFindOptions Options)
{
    if (Found && Options.Contains(foFindGroups) && Owner())
        return DoElementFound(this);
    return Found;
}

const TClassInfo& TSVGGroup::StaticClass()
{
    static const TClassInfo info(QStringLiteral("TSVGGroup"), &TSVGCustomGroup::StaticClass(),
                                 &CreateInstance<TSVGGroup>);
    return info;
}

std::unique_ptr<TSVGElement> TSVGGroup::Create(TSVGDocument* aOwner) const
{
    return std::make_unique<TSVGGroup>(aOwner);
}

TSVGElementTypes TSVGGroup::ChildSVGTypes() const
{
    return SVGGroupChildTypes;
}

void TSVGGroup::WriteAttributes(TXMLNode Node)
{
    TSVGCustomGroup::WriteAttributes(Node);
    WriteSizeAttributes(Node);
}

} // namespace velk
