#include "svg/path_element.h"

#include "platform/float_format.h"
#include "svg/document.h"
#include "svg/number_lists.h"
#include "svg/xml_attributes.h"

#include <algorithm>

namespace velk {

const TClassInfo& TSVGPath::StaticClass()
{
    static const TClassInfo info(QStringLiteral("TSVGPath"), &TSVGGraphicElement::StaticClass(),
                                 &CreateInstance<TSVGPath>,
                                 TPublished<TSVGPath>()
                                     .Object(QStringLiteral("Data"), [](const TSVGPath& e) { return &e.Data(); })
                                     .Take());
    return info;
}

TSVGPath::TSVGPath(TSVGDocument* aOwner) : TSVGGraphicElement(aOwner), FData(std::make_unique<TVelkPathData>())
{
    FData->OnChanged = [this](TObject* Sender) { GraphicsObjectChanged(Sender); };
}

TSVGPath::~TSVGPath()
{
    // The data goes first and tells nobody.
    FData->OnChanged = nullptr;
}

std::unique_ptr<TSVGElement> TSVGPath::Create(TSVGDocument* aOwner) const
{
    return std::make_unique<TSVGPath>(aOwner);
}

void TSVGPath::AssignProperties(const TPersistent* Source)
{
    if (const auto* source = dynamic_cast<const TSVGPath*>(Source); source && source != this)
        FData->Assign(source->FData.get());
    TSVGGraphicElement::AssignProperties(Source);
}

void TSVGPath::Clear()
{
    WithinUpdate(*this, [this] {
        TSVGGraphicElement::Clear();
        FData->Clear();
        FPathLength = NoPathLength;
    });
}

void TSVGPath::SetData(const TVelkPathData& Value)
{
    FData->Assign(&Value);
}

double TSVGPath::PathLength() const
{
    if (FPathLength == NoPathLength)
        FPathLength = FData->GetLength();
    return FPathLength;
}

double TSVGPath::LengthRatio() const
{
    const double length = FData->GetLength();
    return length == 0 ? 0 : PathLength() / length;
}

TRectF TSVGPath::GetBoundsRect() const
{
    return FData->GetBounds();
}

TRectF TSVGPath::GetBoundsRect(const TMatrix& aMatrix) const
{
    return TransformRectBoundsF(MatrixMultiply(Matrix(), aMatrix), FData->GetBounds());
}

void TSVGPath::ReadAttributes(TXMLNode Node)
{
    TSVGGraphicElement::ReadAttributes(Node);
    FData->SetData(SVGReadAttribute(Node, QStringLiteral("d")));
    bool inherit = false;
    FPathLength = SVGParseNumber(SVGReadAttribute(Node, QStringLiteral("pathLength")), inherit,
                                 static_cast<float>(NoPathLength));
}

void TSVGPath::WriteAttributes(TXMLNode Node)
{
    TSVGGraphicElement::WriteAttributes(Node);
    const bool hasData = FData->Count() > 0;
    if (hasData)
        if (const TSVGDocument* document = Owner())
            FData->SetFormatStr(document->FormatStr());
    SVGWriteAttribute(Node, QStringLiteral("d"), hasData ? FData->GetData() : QString(), !hasData);
    const bool hasLength = FPathLength != NoPathLength;
    SVGWriteAttribute(Node, QStringLiteral("pathLength"),
                      hasLength ? FormatFloat(FData->FormatStr(), FPathLength) : QString(), !hasLength);
}

bool TSVGPath::DrawShape(const TMatrix& M, TVelkGPCanvas& Canvas, const TRectF& aRect)
{
    if (FData->Count() == 0)
        return false;
    TSVGGraphicElement::DrawShape(M, Canvas, aRect);
    return true;
}

TVelkGPPath& TSVGPath::GetShape()
{
    if (ShapeCacheChanged())
        ShapePath().Assign(FData.get());
    return TSVGGraphicElement::GetShape();
}

} // namespace velk
