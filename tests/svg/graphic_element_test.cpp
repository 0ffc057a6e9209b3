#include "platform/exceptions.h"
#include "svg/document.h"
#include "svg/graphic_element.h"
#include "svg/group.h"
#include "svg/transform_syntax.h"
#include "tests/support/gui_application.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

using namespace velk;
using velk::testing::MessageOf;

namespace {

// A group with one child group, and that child's own child.
struct TTree {
    std::unique_ptr<TSVGGroup> Root = std::make_unique<TSVGGroup>();
    TSVGGroup* Child = Root->Add(std::make_unique<TSVGGroup>());
    TSVGGroup* GrandChild = Child->Add(std::make_unique<TSVGGroup>());
};

// A plain property: its setter given the initial value (false) or another one (true),
// and its effective value as text.
struct TPropertyCase {
    const char* Name;
    TSVGStyleProperty Property;
    std::function<void(TSVGGraphicElement&, bool Other)> Set;
    std::function<QString(const TSVGGraphicElement&)> Get;
};

template <typename E>
QString Number(E Value)
{
    return QString::number(static_cast<qint64>(Value));
}

const std::vector<TPropertyCase>& PropertyCases()
{
    using G = const TSVGGraphicElement&;
    static const std::vector<TPropertyCase> cases{
        {"text-anchor", ipTextAnchor, [](auto& e, bool o) { e.SetTextAlign(o ? staTrailing : staLeading); },
         [](G e) { return Number(e.TextAlign()); }},
        {"clip-rule", ipClipRule, [](auto& e, bool o) { e.SetClipRule(o ? frEvenOdd : frNonZero); },
         [](G e) { return Number(e.ClipRule()); }},
        {"fill-rule", ipFillRule, [](auto& e, bool o) { e.SetFillRule(o ? frEvenOdd : frNonZero); },
         [](G e) { return Number(e.FillRule()); }},
        {"color", ipColor, [](auto& e, bool o) { e.SetColor(o ? 0xFFFF0000 : 0xFF000000); },
         [](G e) { return Number(e.Color()); }},
        {"color-interpolation", ipColorInterpolation,
         [](auto& e, bool o) { e.SetColorInterpolation(o ? sciLinearRGB : sciSRGB); },
         [](G e) { return Number(e.ColorInterpolation()); }},
        {"color-rendering", ipColorRendering,
         [](auto& e, bool o) { e.SetColorRendering(o ? clrnOptimizeSpeed : clrnAuto); },
         [](G e) { return Number(e.ColorRendering()); }},
        {"shape-rendering", ipShapeRendering,
         [](auto& e, bool o) { e.SetShapeRendering(o ? srnCrispEdges : srnAuto); },
         [](G e) { return Number(e.ShapeRendering()); }},
        {"text-rendering", ipTextRendering,
         [](auto& e, bool o) { e.SetTextRendering(o ? txrnOptimizeSpeed : txrnAuto); },
         [](G e) { return Number(e.TextRendering()); }},
        {"direction", ipDirection, [](auto& e, bool o) { e.SetDirection(o ? dirRightToLeft : dirLeftToRight); },
         [](G e) { return Number(e.Direction()); }},
        {"glyph-orientation-horizontal", ipGlyphOrientationHorizontal,
         [](auto& e, bool o) { e.SetGlyphOrientationHorizontal(o ? oh90Deg : oh0Deg); },
         [](G e) { return Number(e.GlyphOrientationHorizontal()); }},
        {"glyph-orientation-vertical", ipGlyphOrientationVertical,
         [](auto& e, bool o) { e.SetGlyphOrientationVertical(o ? ov90Deg : ovAuto); },
         [](G e) { return Number(e.GlyphOrientationVertical()); }},
        {"writing-mode", ipWritingMode,
         [](auto& e, bool o) { e.SetWritingMode(o ? wmTopBottom : wmLeftRight_TopBottom); },
         [](G e) { return Number(e.WritingMode()); }},
        {"marker-start", ipMarkerStart, [](auto& e, bool o) { e.SetMarkerStartURI(o ? u"m"_qs : QString()); },
         [](G e) { return e.MarkerStartURI(); }},
        {"marker-mid", ipMarkerMid, [](auto& e, bool o) { e.SetMarkerMidURI(o ? u"m"_qs : QString()); },
         [](G e) { return e.MarkerMidURI(); }},
        {"marker-end", ipMarkerEnd, [](auto& e, bool o) { e.SetMarkerEndURI(o ? u"m"_qs : QString()); },
         [](G e) { return e.MarkerEndURI(); }},
        {"cursor", ipCursor, [](auto& e, bool o) { e.SetCursor(o ? Qt::CrossCursor : Qt::ArrowCursor); },
         [](G e) { return Number(e.Cursor()); }},
        {"opacity", ipOpacity, [](auto& e, bool o) { e.SetOpacity(o ? 0.5f : 1); },
         [](G e) { return QString::number(e.Opacity()); }},
        {"overflow", ipOverflow, [](auto& e, bool o) { e.SetOverflow(!o); },
         [](G e) { return Number(e.Overflow()); }},
        {"alignment-baseline", ipAlignmentBaseline,
         [](auto& e, bool o) { e.SetAlignmentBaseline(o ? abMiddle : abAuto); },
         [](G e) { return Number(e.AlignmentBaseline()); }},
        {"dominant-baseline", ipDominantBaseline,
         [](auto& e, bool o) { e.SetDominantBaseline(o ? dbCentral : dbAuto); },
         [](G e) { return Number(e.DominantBaseline()); }},
        {"vector-effect", ipVectorEffect,
         [](auto& e, bool o) { e.SetVectorEffect(o ? veNonScalingStroke : veNone); },
         [](G e) { return Number(e.VectorEffect()); }},
    };
    return cases;
}

} // namespace

