#include "graphics/font.h"

#include "graphics/brush.h"
#include "graphics/canvas.h"
#include "graphics/gp_exception.h"
#include "tests/support/gui_application.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <QFontInfo>

#include <functional>
#include <limits>

namespace velk {
namespace {

class FontTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::EnsureGuiApplication(); }

    // The suite's fonts come with the build's dependencies; elsewhere skip.
    static bool HasFamily(const QString& Name) { return TVelkGPFont::IsFontFamilyAvailable(Name); }
};

TEST_F(FontTest, DefaultsBeforeResolution)
{
    TVelkGPFont font;
    EXPECT_EQ(font.Name(), u"Tahoma"_qs);
    EXPECT_EQ(font.Size(), 11.0f);
    EXPECT_EQ(font.FontUnit(), uWorld);
    EXPECT_EQ(font.Quality(), fqDefault);
    EXPECT_TRUE(font.Style().Empty());
    EXPECT_EQ(font.Color(), 0xFF000000u);
    EXPECT_EQ(font.Brush().Kind(), bkSolid);
    EXPECT_EQ(font.Brush().DefaultColor(), 0xFF000000u);
    EXPECT_EQ(font.Owner(), nullptr);
}

TEST_F(FontTest, ResolvesGenericInstalledAndUnknownNames)
{
    if (!HasFamily(u"Liberation Serif"_qs))
        GTEST_SKIP() << "Liberation fonts not installed";
    const auto resolve = [](const QString& Name) {
        TVelkGPFont font;
        font.SetName(Name);
        return font.Name();
    };
    const QString sans = resolve(u"sans-serif"_qs);
    const QString serif = resolve(u"Serif"_qs);
    const QString mono = resolve(u"MONOSPACE"_qs);
    for (const QString& family : {sans, serif, mono})
        EXPECT_TRUE(TVelkGPFont::IsFontFamilyAvailable(family)) << family.toStdString();
    EXPECT_NE(serif, sans);
    QFont monoFont(mono);
    EXPECT_TRUE(QFontInfo(monoFont).fixedPitch());

    EXPECT_EQ(resolve(u"liberation serif"_qs), u"Liberation Serif"_qs);
    EXPECT_EQ(resolve(u"No Such Family 42"_qs), sans);
    // The default name resolves on first use.
    TVelkGPFont font;
    font.Handle();
    EXPECT_EQ(font.Name(), HasFamily(u"Tahoma"_qs) ? u"Tahoma"_qs : sans);
}

TEST_F(FontTest, SetNameResolvesAtOnceWithOneChange)
{
    TVelkGPFont font;
    int changes = 0;
    font.OnChange = [&](TObject*) { ++changes; };
    font.SetName(u"no such family"_qs);
    EXPECT_EQ(changes, 1);
    EXPECT_NE(font.Name(), u"no such family"_qs);
    // Setting the resolved name again changes nothing.
    font.SetName(font.Name());
    EXPECT_EQ(changes, 1);
}

// Values read from the font files' "head", "OS/2" and "hhea" tables; Liberation Sans
// matches Arial, whose classic metrics are 2048, 1854, 434 and 2355.
struct FontMetricsCase {
    const char16_t* Family;
    TFontStyles Style;
    int EmHeight;
    int CellAscent;
    int CellDescent;
    int LineSpacing;
};

TEST_F(FontTest, DesignMetricsComeFromTheFontTables)
{
    const FontMetricsCase cases[] = {
        {u"DejaVu Sans", {}, 2048, 1901, 483, 2384},
        {u"DejaVu Sans", {fsBold}, 2048, 1901, 483, 2384},
        {u"Liberation Serif", {}, 2048, 1825, 443, 2355},
        {u"Liberation Sans", {fsItalic}, 2048, 1854, 434, 2355},
    };
    for (const FontMetricsCase& c : cases) {
        const QString family = QString::fromUtf16(c.Family);
        if (!HasFamily(family))
            GTEST_SKIP() << family.toStdString() << " not installed";
        SCOPED_TRACE(family.toStdString());
        TVelkGPFont font;
        font.SetName(family);
        font.SetStyle(c.Style);
        EXPECT_EQ(font.Name(), family);
        EXPECT_EQ(font.EmHeight(), c.EmHeight);
        EXPECT_EQ(font.CellAscent(), c.CellAscent);
        EXPECT_EQ(font.CellDescent(), c.CellDescent);
        EXPECT_EQ(font.LineSpacing(), c.LineSpacing);
    }
}

