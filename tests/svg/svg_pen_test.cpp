#include "platform/binary_reader.h"
#include "platform/binary_writer.h"
#include "svg/length_syntax.h"
#include "svg/svg_pen.h"
#include "tests/support/test_support.h"

#include <QBuffer>
#include <gtest/gtest.h>

#include <vector>

using namespace velk;

TEST(TSVGPen, ConstructionGivesFullOpacityUnitWidthAndMiterLimitFour)
{
    const TSVGPen pen(nullptr, bkNone, 0xFF000000);
    EXPECT_EQ(pen.Kind(), bkNone);
    EXPECT_EQ(pen.Opacity(), 1.0f);
    EXPECT_EQ(pen.DefaultOpacity(), 1.0f);
    EXPECT_EQ(pen.Thickness(), 1.0f);
    EXPECT_EQ(pen.MiterLimit(), 4.0f);
    EXPECT_EQ(pen.CustomDashArray(), u"none"_qs);
    EXPECT_EQ(pen.SVGDashOffset()->Raw(), 0.0f);
}

TEST(TSVGPen, CustomDashArrayWritesBackUnitsAndPercentages)
{
    struct Case {
        const char16_t* Text;
        const char16_t* Written;
        std::vector<float> Pattern; // empty: solid
    };
    const Case cases[] = {
        {u"4 50%", u"4 50%", {4, 0.5f}},
        {u"4,2", u"4 2", {4, 2}},
        {u"1in 2pt", u"1in 2pt", {96, 2.666f}},
        {u"10mm 5", u"10mm 5", {37.8f, 5}},          // millimetres go back as millimetres
        {u"5 3 2", u"5 3 2 5 3 2", {5, 3, 2, 5, 3, 2}}, // an odd list is repeated
        {u"5 50% 1pt", u"5 50% 1pt 5 50% 1pt", {5, 0.5f, 1.333f, 5, 0.5f, 1.333f}},
        {u"none", u"none", {}},
        {u"", u"none", {}},
    };
    for (const Case& c : cases) {
        const QString text = QString::fromUtf16(c.Text);
        TSVGPen pen;
        pen.SetCustomDashArray(text);
        EXPECT_EQ(pen.CustomDashArray(), QString::fromUtf16(c.Written)) << text.toStdString();
        EXPECT_EQ(pen.GetDashArray(), QString::fromUtf16(c.Written)) << text.toStdString();
        EXPECT_EQ(pen.Dash(), c.Pattern.empty() ? sdSolid : sdCustom) << text.toStdString();
        ASSERT_EQ(pen.DashArray().size(), c.Pattern.size()) << text.toStdString();
        for (std::size_t i = 0; i < c.Pattern.size(); ++i)
            EXPECT_NEAR(pen.DashArray()[i], c.Pattern[i], 0.001) << text.toStdString() << " item " << i;
    }
}

TEST(TSVGPen, ANegativeDashLeavesTheDashStyleAndAllZerosAreSolid)
{
    TSVGPen pen;
    pen.SetCustomDashArray(u"3 1"_qs);
    pen.SetCustomDashArray(u"4 -1"_qs);
    EXPECT_EQ(pen.Dash(), sdCustom);
    EXPECT_EQ(pen.DashArray(), (std::vector<float>{3, 1}));
    pen.SetDash(sdDot);
    pen.SetCustomDashArray(u"4 -1"_qs);
    EXPECT_EQ(pen.Dash(), sdDot);
    pen.SetCustomDashArray(u"0 0"_qs);
    EXPECT_EQ(pen.Dash(), sdSolid);
}

// A zero dash stays a dash (its caps draw dots) and is written back as 0.
TEST(TSVGPen, AZeroDashIsKeptAndWrittenBackAsZero)
{
    for (const QString& text : {u"0 5"_qs, u"0% 5"_qs, u"0mm 5"_qs}) {
        TSVGPen pen;
        pen.SetCustomDashArray(text);
        ASSERT_EQ(pen.Dash(), sdCustom) << text.toStdString();
        ASSERT_EQ(pen.DashArray().size(), 2u) << text.toStdString();
        EXPECT_GT(pen.DashArray()[0], 0) << text.toStdString();
        EXPECT_LT(pen.DashArray()[0], 1e-4f) << text.toStdString();
        EXPECT_EQ(pen.CustomDashArray(), text) << text.toStdString();
    }
}

TEST(TSVGPen, UserDashValuesTakePercentagesOfTheDiagonal)
{
    TSVGPen pen;
    SVGParseLength(u"10%"_qs, *pen.SVGDashOffset(), 0, 1);
    pen.SetCustomDashArray(u"10% 4 50%"_qs); // odd: the repeat keeps each item's flag
    EXPECT_EQ(pen.UserDashArray(200), (std::vector<float>{20, 4, 100, 20, 4, 100}));
    EXPECT_FLOAT_EQ(pen.UserDashOffset(200), 20);
    SVGParseLength(u"3"_qs, *pen.SVGDashOffset(), 0, 1);
    EXPECT_FLOAT_EQ(pen.UserDashOffset(200), 3);
    // A pattern set through the backend has no percentages.
    const float plain[] = {5, 50};
    pen.SetDashArrayIsPercent({});
    pen.SetCustomDash(plain, 0);
    EXPECT_EQ(pen.UserDashArray(200), (std::vector<float>{5, 50}));
}

