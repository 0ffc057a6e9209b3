// The basic shapes: classes and children, reading (rect corner radii, circle, line and
// point lists), writing in both export modes, bounds, cached geometry and the setters.

#include "platform/exceptions.h"
#include "platform/xml/document.h"
#include "svg/basic_shapes.h"
#include "svg/document.h"
#include "svg/element_registry.h"
#include "tests/support/gui_application.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <memory>

using namespace velk;

namespace {

class BasicShapes : public ::testing::Test {
protected:
    static void SetUpTestSuite() { velk::testing::EnsureGuiApplication(); }
};

// A shape whose cached geometry the tests may read.
template <typename T>
class TExposed : public T {
public:
    using T::T;
    using T::GetShape;
};

// Element (owned by Document) reads the single element of Xml.
template <typename T>
std::unique_ptr<TExposed<T>> Read(TSVGDocument& Document, const QString& Xml)
{
    auto element = std::make_unique<TExposed<T>>(&Document);
    const TXMLDocument xml = TXMLDocument::LoadFromBytes(Xml.toUtf8());
    element->LoadFromXML(xml.DocumentElement());
    return element;
}

// The attributes Element writes into a node of its tag.
TXMLDocument Written(TSVGElement& Element)
{
    TXMLDocument xml = TXMLDocument::CreateDocument(Element.SVGTypeName());
    Element.SaveToXML(xml.DocumentElement());
    return xml;
}

// Bounds compared within float noise.
void ExpectRect(const TRectF& Actual, const TRectF& Expected, const char* What)
{
    EXPECT_FLOAT_EQ(Actual.Left, Expected.Left) << What;
    EXPECT_FLOAT_EQ(Actual.Top, Expected.Top) << What;
    EXPECT_FLOAT_EQ(Actual.Right, Expected.Right) << What;
    EXPECT_FLOAT_EQ(Actual.Bottom, Expected.Bottom) << What;
}

TEST_F(BasicShapes, TagsCreateTheirClassesWhichAcceptOnlyDescriptiveChildren)
{
    struct Case {
        const char* Tag;
        const char* ClassName;
        TSVGElementType Type;
    } cases[] = {
        {"rect", "TSVGRectangle", etRectangle}, {"circle", "TSVGCircle", etCircle},
        {"ellipse", "TSVGEllipse", etEllipse},  {"line", "TSVGLine", etLine},
        {"polyline", "TSVGPolyline", etPolyline}, {"polygon", "TSVGPolygon", etPolygon},
    };
    for (const Case& c : cases) {
        TSVGDocument doc;
        doc.LoadFromText(QStringLiteral("<svg><%1 id='s'><desc>about</desc><title>name</title><g/><rect/></%1></svg>")
                             .arg(QLatin1String(c.Tag)));
        TSVGElement* shape = doc.AllItems().Get(QStringLiteral("s"));
        ASSERT_NE(shape, nullptr) << c.Tag;
        EXPECT_EQ(shape->ClassInfo().Name(), QLatin1String(c.ClassName));
        EXPECT_EQ(shape->SVGType(), c.Type) << c.Tag;
        EXPECT_EQ(shape->SVGTypeName(), QLatin1String(c.Tag));
        EXPECT_EQ(shape->ChildSVGTypes(), SVGDescriptiveElementTypes) << c.Tag;
        // desc and title become the element's own values; other elements are skipped.
        EXPECT_EQ(shape->Count(), 0) << c.Tag;
        EXPECT_EQ(shape->Title(), "name") << c.Tag;
        EXPECT_EQ(velk::testing::Lines(shape->Description()), QStringList{QStringLiteral("about")}) << c.Tag;
        EXPECT_EQ(GetSVGElementClass(QString::fromLatin1(c.ClassName)).Info, &shape->ClassInfo());
        EXPECT_EQ(shape->Create(nullptr)->SVGType(), c.Type);
    }
}

TEST_F(BasicShapes, RectangleCornerRadiiAreCopiedClampedAndNegativesCountAsMissing)
{
    struct Case {
        const char* Attributes;
        float RX;
        float RY;
    } cases[] = {
        {"", 0, 0},
        {"rx='10'", 10, 10},
        {"ry='8'", 8, 8},
        {"rx='5' ry='3'", 5, 3},
        // A negative radius counts as not given.
        {"rx='-5'", 0, 0},
        {"rx='-5' ry='-3'", 0, 0},
        {"rx='10' ry='-3'", 10, 10},
        {"rx='-20' ry='20'", 20, 20},
        // So does one whose number does not parse.
        {"rx='abc' ry='6'", 6, 6},
        {"rx='abc'", 0, 0},
        // Clamped to half the width (40) and half the height (100) after the copy.
        {"rx='30'", 20, 30},
        {"ry='70'", 20, 50},
        {"rx='1e30' ry='1e30'", 20, 50},
    };
    for (const Case& c : cases) {
        TSVGDocument doc;
        auto rect = Read<TSVGRectangle>(
            doc, QStringLiteral("<rect width='40' height='100' %1/>").arg(QLatin1String(c.Attributes)));
        EXPECT_FLOAT_EQ(rect->RX().Value(), c.RX) << c.Attributes;
        EXPECT_FLOAT_EQ(rect->RY().Value(), c.RY) << c.Attributes;
    }
}

TEST_F(BasicShapes, RectangleReadAgainForgetsRadiiTheNodeDoesNotName)
{
    TSVGDocument doc;
    auto rect = Read<TSVGRectangle>(doc, QStringLiteral("<rect width='40' height='100' rx='5' ry='7'/>"));
    const TXMLDocument xml = TXMLDocument::LoadFromBytes("<rect width='40' height='100' rx='-1'/>");
    rect->LoadFromXML(xml.DocumentElement());
    EXPECT_FLOAT_EQ(rect->RX().Value(), 0);
    EXPECT_FLOAT_EQ(rect->RY().Value(), 0);
}

TEST_F(BasicShapes, RectangleRadiusSettersClampToHalfTheSize)
{
    TSVGDocument doc;
    TSVGRectangle rect(&doc);
    rect.SetWidth(40);
    rect.SetHeight(10);
    rect.SetRX(TSVGLength(30, false, suNone));
    rect.SetRY(TSVGLength(4, false, suNone));
    EXPECT_FLOAT_EQ(rect.RX().Value(), 20);
    EXPECT_FLOAT_EQ(rect.RY().Value(), 4);
    rect.SetRY(TSVGLength(-4, false, suNone));
    EXPECT_FLOAT_EQ(rect.RY().Value(), 0);
    // The unit is the given length's.
    rect.SetRX(TSVGLength(2, false, suMillimeters));
    EXPECT_EQ(rect.RX().aUnit(), suMillimeters);
    EXPECT_NEAR(rect.RX().Value(), 7.56f, 0.001f);
}

TEST_F(BasicShapes, ShapesReadTheirOwnGeometryAttributes)
{
    TSVGDocument doc;
    // The x of a circle is not its centre; r goes into both radius lengths.
    auto circle = Read<TSVGCircle>(doc, QStringLiteral("<circle x='50' width='9' cx='5' cy='6' r='2mm'/>"));
    EXPECT_FLOAT_EQ(circle->CenterX().Value(), 5);
    EXPECT_FLOAT_EQ(circle->CenterY().Value(), 6);
    EXPECT_EQ(circle->Radius().aUnit(), suMillimeters);
    EXPECT_EQ(circle->HeightLength().aUnit(), suMillimeters);
    EXPECT_FLOAT_EQ(circle->HeightLength().Raw(), 2);

    // A missing radius stays 0.
    auto ellipse = Read<TSVGEllipse>(doc, QStringLiteral("<ellipse height='7' cx='1' cy='2' rx='3'/>"));
    EXPECT_FLOAT_EQ(ellipse->RadiusX().Value(), 3);
    EXPECT_FLOAT_EQ(ellipse->RadiusY().Value(), 0);

    auto line = Read<TSVGLine>(doc, QStringLiteral("<line x='9' x1='1' y1='2' x2='3' y2='-4'/>"));
    EXPECT_FLOAT_EQ(line->StartX().Value(), 1);
    EXPECT_FLOAT_EQ(line->StartY().Value(), 2);
    EXPECT_FLOAT_EQ(line->EndX().Value(), 3);
    EXPECT_FLOAT_EQ(line->EndY().Value(), -4);

    // An odd last number is ignored; a missing attribute gives no points.
    auto polyline = Read<TSVGPolyline>(doc, QStringLiteral("<polyline points='0,0 10-5 7'/>"));
    EXPECT_EQ(polyline->Points(), (TVelkPoints{{0, 0}, {10, -5}}));
    EXPECT_TRUE(Read<TSVGPolygon>(doc, QStringLiteral("<polygon/>"))->Points().isEmpty());
}

TEST_F(BasicShapes, BoundsAreInUserUnitsWithoutTheTransform)
{
    struct Case {
        const char* Xml;
        TRectF Bounds;
    } cases[] = {
        {"<rect x='1' y='2' width='10' height='5' transform='scale(3)'/>", {1, 2, 11, 7}},
        {"<circle cx='10' cy='20' r='5' transform='scale(3)'/>", {5, 15, 15, 25}},
        {"<circle x='50' cx='10' cy='20' r='1'/>", {9, 19, 11, 21}},
        // r 0: the centre as an empty rectangle.
        {"<circle cx='10' cy='20'/>", {10, 20, 10, 20}},
        {"<ellipse cx='10' cy='20' rx='5' ry='2'/>", {5, 18, 15, 22}},
        // A line's bounds are its ends in order; a vertical or horizontal one keeps 1 unit.
        {"<line x1='10' y1='10' x2='10' y2='50'/>", {10, 10, 11, 50}},
        {"<line x1='10' y1='10' x2='50' y2='10'/>", {10, 10, 50, 11}},
        {"<line x1='50' y1='40' x2='10' y2='10'/>", {50, 40, 10, 10}},
        {"<line x1='3' y1='3' x2='3' y2='3'/>", {3, 3, 4, 4}},
        {"<polyline points='5,5 -2,8 4,-1'/>", {-2, -1, 5, 8}},
        {"<polygon points='5,5'/>", {5, 5, 5, 5}},
        {"<polygon/>", {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        TSVGDocument doc;
        doc.LoadFromText(QStringLiteral("<svg>%1</svg>").arg(QLatin1String(c.Xml)));
        ASSERT_EQ(doc.Count(), 1) << c.Xml;
        ExpectRect(doc.Child(0)->GetBoundsRect(), c.Bounds, c.Xml);
    }
}

TEST_F(BasicShapes, BoundsThroughAMatrixIncludeTheTransform)
{
    TSVGDocument doc;
    doc.LoadFromText(QStringLiteral("<svg><line x1='50' y1='40' x2='10' y2='10' transform='translate(1 2)'/>"
                                    "<circle cx='10' cy='20' r='5' transform='scale(2)'/></svg>"));
    const TMatrix scale = CreateScalingMatrix(10, 10);
    // Only the two corners move: the line's bounds stay in the order of its ends.
    ExpectRect(doc.Child(0)->GetBoundsRect(scale), {510, 420, 110, 120}, "line");
    ExpectRect(doc.Child(1)->GetBoundsRect(scale), {100, 300, 300, 500}, "circle");
}

// The cached geometry of the T that Xml describes.
template <typename T>
std::unique_ptr<TVelkGPPath> ShapeOf(const char* Xml)
{
    TSVGDocument doc;
    return Read<T>(doc, QLatin1String(Xml))->GetShape().template CloneAs<TVelkGPPath>();
}

TEST_F(BasicShapes, CachedGeometryFollowsTheShapeRules)
{
    struct Case {
        const char* Xml;
        std::unique_ptr<TVelkGPPath> (*Shape)(const char*);
        int Points;  // 0: no geometry
        bool Closed; // the figure's last point closes it
        TRectF Bounds;
    } cases[] = {
        {"<rect x='1' y='2' width='10' height='5'/>", ShapeOf<TSVGRectangle>, 4, true, {1, 2, 11, 7}},
        {"<rect width='10' height='10' rx='2'/>", ShapeOf<TSVGRectangle>, 16, true, {0, 0, 10, 10}},
        {"<rect width='0' height='5'/>", ShapeOf<TSVGRectangle>, 0, false, {}},
        {"<rect width='5' height='-5'/>", ShapeOf<TSVGRectangle>, 0, false, {}},
        {"<circle cx='5' cy='5' r='3'/>", ShapeOf<TSVGCircle>, 13, true, {2, 2, 8, 8}},
        {"<circle cx='5' cy='5' r='0'/>", ShapeOf<TSVGCircle>, 0, false, {}},
        {"<circle cx='5' cy='5' r='-3'/>", ShapeOf<TSVGCircle>, 0, false, {}},
        {"<ellipse cx='5' cy='5' rx='4' ry='2'/>", ShapeOf<TSVGEllipse>, 13, true, {1, 3, 9, 7}},
        {"<ellipse cx='5' cy='5' rx='4'/>", ShapeOf<TSVGEllipse>, 0, false, {}},
        {"<line x1='1' y1='2' x2='10' y2='2'/>", ShapeOf<TSVGLine>, 2, false, {1, 2, 10, 2}},
        {"<line x1='3' y1='3' x2='3' y2='3'/>", ShapeOf<TSVGLine>, 0, false, {}},
        {"<polyline points='0,0 10,0 10,10'/>", ShapeOf<TSVGPolyline>, 3, false, {0, 0, 10, 10}},
        {"<polygon points='0,0 10,0 10,10'/>", ShapeOf<TSVGPolygon>, 3, true, {0, 0, 10, 10}},
        // Two points: a closed figure still, which strokes there and back.
        {"<polygon points='0,0 10,5'/>", ShapeOf<TSVGPolygon>, 2, true, {0, 0, 10, 5}},
        {"<polyline points='4,4'/>", ShapeOf<TSVGPolyline>, 0, false, {}},
        {"<polyline/>", ShapeOf<TSVGPolyline>, 0, false, {}},
    };
    for (const Case& c : cases) {
        const std::unique_ptr<TVelkGPPath> path = c.Shape(c.Xml);
        EXPECT_EQ(path->Count(), c.Points) << c.Xml;
        if (c.Points == 0)
            continue;
        EXPECT_EQ(path->Kinds().back().IsClosed(), c.Closed) << c.Xml;
        const TRectF bounds = path->GetBounds();
        EXPECT_NEAR(bounds.Left, c.Bounds.Left, 1e-4) << c.Xml;
        EXPECT_NEAR(bounds.Top, c.Bounds.Top, 1e-4) << c.Xml;
        EXPECT_NEAR(bounds.Right, c.Bounds.Right, 1e-4) << c.Xml;
        EXPECT_NEAR(bounds.Bottom, c.Bounds.Bottom, 1e-4) << c.Xml;
    }
}

TEST_F(BasicShapes, GeometryIsRebuiltAfterAChangeOnly)
{
    TSVGDocument doc;
    TExposed<TSVGPolygon> polygon(&doc);
    polygon.SetPolygon(QStringLiteral("0,0 10,0 10,10"));
    const TVelkGPPath* first = &polygon.GetShape();
    EXPECT_EQ(first->Count(), 3);
    polygon.SetPoints({{0, 0}, {4, 0}, {4, 4}, {0, 4}});
    EXPECT_EQ(polygon.GetShape().Count(), 4);
    EXPECT_EQ(&polygon.GetShape(), first);

    TExposed<TSVGRectangle> rect(&doc);
    rect.SetWidth(10);
    rect.SetHeight(10);
    EXPECT_EQ(rect.GetShape().Count(), 4);
    // The radii are changes of the rectangle; both round the corners.
    rect.SetRX(TSVGLength(2, false, suNone));
    EXPECT_EQ(rect.GetShape().Count(), 4);
    rect.SetRY(TSVGLength(2, false, suNone));
    EXPECT_GT(rect.GetShape().Count(), 4);
    rect.SetHeight(0);
    EXPECT_EQ(rect.GetShape().Count(), 0);
}

TEST_F(BasicShapes, WritingLeavesOutZerosOnlyInCompactExport)
{
    struct Case {
        const char* Xml;
        const char* Compact;    // attribute=value pairs written in compact export
        const char* NotCompact; // and otherwise
    } cases[] = {
        {"<rect x='0' y='5' width='10' height='20' rx='2' ry='0'/>", "y=5 width=10 height=20 rx=2",
         "x=0 y=5 width=10 height=20 rx=2 ry=0"},
        {"<rect x='1.5mm' y='10%' width='10' height='20'/>", "x=1.5mm y=10% width=10 height=20",
         "x=1.5mm y=10% width=10 height=20 rx=0 ry=0"},
        {"<circle cx='0' cy='3' r='4'/>", "cy=3 r=4", "cx=0 cy=3 r=4"},
        {"<ellipse cx='1' cy='0' rx='4' ry='0'/>", "cx=1 rx=4", "cx=1 cy=0 rx=4 ry=0"},
        // A line leaves out its zeros whatever the mode.
        {"<line x1='0' y1='0' x2='10' y2='0'/>", "x2=10", "x2=10"},
        {"<polyline points='0,0 10.25,0 10,10 7'/>", "points=0,0 10.25,0 10,10", "points=0,0 10.25,0 10,10"},
        {"<polygon/>", "", ""},
    };
    const QStringList names{"x", "y", "width", "height", "cx", "cy", "r", "rx", "ry",
                            "x1", "y1", "x2", "y2", "points"};
    for (const Case& c : cases) {
        for (const bool compact : {true, false}) {
            TSVGDocument doc;
            doc.SetOptions(compact ? SVGDefaultOptions : SVGDefaultOptions - TSVGOptions{soCompactExport});
            doc.LoadFromText(QStringLiteral("<svg>%1</svg>").arg(QLatin1String(c.Xml)));
            const TXMLDocument xml = Written(*doc.Child(0));
            const TXMLNode node = xml.DocumentElement();
            QStringList written;
            for (const QString& name : names)
                if (node.HasAttribute(name))
                    written += name + u'=' + node.Attribute(name);
            EXPECT_EQ(written.join(u' '), QLatin1String(compact ? c.Compact : c.NotCompact))
                << c.Xml << (compact ? " compact" : "");
        }
    }
}

TEST_F(BasicShapes, WrittenShapesReadBackTheSame)
{
    const QString text = QStringLiteral(
        "<svg><rect x='1' y='2' width='30' height='20' rx='4' ry='3'/><circle cx='5' cy='6' r='7'/>"
        "<ellipse cx='5' cy='6' rx='7' ry='8'/><line x1='1' y1='2' x2='3' y2='4'/>"
        "<polyline points='1,2 3,4 5,6'/><polygon points='1,2 3,4 5,6'/></svg>");
    TSVGDocument first;
    first.LoadFromText(text);
    TSVGDocument second;
    second.LoadFromText(first.ToString());
    ASSERT_EQ(second.Count(), first.Count());
    for (int i = 0; i < first.Count(); ++i) {
        EXPECT_EQ(second.Child(i)->SVGType(), first.Child(i)->SVGType());
        EXPECT_EQ(second.Child(i)->GetBoundsRect(), first.Child(i)->GetBoundsRect()) << i;
    }
    EXPECT_FLOAT_EQ(static_cast<TSVGRectangle*>(second.Child(0))->RY().Value(), 3);
    EXPECT_EQ(static_cast<TSVGPolygon*>(second.Child(5))->Points().size(), 3);
}

TEST_F(BasicShapes, LineSizeIsTheDistanceOfItsEnds)
{
    TSVGDocument doc;
    TSVGLine line(&doc);
    line.SetStartX(TSVGLength(10, false, suNone));
    line.SetEndX(TSVGLength(4, false, suNone));
    line.SetStartY(TSVGLength(1, false, suNone));
    line.SetEndY(TSVGLength(9, false, suNone));
    EXPECT_FLOAT_EQ(line.Width(), 6);
    EXPECT_FLOAT_EQ(line.Height(), 8);
    line.SetWidth(5);
    EXPECT_FLOAT_EQ(line.EndX().Value(), 15);
    line.SetHeight(-3);
    EXPECT_FLOAT_EQ(line.EndY().Value(), 0);
    line.SetWidth(-20);
    EXPECT_FLOAT_EQ(line.EndX().Value(), 0);
}

TEST_F(BasicShapes, CircleSizeSettersSetBothRadiusLengths)
{
    TSVGDocument doc;
    TSVGCircle circle(&doc);
    circle.SetWidth(6);
    EXPECT_FLOAT_EQ(circle.Radius().Value(), 6);
    EXPECT_FLOAT_EQ(circle.HeightLength().Value(), 6);
    // The length named clamps a negative value; the copy keeps it.
    circle.SetHeight(-2);
    EXPECT_FLOAT_EQ(circle.HeightLength().Value(), 0);
    EXPECT_FLOAT_EQ(circle.Radius().Value(), -2);
    circle.SetRadius(TSVGLength(3, false, suPoints));
    EXPECT_EQ(circle.HeightLength().aUnit(), suPoints);
    EXPECT_FLOAT_EQ(circle.HeightLength().Raw(), 3);
}

TEST_F(BasicShapes, PolylinePointsAsText)
{
    TSVGDocument doc;
    doc.SetFormatStr(QStringLiteral("0.#"));
    TSVGPolyline polyline(&doc);
    polyline.SetPolygon(QStringLiteral("1.25,2 3,4e1 5"));
    EXPECT_EQ(polyline.Points(), (TVelkPoints{{1.25f, 2}, {3, 40}}));
    EXPECT_EQ(polyline.Polygon(), "1.3,2 3,40");
    EXPECT_THROW(polyline.SetPolygon(QStringLiteral("1,nan")), EConvertError);
    EXPECT_EQ(polyline.Points().size(), 2);
}

TEST_F(BasicShapes, CopiesKeepAndClearDropTheShapesOwnValues)
{
    TSVGDocument doc;
    doc.LoadFromText(QStringLiteral("<svg><rect id='r' width='40' height='20' rx='4' ry='3'/>"
                                    "<polygon id='p' points='1,2 3,4 5,6'/></svg>"));
    auto* rect = static_cast<TSVGRectangle*>(doc.AllItems().Get(QStringLiteral("r")));
    auto* polygon = static_cast<TSVGPolygon*>(doc.AllItems().Get(QStringLiteral("p")));

    const std::unique_ptr<TSVGElement> rectCopy = rect->Clone(nullptr);
    EXPECT_FLOAT_EQ(static_cast<TSVGRectangle&>(*rectCopy).RX().Value(), 4);
    EXPECT_FLOAT_EQ(static_cast<TSVGRectangle&>(*rectCopy).RY().Value(), 3);
    const std::unique_ptr<TSVGElement> polygonCopy = polygon->Clone(nullptr);
    EXPECT_EQ(polygonCopy->SVGType(), etPolygon);
    EXPECT_EQ(static_cast<TSVGPolygon&>(*polygonCopy).Points(), polygon->Points());

    rect->Clear();
    EXPECT_FLOAT_EQ(rect->RX().Value(), 0);
    EXPECT_FLOAT_EQ(rect->RY().Value(), 0);
    EXPECT_FLOAT_EQ(rect->Width(), 0);
    polygon->Clear();
    EXPECT_TRUE(polygon->Points().isEmpty());
    EXPECT_EQ(polygon->GetBoundsRect(), TRectF{});
}

TEST_F(BasicShapes, PublishedPropertiesNameTheGeometry)
{
    struct Case {
        const TClassInfo* Info;
        QStringList Names;
    } cases[] = {
        {&TSVGRectangle::StaticClass(),
         {"X", "Y", "Width", "Height", "XLength", "YLength", "WidthLength", "HeightLength", "RX", "RY"}},
        {&TSVGCircle::StaticClass(), {"CenterX", "CenterY", "Radius"}},
        {&TSVGEllipse::StaticClass(), {"CenterX", "CenterY", "RadiusX", "RadiusY"}},
        {&TSVGLine::StaticClass(), {"StartX", "StartY", "EndX", "EndY"}},
        {&TSVGPolyline::StaticClass(), {"Polygon"}},
    };
    for (const Case& c : cases) {
        QStringList names;
        for (const TPropertyInfo& property : c.Info->OwnProperties())
            names += property.Name;
        EXPECT_EQ(names, c.Names) << c.Info->Name().toStdString();
    }
    EXPECT_EQ(TSVGPolygon::StaticClass().Parent(), &TSVGPolyline::StaticClass());
}

} // namespace