TEST(SVGGraphicElement, PropertiesFollowTheParentWhileInheritedAndTheOwnValueAfterASetter)
{
    for (const TPropertyCase& c : PropertyCases()) {
        TTree tree;
        const QString initial = c.Get(*tree.Child);
        c.Set(*tree.Root, true);
        const QString other = c.Get(*tree.Root);
        ASSERT_NE(other, initial) << c.Name;
        // Only the properties that inherit by default follow the parent at first.
        const bool inherits = SVGDefaultInherits.Contains(c.Property);
        EXPECT_EQ(c.Get(*tree.Child), inherits ? other : initial) << c.Name;
        EXPECT_EQ(c.Get(*tree.GrandChild), inherits ? other : initial) << c.Name;

        tree.Child->Inherits().SetByIndex(c.Property, true);
        EXPECT_EQ(c.Get(*tree.Child), other) << c.Name;
        // Setting the own field's value still counts while the parent's differs.
        c.Set(*tree.Child, false);
        EXPECT_EQ(c.Get(*tree.Child), initial) << c.Name;
        EXPECT_FALSE(tree.Child->IsInherited(c.Property)) << c.Name;
    }
}

TEST(SVGGraphicElement, ClearRestoresEveryDefault)
{
    TSVGGroup fresh;
    TSVGGroup element;
    for (const TPropertyCase& c : PropertyCases())
        c.Set(element, true);
    element.SetMatrix(CreateTranslationMatrix(1, 2));
    element.SetClipURI(u"clip"_qs);
    element.SetClipRect({1, 2, 3, 4});
    element.SetOpacityPreferredUnit(suPercent);
    element.Style().SetStyle(u"fill: red");
    element.SetPreferredStyles(TSVGStylePropertiesSet({ipFill}));
    element.OwnBrush().SetURI(u"paint"_qs);
    element.OwnPen().SetKind(bkSolid);
    element.OwnFont().SetSize(30);
    element.Kerning().SetValue(3);
    element.BaselineShift().SetShift(bsSuperscript);
    element.SetWidth(5);

    element.Clear();

    for (const TPropertyCase& c : PropertyCases())
        EXPECT_EQ(c.Get(element), c.Get(fresh)) << c.Name;
    EXPECT_EQ(element.Inherits().Value(), SVGDefaultInherits);
    EXPECT_EQ(element.Matrix(), IdentityMatrix);
    EXPECT_EQ(element.ClipURI(), "");
    EXPECT_EQ(element.ClipRect(), fresh.ClipRect());
    EXPECT_EQ(element.OpacityPreferredUnit(), suNone);
    EXPECT_EQ(element.Style().StyleValues()->Count(), 0);
    EXPECT_TRUE(element.PreferredStyles().Value().Empty());
    EXPECT_TRUE(element.ParentPreferredStyles());
    EXPECT_EQ(element.GetBrush().URI(), "");
    EXPECT_EQ(element.GetBrush().Kind(), bkSolid);
    EXPECT_EQ(element.GetPen().Kind(), bkNone);
    EXPECT_EQ(element.GetFont().Size(), fresh.GetFont().Size());
    EXPECT_TRUE(element.Kerning().Automatic());
    EXPECT_EQ(element.BaselineShift().Shift(), bsBaseline);
    EXPECT_EQ(element.Width(), 0);
}

