#include "graphics/pen.h"

#include "graphics/brush.h"
#include "graphics/canvas.h"
#include "graphics/custom_line_cap.h"
#include "graphics/font.h"
#include "graphics/gp_exception.h"
#include "graphics/gradient.h"
#include "tests/graphics/stroke_rendering.h"
#include "tests/support/gui_application.h"
#include "tests/support/image_compare.h"
#include "tests/support/stream_copy.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <cmath>
#include <functional>
#include <limits>
#include <numbers>

using namespace velk;
using velk::testing::Alpha;
using velk::testing::Blank;
using velk::testing::CompareWithReference;
using velk::testing::Line;
using velk::testing::MessageOf;
using velk::testing::Render;

namespace {

class PenTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { velk::testing::EnsureGuiApplication(); }
};

// Row Y of Image as '#' (alpha above Threshold) and '.'.
std::string Row(const QImage& Image, int Y, int From, int To, int Threshold = 128)
{
    std::string row;
    for (int x = From; x < To; ++x)
        row += Alpha(Image, x, Y) > Threshold ? '#' : '.';
    return row;
}

int Events(TVelkGPPen& Pen, const std::function<void()>& Action)
{
    int events = 0;
    Pen.OnChange = [&events](TObject*) { ++events; };
    Action();
    Pen.OnChange = nullptr;
    return events;
}

} // namespace

TEST_F(PenTest, Defaults)
{
    const TVelkGPPen pen;
    EXPECT_EQ(pen.Thickness(), 1);
    EXPECT_EQ(pen.Kind(), bkSolid);
    EXPECT_EQ(pen.Color(), 0xFF000000);
    EXPECT_EQ(pen.DefaultKind(), bkSolid);
    EXPECT_EQ(pen.DefaultColor(), 0xFF000000);
    EXPECT_EQ(pen.Matrix(), IdentityMatrix);
    EXPECT_EQ(pen.StartCap(), lcFlat);
    EXPECT_EQ(pen.EndCap(), lcFlat);
    EXPECT_EQ(pen.Join(), sjMiter);
    EXPECT_EQ(pen.DashCap(), dcFlat);
    EXPECT_EQ(pen.Dash(), sdSolid);
    EXPECT_EQ(pen.Alignment(), paCenter);
    EXPECT_EQ(pen.MiterLimit(), 10);
    EXPECT_TRUE(pen.DashArray().empty());
    EXPECT_EQ(pen.DashOffset(), 0);
    EXPECT_TRUE(pen.CompoundArray().empty());
    EXPECT_FALSE(pen.HasBrush());
    EXPECT_FALSE(pen.HasCustomStartCap());
    EXPECT_FALSE(pen.HasCustomEndCap());

    const TVelkGPPen hatched(nullptr, bkHatchFill, 0x80102030);
    EXPECT_EQ(hatched.Kind(), bkHatchFill);
    EXPECT_EQ(hatched.DefaultKind(), bkHatchFill);
    EXPECT_EQ(hatched.Color(), 0x80102030u);
    EXPECT_EQ(hatched.DefaultColor(), 0x80102030u);
}

TEST_F(PenTest, SettersReportAChangeOnceAndNothingForTheStoredValue)
{
    const float dashes[] = {2, 1};
    const float compound[] = {0, 0.5f};
    const std::pair<const char*, std::function<void(TVelkGPPen&)>> setters[] = {
        {"Thickness", [](TVelkGPPen& p) { p.SetThickness(3); }},
        {"Kind", [](TVelkGPPen& p) { p.SetKind(bkHatchFill); }},
        {"Color", [](TVelkGPPen& p) { p.SetColor(0xFF00FF00); }},
        {"MiterLimit", [](TVelkGPPen& p) { p.SetMiterLimit(4); }},
        {"DashOffset", [](TVelkGPPen& p) { p.SetDashOffset(1.5f); }},
        {"Matrix", [](TVelkGPPen& p) { p.SetMatrix(CreateScalingMatrix(2, 1)); }},
        {"StartCap", [](TVelkGPPen& p) { p.SetStartCap(lcRound); }},
        {"EndCap", [](TVelkGPPen& p) { p.SetEndCap(lcArrowAnchor); }},
        {"DashCap", [](TVelkGPPen& p) { p.SetDashCap(dcTriangle); }},
        {"Join", [](TVelkGPPen& p) { p.SetJoin(sjRound); }},
        {"Dash", [](TVelkGPPen& p) { p.SetDash(sdDot); }},
        {"Alignment", [](TVelkGPPen& p) { p.SetAlignment(paInset); }},
        {"DashArray", [&](TVelkGPPen& p) { p.SetDashArray(dashes); }},
        {"CustomDash", [&](TVelkGPPen& p) { p.SetCustomDash(dashes, 0.5f); }},
        {"CompoundArray", [&](TVelkGPPen& p) { p.SetCompoundArray(compound); }},
    };
    for (const auto& [name, set] : setters) {
        TVelkGPPen pen;
        EXPECT_EQ(Events(pen, [&] { set(pen); }), 1) << name;
        EXPECT_EQ(Events(pen, [&] { set(pen); }), 0) << name;
    }
}