struct FontUnitCase {
    TVelkGPUnit Unit;
    float Size;
    float Pixels;
};

TEST_F(FontTest, SizeConvertsToPixelsByUnit)
{
    const FontUnitCase cases[] = {
        {uWorld, 11, 11},  {uDisplay, 7.5f, 7.5f},   {uPixel, 20, 20},          {uPoint, 12, 16},
        {uInch, 0.5f, 48}, {uDocument, 300, 96},     {uMillimeter, 25.4f, 96},
    };
    for (const FontUnitCase& c : cases) {
        SCOPED_TRACE(EnumName(c.Unit).toStdString());
        TVelkGPFont font;
        font.SetFontUnit(c.Unit);
        font.SetSize(c.Size);
        EXPECT_FLOAT_EQ(font.PixelSize(), c.Pixels);
    }
}

TEST_F(FontTest, HeightIsTheLineSpacingInPixels)
{
    if (!HasFamily(u"DejaVu Sans"_qs))
        GTEST_SKIP() << "DejaVu Sans not installed";
    TVelkGPCanvas canvas;
    TVelkGPFont font(&canvas);
    font.SetName(u"DejaVu Sans"_qs);
    EXPECT_FLOAT_EQ(font.Height(), 2384.0f * 11 / 2048);
    font.SetFontUnit(uPoint);
    font.SetSize(12);
    EXPECT_FLOAT_EQ(font.Height(), 2384.0f * 16 / 2048);
    // Fractional sizes keep their size; only the QFont is whole pixels.
    font.SetFontUnit(uPixel);
    font.SetSize(10.5f);
    EXPECT_FLOAT_EQ(font.Height(), 2384.0f * 10.5f / 2048);
    EXPECT_EQ(font.Handle().pixelSize(), 10); // nearest, halves to even
}

TEST_F(FontTest, SizeWithoutExtentCannotBeResolved)
{
    for (const float size : {0.0f, -3.0f, std::numeric_limits<float>::quiet_NaN()}) {
        TVelkGPFont font;
        font.SetSize(size);
        EXPECT_EQ(testing::MessageOf<EGDIPException>([&] { font.CellAscent(); }),
                  u"Invalid Parameter for GDI+ function"_qs);
    }
}

TEST_F(FontTest, SettersRaiseOneChangeOnlyForNewValues)
{
    TVelkGPFont font;
    int changes = 0;
    font.OnChange = [&](TObject*) { ++changes; };
    const std::function<void()> sameValue[] = {
        [&] { font.SetSize(11); },         [&] { font.SetStyle({}); },         [&] { font.SetFontUnit(uWorld); },
        [&] { font.SetQuality(fqDefault); }, [&] { font.SetColor(0xFF000000); },
    };
    for (const auto& set : sameValue)
        set();
    EXPECT_EQ(changes, 0);
    const std::function<void()> newValue[] = {
        [&] { font.SetSize(12.5f); },         [&] { font.SetStyle({fsBold, fsUnderline}); },
        [&] { font.SetFontUnit(uPoint); },   [&] { font.SetQuality(fqClearType); },
        [&] { font.SetColor(0xFF102030); },
    };
    for (const auto& set : newValue) {
        const int before = changes;
        set();
        EXPECT_EQ(changes, before + 1);
    }
    EXPECT_EQ(font.Brush().Color(), 0xFF102030u);
}