TEST(SVGGraphicElement, AbsoluteOpacityMultipliesAlongTheAncestors)
{
    TTree tree;
    tree.Root->SetOpacity(0.5f);
    tree.Child->SetOpacity(0.5f);
    EXPECT_FLOAT_EQ(tree.Child->GetAbsoluteOpacity(), 0.25f);
    EXPECT_FLOAT_EQ(tree.GrandChild->GetAbsoluteOpacity(), 0.25f);
    EXPECT_FLOAT_EQ(tree.GrandChild->Opacity(), 1);

    const struct {
        float Value;
        float Stored;
    } clamps[] = {{1.5f, 1}, {-0.2f, 0}, {std::numeric_limits<float>::quiet_NaN(), 0} /* left as it was */};
    for (const auto& c : clamps) {
        tree.Child->SetOpacity(c.Value);
        EXPECT_FLOAT_EQ(tree.Child->Opacity(), c.Stored) << c.Value;
    }
}

TEST(SVGGraphicElement, VisibilityAndDisplayEachFollowTheParentWhileInherited)
{
    // Visibility inherits by default, display only when asked to.
    TTree tree;
    tree.Root->SetVisible(false);
    tree.Root->SetDisplay(false);
    EXPECT_FALSE(tree.Child->Visible());
    EXPECT_TRUE(tree.Child->Display());
    tree.Child->Inherits().SetByIndex(ipDisplay, true);
    tree.Child->Inherits().SetByIndex(ipVisibility, false);
    EXPECT_TRUE(tree.Child->Visible());
    EXPECT_FALSE(tree.Child->Display());

    // The own value is already true: it counts because the effective one differs.
    TTree other;
    other.Root->SetVisible(false);
    other.Child->SetVisible(true);
    EXPECT_TRUE(other.Child->Visible());
    EXPECT_FALSE(other.Child->IsInherited(ipVisibility));
}

TEST(SVGGraphicElement, FillTakesColourKindReferenceAndOpacityPerFlag)
{
    EXPECT_EQ(TSVGGroup().GetBrush().Kind(), bkSolid);
    EXPECT_EQ(TSVGGroup().GetBrush().Color(), 0xFF000000);

    const struct {
        bool Fill;
        bool Opacity;
    } cases[] = {{true, true}, {true, false}, {false, true}, {false, false}};
    for (const auto& c : cases) {
        TTree tree;
        tree.Root->OwnBrush().SetColor(0xFF00FF00);
        tree.Root->OwnBrush().SetURI(u"paint"_qs);
        tree.Root->OwnBrush().SetOpacity(0.5f);
        tree.Child->Inherits().SetByIndex(ipFill, c.Fill);
        tree.Child->Inherits().SetByIndex(ipFillOpacity, c.Opacity);
        const TSVGBrush& brush = tree.Child->GetBrush();
        EXPECT_EQ(brush.Color(), c.Fill ? 0xFF00FF00 : 0xFF000000) << c.Fill << c.Opacity;
        EXPECT_EQ(brush.URI(), c.Fill ? "paint" : "") << c.Fill << c.Opacity;
        EXPECT_FLOAT_EQ(brush.Opacity(), c.Opacity ? 0.5f : 1) << c.Fill << c.Opacity;
        // Through the child, to the grandchild.
        EXPECT_EQ(tree.GrandChild->GetBrush().Color(), brush.Color());
    }
}