TEST_F(PenTest, MiterLimitsBelowOneAreStoredAsOne)
{
    const struct {
        float Value;
        float Stored;
    } cases[] = {{0.5f, 1}, {0, 1}, {-3, 1}, {std::numeric_limits<float>::quiet_NaN(), 1}, {1, 1}, {4, 4}};
    for (const auto& c : cases) {
        TVelkGPPen pen;
        pen.SetMiterLimit(c.Value);
        EXPECT_EQ(pen.MiterLimit(), c.Stored) << c.Value;
    }
}

TEST_F(PenTest, TheUnusedDashCapIsRefusedSilently)
{
    TVelkGPPen pen;
    pen.SetDashCap(dcRound);
    EXPECT_EQ(Events(pen, [&] { pen.SetDashCap(dcUnused); }), 0);
    EXPECT_EQ(pen.DashCap(), dcRound);
}

TEST_F(PenTest, CustomDashesMustBePositiveAndLeaveThePenUnchangedOtherwise)
{
    TVelkGPPen pen;
    const float good[] = {2, 1, 0.5f};
    EXPECT_EQ(Events(pen, [&] { pen.SetCustomDash(good, 0.25f); }), 1);
    EXPECT_EQ(pen.Dash(), sdCustom);
    EXPECT_EQ(pen.DashArray(), (std::vector<float>{2, 1, 0.5f}));
    EXPECT_EQ(pen.DashOffset(), 0.25f);

    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::vector<std::vector<float>> bad = {{2, 0}, {0}, {1, -1}, {nan, 1}, {1, inf}};
    for (const auto& dashes : bad) {
        TVelkGPPen other;
        other.SetDash(sdDot);
        int events = 0;
        other.OnChange = [&events](TObject*) { ++events; };
        EXPECT_EQ(MessageOf<EGDIPException>([&] { other.SetCustomDash(dashes, 3); }),
                  u"Invalid dash pattern.  All elements in the array must be positive real numbers"_qs);
        EXPECT_EQ(MessageOf<EGDIPException>([&] { other.SetDashArray(dashes); }),
                  u"Invalid dash pattern.  All elements in the array must be positive real numbers"_qs);
        EXPECT_EQ(events, 0);
        EXPECT_EQ(other.Dash(), sdDot);
        EXPECT_TRUE(other.DashArray().empty());
        EXPECT_EQ(other.DashOffset(), 0);
    }
}

TEST_F(PenTest, CompoundArraysMustBeSortedPairs)
{
    const QString message = u"Invalid number of elements for pen compound array.  A compound array must be a sorted, "
                            u"even number of values between 0 and 1."_qs;
    const struct {
        std::vector<float> Array;
        bool Valid;
    } cases[] = {
        {{0, 0.25f, 0.75f, 1}, true},
        {{0.2f, 0.2f}, true},      // equal values are sorted
        {{-1, 2}, true},           // the range itself is not checked
        {{}, false},               // fewer than 2
        {{0.5f}, false},           // fewer than 2
        {{0, 0.5f, 1}, false},     // odd
        {{0, 0.75f, 0.25f, 1}, false}, // unsorted
        {{0, std::numeric_limits<float>::quiet_NaN()}, false},
    };
    for (const auto& c : cases) {
        TVelkGPPen pen;
        const float before[] = {0, 1};
        pen.SetCompoundArray(before);
        if (c.Valid) {
            pen.SetCompoundArray(c.Array);
            EXPECT_EQ(pen.CompoundArray(), c.Array);
        } else {
            EXPECT_EQ(MessageOf<EGDIPException>([&] { pen.SetCompoundArray(c.Array); }), message)
                << ::testing::PrintToString(c.Array);
            EXPECT_EQ(pen.CompoundArray(), (std::vector<float>{0, 1}));
        }
    }
}

