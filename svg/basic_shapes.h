#pragma once
// The basic shapes: rect (TSVGRectangle), circle (TSVGCircle), ellipse (TSVGEllipse),
// line (TSVGLine), polyline (TSVGPolyline) and polygon (TSVGPolygon). Each keeps its
// coordinates in the graphic element's x, y, width and height lengths (a circle's cx, cy
// and r, a line's x1, y1, x2 and y2), adds its bounds and rebuilds its cached geometry
// (GetShape) when it changed; styling, transform, opacity and the drawing sequence are
// the graphic element's.
//
//   auto rect = std::make_unique<TSVGRectangle>(&document);
//   rect->SetWidth(40); rect->SetHeight(20);
//   rect->SetRX(TSVGLength(30, false, suNone));   // clamped to half the width: 20
//
// A shape accepts only desc, title and metadata children; reading creates no child
// elements (desc and title set the description and the title).

#include "svg/graphic_element.h"

#include <memory>

namespace velk {

class TSVGRectangle : public TSVGGraphicElement {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    explicit TSVGRectangle(TSVGDocument* aOwner = nullptr);
    ~TSVGRectangle() override;

    std::unique_ptr<TSVGElement> Create(TSVGDocument* aOwner) const override;
    TSVGElementType SVGType() const override { return etRectangle; }
    TSVGElementTypes ChildSVGTypes() const override { return SVGDescriptiveElementTypes; }

    // From a rectangle also both corner radii; then the graphic element's.
    void AssignProperties(const TPersistent* Source) override;
    // Both radii cleared, then the graphic element's.
    void Clear() override;

    // The corner radii: rx against the nearest view box's width, ry against its height.
    TSVGLength& RX() const { return *FRX; }
    TSVGLength& RY() const { return *FRY; }
    // The content is copied; then a negative radius becomes 0 and one above half the
    // width (height) becomes that half (user units).
    void SetRX(const TSVGLength& Value);
    void SetRY(const TSVGLength& Value);

protected:
    // x, y, width and height (the graphic element's), then rx and ry: a negative one
    // counts as not given; one given alone gives the other its size (a percentage of the
    // width is that many user units for ry too); each is clamped to half the size.
    void ReadAttributes(TXMLNode Node) override;
    // x, y, width, height, rx, ry: each unless its number is 0 in a compact export.
    void WriteAttributes(TXMLNode Node) override;
    // The bounds with all four corners rounded by rx and ry (square corners when either
    // radius is 0); nothing unless the bounds have a positive width and height, so that
    // such a rectangle neither draws nor clips.
    TVelkGPPath& GetShape() override;

private:
    std::unique_ptr<TSVGLength> FRX;
    std::unique_ptr<TSVGLength> FRY;
};

class TSVGCircle : public TSVGGraphicElement {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    explicit TSVGCircle(TSVGDocument* aOwner = nullptr);

    std::unique_ptr<TSVGElement> Create(TSVGDocument* aOwner) const override;
    TSVGElementType SVGType() const override { return etCircle; }
    TSVGElementTypes ChildSVGTypes() const override { return SVGDescriptiveElementTypes; }

    // cx, cy and r: the x, y and width lengths (the height length holds a copy of r).
    // A percentage of r is one of the nearest view box's normalised diagonal.
    TSVGLength& CenterX() const { return XLength(); }
    TSVGLength& CenterY() const { return YLength(); }
    TSVGLength& Radius() const { return WidthLength(); }
    void SetCenterX(const TSVGLength& Value) { SetXLength(Value); }
    void SetCenterY(const TSVGLength& Value) { SetYLength(Value); }
    // Also copied into the height length.
    void SetRadius(const TSVGLength& Value);

    // Both set the radius (user units): the length named clamps a negative value to 0,
    // the other takes the value as it is.
    void SetWidth(float Value) override;
    void SetHeight(float Value) override;

    // (cx - r, cy - r, cx + r, cy + r).
    TRectF GetBoundsRect() const override;
    using TSVGGraphicElement::GetBoundsRect;

protected:
    // cx, cy and r (each cleared first; a missing one is 0).
    void ReadAttributes(TXMLNode Node) override;
    // cx, cy, r: each unless its number is 0 in a compact export.
    void WriteAttributes(TXMLNode Node) override;
    // An ellipse of the bounds when they have a positive width and height: a radius of
    // 0 or below (an error) draws nothing.
    TVelkGPPath& GetShape() override;
};

class TSVGEllipse : public TSVGGraphicElement {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    using TSVGGraphicElement::TSVGGraphicElement;

    std::unique_ptr<TSVGElement> Create(TSVGDocument* aOwner) const override;
    TSVGElementType SVGType() const override { return etEllipse; }
    TSVGElementTypes ChildSVGTypes() const override { return SVGDescriptiveElementTypes; }

    // cx, cy, rx and ry: the x, y, width and height lengths.
    TSVGLength& CenterX() const { return XLength(); }
    TSVGLength& CenterY() const { return YLength(); }
    TSVGLength& RadiusX() const { return WidthLength(); }
    TSVGLength& RadiusY() const { return HeightLength(); }
    void SetCenterX(const TSVGLength& Value) { SetXLength(Value); }
    void SetCenterY(const TSVGLength& Value) { SetYLength(Value); }
    void SetRadiusX(const TSVGLength& Value) { SetWidthLength(Value); }
    void SetRadiusY(const TSVGLength& Value) { SetHeightLength(Value); }