TEST(SVGGraphicElement, StrokeTakesEachPartOnlyWhenItsPropertyIsInherited)
{
    const std::vector<float> dashes{4, 2};
    const auto parentPen = [&](TSVGPen& Pen) {
        Pen.SetKind(bkSolid);
        Pen.SetColor(0xFFFF0000);
        Pen.SetThickness(5);
        Pen.SetStartCap(lcRound);
        Pen.SetEndCap(lcRound);
        Pen.SetDashCap(dcRound);
        Pen.SetMiterLimit(10);
        Pen.SetJoin(sjRound);
        Pen.SetOpacity(0.5f);
        Pen.SVGDashOffset()->SetValue(3);
        Pen.SetCustomDash(dashes, 3);
    };
    const struct {
        TSVGStyleProperty Property;
        std::function<bool(const TSVGPen&)> Took;
    } cases[] = {
        {ipStroke, [](const TSVGPen& p) { return p.Kind() == bkSolid && p.Color() == 0xFFFF0000; }},
        {ipStrokeWidth, [](const TSVGPen& p) { return p.Thickness() == 5; }},
        {ipStrokeOpacity, [](const TSVGPen& p) { return p.Opacity() == 0.5f; }},
        {ipStrokeLinecap,
         [](const TSVGPen& p) { return p.StartCap() == lcRound && p.EndCap() == lcRound && p.DashCap() == dcRound; }},
        {ipStrokeMiterLimit, [](const TSVGPen& p) { return p.MiterLimit() == 10; }},
        {ipStrokeLineJoin, [](const TSVGPen& p) { return p.Join() == sjRound; }},
        {ipStrokeDashOffset, [](const TSVGPen& p) { return p.SVGDashOffset()->Value() == 3; }},
        {ipStrokeDasharray, [&](const TSVGPen& p) { return p.Dash() == sdCustom && p.DashArray() == dashes; }},
    };
    const TSVGStyleProperties stroke{ipStroke,           ipStrokeWidth,    ipStrokeOpacity,    ipStrokeLinecap,
                                     ipStrokeMiterLimit, ipStrokeLineJoin, ipStrokeDashOffset, ipStrokeDasharray};
    for (const auto& c : cases) {
        TTree tree;
        parentPen(tree.Root->OwnPen());
        tree.Child->Inherits().SetValue(SVGDefaultInherits - stroke + TSVGStyleProperties{c.Property});
        const TSVGPen& pen = tree.Child->GetPen();
        for (const auto& other : cases)
            EXPECT_EQ(other.Took(pen), other.Property == c.Property)
                << EnumName(c.Property).toStdString() << " / " << EnumName(other.Property).toStdString();
    }

    // A solid parent line leaves the own dash pattern.
    TTree tree;
    const std::vector<float> own{1, 1};
    tree.Child->OwnPen().SetCustomDash(own, 0);
    EXPECT_EQ(tree.Child->GetPen().DashArray(), own);
}

TEST(SVGGraphicElement, FontTakesTheInheritedParts)
{
    velk::testing::EnsureGuiApplication();
    TTree tree;
    TSVGFont& parent = tree.Root->OwnFont();
    parent.SetSize(20);
    parent.SetWeight(fwBold);
    parent.SetStyle(parent.Style() + TFontStyles{fsItalic, fsUnderline});
    parent.SetFontVariant(fvSmallCaps);
    parent.SetExtendStyles({fsOverline});

    const TSVGFont& font = tree.GrandChild->GetFont();
    EXPECT_EQ(font.Name(), parent.Name());
    EXPECT_EQ(font.Size(), 20);
    EXPECT_EQ(font.Weight(), fwBold);
    EXPECT_EQ(font.Style(), (TFontStyles{fsBold, fsItalic, fsUnderline}));
    EXPECT_EQ(font.FontVariant(), fvSmallCaps);
    EXPECT_EQ(font.ExtendStyles(), TExtendedFontStyles{fsOverline});

    // A size of its own stays, and its descendants take it.
    tree.Child->Inherits().SetByIndex(ipFontSize, false);
    tree.Child->OwnFont().SetSize(8);
    EXPECT_EQ(tree.Child->GetFont().Size(), 8);
    EXPECT_EQ(tree.GrandChild->GetFont().Size(), 8);
    EXPECT_EQ(tree.GrandChild->GetFont().Weight(), fwBold);
}