TEST_F(PenTest, TheBrushIsCreatedOnFirstReadAndFollowsKindAndColour)
{
    TVelkGPCanvas canvas;
    TVelkGPPen pen(&canvas);
    pen.SetKind(bkHatchFill);
    pen.SetColor(0xFF0000FF);
    TVelkGPBrush& brush = pen.Brush();
    EXPECT_EQ(brush.Owner(), &canvas);
    EXPECT_EQ(brush.Kind(), bkHatchFill);
    EXPECT_EQ(brush.Color(), 0xFF0000FFu);

    EXPECT_EQ(Events(pen, [&] { pen.SetColor(0xFF00FF00); }), 1);
    EXPECT_EQ(brush.Color(), 0xFF00FF00u);
    EXPECT_EQ(Events(pen, [&] { pen.SetKind(bkGradient); }), 1);
    EXPECT_EQ(brush.Kind(), bkGradient);
    // A change of the brush is a change of the pen.
    EXPECT_EQ(Events(pen, [&] { brush.SetHatchStyle(hsCross); }), 1);
}

TEST_F(PenTest, AssignCopiesEverySettingWithOneChange)
{
    TVelkGPPen source(nullptr, bkHatchFill, 0xFF123456);
    source.SetThickness(3);
    source.SetMatrix(CreateScalingMatrix(2, 1));
    source.SetStartCap(lcRound);
    source.SetEndCap(lcCustom);
    source.SetJoin(sjBevel);
    source.SetDashCap(dcTriangle);
    source.SetAlignment(paInset);
    source.SetMiterLimit(3);
    const float dashes[] = {2, 1};
    source.SetCustomDash(dashes, 0.5f);
    const float compound[] = {0, 0.4f, 0.6f, 1};
    source.SetCompoundArray(compound);
    source.Brush().SetHatchStyle(hsDiagonalCross);
    source.CustomEndCap().SetPathData(u"M -1 0 L 1 0 L 0 2 Z"_qs);

    TVelkGPPen pen;
    EXPECT_EQ(Events(pen, [&] { pen.Assign(&source); }), 1);
    EXPECT_EQ(pen.Kind(), bkHatchFill);
    EXPECT_EQ(pen.DefaultKind(), bkHatchFill);
    EXPECT_EQ(pen.Color(), 0xFF123456u);
    EXPECT_EQ(pen.DefaultColor(), 0xFF123456u);
    EXPECT_EQ(pen.Thickness(), 3);
    EXPECT_EQ(pen.Matrix(), CreateScalingMatrix(2, 1));
    EXPECT_EQ(pen.StartCap(), lcRound);
    EXPECT_EQ(pen.EndCap(), lcCustom);
    EXPECT_EQ(pen.Join(), sjBevel);
    EXPECT_EQ(pen.DashCap(), dcTriangle);
    EXPECT_EQ(pen.Dash(), sdCustom);
    EXPECT_EQ(pen.Alignment(), paInset);
    EXPECT_EQ(pen.MiterLimit(), 3);
    EXPECT_EQ(pen.DashArray(), (std::vector<float>{2, 1}));
    EXPECT_EQ(pen.DashOffset(), 0.5f);
    EXPECT_EQ(pen.CompoundArray(), (std::vector<float>{0, 0.4f, 0.6f, 1}));
    ASSERT_TRUE(pen.HasBrush());
    EXPECT_EQ(pen.Brush().HatchStyle(), hsDiagonalCross);
    EXPECT_FALSE(pen.HasCustomStartCap());
    ASSERT_TRUE(pen.HasCustomEndCap());
    EXPECT_TRUE(pen.CustomEndCap().IsValid());
    EXPECT_EQ(source.CloneAs<TVelkGPPen>()->Brush().HatchStyle(), hsDiagonalCross);

    // An own brush the source lacks follows the new kind and colour.
    const TVelkGPPen plain(nullptr, bkSolid, 0xFF0000FF);
    pen.Assign(&plain);
    EXPECT_EQ(pen.Brush().Kind(), bkSolid);
    EXPECT_EQ(pen.Brush().Color(), 0xFF0000FFu);

    TVelkGPBrush brush;
    EXPECT_EQ(MessageOf<EConvertError>([&] { pen.Assign(&brush); }),
              u"Cannot assign a TVelkGPBrush to a TVelkGPPen"_qs);
}

