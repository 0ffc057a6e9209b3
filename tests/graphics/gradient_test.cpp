#include "graphics/brush.h"
#include "graphics/gradient.h"
#include "platform/exceptions.h"
#include "tests/graphics/gradient_test_support.h"
#include "tests/support/stream_copy.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

using namespace velk;
using namespace velk::testing;

namespace {

constexpr TVelkGPColor Gray = 0xFF7F7F7F;

std::string Describe(const TVelkGPBlend& Blend)
{
    std::string text;
    for (const TVelkGPBlendStop& stop : Blend)
        text += QString::asprintf("(%08X, %g) ", stop.Color, double(stop.Position)).toStdString();
    return text;
}

::testing::AssertionResult SameBlend(const TVelkGPBlend& Actual, const TVelkGPBlend& Expected)
{
    bool same = Actual.size() == Expected.size();
    for (std::size_t i = 0; same && i < Actual.size(); ++i)
        same = Actual[i].Color == Expected[i].Color && std::fabs(Actual[i].Position - Expected[i].Position) < 1e-6;
    if (same)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "blend " << Describe(Actual) << "\n expected " << Describe(Expected);
}

} // namespace

TEST(GPGradient, Defaults)
{
    const TVelkGPGradient gradient;
    ASSERT_EQ(gradient.Points()->Count(), 2);
    EXPECT_EQ(gradient.Color(), Black);
    EXPECT_EQ(gradient.Color1(), White);
    EXPECT_EQ(gradient.Points()->GetPoint(1)->Offset(), 1);
    EXPECT_EQ(gradient.StartPosition()->Point(), (TPointF{0, 0}));
    EXPECT_EQ(gradient.StopPosition()->Point(), (TPointF{0, 1}));
    EXPECT_EQ(gradient.Style(), gsLinear);
    EXPECT_EQ(gradient.RadialTransform()->Position()->Point(), (TPointF{0.5f, 0.5f}));
    EXPECT_EQ(gradient.RadialTransform()->RotationCenter()->Point(), (TPointF{0.5f, 0.5f}));
    EXPECT_FALSE(gradient.GammaCorrection());
    EXPECT_EQ(gradient.Shape(), lgsNormal);
    EXPECT_EQ(gradient.ShapeFocus(), 1);
    EXPECT_EQ(gradient.ShapeScale(), 1);
}

TEST(GPGradient, ColoursByIndexCheckTheRange)
{
    TVelkGPGradient gradient;
    gradient.SetColor(1, Red);
    EXPECT_EQ(gradient.Color1(), Red);
    EXPECT_EQ(MessageOf<EArgumentOutOfRangeException>([&] { gradient.GetColor(2); }), u"Argument out of range"_qs);
    EXPECT_EQ(MessageOf<EArgumentOutOfRangeException>([&] { gradient.SetColor(-1, Red); }),
              u"Argument out of range"_qs);
    gradient.Points()->Clear();
    EXPECT_EQ(MessageOf<EArgumentOutOfRangeException>([&] { gradient.Color(); }), u"Argument out of range"_qs);
}

TEST(GPGradient, EveryChangeEndsInOneChangeEvent)
{
    TVelkGPGradient gradient;
    int changes = 0;
    gradient.OnChanged = [&](TObject* sender) {
        EXPECT_EQ(sender, &gradient);
        ++changes;
    };
    gradient.SetColor(0, Black); // the stored colour
    gradient.SetShapeFocus(1);
    EXPECT_EQ(changes, 0);

    gradient.Points()->GetPoint(0)->SetOffset(0.25f);
    gradient.StopPosition()->SetX(1);
    gradient.RadialTransform()->RotationCenter()->SetY(0.25f);
    gradient.SetStyle(gsRadial);
    EXPECT_EQ(changes, 4);

    changes = 0;
    SetStops(gradient, {{Red, 0}, {Green, 0.5f}, {Blue, 1}});
    EXPECT_EQ(changes, 1);

    changes = 0;
    TVelkGPGradient source;
    SetStops(source, {{Blue, 0.1f}, {Red, 0.9f}});
    source.StartPosition()->SetPoint({0.25f, 0.5f});
    gradient.SetStyle(gsLinear);
    changes = 0;
    gradient.Assign(&source);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(gradient.Equal(&source));
    EXPECT_EQ(gradient.StartPosition()->Point(), (TPointF{0.25f, 0.5f}));
}

