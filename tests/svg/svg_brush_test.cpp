#include "graphics/gp_color.h"
#include "svg/svg_brush.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <limits>

using namespace velk;

TEST(TSVGBrush, ConstructionTakesKindAndColourWithFullOpacity)
{
    const TSVGBrush brush(nullptr, bkNone, 0xFF112233);
    EXPECT_EQ(brush.Kind(), bkNone);
    EXPECT_EQ(brush.DefaultKind(), bkNone);
    EXPECT_EQ(brush.Color(), 0xFF112233u);
    EXPECT_EQ(brush.Opacity(), 1.0f);
    EXPECT_EQ(brush.DefaultOpacity(), 1.0f);
    EXPECT_TRUE(brush.URI().isEmpty());
}

TEST(TSVGBrush, OpacityIsClampedAndNotifiesOnlyOnChange)
{
    struct Case {
        float Value;
        float Stored;
        int Changes;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {{1.5f, 1, 0}, {-0.2f, 0, 1}, {0.25f, 0.25f, 1}, {1, 1, 0}, {nan, 1, 0}};
    for (const Case& c : cases) {
        TSVGBrush brush;
        int changes = 0;
        brush.OnChange = [&](TObject*) { ++changes; };
        brush.SetOpacity(c.Value);
        EXPECT_EQ(brush.Opacity(), c.Stored) << c.Value;
        EXPECT_EQ(changes, c.Changes) << c.Value;
    }
    TSVGBrush brush;
    int changes = 0;
    brush.OnChange = [&](TObject*) { ++changes; };
    brush.SetDefaultOpacity(7);
    EXPECT_EQ(brush.DefaultOpacity(), 1.0f);
    brush.SetDefaultOpacity(0.5f);
    EXPECT_EQ(brush.DefaultOpacity(), 0.5f);
    EXPECT_EQ(changes, 0);
}

TEST(TSVGBrush, UpdateColorOpacityRoundsHalfToEven)
{
    struct Case {
        float Opacity;
        TVelkGPColor Expected;
    };
    // 0.5 * 255 = 127.5 goes to 128, the even neighbour.
    const Case cases[] = {{0.5f, 0x80FF0000}, {0.2f, 0x33FF0000}, {1, 0xFFFF0000}, {0, 0x00FF0000}};
    for (const Case& c : cases) {
        TSVGBrush brush(nullptr, bkSolid, 0xFFFF0000);
        brush.SetOpacity(c.Opacity);
        brush.UpdateColorOpacity();
        EXPECT_EQ(brush.Color(), c.Expected) << c.Opacity;
    }
}

TEST(TSVGBrush, NoneAndSolidKindsDropThePaintServer)
{
    struct Case {
        TVelkGPBrushKind From;
        TVelkGPBrushKind To;
        bool KeepsURI;
    };
    const Case cases[] = {
        {bkNone, bkSolid, false},     {bkSolid, bkSolid, true},     {bkGradient, bkNone, false},
        {bkSolid, bkGradient, true},  {bkGradient, bkBitmap, true}, {bkBitmap, bkSolid, false},
    };
    for (const Case& c : cases) {
        TSVGBrush brush(nullptr, c.From, 0xFF000000);
        brush.SetURI(u"grad"_qs);
        brush.SetKind(c.To);
        EXPECT_EQ(brush.Kind(), c.To);
        EXPECT_EQ(brush.URI().isEmpty(), !c.KeepsURI) << c.From << " -> " << c.To;
    }
}

TEST(TSVGBrush, ClearRestoresTheDefaultOpacity)
{
    TSVGBrush brush(nullptr, bkNone, 0xFF00FF00);
    brush.SetDefaultOpacity(0.5f);
    brush.SetOpacity(0.2f);
    brush.SetKind(bkGradient);
    brush.SetURI(u"g"_qs);
    brush.SetColor(0x80123456);
    brush.Clear();
    EXPECT_EQ(brush.Color(), 0xFF000000u);
    EXPECT_EQ(brush.Kind(), bkSolid);
    EXPECT_TRUE(brush.URI().isEmpty());
    EXPECT_EQ(brush.Opacity(), 0.5f);
}

TEST(TSVGBrush, AssignAndCloneCarryTheSVGPart)
{
    TSVGBrush source(nullptr, bkSolid, 0xFF0000FF);
    source.SetDefaultOpacity(0.8f);
    source.SetOpacity(0.4f);
    source.SetKind(bkGradient);
    source.SetURI(u"paint"_qs);

    TSVGBrush target;
    target.Assign(&source);
    const auto clone = source.CloneAs<TSVGBrush>();
    for (const TSVGBrush* b : {&target, clone.get()}) {
        EXPECT_EQ(b->DefaultOpacity(), 0.8f);
        EXPECT_EQ(b->Opacity(), 0.4f);
        EXPECT_EQ(b->URI(), u"paint"_qs);
        EXPECT_EQ(b->Kind(), bkGradient);
        EXPECT_EQ(b->Color(), 0xFF0000FFu);
    }
    EXPECT_STREQ(clone->ClassInfo().Name().toUtf8().constData(), "TSVGBrush");
}

TEST(TSVGBrush, PublishedOpacityAndKindAreStoredWhenTheyDifferFromTheirDefaults)
{
    TSVGBrush brush(nullptr, bkNone, 0xFF000000);
    const TPropertyInfo* opacity = brush.ClassInfo().FindProperty(u"Opacity");
    const TPropertyInfo* kind = brush.ClassInfo().FindProperty(u"Kind");
    ASSERT_NE(opacity, nullptr);
    ASSERT_NE(kind, nullptr);
    EXPECT_FALSE(opacity->IsStored(brush));
    EXPECT_FALSE(kind->IsStored(brush));
    brush.SetOpacity(0.5f);
    brush.SetKind(bkSolid);
    EXPECT_TRUE(opacity->IsStored(brush));
    EXPECT_TRUE(kind->IsStored(brush));
    ASSERT_NE(brush.ClassInfo().FindProperty(u"URI"), nullptr);
}