TEST_F(PenTest, AssignFromAPlatformPenMapsItsStyle)
{
    const struct {
        Qt::PenStyle Style;
        TVelkGPBrushKind Kind;
        TVelkGPStrokeDash Dash;
    } cases[] = {
        {Qt::NoPen, bkNone, sdDashDot},        {Qt::SolidLine, bkSolid, sdSolid},
        {Qt::DashLine, bkSolid, sdDash},       {Qt::DotLine, bkSolid, sdDot},
        {Qt::DashDotLine, bkSolid, sdDashDot}, {Qt::DashDotDotLine, bkSolid, sdDashDotDot},
        {Qt::CustomDashLine, bkSolid, sdDashDot},
    };
    for (const auto& c : cases) {
        TVelkGPPen pen;
        pen.SetDash(sdDashDot);
        pen.Assign(QPen(QBrush(QColor(0x11, 0x22, 0x33, 0x44)), 2.5, c.Style));
        EXPECT_EQ(pen.Kind(), c.Kind) << c.Style;
        EXPECT_EQ(pen.Dash(), c.Dash) << c.Style;
        EXPECT_EQ(pen.Color(), 0x44112233u);
        EXPECT_EQ(pen.DefaultColor(), 0x44112233u);
        EXPECT_EQ(pen.Thickness(), 2.5f);
    }
}

TEST_F(PenTest, PrepareScalesTheAlphaOnce)
{
    const struct {
        TVelkGPColor Color;
        float Opacity;
        TVelkGPColor Prepared;
    } cases[] = {{0x80FF0000, 0.5f, 0x40FF0000}, {0x80FF0000, 0.3f, 0x26FF0000}, {0x80FF0000, 1, 0x80FF0000}};
    for (const auto& c : cases) {
        TVelkGPPen pen(nullptr, bkSolid, c.Color);
        EXPECT_EQ(pen.Prepare({0, 0, 10, 10}, c.Opacity), &pen);
        EXPECT_EQ(pen.Color(), c.Prepared) << c.Opacity;
    }

    // A gradient pen: its brush scales its own stops; the pen's colour does not
    // overwrite the first one.
    TVelkGPPen pen(nullptr, bkGradient, 0xFF000000);
    TVelkGPGradient& gradient = *pen.Brush().Gradient();
    gradient.SetColor(0, 0xFFFF0000);
    gradient.SetColor(1, 0xFF0000FF);
    pen.Prepare({0, 0, 10, 10}, 0.5f);
    EXPECT_EQ(gradient.Color(), 0x7FFF0000u);
    EXPECT_EQ(gradient.Color1(), 0x7F0000FFu);
}

TEST_F(PenTest, APenThatStrokesWithABrushGetsOneWhenPrepared)
{
    TVelkGPPen pen(nullptr, bkHatchFill, 0xFF0000FF);
    pen.Prepare({0, 0, 10, 10}, 0.5f);
    ASSERT_TRUE(pen.HasBrush());
    EXPECT_EQ(pen.Brush().Kind(), bkHatchFill);
    EXPECT_EQ(pen.Brush().Color(), 0x7F0000FFu);

    TVelkGPPen solid;
    solid.Prepare({0, 0, 10, 10}, 0.5f);
    EXPECT_FALSE(solid.HasBrush());
}

TEST_F(PenTest, AThicknessThatIsNotFiniteDrawsNothing)
{
    for (float thickness : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        for (TVelkGPLineCap cap : {lcFlat, lcTriangle}) { // through Qt and through the outline
            TVelkGPPen pen;
            pen.SetThickness(thickness);
            pen.SetEndCap(cap);
            EXPECT_EQ(pen.Handle().style(), Qt::NoPen) << thickness;
            EXPECT_EQ(Render(pen, Line({0, 32}, {64, 32})), Blank()) << thickness << " " << EnumName(cap).toStdString();
        }
    }
}

TEST_F(PenTest, HandleIsTheQPenForTheSettings)
{
    TVelkGPPen pen(nullptr, bkSolid, 0x80102030);
    pen.SetThickness(4);
    pen.SetStartCap(lcRound);
    pen.SetEndCap(lcRound);
    pen.SetJoin(sjBevel);
    pen.SetMiterLimit(3);
    pen.SetDash(sdDashDot);
    pen.SetDashOffset(2);
    QPen qpen = pen.Handle();
    EXPECT_EQ(qpen.widthF(), 4);
    EXPECT_EQ(qpen.color().rgba(), 0x80102030u);
    EXPECT_EQ(qpen.capStyle(), Qt::RoundCap);
    EXPECT_EQ(qpen.joinStyle(), Qt::BevelJoin);
    EXPECT_EQ(qpen.miterLimit(), 3);
    EXPECT_EQ(qpen.dashPattern(), (QList<qreal>{3, 1, 1, 1}));
    EXPECT_EQ(qpen.dashOffset(), 2);

    // Rebuilt after a change; an odd custom pattern is doubled.
    const float dashes[] = {2, 1, 1};
    pen.SetCustomDash(dashes, 0);
    pen.SetJoin(sjMiterClipped);
    qpen = pen.Handle();
    EXPECT_EQ(qpen.dashPattern(), (QList<qreal>{2, 1, 1, 2, 1, 1}));
    EXPECT_EQ(qpen.joinStyle(), Qt::SvgMiterJoin);

    pen.SetThickness(0);
    EXPECT_TRUE(pen.Handle().isCosmetic());
    pen.SetKind(bkNone);
    EXPECT_EQ(pen.Handle().style(), Qt::NoPen);
}