TEST(GPGradient, AssignCopiesThePositionsOfItsStyleOnly)
{
    TVelkGPGradient source;
    source.SetStyle(gsRadial);
    source.RadialTransform()->RotationCenter()->SetPoint({0.2f, 0.3f});
    source.StartPosition()->SetPoint({0.7f, 0.7f});
    source.SetGammaCorrection(true);
    source.SetShape(lgsBell);
    source.SetShapeFocus(0.4f);
    source.SetShapeScale(0.6f);

    TVelkGPGradient copy;
    copy.Assign(&source);
    EXPECT_EQ(copy.Style(), gsRadial);
    EXPECT_EQ(copy.RadialTransform()->RotationCenter()->Point(), (TPointF{0.2f, 0.3f}));
    EXPECT_EQ(copy.StartPosition()->Point(), (TPointF{0, 0}));
    EXPECT_TRUE(copy.GammaCorrection());
    EXPECT_EQ(copy.Shape(), lgsBell);
    EXPECT_EQ(copy.ShapeFocus(), 0.4f);
    EXPECT_EQ(copy.ShapeScale(), 0.6f);
}

TEST(GPGradient, ShapeFocusAndScaleStayWithinZeroToOne)
{
    TVelkGPGradient gradient;
    gradient.SetShapeFocus(-2);
    gradient.SetShapeScale(3);
    EXPECT_EQ(gradient.ShapeFocus(), 0);
    EXPECT_EQ(gradient.ShapeScale(), 1);
}

TEST(GPGradient, EqualComparesStopsAndPositionsButNotStyle)
{
    TVelkGPGradient a, b;
    b.SetStyle(gsRadial);
    b.SetShape(lgsTriangular);
    EXPECT_TRUE(a.Equal(&b));
    b.Points()->GetPoint(1)->SetColor(0xFEFFFFFF);
    EXPECT_FALSE(a.Equal(&b));
    b.Points()->GetPoint(1)->SetColor(White);
    b.StopPosition()->SetY(0.5f);
    EXPECT_FALSE(a.Equal(&b));
    b.StopPosition()->SetY(1);
    b.Points()->Add(Red, 1);
    EXPECT_FALSE(a.Equal(&b));
}

TEST(GPGradient, InterpolateColorOffset)
{
    TVelkGPGradient gradient;
    EXPECT_EQ(gradient.InterpolateColor(0.5f), Gray); // 127.5 truncated, not 128
    EXPECT_EQ(gradient.InterpolateColor(-1), Black);
    EXPECT_EQ(gradient.InterpolateColor(2), White);

    SetStops(gradient, {{Red, 0.2f}, {Green, 0.5f}, {Blue, 0.5f}, {White, 0.8f}});
    EXPECT_EQ(gradient.InterpolateColor(0.1f), Red);  // before the first stop
    EXPECT_EQ(gradient.InterpolateColor(0.9f), White); // after the last
    EXPECT_EQ(gradient.InterpolateColor(0.5f), Green); // the first pair that holds it
    EXPECT_EQ(gradient.InterpolateColor(0.35f), 0xFF807F00); // each channel truncated towards red

    SetStops(gradient, {{Red, 0}});
    EXPECT_EQ(gradient.InterpolateColor(0.5f), 0u);
}

TEST(GPGradient, InterpolateColorAtAPoint)
{
    TVelkGPGradient gradient;
    gradient.StopPosition()->SetPoint({1, 0}); // horizontal
    EXPECT_EQ(gradient.InterpolateColor(0.5f, 0.9f), Gray);
    EXPECT_EQ(gradient.InterpolateColor(1, 0), White);

    gradient.StopPosition()->SetPoint({0, 0}); // no length: the far end
    EXPECT_EQ(gradient.InterpolateColor(0.1f, 0.1f), White);

    gradient.SetStyle(gsRadial);
    EXPECT_EQ(gradient.InterpolateColor(0.5f, 0.5f), White); // the centre
    EXPECT_EQ(gradient.InterpolateColor(0.5f, 0.25f), Gray); // 1 − 2·0.25
    EXPECT_EQ(gradient.InterpolateColor(0, 0), Black);
}

