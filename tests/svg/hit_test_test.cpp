#include "graphics/canvas.h"
#include "graphics/pen.h"
#include "svg/document.h"
#include "svg/graphic_element.h"
#include "tests/support/gui_application.h"
#include "tests/svg/pipeline_test_elements.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <vector>

using namespace velk;
using velk::testing::AddShape;
using velk::testing::TTestClipPath;
using velk::testing::TTestShape;

namespace {

// A document with an empty test shape as the container of the shapes under test: it
// has no geometry and empty bounds, so only its children can be hit.
class PipelineHitTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { velk::testing::EnsureGuiApplication(); }

    TSVGGraphicElement* Find(const TPointF& Pt, TSVGFindOptions Options = {},
                             const TMatrix& aMatrix = IdentityMatrix)
    {
        return Container->ElementAtPos(aMatrix, Canvas, Pt, TRectF{0, 0, 100, 100}, Options);
    }

    TSVGDocument Document;
    TTestShape* Container = AddShape(Document, &Document, 0, 0, 0, 0);
    TVelkGPCanvas Canvas; // a measuring canvas, as in a mouse event
};

} // namespace

TEST_F(PipelineHitTest, TheTopmostShapeIsFound)
{
    TTestShape* lower = AddShape(*Container, &Document, 10, 10, 40, 40, u"fill:#ff0000");
    TTestShape* upper = AddShape(*Container, &Document, 30, 30, 40, 40, u"fill:#0000ff");
    EXPECT_EQ(Find({40, 40}), upper);
    EXPECT_EQ(Find({15, 15}), lower);
    EXPECT_EQ(Find({65, 65}), upper);
    EXPECT_EQ(Find({80, 20}), nullptr);
    // The matrix handed down places the shapes.
    EXPECT_EQ(Find({30, 30}, {}, CreateScalingMatrix(2, 2)), lower);
    EXPECT_EQ(Find({130, 130}, {}, CreateScalingMatrix(2, 2)), upper);
}