TEST_F(PenTest, QtStrokesOnlyWhatItCanDrawAlike)
{
    const std::pair<const char*, std::function<void(TVelkGPPen&)>> cases[] = {
        {"plain", [](TVelkGPPen&) {}},
        {"round caps", [](TVelkGPPen& p) { p.SetStartCap(lcRound); p.SetEndCap(lcRound); }},
        {"dashed, round caps", [](TVelkGPPen& p) {
             p.SetStartCap(lcRound); p.SetEndCap(lcRound); p.SetDashCap(dcRound); p.SetDash(sdDash);
         }},
        {"dashed, square caps", [](TVelkGPPen& p) {
             p.SetStartCap(lcSquare); p.SetEndCap(lcSquare); p.SetDashCap(dcSquare); p.SetDash(sdDash);
         }},
        {"no pen", [](TVelkGPPen& p) { p.SetKind(bkNone); p.SetEndCap(lcTriangle); }},
    };
    for (const auto& [name, setup] : cases) {
        TVelkGPPen pen;
        setup(pen);
        EXPECT_TRUE(pen.CanStrokeWithQPen()) << name;
    }
    const float compound[] = {0, 0.5f};
    const std::pair<const char*, std::function<void(TVelkGPPen&)>> own[] = {
        {"different caps", [](TVelkGPPen& p) { p.SetEndCap(lcRound); }},
        {"triangle caps", [](TVelkGPPen& p) { p.SetStartCap(lcTriangle); p.SetEndCap(lcTriangle); }},
        {"anchor caps", [](TVelkGPPen& p) { p.SetStartCap(lcRoundAnchor); p.SetEndCap(lcRoundAnchor); }},
        {"dash cap differs", [](TVelkGPPen& p) { p.SetDash(sdDash); p.SetDashCap(dcRound); }},
        {"square dashes", [](TVelkGPPen& p) { p.SetDash(sdDash); p.SetStartCap(lcSquare); p.SetEndCap(lcSquare); }},
        {"compound", [&](TVelkGPPen& p) { p.SetCompoundArray(compound); }},
        {"inset", [](TVelkGPPen& p) { p.SetAlignment(paInset); }},
        {"nib", [](TVelkGPPen& p) { p.SetMatrix(CreateScalingMatrix(1, 2)); }},
    };
    for (const auto& [name, setup] : own) {
        TVelkGPPen pen;
        setup(pen);
        EXPECT_FALSE(pen.CanStrokeWithQPen()) << name;
    }
}

TEST_F(PenTest, QtAndTheStrokerDrawTheSamePixels)
{
    // Pens Qt draws itself, painted both ways: through the QPen and by filling the
    // outline. Only anti-aliased edge pixels may differ a little. (Dashes go along
    // straight lines: along curves Qt measures lengths on its own flattening, which
    // moves the dashes a little.)
    QPainterPath curves;
    curves.moveTo(8, 40);
    curves.lineTo(20, 8);
    curves.cubicTo(30, 0, 40, 60, 56, 20);
    curves.addEllipse(QPointF(40, 48), 10, 8);
    QPainterPath lines;
    lines.moveTo(8, 40);
    lines.lineTo(20, 8);
    lines.lineTo(34, 44);
    lines.lineTo(56, 20);
    lines.addRect(30, 48, 20, 10);
    const std::pair<const char*, std::function<void(TVelkGPPen&)>> cases[] = {
        {"miter", [](TVelkGPPen&) {}},
        {"bevel, square caps",
         [](TVelkGPPen& p) {
             p.SetJoin(sjBevel);
             p.SetStartCap(lcSquare);
             p.SetEndCap(lcSquare);
         }},
        {"round", [](TVelkGPPen& p) { p.SetJoin(sjRound); p.SetStartCap(lcRound); p.SetEndCap(lcRound); }},
        {"dashes", [](TVelkGPPen& p) { p.SetDash(sdDashDot); p.SetDashOffset(0.7f); }},
        {"round dashes", [](TVelkGPPen& p) {
             p.SetJoin(sjRound); p.SetStartCap(lcRound); p.SetEndCap(lcRound); p.SetDashCap(dcRound); p.SetDash(sdDot);
         }},
        {"square dashes", [](TVelkGPPen& p) {
             p.SetStartCap(lcSquare); p.SetEndCap(lcSquare); p.SetDashCap(dcSquare); p.SetDash(sdDashDot);
         }},
    };
    for (const auto& [name, setup] : cases) {
        TVelkGPPen pen;
        pen.SetThickness(3);
        setup(pen);
        ASSERT_TRUE(pen.CanStrokeWithQPen()) << name;
        const QPainterPath& path = pen.Dash() == sdSolid ? curves : lines;
        const QImage qt = Render(pen, path);
        QImage own = Blank();
        QPainter painter(&own);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(pen.StrokeOutline(path, 0.05), QColor(Qt::black));
        painter.end();
        int different = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                different += std::abs(Alpha(qt, x, y) - Alpha(own, x, y)) > 96;
        EXPECT_LE(different, 4) << name;
    }
}