TEST_F(FontTest, AssignCopiesEverythingWithOneChange)
{
    TVelkGPFont source;
    source.SetName(u"serif"_qs);
    source.SetStyle({fsItalic});
    source.SetSize(20);
    source.SetFontUnit(uPoint);
    source.SetQuality(fqAntialiased);
    source.SetColor(0x80FF0000);

    TVelkGPFont font;
    int changes = 0;
    font.OnChange = [&](TObject*) { ++changes; };
    font.Assign(&source);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(font.Name(), source.Name());
    EXPECT_EQ(font.Style(), TFontStyles{fsItalic});
    EXPECT_EQ(font.Size(), 20.0f);
    EXPECT_EQ(font.FontUnit(), uPoint);
    EXPECT_EQ(font.Quality(), fqAntialiased);
    EXPECT_EQ(font.Color(), 0x80FF0000u);
    EXPECT_EQ(font.CellAscent(), source.CellAscent());

    TVelkGPCanvas canvas;
    TVelkGPFont owned(&canvas);
    owned.SetSize(30);
    const std::unique_ptr<TVelkGPFont> clone = owned.CloneAs<TVelkGPFont>();
    EXPECT_EQ(clone->Owner(), &canvas);
    EXPECT_EQ(clone->Size(), 30.0f);
}

TEST_F(FontTest, PlatformFontRoundTrip)
{
    QFont platform(u"Liberation Sans"_qs);
    platform.setPointSizeF(9.5);
    platform.setBold(true);
    platform.setStrikeOut(true);
    platform.setStyleStrategy(QFont::NoAntialias);
    TVelkGPFont font;
    font.SetFontUnit(uPixel);
    font.Assign(platform);
    EXPECT_EQ(font.Name(), u"Liberation Sans"_qs);
    EXPECT_EQ(font.Style(), (TFontStyles{fsBold, fsStrikeOut}));
    EXPECT_EQ(font.Size(), 9.5f);
    EXPECT_EQ(font.FontUnit(), uPixel); // kept
    EXPECT_EQ(font.Quality(), fqNonAntialiased);

    QFont out;
    font.SetSize(10.5f);
    font.SetStyle({fsItalic, fsUnderline});
    font.AssignTo(out);
    EXPECT_EQ(out.family(), u"Liberation Sans"_qs);
    EXPECT_EQ(out.pointSize(), 10); // rounded half to even
    EXPECT_TRUE(out.italic());
    EXPECT_TRUE(out.underline());
    EXPECT_FALSE(out.bold());
    EXPECT_FALSE(out.strikeOut());
}

TEST_F(FontTest, StyleBits)
{
    const std::pair<TFontStyles, int> cases[] = {
        {{}, 0}, {{fsBold}, 1}, {{fsItalic}, 2}, {{fsUnderline}, 4}, {{fsStrikeOut}, 8},
        {{fsBold, fsItalic, fsUnderline, fsStrikeOut}, 15},
    };
    for (const auto& [style, bits] : cases) {
        EXPECT_EQ(TVelkGPFont::GetFontStyle(style), bits);
        EXPECT_EQ(TVelkGPFont::GetFontStyle(bits), style);
    }
    EXPECT_EQ(TVelkGPFont::GetFontStyle(0x13), (TFontStyles{fsBold, fsItalic}));
}

TEST_F(FontTest, FamilyAvailability)
{
    for (const char16_t* generic : {u"serif", u"Sans-Serif", u"MONOSPACE"})
        EXPECT_TRUE(TVelkGPFont::IsFontFamilyAvailable(QString::fromUtf16(generic)));
    EXPECT_FALSE(TVelkGPFont::IsFontFamilyAvailable(u"No Such Family 42"_qs));
    EXPECT_FALSE(TVelkGPFont::IsFontFamilyAvailable(QString()));
    if (HasFamily(u"DejaVu Sans"_qs)) {
        EXPECT_TRUE(TVelkGPFont::IsFontFamilyAvailable(u"dejavu SANS"_qs));
    }
}

TEST_F(FontTest, PublishedSizeIsStoredOnlyWhenNotEleven)
{
    TVelkGPFont font;
    const TPropertyInfo* size = TVelkGPFont::StaticClass().FindProperty(u"Size");
    ASSERT_NE(size, nullptr);
    EXPECT_TRUE(size->HasDefaultValue(font));
    font.SetSize(12);
    EXPECT_FALSE(size->HasDefaultValue(font));
}

} // namespace
} // namespace velk