// A shape without fill is hit on its outline, which is at least 3 device units wide.
TEST_F(PipelineHitTest, UnfilledShapesAreHitOnTheirOutline)
{
    TTestShape* shape = AddShape(*Container, &Document, 10, 10, 40, 40, u"fill:none; stroke:#000000");
    struct TCase {
        TPointF Pt;
        TSVGFindOptions Options;
        bool Hit;
    };
    const TCase cases[] = {
        {{30, 30}, {}, false},               // inside, unfilled
        {{30, 30}, {foFindNonFilled}, true}, // the interior counts
        {{11.4f, 30}, {}, true},             // within 1.5 of the left edge
        {{30, 48.6f}, {}, true},             // within 1.5 of the bottom edge
        {{13, 30}, {}, false},               // 3 away
        {{30, 30}, {foUseBoundingBox}, true},
        {{9, 30}, {}, false},                // outside the bounds: never tested further
        {{55, 30}, {foUseBoundingBox}, false},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(Find(c.Pt, c.Options), c.Hit ? shape : nullptr) << c.Pt.X << ", " << c.Pt.Y;
}

// The hit tolerance is in device units: a scaled stroke is hit across its scaled width.
TEST_F(PipelineHitTest, TheOutlineIsMeasuredInDeviceUnits)
{
    TTestShape* shape = AddShape(*Container, &Document, 10, 10, 20, 20, u"fill:none; stroke:#000000; stroke-width:2");
    const TMatrix scale3 = CreateScalingMatrix(3, 3);
    EXPECT_EQ(Find({32.5f, 50}, {}, scale3), shape); // the stroke covers 27 ... 33
    EXPECT_EQ(Find({34, 50}, {}, scale3), nullptr);
    shape->Style().AddStyle(u"vector-effect:non-scaling-stroke");
    shape->ApplyStyles();
    EXPECT_EQ(Find({31.4f, 50}, {}, scale3), shape); // widened to 3
    EXPECT_EQ(Find({32.5f, 50}, {}, scale3), nullptr);
}

TEST_F(PipelineHitTest, NeitherFillNorStrokeIsFoundOnlyAsNonFilled)
{
    TTestShape* shape = AddShape(*Container, &Document, 10, 10, 40, 40, u"fill:none; stroke:none");
    EXPECT_EQ(Find({10.5f, 30}), nullptr);
    EXPECT_EQ(Find({30, 30}), nullptr);
    EXPECT_EQ(Find({30, 30}, {foFindNonFilled}), shape);
}

TEST_F(PipelineHitTest, HiddenAndDisabledElementsNeedTheirOptions)
{
    TTestShape* shape = AddShape(*Container, &Document, 10, 10, 40, 40, u"fill:#ff0000");
    shape->SetVisible(false);
    EXPECT_EQ(Find({30, 30}), nullptr);
    EXPECT_EQ(Find({30, 30}, {foFindHiddenElements}), shape);

    shape->SetVisible(true);
    Container->SetEnabled(false); // disabled through the parent
    EXPECT_EQ(Find({30, 30}), nullptr);
    EXPECT_EQ(Find({30, 30}, {foFindDisabled}), shape);

    // Conditional processing hides as display does.
    Container->SetEnabled(true);
    shape->RequiredExtensions().Add(u"http://example.org/unsupported"_qs);
    EXPECT_EQ(Find({30, 30}), nullptr);
    EXPECT_EQ(Find({30, 30}, {foFindHiddenElements}), shape);
}

// An element that is not displayed is skipped with its children; a hidden one is not hit
// itself, but a visible child of it is.
TEST_F(PipelineHitTest, HiddenParentsLetVisibleChildrenBeHit)
{
    TTestShape* parent = AddShape(*Container, &Document, 0, 0, 40, 40, u"fill:#ff0000");
    TTestShape* child = AddShape(*parent, &Document, 20, 20, 10, 10, u"fill:#0000ff");
    parent->SetVisible(false);
    child->SetVisible(true);
    EXPECT_EQ(Find({5, 5}), nullptr);
    EXPECT_EQ(Find({5, 5}, {foFindHiddenElements}), parent);
    EXPECT_EQ(Find({25, 25}), child);
    parent->SetDisplay(false);
    EXPECT_EQ(Find({25, 25}), nullptr);
    EXPECT_EQ(Find({25, 25}, {foFindHiddenElements}), child);
}

// The transform of an element moves what can be hit, and the parts a clip path cuts
// away cannot be hit.
TEST_F(PipelineHitTest, TransformAndClipDecideWhatIsHit)
{
    auto* clip = Document.Add(std::make_unique<TTestClipPath>(&Document));
    clip->SetID(u"clip"_qs);
    AddShape(*clip, &Document, 0, 0, 20, 20);
    TTestShape* shape = AddShape(*Container, &Document, 0, 0, 40, 40, u"fill:#ff0000");
    shape->SetMatrix(CreateTranslationMatrix(50, 50));
    EXPECT_EQ(Find({10, 10}), nullptr);
    EXPECT_EQ(Find({60, 60}), shape);
    EXPECT_EQ(Find({80, 80}), shape);
    shape->SetClipURI(u"clip"_qs);
    EXPECT_EQ(Find({60, 60}), shape);
    EXPECT_EQ(Find({80, 80}), nullptr);
    // Hit testing leaves the canvas as it was.
    EXPECT_TRUE(Canvas.ClipArea().Infinite);
    EXPECT_EQ(Canvas.Pen().Thickness(), 1);
}

TEST_F(PipelineHitTest, NonFiniteMatricesHitNothing)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    TTestShape* shape = AddShape(*Container, &Document, 10, 10, 40, 40, u"fill:#ff0000");
    const TSVGFindOptions all{foUseBoundingBox, foFindNonFilled};
    EXPECT_EQ(Find({30, 30}, all, TMatrix{1, 0, 0, 0, nan, 0, 0, 0, 1}), nullptr);
    shape->SetMatrix(TMatrix{1, 0, 0, 0, 1, 0, std::numeric_limits<float>::infinity(), 0, 1});
    EXPECT_EQ(Find({30, 30}, all), nullptr);
    EXPECT_EQ(Find({nan, nan}, all), nullptr);
}