TEST_F(PenTest, Caps)
{
    // One cap per cell (start and end alike), width 4, from x = 8 to 24 in 32 × 32 cells.
    const TVelkGPLineCap caps[] = {lcFlat,         lcSquare,      lcRound,         lcTriangle,   lcNoAnchor,
                                   lcSquareAnchor, lcRoundAnchor, lcDiamondAnchor, lcArrowAnchor};
    QImage image = Blank(96, 96);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 9; ++i) {
        TVelkGPPen pen;
        pen.SetThickness(4);
        pen.SetStartCap(caps[i]);
        pen.SetEndCap(caps[i]);
        const qreal x = (i % 3) * 32;
        const qreal y = (i / 3) * 32 + 16;
        pen.Paint(painter, Line({x + 8, y}, {x + 24, y}));
    }
    painter.end();
    // Exact probes beyond the ends (at x = 24 in each cell), inside a half width.
    EXPECT_EQ(Alpha(image, 24, 15), 0);   // flat
    EXPECT_EQ(Alpha(image, 57, 14), 255); // square
    EXPECT_EQ(Alpha(image, 88, 15), 255); // round
    EXPECT_LT(Alpha(image, 89, 14), 128);
    EXPECT_EQ(Alpha(image, 24, 47), 255); // triangle
    EXPECT_EQ(Alpha(image, 25, 46), 0);
    EXPECT_TRUE(CompareWithReference(image, u"graphics/pen_caps.png"_qs, 2));
}

TEST_F(PenTest, Joins)
{
    // A Λ of width 6 (miter ratio 3.65) with limit 2: sjMiter clips the miter at
    // 2 · 6 / 2 = 6 from the corner (the full one would reach 10.9), sjMiterClipped
    // bevels.
    const TVelkGPStrokeJoin joins[] = {sjMiter, sjBevel, sjRound, sjMiterClipped};
    QImage image = Blank(96, 96);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 4; ++i) {
        TVelkGPPen pen;
        pen.SetThickness(6);
        pen.SetJoin(joins[i]);
        pen.SetMiterLimit(2);
        const qreal x = (i % 2) * 48;
        const qreal y = (i / 2) * 48;
        QPainterPath path;
        path.moveTo(x + 16, y + 44);
        path.lineTo(x + 24, y + 16);
        path.lineTo(x + 32, y + 44);
        pen.Paint(painter, path);
    }
    painter.end();
    EXPECT_TRUE(CompareWithReference(image, u"graphics/pen_joins.png"_qs, 2));
}

TEST_F(PenTest, TheMiterLimitIsTheMiterLengthOverTheWidth)
{
    // A V opening to the right, its corner at (54.5, 32.5), width 10, limit 4. Miter
    // length / width = 1 / sin(angle / 2): 3.99 at 29°, 4.13 at 28°, 5.76 at 20°. The
    // probes lie on the bisector, Distance left of the corner.
    const struct {
        double Angle;
        TVelkGPStrokeJoin Join;
        int Distance;
        int Alpha;
    } cases[] = {
        {29, sjMiterClipped, 15, 255}, // within the limit: a miter
        {28, sjMiterClipped, 15, 0},   // beyond: a bevel (2.4 from the corner)
        {29, sjMiter, 15, 255},
        {28, sjMiter, 15, 255}, // beyond: clipped at 4 · 10 / 2 = 20 from the corner
        {20, sjMiter, 19, 255},
        {20, sjMiter, 21, 0}, // the full miter would reach 28.8
        {28, sjBevel, 15, 0},
        {28, sjRound, 15, 0},
    };
    for (const auto& c : cases) {
        TVelkGPPen pen;
        pen.SetThickness(10);
        pen.SetMiterLimit(4);
        pen.SetJoin(c.Join);
        const double half = c.Angle / 2 * std::numbers::pi / 180;
        const QPointF corner(54.5, 32.5);
        QPainterPath path;
        path.moveTo(corner + QPointF(std::cos(half), -std::sin(half)) * 60);
        path.lineTo(corner);
        path.lineTo(corner + QPointF(std::cos(half), std::sin(half)) * 60);
        const QImage image = Render(pen, path);
        EXPECT_EQ(Alpha(image, 54 - c.Distance, 32), c.Alpha)
            << c.Angle << " " << EnumName(c.Join).toStdString() << " " << c.Distance;
    }
}

