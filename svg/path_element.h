#pragma once
// The path element (TSVGPath): a graphic element whose geometry is path data read from
// "d", with the author's "pathLength". Editing Data redraws the element: the data's
// change event is the element's own change.
//
//   path.Data().SetData(u"M0,0 L30,40");
//   path.PathLength();                   // 50, the geometric length (now also kept)

#include "graphics/path_data.h"
#include "svg/graphic_element.h"

#include <memory>

namespace velk {

class TSVGPath : public TSVGGraphicElement {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    explicit TSVGPath(TSVGDocument* aOwner = nullptr);
    ~TSVGPath() override;

    std::unique_ptr<TSVGElement> Create(TSVGDocument* aOwner) const override;
    TSVGElementType SVGType() const override { return etPath; }
    TSVGElementTypes ChildSVGTypes() const override { return SVGDescriptiveElementTypes; }

    // From a path also its data (not its pathLength); then the graphic element's.
    void AssignProperties(const TPersistent* Source) override;
    // Inside one update bracket: the graphic element's, then no data and no pathLength.
    void Clear() override;

    // The geometry. The setter copies Value's content into the owned data.
    TVelkPathData& Data() const { return *FData; }
    void SetData(const TVelkPathData& Value);
    // The author's pathLength; without one, the geometric length, which is computed once
    // and then kept (so that the path writes a pathLength from then on).
    double PathLength() const;
    // PathLength / the geometric length; 0 for a path of no length.
    double LengthRatio() const;

    // The bounds of the data (user units, without the element's transform).
    TRectF GetBoundsRect() const override;
    // The bounding rectangle of those bounds through FMatrix x aMatrix (all four corners,
    // so that a rotated path keeps its whole extent).
    TRectF GetBoundsRect(const TMatrix& aMatrix) const override;

protected:
    // "d" as path data (empty when missing), then "pathLength" as a number (-1, none,
    // when missing or unreadable).
    void ReadAttributes(TXMLNode Node) override;
    // "d" when the data has points, with the owner's number format; "pathLength" when
    // there is one.
    void WriteAttributes(TXMLNode Node) override;
    // Nothing (false) without data; otherwise the graphic element's drawing, and true.
    bool DrawShape(const TMatrix& M, TVelkGPCanvas& Canvas, const TRectF& aRect) override;
    // The data as a backend path.
    TVelkGPPath& GetShape() override;

private:
    // No pathLength given.
    static constexpr double NoPathLength = -1;

    std::unique_ptr<TVelkPathData> FData;
    mutable double FPathLength = NoPathLength;
};

} // namespace velk
