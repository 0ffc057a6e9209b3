// The path element: reading d and pathLength, writing them back, the path length and
// its ratio, bounds, copies, and the geometry following the data.

#include "platform/xml/document.h"
#include "svg/document.h"
#include "svg/path_element.h"
#include "tests/support/gui_application.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <memory>

using namespace velk;

namespace {

class PathElement : public ::testing::Test {
protected:
    static void SetUpTestSuite() { velk::testing::EnsureGuiApplication(); }
};

// A path whose cached geometry the tests may read.
class TExposedPath : public TSVGPath {
public:
    using TSVGPath::TSVGPath;
    using TSVGPath::GetShape;
};

TSVGPath& ReadPath(TSVGDocument& Document, const QString& Attributes)
{
    Document.LoadFromText(QStringLiteral("<svg><path id='p' %1/></svg>").arg(Attributes));
    return static_cast<TSVGPath&>(*Document.AllItems().Get(QStringLiteral("p")));
}

// The attributes the path writes into a fresh node.
TXMLDocument Written(TSVGPath& Path)
{
    TXMLDocument xml = TXMLDocument::CreateDocument(QStringLiteral("path"));
    Path.SaveToXML(xml.DocumentElement());
    return xml;
}

TEST_F(PathElement, IsRegisteredAndAcceptsDescriptiveChildren)
{
    TSVGDocument doc;
    TSVGPath& path = ReadPath(doc, QStringLiteral("d='M0,0 L10,10'"));
    EXPECT_EQ(path.ClassInfo().Name(), "TSVGPath");
    EXPECT_EQ(path.SVGType(), etPath);
    EXPECT_EQ(path.ChildSVGTypes(), SVGDescriptiveElementTypes);
    EXPECT_EQ(path.Data().Count(), 2);
}

TEST_F(PathElement, PathLengthReadsAsANumberOrNone)
{
    struct Case {
        const char* Attributes;
        const char* Written; // pathLength as written back; "" for none
    } cases[] = {
        {"d='M0,0 L30,40' pathLength='100'", "100"},
        {"d='M0,0 L30,40' pathLength='12.5'", "12.5"},
        {"d='M0,0 L30,40'", ""},
        {"d='M0,0 L30,40' pathLength='abc'", ""},
        {"d='M0,0 L30,40' pathLength='NaN'", ""},
        {"d='M0,0 L30,40' pathLength=''", ""},
    };
    for (const Case& c : cases) {
        TSVGDocument doc;
        TSVGPath& path = ReadPath(doc, QLatin1String(c.Attributes));
        const TXMLDocument xml = Written(path);
        const TXMLNode node = xml.DocumentElement();
        EXPECT_EQ(node.Attribute(QStringLiteral("pathLength")), QLatin1String(c.Written)) << c.Attributes;
        EXPECT_EQ(node.HasAttribute(QStringLiteral("pathLength")), *c.Written != 0) << c.Attributes;
    }
}

TEST_F(PathElement, PathLengthWithoutAnAuthorValueIsComputedAndThenKept)
{
    TSVGDocument doc;
    TSVGPath& path = ReadPath(doc, QStringLiteral("d='M0,0 L30,40'"));
    EXPECT_FALSE(Written(path).DocumentElement().HasAttribute(QStringLiteral("pathLength")));
    EXPECT_DOUBLE_EQ(path.PathLength(), 50);
    EXPECT_DOUBLE_EQ(path.LengthRatio(), 1);
    EXPECT_EQ(Written(path).DocumentElement().Attribute(QStringLiteral("pathLength")), "50");
}

TEST_F(PathElement, LengthRatioIsAuthorLengthOverGeometricLength)
{
    struct Case {
        const char* Attributes;
        double Ratio;
    } cases[] = {
        {"d='M0,0 L30,40' pathLength='100'", 2},
        {"d='M0,0 L30,40' pathLength='25'", 0.5},
        {"pathLength='100'", 0},
        {"d='M5,5' pathLength='100'", 0},
    };
    for (const Case& c : cases) {
        TSVGDocument doc;
        EXPECT_DOUBLE_EQ(ReadPath(doc, QLatin1String(c.Attributes)).LengthRatio(), c.Ratio) << c.Attributes;
    }
}

TEST_F(PathElement, WritesDataWithTheDocumentsNumberFormat)
{
    TSVGDocument doc;
    doc.SetFormatStr(QStringLiteral("0.#"));
    TSVGPath& path = ReadPath(doc, QStringLiteral("d='M0.25,0 L10,10.75 Z' pathLength='7.25'"));
    const TXMLDocument xml = Written(path);
    const TXMLNode node = xml.DocumentElement();
    EXPECT_EQ(node.Attribute(QStringLiteral("d")).simplified(), "M0.3,0 L10,10.8 Z");
    EXPECT_EQ(node.Attribute(QStringLiteral("pathLength")), "7.3");

    // Without d nothing is written for it.
    TSVGDocument empty;
    EXPECT_FALSE(Written(ReadPath(empty, {})).DocumentElement().HasAttribute(QStringLiteral("d")));
}

TEST_F(PathElement, EditingTheDataRebuildsTheGeometryAndReachesTheDocument)
{
    TSVGDocument doc;
    int changes = 0;
    doc.OnChange = [&](TObject*) { ++changes; };
    TExposedPath path(&doc);
    path.Data().SetData(u"M0,0 L10,0 L10,10");
    EXPECT_GT(changes, 0);
    EXPECT_EQ(path.GetShape().Count(), 3);
    changes = 0;
    path.Data().LineTo({0, 10});
    EXPECT_GT(changes, 0);
    EXPECT_EQ(path.GetShape().Count(), 4);

    TVelkPathData other;
    other.SetData(u"M0,0 C1,1 2,2 3,3");
    path.SetData(other);
    EXPECT_EQ(path.GetShape().Count(), 4);
    EXPECT_TRUE(path.GetShape().Points(1).Kind.IsBezier());
}

TEST_F(PathElement, BoundsAreTheDataBoundsAndTheirWholeTransformedExtent)
{
    TSVGDocument doc;
    TSVGPath& path = ReadPath(doc, QStringLiteral("d='M10,20 L30,20 L30,60' transform='rotate(90)'"));
    EXPECT_EQ(path.GetBoundsRect(), (TRectF{10, 20, 30, 60}));
    // rotate(90) maps (x, y) to (-y, x): all four corners count.
    const TRectF turned = path.GetBoundsRect(IdentityMatrix);
    EXPECT_NEAR(turned.Left, -60, 1e-4);
    EXPECT_NEAR(turned.Top, 10, 1e-4);
    EXPECT_NEAR(turned.Right, -20, 1e-4);
    EXPECT_NEAR(turned.Bottom, 30, 1e-4);

    TSVGDocument none;
    EXPECT_EQ(ReadPath(none, {}).GetBoundsRect(IdentityMatrix), TRectF{});
}

TEST_F(PathElement, CopiesTakeTheDataButNotThePathLengthAndClearDropsBoth)
{
    TSVGDocument doc;
    TSVGPath& path = ReadPath(doc, QStringLiteral("d='M0,0 L30,40' pathLength='100'"));
    const std::unique_ptr<TSVGElement> copy = path.Clone(nullptr);
    auto& copied = static_cast<TSVGPath&>(*copy);
    EXPECT_EQ(copied.Data().GetData(), path.Data().GetData());
    EXPECT_DOUBLE_EQ(copied.PathLength(), 50);

    path.Clear();
    EXPECT_EQ(path.Data().Count(), 0);
    EXPECT_DOUBLE_EQ(path.PathLength(), 0);
    EXPECT_EQ(path.Matrix(), IdentityMatrix);
}

TEST_F(PathElement, PublishesItsData)
{
    const TPropertyInfo* data = TSVGPath::StaticClass().FindProperty(u"Data");
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->Kind, tkClass);
    TSVGPath path;
    path.Data().SetData(u"M1,2 L3,4");
    EXPECT_EQ(std::get<TPersistent*>(data->Get(path)), &path.Data());
}

} // namespace