TEST_F(PenTest, DashStylesInPenWidths)
{
    // Width 4 along y = 4: one character per pixel.
    const struct {
        TVelkGPStrokeDash Dash;
        const char* Expected;
    } cases[] = {
        {sdSolid, "################################"},
        {sdDash, "############....############...."},
        {sdDot, "####....####....####....####...."},
        {sdDashDot, "############....####....########"},
        {sdDashDotDot, "############....####....####...."},
    };
    for (const auto& c : cases) {
        TVelkGPPen pen;
        pen.SetThickness(4);
        pen.SetDash(c.Dash);
        EXPECT_EQ(Row(Render(pen, Line({0, 4}, {32, 4}), 32, 8), 4, 0, 32), c.Expected)
            << EnumName(c.Dash).toStdString();
    }
    // A custom dash of 2 and 1 widths, half a width in: 6 on, 4 off, 8 on, ...
    TVelkGPPen pen;
    pen.SetThickness(4);
    const float dashes[] = {2, 1};
    pen.SetCustomDash(dashes, 0.5f);
    EXPECT_EQ(Row(Render(pen, Line({0, 4}, {32, 4}), 32, 8), 4, 0, 32), "######....########....########..");
    // A custom dash style without an array strokes solid.
    TVelkGPPen empty;
    empty.SetThickness(4);
    empty.SetDash(sdCustom);
    EXPECT_EQ(Row(Render(empty, Line({0, 4}, {8, 4}), 8, 8), 4, 0, 8), "########");
}

TEST_F(PenTest, DashCapsShapeTheDashEnds)
{
    // Width 4, dash 3 widths (12) and gap 2 widths (8): the dash ends at 12 and the next
    // begins at 20; caps reach a half width (2) into the gap. Pixel row 4 lies within a
    // half width below the centre line: the round cap covers 0.87 of pixels 13 and 18,
    // the triangle half.
    const struct {
        TVelkGPDashCap Cap;
        const char* Expected; // x = 12 … 19, alpha above 160
    } cases[] = {
        {dcFlat, "........"},
        {dcRound, "##....##"},
        {dcTriangle, "#......#"},
        {dcSquare, "##....##"},
    };
    for (const auto& c : cases) {
        TVelkGPPen pen;
        pen.SetThickness(4);
        pen.SetDashCap(c.Cap);
        const float dashes[] = {3, 2};
        pen.SetCustomDash(dashes, 0);
        const QImage image = Render(pen, Line({0, 4}, {40, 4}), 40, 8);
        EXPECT_EQ(Row(image, 4, 12, 20, 160), c.Expected) << EnumName(c.Cap).toStdString();
        EXPECT_EQ(Alpha(image, 0, 4), 255) << "the line's start stays flat";
    }
}

TEST_F(PenTest, CompoundLinesDrawBands)
{
    // Width 16 along y = 32: the bands [0, 0.25] and [0.75, 1] lie at y 24…28 and 36…40.
    TVelkGPPen pen;
    pen.SetThickness(16);
    const float compound[] = {0, 0.25f, 0.75f, 1};
    pen.SetCompoundArray(compound);
    const QImage image = Render(pen, Line({0, 32}, {64, 32}));
    std::string column;
    for (int y = 22; y < 42; ++y)
        column += Alpha(image, 32, y) > 128 ? '#' : '.';
    EXPECT_EQ(column, "..####........####..");

    // Around a square and along an open polyline with an asymmetric pair.
    TVelkGPPen framed;
    framed.SetThickness(10);
    const float pairs[] = {0, 0.3f, 0.5f, 1};
    framed.SetCompoundArray(pairs);
    QPainterPath path;
    path.addRect(12, 12, 28, 28);
    path.moveTo(8, 56);
    path.lineTo(36, 52);
    path.lineTo(58, 20);
    EXPECT_TRUE(CompareWithReference(Render(framed, path), u"graphics/pen_compound.png"_qs, 2));
}