TEST(TSVGPen, TheCustomPatternTakesTheSVGDashOffset)
{
    TSVGPen pen;
    SVGParseLength(u"2mm", *pen.SVGDashOffset(), 0, 1);
    pen.SetCustomDashArray(u"4 4"_qs);
    EXPECT_NEAR(pen.DashOffset(), 7.56f, 0.001f);
}

TEST(TSVGPen, UnitFactorsComeFromTheHandler)
{
    TSVGPen pen;
    EXPECT_EQ(pen.GetUnitFactors(), DefaultUnitFactors);
    pen.OnUnitFactors = [](const TSVGPen*, TSVGUnitFactors& Factors) { Factors[suMillimeters] = 10; };
    pen.SetCustomDashArray(u"1mm 2"_qs);
    EXPECT_EQ(pen.DashArray(), (std::vector<float>{10, 2}));
    EXPECT_EQ(pen.CustomDashArray(), u"1mm 2"_qs);
    SVGParseLength(u"3mm", *pen.SVGDashOffset(), 0, 1);
    EXPECT_EQ(pen.SVGDashOffset()->Pixels(), 30.0f);
}

TEST(TSVGPen, GetDashArrayWritesTheBackendStylesInMultiplesOfTheWidth)
{
    struct Case {
        TVelkGPStrokeDash Dash;
        const char16_t* Text;
    };
    const Case cases[] = {
        {sdSolid, u"none"},
        {sdDash, u"4.5 1.5"},
        {sdDot, u"1.5 1.5"},
        {sdDashDot, u"4.5 1.5 1.5 1.5"},
        {sdDashDotDot, u"4.5 1.5 1.5 1.5 1.5 1.5"},
    };
    for (const Case& c : cases) {
        TSVGPen pen;
        pen.SetThickness(1.5f);
        pen.SetDash(c.Dash);
        EXPECT_EQ(pen.GetDashArray(), QString::fromUtf16(c.Text)) << c.Dash;
    }
    TSVGPen pen;
    pen.SetThickness(1.0f / 3);
    pen.SetDash(sdDash);
    EXPECT_EQ(pen.GetDashArray(), u"1 0.33"_qs);
}

TEST(TSVGPen, DashOffsetChangesAreThePensChanges)
{
    TSVGPen pen;
    int changes = 0;
    pen.OnChange = [&](TObject*) { ++changes; };
    pen.SVGDashOffset()->SetRaw(3);
    EXPECT_EQ(changes, 1);
    pen.SetSVGDashOffset(TSVGLength(50, true, suPercent));
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(pen.SVGDashOffset()->IsPercent());
}

TEST(TSVGPen, OpacityKindAndURIFollowTheBrushRules)
{
    TSVGPen pen(nullptr, bkNone, 0xFF000000);
    pen.SetOpacity(1.5f);
    EXPECT_EQ(pen.Opacity(), 1.0f);
    pen.SetOpacity(-0.2f);
    EXPECT_EQ(pen.Opacity(), 0.0f);
    pen.SetURI(u"g"_qs);
    pen.SetKind(bkSolid);
    EXPECT_TRUE(pen.URI().isEmpty());
    pen.SetURI(u"g"_qs);
    pen.SetKind(bkSolid);
    EXPECT_EQ(pen.URI(), u"g"_qs);
    pen.SetOpacity(0.5f);
    pen.SetColor(0xFF00FF00);
    pen.UpdateColorOpacity();
    EXPECT_EQ(pen.Color(), 0x8000FF00u);
}

TEST(TSVGPen, ClearResetsTheStroke)
{
    TSVGPen pen(nullptr, bkSolid, 0xFFFF0000);
    pen.SetDefaultOpacity(0.5f);
    pen.SetOpacity(0.1f);
    pen.SetURI(u"g"_qs);
    pen.SetThickness(5);
    pen.SetThicknessIsPercent(true);
    pen.SetThicknessPreferredUnit(suPercent);
    pen.SetCustomDashArray(u"1mm 50%"_qs);
    pen.SVGDashOffset()->SetRaw(3);
    pen.SetStartCap(lcRound);
    pen.SetEndCap(lcSquare);
    pen.SetDashCap(dcRound);
    pen.SetJoin(sjBevel);
    pen.SetMiterLimit(9);
    pen.Clear();
    EXPECT_EQ(pen.Kind(), bkNone);
    EXPECT_EQ(pen.Color(), 0xFF000000u);
    EXPECT_EQ(pen.Dash(), sdSolid);
    EXPECT_EQ(pen.Thickness(), 1.0f);
    EXPECT_FALSE(pen.ThicknessIsPercent());
    EXPECT_EQ(pen.ThicknessPreferredUnit(), suNone);
    EXPECT_EQ(pen.SVGDashOffset()->Raw(), 0.0f);
    EXPECT_EQ(pen.DashOffset(), 0.0f);
    EXPECT_TRUE(pen.DashArrayIsPercent().isEmpty());
    EXPECT_TRUE(pen.DashArrayPreferredUnits().isEmpty());
    EXPECT_EQ(pen.StartCap(), lcFlat);
    EXPECT_EQ(pen.EndCap(), lcFlat);
    EXPECT_EQ(pen.DashCap(), dcFlat);
    EXPECT_EQ(pen.Join(), sjMiter);
    EXPECT_EQ(pen.MiterLimit(), 4.0f);
    EXPECT_TRUE(pen.URI().isEmpty());
    EXPECT_EQ(pen.Opacity(), 0.5f);
}