TEST(GPGradient, PresetBlend)
{
    struct TCase {
        const char* Name;
        std::vector<TVelkGPBlendStop> Stops;
        TPointF Start;
        TPointF Stop;
        TVelkGPBlend Expected;
    };
    const TCase cases[] = {
        {"no stops: the colour", {}, {0, 0}, {1, 0}, {{Green, 0}, {Green, 1}}},
        {"inner stops: end colours repeated",
         {{Red, 0.2f}, {Blue, 0.8f}},
         {0, 0},
         {1, 0},
         {{Red, 0}, {Red, 0.2f}, {Blue, 0.8f}, {Blue, 1}}},
        {"vertical", {{Red, 0}, {Blue, 1}}, {0.3f, 0}, {0.3f, 1}, {{Red, 0}, {Blue, 1}}},
        {"horizontal part of the area",
         {{Red, 0}, {Blue, 1}},
         {0.25f, 0.4f},
         {0.75f, 0.4f},
         {{Red, 0}, {Red, 0.25f}, {Blue, 0.75f}, {Blue, 1}}},
        {"reversed line: positions run upwards again",
         {{Red, 0}, {Green, 0.25f}, {Blue, 1}},
         {1, 0},
         {0, 0},
         {{Red, 0}, {Green, 0.25f}, {Blue, 1}}},
        {"diagonal shorter than 1: scaled by its length",
         {{Red, 0}, {Blue, 1}},
         {0, 0},
         {0.5f, 0.5f},
         {{Red, 0}, {Blue, 0.5f}, {Blue, 1}}},
        {"diagonal longer than 1: divided by its length", {{Red, 0}, {Blue, 1}}, {0, 0}, {1, 1}, {{Red, 0}, {Blue, 1}}},
        {"beyond 1: cut with the colour at 1",
         {{Black, 0}, {White, 1}},
         {0, 0},
         {0, 2},
         {{Black, 0}, {Gray, 1}}},
        {"beyond 1: later stops dropped",
         {{Red, 0}, {Green, 0.5f}, {Blue, 1}},
         {0, 0},
         {0, 2},
         {{Red, 0}, {Green, 1}}},
        {"before 0: cut with the colour at 0",
         {{Black, 0}, {White, 1}},
         {0, -1},
         {0, 1},
         {{0xFF7F7F7F, 0}, {White, 1}}},
        {"before 0: the stop nearest to 0 decides",
         {{Red, 0}, {Green, 0.5f}, {Blue, 1}},
         {0, -1},
         {0, 1},
         {{Green, 0}, {Blue, 1}}},
        {"hard edge kept in order",
         {{Red, 0}, {Red, 0.5f}, {Blue, 0.5f}, {Blue, 1}},
         {0, 0},
         {1, 0},
         {{Red, 0}, {Red, 0.5f}, {Blue, 0.5f}, {Blue, 1}}},
        {"offsets beyond 1 (spread by repetition) cut at 1",
         {{Red, 0}, {Blue, 0.5f}, {Red, 1.0f}, {Blue, 1.5f}},
         {0, 0},
         {1, 0},
         {{Red, 0}, {Blue, 0.5f}, {Red, 1}}},
    };
    for (const TCase& c : cases)
        EXPECT_TRUE(SameBlend(PresetBlend(c.Stops, Green, c.Start, c.Stop), c.Expected)) << c.Name;
}

TEST(GPGradient, PresetBlendOfTheGradientUsesItsStopsAndLine)
{
    TVelkGPGradient gradient;
    SetStops(gradient, {{Red, 0.2f}, {Blue, 0.8f}});
    gradient.StopPosition()->SetPoint({1, 0});
    EXPECT_TRUE(SameBlend(gradient.PresetBlend(Green), {{Red, 0}, {Red, 0.2f}, {Blue, 0.8f}, {Blue, 1}}));
}

TEST(GPGradient, StreamsItsStopsAndTheGeometryOfItsStyle)
{
    TVelkGPBrush brush(nullptr, bkGradient, Red);
    TVelkGPGradient& gradient = *brush.Gradient();
    SetStops(gradient, {{Red, 0}, {0x8000FF00, 0.25f}, {Blue, 1}});
    gradient.StopPosition()->SetPoint({1, 0.5f});
    gradient.SetShapeFocus(0.5f);

    TVelkGPBrush copy(nullptr, bkGradient, Red);
    velk::testing::StreamCopy(brush, copy);
    EXPECT_TRUE(copy.Gradient()->Equal(&gradient));
    EXPECT_EQ(copy.Gradient()->GetColor(1), 0x8000FF00u);
    EXPECT_EQ(copy.Gradient()->ShapeFocus(), 0.5f);
    EXPECT_EQ(copy.Color(), Red);
}