TEST(SVGGraphicElement, ChangesOfTheParentReachTheResolvedObjectsOfDescendants)
{
    velk::testing::EnsureGuiApplication();
    TTree tree;
    EXPECT_EQ(tree.GrandChild->GetBrush().Color(), 0xFF000000);
    EXPECT_EQ(tree.GrandChild->GetPen().Thickness(), 1);
    const float em = tree.GrandChild->GetUnitFactors()[suFontSize];

    tree.Root->OwnBrush().SetColor(0xFF0000FF);
    tree.Root->OwnPen().SetThickness(7);
    tree.Root->OwnFont().SetSize(tree.Root->OwnFont().Size() * 2);
    EXPECT_EQ(tree.GrandChild->GetBrush().Color(), 0xFF0000FF);
    EXPECT_EQ(tree.GrandChild->GetPen().Thickness(), 7);
    EXPECT_FLOAT_EQ(tree.GrandChild->GetUnitFactors()[suFontSize], em * 2);

    // Setting a brush copies its content into the owned one.
    TSVGBrush red(nullptr, bkSolid, 0xFFFF0000);
    tree.Root->SetBrush(red);
    EXPECT_EQ(tree.GrandChild->GetBrush().Color(), 0xFFFF0000);

    // A moved element resolves again under its new parent.
    TSVGGroup other;
    other.OwnBrush().SetColor(0xFF123456);
    other.Items().Add(tree.Root->Items().Extract(tree.Child));
    EXPECT_EQ(tree.GrandChild->GetBrush().Color(), 0xFF123456);
}

TEST(SVGGraphicElement, UnitFactorsScaleEmAndExByTheFontSize)
{
    velk::testing::EnsureGuiApplication();
    TSVGGroup element;
    element.OwnFont().SetSize(20);
    const TSVGUnitFactors factors = element.GetUnitFactors();
    EXPECT_FLOAT_EQ(factors[suFontSize], DefaultUnitFactors[suFontSize] * 20);
    EXPECT_FLOAT_EQ(factors[suFontXHeight], DefaultUnitFactors[suFontXHeight] * 10);
    EXPECT_FLOAT_EQ(factors[suInches], DefaultUnitFactors[suInches]);
}

TEST(SVGGraphicElement, AssignPropertiesCopiesTheEffectiveValues)
{
    TTree tree;
    for (const TPropertyCase& c : PropertyCases())
        c.Set(*tree.Root, true);
    tree.Root->OwnBrush().SetColor(0xFF00FF00);
    tree.Child->Style().SetStyle(u"stroke: blue");
    tree.Child->SetMatrix(CreateTranslationMatrix(3, 4));

    TSVGGroup copy;
    copy.AssignProperties(tree.Child);
    for (const TPropertyCase& c : PropertyCases())
        EXPECT_EQ(c.Get(copy), c.Get(*tree.Child)) << c.Name;
    EXPECT_EQ(copy.Inherits().Value(), tree.Child->Inherits().Value());
    EXPECT_EQ(copy.GetBrush().Color(), 0xFF00FF00);
    EXPECT_EQ(copy.Style().GetStyleProp(ipStroke), "blue");
    EXPECT_EQ(copy.Matrix(), tree.Child->Matrix());
}

TEST(SVGGraphicElement, PreferredStylesAreTheRootsUnlessSetOwn)
{
    TTree tree;
    tree.Root->PreferredStyles().SetValue({ipFill});
    EXPECT_EQ(&tree.GrandChild->PreferredStyles(), &tree.Root->PreferredStyles());
    tree.Child->SetPreferredStyles(TSVGStylePropertiesSet({ipStroke}));
    EXPECT_FALSE(tree.Child->ParentPreferredStyles());
    EXPECT_EQ(tree.GrandChild->PreferredStyles().Value(), TSVGStyleProperties{ipStroke});
    EXPECT_EQ(tree.Root->PreferredStyles().Value(), TSVGStyleProperties{ipFill});
}