TEST(TSVGPen, AssignCopiesUnitsFlagsAndTheDashOffsetLength)
{
    TSVGPen source(nullptr, bkSolid, 0xFF0000FF);
    source.SetDefaultOpacity(0.9f);
    source.SetOpacity(0.3f);
    source.SetURI(u"s"_qs);
    source.SetThicknessIsPercent(true);
    source.SetThicknessPreferredUnit(suPercent);
    SVGParseLength(u"2mm", *source.SVGDashOffset(), 0, 1);
    source.SetCustomDashArray(u"1mm 50%"_qs);

    TSVGPen target;
    target.Assign(&source);
    const auto clone = source.CloneAs<TSVGPen>();
    for (const TSVGPen* p : {&target, clone.get()}) {
        EXPECT_EQ(p->DefaultOpacity(), 0.9f);
        EXPECT_EQ(p->Opacity(), 0.3f);
        EXPECT_EQ(p->URI(), u"s"_qs);
        EXPECT_TRUE(p->ThicknessIsPercent());
        EXPECT_EQ(p->ThicknessPreferredUnit(), suPercent);
        EXPECT_EQ(p->SVGDashOffset()->aUnit(), suMillimeters);
        EXPECT_EQ(p->CustomDashArray(), u"1mm 50%"_qs);
    }
}

TEST(TSVGPen, PublishedPropertiesAreStoredWhenTheyDifferFromTheSVGDefaults)
{
    TSVGPen pen(nullptr, bkNone, 0xFF000000);
    const TClassInfo& info = pen.ClassInfo();
    for (const char16_t* name : {u"Opacity", u"CustomDashArray", u"Kind"})
        EXPECT_FALSE(info.FindProperty(name)->IsStored(pen)) << QString::fromUtf16(name).toStdString();
    EXPECT_TRUE(info.FindProperty(u"MiterLimit")->HasDefaultValue(pen));
    pen.SetOpacity(0.5f);
    pen.SetCustomDashArray(u"1 2"_qs);
    pen.SetKind(bkSolid);
    pen.SetMiterLimit(10);
    for (const char16_t* name : {u"Opacity", u"CustomDashArray", u"Kind"})
        EXPECT_TRUE(info.FindProperty(name)->IsStored(pen)) << QString::fromUtf16(name).toStdString();
    EXPECT_FALSE(info.FindProperty(u"MiterLimit")->HasDefaultValue(pen));
}

TEST(TSVGPen, BinaryStreamRoundTrip)
{
    TSVGPen pen(nullptr, bkNone, 0xFF000000);
    pen.SetKind(bkSolid);
    pen.SetOpacity(0.5f);
    pen.SetThickness(0.25f);
    pen.SetThicknessIsPercent(true);
    pen.SetThicknessPreferredUnit(suPercent);
    pen.SetURI(u"g"_qs);
    SVGParseLength(u"2mm", *pen.SVGDashOffset(), 0, 1);
    pen.SetCustomDashArray(u"4 50%"_qs);
    pen.SetMiterLimit(7);
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    {
        TWriter writer(buffer);
        writer.WriteRoot(pen);
    }
    buffer.seek(0);
    TSVGPen read(nullptr, bkNone, 0xFF000000);
    TReader reader(buffer);
    reader.ReadRoot(read);
    EXPECT_EQ(read.Kind(), bkSolid);
    EXPECT_EQ(read.Opacity(), 0.5f);
    EXPECT_EQ(read.Thickness(), 0.25f);
    EXPECT_TRUE(read.ThicknessIsPercent());
    EXPECT_EQ(read.ThicknessPreferredUnit(), suPercent);
    EXPECT_EQ(read.URI(), u"g"_qs);
    EXPECT_EQ(read.SVGDashOffset()->aUnit(), suMillimeters);
    EXPECT_EQ(read.CustomDashArray(), u"4 50%"_qs);
    EXPECT_NEAR(read.DashOffset(), 7.56f, 0.001f);
    EXPECT_EQ(read.MiterLimit(), 7.0f);
}