TEST_F(PipelineHitTest, WithoutAnOwnerTheElementItselfIsFound)
{
    TTestShape shape;
    shape.SetWidth(10);
    shape.SetHeight(10);
    EXPECT_EQ(shape.ElementAtPos(IdentityMatrix, Canvas, {5, 5}, TRectF{0, 0, 10, 10}, {}), &shape);
    EXPECT_EQ(shape.DoElementFound(nullptr), nullptr);
}

namespace {

// Documents hit-tested as a program does: through the document's view matrix, its groups
// and the shapes' own tests, into a 100 x 100 target.
class PipelineDocumentHitTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { velk::testing::EnsureGuiApplication(); }

    TSVGElement* Element(const char16_t* ID) { return Document.AllItems().Get(QString::fromUtf16(ID)); }
    TSVGGraphicElement* Find(const TPointF& Pt, TSVGFindOptions Options = {})
    {
        return Document.ElementAtPos(Canvas, Pt, TRectF{0, 0, 100, 100}, Options);
    }

    TSVGDocument Document;
    TVelkGPCanvas Canvas;
};

} // namespace

// A one-unit line is found within 1.5 device units of it (the pen widened to 3).
TEST_F(PipelineDocumentHitTest, ThinLinesAreFoundNearby)
{
    Document.LoadFromText(uR"svg(<svg xmlns="http://www.w3.org/2000/svg" width="100" height="100">
        <line id="h" x1="10" y1="20" x2="90" y2="20" stroke="black" stroke-width="1"/>
        <line id="v" x1="60" y1="40" x2="60" y2="90" stroke="black" stroke-width="0.2"/></svg>)svg"_qs);
    TSVGElement* horizontal = Element(u"h");
    TSVGElement* vertical = Element(u"v");
    EXPECT_EQ(Find({50, 21.4f}), horizontal);
    EXPECT_EQ(Find({50, 18.6f}), horizontal);
    EXPECT_EQ(Find({50, 23}), nullptr);
    EXPECT_EQ(Find({95, 20}), nullptr); // beyond the end (flat caps)
    EXPECT_EQ(Find({61.4f, 70}), vertical);
    EXPECT_EQ(Find({63, 70}), nullptr);
}

TEST_F(PipelineDocumentHitTest, TheLaterOfOverlappingShapesIsFound)
{
    Document.LoadFromText(uR"svg(<svg xmlns="http://www.w3.org/2000/svg" width="50" height="50"
        viewBox="0 0 50 50"><g><rect id="a" x="5" y="5" width="20" height="20"/>
        <rect id="b" x="15" y="15" width="20" height="20" fill="none" stroke="black"/></g></svg>)svg"_qs);
    // The view box maps user unit 1 onto 2 device units.
    EXPECT_EQ(Find({40, 40}), Element(u"a"));  // inside b, which has no fill
    EXPECT_EQ(Find({40, 40}, {foFindNonFilled}), Element(u"b"));
    EXPECT_EQ(Find({30.5f, 40}), Element(u"b")); // on b's outline
    EXPECT_EQ(Find({15, 15}), Element(u"a"));
    EXPECT_EQ(Find({5, 5}), nullptr);
}

TEST_F(PipelineDocumentHitTest, OnElementFoundMayReplaceTheResult)
{
    Document.LoadFromText(uR"svg(<svg xmlns="http://www.w3.org/2000/svg" width="100" height="100">
        <rect id="a" x="10" y="10" width="20" height="20"/>
        <rect id="b" x="50" y="50" width="20" height="20"/></svg>)svg"_qs);
    auto* a = static_cast<TSVGGraphicElement*>(Element(u"a"));
    auto* b = static_cast<TSVGGraphicElement*>(Element(u"b"));
    std::vector<TSVGGraphicElement*> seen;
    Document.OnElementFound = [&](TObject* Sender, TSVGGraphicElement*& Found) {
        EXPECT_EQ(Sender, &Document);
        seen.push_back(Found);
        if (Found == a)
            Found = b;
    };
    EXPECT_EQ(Find({15, 15}), b);
    EXPECT_EQ(Find({55, 55}), b);
    EXPECT_EQ(Find({40, 40}), nullptr);
    EXPECT_EQ(seen, (std::vector<TSVGGraphicElement*>{a, b}));
}