TEST_F(PenTest, InsetStrokesStayInsideClosedFigures)
{
    TVelkGPPen pen;
    pen.SetThickness(8);
    pen.SetAlignment(paInset);
    QPainterPath path;
    path.addRect(16, 16, 32, 32);
    const QImage image = Render(pen, path);
    EXPECT_EQ(Row(image, 32, 12, 28), "....########....");
    EXPECT_EQ(Row(image, 14, 12, 28), "................");
}

TEST_F(PenTest, AZeroThicknessIsAOnePixelHairlineAtAnyScale)
{
    for (bool plain : {true, false}) {
        TVelkGPPen pen;
        pen.SetThickness(0);
        if (!plain)
            pen.SetEndCap(lcTriangle); // through the outline
        const QImage image = Render(pen, Line({0, 2.05}, {6.4, 2.05}), 64, 64, QTransform::fromScale(10, 10));
        int covered = 0;
        for (int y = 0; y < 64; ++y)
            covered += Alpha(image, 32, y);
        EXPECT_NEAR(covered, 255, 8) << plain;
    }
}

TEST_F(PenTest, ThinDashesStayInPenWidths)
{
    // Width 0.5: dashes of 3 widths are 1.5 long (Qt alone would make them 3 pixels).
    TVelkGPPen pen;
    pen.SetThickness(0.5f);
    pen.SetDash(sdDash); // 1.5 on, 0.5 off
    const QImage image = Render(pen, Line({0, 4.25}, {16, 4.25}), 16, 8);
    int covered = 0;
    for (int x = 0; x < 16; ++x)
        covered += Alpha(image, x, 4);
    // 12 of 16 units covered by half a pixel: about 6 pixels' worth.
    EXPECT_NEAR(covered / 255.0, 6, 0.6);
}

TEST_F(PenTest, TheNibTransformShapesThePen)
{
    TVelkGPPen pen;
    pen.SetThickness(4);
    pen.SetMatrix(CreateScalingMatrix(1, 3));
    const QImage image = Render(pen, Line({0, 32}, {64, 32}));
    std::string column;
    for (int y = 24; y < 40; ++y)
        column += Alpha(image, 32, y) > 128 ? '#' : '.';
    EXPECT_EQ(column, "..############..");
}

TEST_F(PenTest, NonSolidPensStrokeWithTheirBrush)
{
    TVelkGPPen pen(nullptr, bkGradient, 0xFF000000);
    TVelkGPGradient& gradient = *pen.Brush().Gradient();
    gradient.SetColor(0, 0xFFFF0000);
    gradient.SetColor(1, 0xFF0000FF);
    gradient.StartPosition()->SetPoint({0, 0});
    gradient.StopPosition()->SetPoint({1, 0});
    pen.SetThickness(8);
    for (TVelkGPLineCap cap : {lcFlat, lcTriangle}) { // through Qt and through the outline
        pen.SetEndCap(cap);
        pen.Prepare({0, 0, 64, 8}, 1);
        const QImage image = Render(pen, Line({0, 4}, {64, 4}), 64, 8);
        EXPECT_GT(qRed(image.pixel(1, 4)), 240) << EnumName(cap).toStdString();
        EXPECT_LT(qBlue(image.pixel(1, 4)), 15) << EnumName(cap).toStdString();
        EXPECT_GT(qBlue(image.pixel(62, 4)), 240) << EnumName(cap).toStdString();
    }
    TVelkGPPen none(nullptr, bkNone, 0xFF000000);
    none.SetEndCap(lcTriangle);
    EXPECT_EQ(Render(none, Line({0, 4}, {64, 4})).pixel(10, 4), 0u);
}

TEST_F(PenTest, ColoursStreamAsTheirBits)
{
    TVelkGPPen pen;
    pen.SetColor(0x80FF0000);
    pen.SetThickness(2.5f);
    TVelkGPPen penCopy;
    velk::testing::StreamCopy(pen, penCopy);
    EXPECT_EQ(penCopy.Color(), 0x80FF0000u);
    EXPECT_EQ(penCopy.Thickness(), 2.5f);

    TVelkGPFont font;
    font.SetColor(0xFF102030);
    TVelkGPFont fontCopy;
    velk::testing::StreamCopy(font, fontCopy);
    EXPECT_EQ(fontCopy.Color(), 0xFF102030u);
}