    // (cx - rx, cy - ry, cx + rx, cy + ry).
    TRectF GetBoundsRect() const override;
    using TSVGGraphicElement::GetBoundsRect;

protected:
    // cx, cy, rx and ry (each cleared first; a missing one is 0).
    void ReadAttributes(TXMLNode Node) override;
    // cx, cy, rx, ry: each unless its number is 0 in a compact export.
    void WriteAttributes(TXMLNode Node) override;
    // An ellipse of the bounds when they have a positive width and height: a radius of
    // 0 or below (an error) draws nothing.
    TVelkGPPath& GetShape() override;
};

class TSVGLine : public TSVGGraphicElement {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    using TSVGGraphicElement::TSVGGraphicElement;

    std::unique_ptr<TSVGElement> Create(TSVGDocument* aOwner) const override;
    TSVGElementType SVGType() const override { return etLine; }
    TSVGElementTypes ChildSVGTypes() const override { return SVGDescriptiveElementTypes; }

    // x1, y1, x2 and y2: the x, y, width and height lengths.
    TSVGLength& StartX() const { return XLength(); }
    TSVGLength& StartY() const { return YLength(); }
    TSVGLength& EndX() const { return WidthLength(); }
    TSVGLength& EndY() const { return HeightLength(); }
    void SetStartX(const TSVGLength& Value) { SetXLength(Value); }
    void SetStartY(const TSVGLength& Value) { SetYLength(Value); }
    void SetEndX(const TSVGLength& Value) { SetWidthLength(Value); }
    void SetEndY(const TSVGLength& Value) { SetHeightLength(Value); }

    // |x2 - x1| and |y2 - y1|.
    float GetWidth() const override;
    float GetHeight() const override;
    // x2 := x1 + Value, y2 := y1 + Value (a negative result is stored as 0).
    void SetWidth(float Value) override;
    void SetHeight(float Value) override;

    // (x1, y1, x2, y2) as they stand, not normalised; a vertical line's right edge is
    // x1 + 1 and a horizontal line's bottom edge y1 + 1, so that neither is empty.
    TRectF GetBoundsRect() const override;
    using TSVGGraphicElement::GetBoundsRect;

protected:
    // x1, y1, x2 and y2 (each cleared first).
    void ReadAttributes(TXMLNode Node) override;
    // x1, y1, x2, y2: each only when its number is not 0, whatever the export mode.
    void WriteAttributes(TXMLNode Node) override;
    // From (x1, y1) to (x2, y2); nothing when both ends are the same point.
    TVelkGPPath& GetShape() override;
    // The precise test alone, without the bounds as a pre-test: a horizontal or vertical
    // line's bounds are only one unit across. Under foUseBoundingBox those bounds decide.
    TSVGGraphicElement* HitTestSelf(const TMatrix& M, TVelkGPCanvas& Canvas, TSVGFindOptions Options,
                                    const TRectF& aRect, const TPointF& Pt) override;
};

class TSVGPolyline : public TSVGGraphicElement {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    using TSVGGraphicElement::TSVGGraphicElement;

    std::unique_ptr<TSVGElement> Create(TSVGDocument* aOwner) const override;
    TSVGElementType SVGType() const override { return etPolyline; }
    TSVGElementTypes ChildSVGTypes() const override { return SVGDescriptiveElementTypes; }

    // From a polyline also the point list; then the graphic element's.
    void AssignProperties(const TPersistent* Source) override;
    // The point list emptied, then the graphic element's.
    void Clear() override;

    const TVelkPoints& Points() const { return FPoints; }
    // Replaces the point list, then Changed.
    virtual void SetPoints(const TVelkPoints& Value);
    // The points as text (SVGPointsToStr with the number format); the setter parses it
    // (SVGParsePoints, which raises on a number that does not read).
    QString Polygon() const;
    void SetPolygon(const QString& Value);

    // The smallest rectangle holding every point; empty at (0, 0) for no points.
    TRectF GetBoundsRect() const override;
    using TSVGGraphicElement::GetBoundsRect;

protected:
    // points (a missing attribute gives no points; an odd last number is ignored).
    void ReadAttributes(TXMLNode Node) override;
    // points, when there are any.
    void WriteAttributes(TXMLNode Node) override;
    // The points joined by lines: an open figure here, a closed one for a polygon.
    TVelkGPPath& GetShape() override;
    // Whether the figure is closed (a polygon).
    virtual bool ClosedFigure() const { return false; }

private:
    TVelkPoints FPoints;
};

class TSVGPolygon : public TSVGPolyline {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    using TSVGPolyline::TSVGPolyline;

    std::unique_ptr<TSVGElement> Create(TSVGDocument* aOwner) const override;
    TSVGElementType SVGType() const override { return etPolygon; }

protected:
    bool ClosedFigure() const override { return true; }
};

} // namespace velk