TEST(SVGGraphicElement, ReadingFillsTheOwnStyleFontSizeLengthsAndTransform)
{
    velk::testing::EnsureGuiApplication();
    TSVGDocument doc;
    doc.LoadFromText(u"<svg>"
                     "<g id='a' fill='red' stroke='black' style='fill: blue; stroke-width: 2'/>"
                     "<g id='b' font-size='10' width='2em' height='2ex'>"
                     "<g id='c' font-size='2em' width='2em'/><g id='d' width='1em'/></g>"
                     "<g id='t' transform='translate(5 6)'/>"
                     "</svg>"_qs);
    const auto element = [&](const char* ID) {
        return dynamic_cast<TSVGGraphicElement*>(doc.AllItems().Get(QString::fromLatin1(ID)));
    };
    const TSVGGraphicElement* a = element("a");
    EXPECT_EQ(a->Style().GetStyleProp(ipFill), "blue");
    EXPECT_EQ(a->Style().GetStyleProp(ipStroke), "black");
    EXPECT_EQ(a->Style().GetStyleProp(ipStrokeWidth), "2");

    const struct {
        const char* ID;
        float Width;
        float Height;
    } lengths[] = {{"b", 20, 10}, {"c", 40, 0}, {"d", 10, 0}};
    for (const auto& c : lengths) {
        EXPECT_FLOAT_EQ(element(c.ID)->Width(), c.Width) << c.ID;
        EXPECT_FLOAT_EQ(element(c.ID)->Height(), c.Height) << c.ID;
    }

    EXPECT_EQ(element("t")->Matrix(), CreateTranslationMatrix(5, 6));
    EXPECT_EQ(element("t")->TransformMatrix(), "translate(5 6)");
}

TEST(SVGGraphicElement, TheStyleAttributeNamesTheOwnPreferredSet)
{
    // An element with a style attribute prefers what it declared; one without follows its
    // parent; nobody changes another element's set.
    TSVGDocument doc;
    doc.LoadFromText(u"<svg style='opacity: 0.5'><g id='a' style='fill: red; stroke: blue'/><g id='b'/></svg>"_qs);
    const auto preferred = [&](const char* ID) {
        return dynamic_cast<TSVGGraphicElement*>(doc.AllItems().Get(QString::fromLatin1(ID)))->PreferredStyles().Value();
    };
    EXPECT_EQ(doc.PreferredStyles().Value(), TSVGStyleProperties{ipOpacity});
    EXPECT_EQ(preferred("a"), (TSVGStyleProperties{ipFill, ipStroke}));
    EXPECT_EQ(preferred("b"), TSVGStyleProperties{ipOpacity});
}

TEST(SVGGraphicElement, AMalformedTransformStopsTheLoad)
{
    TSVGDocument doc;
    const QString expected = MessageOf<Exception>([] { SVGParseTransform(u"skew(1)"); });
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(MessageOf<Exception>([&] { doc.LoadFromText(u"<svg><g transform='skew(1)'/></svg>"_qs); }), expected);
}

TEST(SVGGraphicElement, PublishedOpacityAndShapeRenderingAreStoredOnlyWhenNotDefault)
{
    const TClassInfo& info = TSVGGraphicElement::StaticClass();
    const TPropertyInfo* opacity = info.FindProperty(u"Opacity");
    const TPropertyInfo* shapeRendering = info.FindProperty(u"ShapeRendering");
    ASSERT_TRUE(opacity && shapeRendering);

    TSVGDocument doc;
    TSVGGroup free;
    TSVGGroup owned(&doc);
    EXPECT_FALSE(opacity->IsStored(free));
    free.SetOpacity(0.5f);
    EXPECT_TRUE(opacity->IsStored(free));
    // srnAuto without a document; the document's default with one.
    EXPECT_FALSE(shapeRendering->IsStored(free));
    EXPECT_TRUE(shapeRendering->IsStored(owned));
    owned.SetShapeRendering(doc.DefaultShapeRendering());
    EXPECT_FALSE(shapeRendering->IsStored(owned));

    EXPECT_EQ(std::get<QString>(info.FindProperty(u"TransformMatrix")->Get(free)), "");
    info.FindProperty(u"TransformMatrix")->Set(free, u"scale(2 3)"_qs);
    EXPECT_EQ(free.Matrix(), CreateScalingMatrix(2, 3));
}
