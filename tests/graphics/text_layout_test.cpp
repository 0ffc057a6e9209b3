#include "graphics/text_layout.h"

#include "graphics/font.h"
#include "graphics/gp_exception.h"
#include "graphics/string_format.h"
#include "tests/support/gui_application.h"
#include "tests/support/image_compare.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <limits>
#include <memory>

namespace velk {
namespace {

// Font file values (design units of a 2048 em): DejaVu Sans ascent 1901, "H" from x 201
// to 1339, 1493 high, advance 1540; Liberation Serif ascent 1825, "H" from x 59 to 1419,
// 1341 high.
constexpr double Em = 2048;

class TextLayoutTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::EnsureGuiApplication(); }

    void SetUp() override
    {
        for (const QString& family : {u"DejaVu Sans"_qs, u"Liberation Serif"_qs})
            if (!TVelkGPFont::IsFontFamilyAvailable(family))
                GTEST_SKIP() << family.toStdString() << " not installed";
    }

    static std::unique_ptr<TVelkGPFont> MakeFont(const QString& Family, float Size, TFontStyles Style = {})
    {
        auto font = std::make_unique<TVelkGPFont>();
        font->SetName(Family);
        font->SetSize(Size);
        font->SetStyle(Style);
        return font;
    }

    const std::unique_ptr<TVelkGPStringFormat> Typographic = TVelkGPStringFormat::GenericTypographic();
};

void ExpectRect(const QRectF& Actual, double Left, double Top, double Right, double Bottom, double Tolerance = 0.01)
{
    EXPECT_NEAR(Actual.left(), Left, Tolerance);
    EXPECT_NEAR(Actual.top(), Top, Tolerance);
    EXPECT_NEAR(Actual.right(), Right, Tolerance);
    EXPECT_NEAR(Actual.bottom(), Bottom, Tolerance);
}

QRectF ToQRect(const TRectF& R)
{
    return QRectF(QPointF(R.Left, R.Top), QPointF(R.Right, R.Bottom));
}

struct TGlyphCase {
    const char16_t* Family;
    double Ascent;
    double Left;
    double Right;
    double Height;
};

TEST_F(TextLayoutTest, GlyphOutlineSitsBelowTheCellTop)
{
    const TGlyphCase cases[] = {
        {u"DejaVu Sans", 1901, 201, 1339, 1493},
        {u"Liberation Serif", 1825, 59, 1419, 1341},
    };
    for (const TGlyphCase& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.Family).toStdString());
        const auto font = MakeFont(QString::fromUtf16(c.Family), 100);
        const double scale = 100 / Em;
        const double baseline = 30 + c.Ascent * scale;
        // Typographic: the glyph starts at the origin; the default format pads 1/6 em.
        ExpectRect(TextOutline(u"H"_qs, *font, Typographic.get(), {10, 30, 10, 30}).boundingRect(),
                   10 + c.Left * scale, baseline - c.Height * scale, 10 + c.Right * scale, baseline);
        ExpectRect(TextOutline(u"H"_qs, *font, nullptr, {10, 30, 10, 30}).boundingRect(),
                   10 + 100.0 / 6 + c.Left * scale, baseline - c.Height * scale, 10 + 100.0 / 6 + c.Right * scale,
                   baseline);
    }
}

TEST_F(TextLayoutTest, MeasuringPadsOnlyWithTheDefaultFormat)
{
    // 10.5 pixels: fractional sizes keep their size.
    const auto font = MakeFont(u"DejaVu Sans"_qs, 10.5f);
    const double advance = 1540 * 10.5 / Em;
    ExpectRect(ToQRect(MeasureString(u"H"_qs, *font, Typographic.get(), {3, 4, 3, 4})), 3, 4, 3 + advance,
               4 + font->Height(), 1e-4);
    ExpectRect(ToQRect(MeasureString(u"H"_qs, *font, nullptr, {3, 4, 3, 4})), 3, 4, 3 + advance + 10.5 / 3,
               4 + font->Height(), 1e-4);
    // Trailing spaces count only when asked for.
    TVelkGPStringFormat trailing;
    EXPECT_FLOAT_EQ(MeasureString(u"H  "_qs, *font, &trailing, {}).Width(),
                    MeasureString(u"H"_qs, *font, &trailing, {}).Width());
    trailing.SetFlags({sffMeasureTrailingSpaces});
    EXPECT_GT(MeasureString(u"H  "_qs, *font, &trailing, {}).Width(),
              MeasureString(u"H"_qs, *font, &trailing, {}).Width() + 5);
    // No text, no box.
    EXPECT_EQ(MeasureString(QString(), *font, nullptr, {5, 6, 50, 60}), (TRectF{5, 6, 5, 6}));
    EXPECT_TRUE(TextOutline(QString(), *font, nullptr, {5, 6, 50, 60}).isEmpty());
}

struct TAlignCase {
    TVelkGPStringAlignment Align;
    TVelkGPStringAlignment LineAlign;
    double X; // of the free room left of the text
    double Y; // of the free room above the text
};

TEST_F(TextLayoutTest, AlignmentInABoxAndAroundAPoint)
{
    const auto font = MakeFont(u"DejaVu Sans"_qs, 20);
    const double w = 1540 * 20 / Em;
    const double h = font->Height();
    const TAlignCase cases[] = {
        {saLeading, saLeading, 0, 0},   {saCenter, saLeading, 0.5, 0},  {saTrailing, saLeading, 1, 0},
        {saLeading, saCenter, 0, 0.5},  {saCenter, saCenter, 0.5, 0.5}, {saTrailing, saTrailing, 1, 1},
    };
    for (const TAlignCase& c : cases) {
        SCOPED_TRACE(EnumName(c.Align).toStdString() + "/" + EnumName(c.LineAlign).toStdString());
        const auto format = TVelkGPStringFormat::GenericTypographic();
        format->SetAlign(c.Align);
        format->SetLineAlign(c.LineAlign);
        const double left = 10 + c.X * (200 - w);
        const double top = 20 + c.Y * (100 - h);
        ExpectRect(ToQRect(MeasureString(u"H"_qs, *font, format.get(), {10, 20, 210, 120})), left, top, left + w,
                   top + h);
        // A rectangle without extent is a point the text is placed around.
        const double pointLeft = 50 - c.X * w;
        const double pointTop = 60 - c.Y * h;
        ExpectRect(ToQRect(MeasureString(u"H"_qs, *font, format.get(), {50, 60, 50, 60})), pointLeft, pointTop,
                   pointLeft + w, pointTop + h);
    }
    // Right to left: leading is the right side.
    const auto format = TVelkGPStringFormat::GenericTypographic();
    format->SetFlags({sffDirectionRightToLeft});
    EXPECT_NEAR(MeasureString(u"H"_qs, *font, format.get(), {10, 20, 210, 120}).Left, 210 - w, 0.01);
}

TEST_F(TextLayoutTest, LinesFarFromTheOriginAndRectanglesThatAreNotFinite)
{
    // Centred in a box this wide, the line starts beyond the range of Qt's fixed-point
    // line positions (2^25 units of the 256 px layout size).
    const auto font = MakeFont(u"DejaVu Sans"_qs, 2);
    const auto format = TVelkGPStringFormat::GenericTypographic();
    format->SetAlign(saCenter);
    const TRectF box{0, 0, 1e6f, 0};
    const double left = 5e5 - 1540 * 2 / Em / 2;
    EXPECT_NEAR(MeasureString(u"H"_qs, *font, format.get(), box).Left, left, 0.1);
    EXPECT_NEAR(TextOutline(u"H"_qs, *font, format.get(), box).boundingRect().left(), left + 201 * 2 / Em, 0.1);

    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const TRectF& rect : {TRectF{0, 0, inf, 0}, TRectF{nan, 0, 0, 0}}) {
        EXPECT_EQ(testing::MessageOf<EGDIPException>([&] { MeasureString(u"H"_qs, *font, nullptr, rect); }),
                  u"Invalid Parameter for GDI+ function"_qs);
    }
}

TEST_F(TextLayoutTest, WrapsAtWordsAndBreaksLines)
{
    const auto font = MakeFont(u"DejaVu Sans"_qs, 20);
    const float oneWord = MeasureString(u"wide"_qs, *font, Typographic.get(), {}).Width();
    const float h = font->Height();
    // Two words fit no line of 1.5 words: each gets its own.
    const TRectF box{0, 0, oneWord * 1.5f, 0};
    TVelkGPTextLayout wrapped(u"wide wide wide"_qs, *font, Typographic.get(), box);
    EXPECT_EQ(wrapped.LineCount(), 3);
    EXPECT_NEAR(wrapped.Bounds().Height(), 3 * h, 1e-3);
    EXPECT_NEAR(wrapped.Bounds().Width(), oneWord, 1e-3);

    TVelkGPStringFormat noWrap;
    noWrap.SetFlags({sffNoWrap});
    noWrap.SetTrimming(stNone);
    EXPECT_EQ(TVelkGPTextLayout(u"wide wide wide"_qs, *font, &noWrap, box).LineCount(), 1);
    // A word longer than the line breaks between characters.
    EXPECT_EQ(TVelkGPTextLayout(u"widewide"_qs, *font, Typographic.get(), box).LineCount(), 2);
    // CR LF, CR and LF each break a line.
    const TVelkGPTextLayout lines(u"a\r\nb\rc\nd"_qs, *font, Typographic.get(), {});
    EXPECT_EQ(lines.LineCount(), 4);
    EXPECT_NEAR(lines.Bounds().Height(), 4 * h, 1e-3);
    // Outlines follow: the second "H" one line spacing below the first.
    const QRectF one = TextOutline(u"H"_qs, *font, Typographic.get(), {}).boundingRect();
    const QRectF two = TextOutline(u"H\nH"_qs, *font, Typographic.get(), {}).boundingRect();
    EXPECT_NEAR(two.bottom() - one.bottom(), h, 1e-3);
}

TEST_F(TextLayoutTest, TabStopsAreDistancesInPixels)
{
    const auto font = MakeFont(u"DejaVu Sans"_qs, 100);
    const auto format = TVelkGPStringFormat::GenericTypographic();
    format->SetFirstTabOffset(20);
    format->AddTabStop(100).AddTabStop(150);
    const QRectF ink = TextOutline(u"\tH\tH"_qs, *font, format.get(), {}).boundingRect();
    EXPECT_NEAR(ink.left(), 120 + 201 * 100 / Em, 0.05);
    EXPECT_NEAR(ink.right(), 270 + 1339 * 100 / Em, 0.05);
}

TEST_F(TextLayoutTest, HeightLimitAndTrimming)
{
    const auto font = MakeFont(u"DejaVu Sans"_qs, 20);
    const float h = font->Height();
    const QString text = u"one\ntwo\nthree"_qs;
    TVelkGPStringFormat format;
    // A partly visible second line stays unless only whole lines may show.
    EXPECT_EQ(TVelkGPTextLayout(text, *font, &format, {0, 0, 200, h * 1.5f}).LineCount(), 2);
    format.SetFlags({sffLineLimit});
    EXPECT_EQ(TVelkGPTextLayout(text, *font, &format, {0, 0, 200, h * 1.5f}).LineCount(), 1);
    EXPECT_NEAR(MeasureString(text, *font, &format, {0, 0, 200, h * 1.5f}).Height(), h, 1e-3);

    // A line too wide for an unwrapped box: trimmed to what fits, with an ellipsis if
    // asked; untrimmed it runs on (and drawing clips it).
    const QString wide = u"Hello wide world of text"_qs;
    const TRectF box{0, 0, 80, 0};
    format.SetFlags({sffNoWrap});
    for (const TVelkGPStringTrimming trimming : {stCharacter, stWord, stEllipsisCharacter, stEllipsisWord,
                                                 stEllipsisPath}) {
        SCOPED_TRACE(EnumName(trimming).toStdString());
        format.SetTrimming(trimming);
        const QRectF ink = TextOutline(wide, *font, &format, box).boundingRect();
        EXPECT_LE(ink.right(), 80);
        EXPECT_GT(ink.right(), 40);
    }
    format.SetTrimming(stNone);
    EXPECT_GT(TextOutline(wide, *font, &format, box).boundingRect().right(), 200);
}

TEST_F(TextLayoutTest, DecorationsAndHotkeyPrefixes)
{
    const auto plain = MakeFont(u"DejaVu Sans"_qs, 100);
    const auto underlined = MakeFont(u"DejaVu Sans"_qs, 100, {fsUnderline});
    const double scale = 100 / Em;
    const double baseline = 1901 * scale;
    // The "post" table: underline top 40 units below the baseline, 90 thick.
    const QRectF bar = TextOutline(u"H"_qs, *underlined, Typographic.get(), {}).boundingRect();
    EXPECT_NEAR(bar.bottom(), baseline + 130 * scale, 0.01);
    EXPECT_NEAR(bar.left(), 0, 0.01);
    EXPECT_NEAR(bar.right(), 1540 * scale, 0.01);
    // The strike-out bar (428 to 530 units up, from "OS/2") crosses the stems: under a
    // non-zero fill bar and stem unite, with no hole where they overlap.
    const auto struck = MakeFont(u"DejaVu Sans"_qs, 100, {fsStrikeOut});
    const QPainterPath path = TextOutline(u"H"_qs, *struck, Typographic.get(), {});
    EXPECT_TRUE(path.contains(QPointF(250 * scale, baseline - 480 * scale)));
    EXPECT_TRUE(path.contains(QPointF(770 * scale, baseline - 480 * scale)));
    EXPECT_FALSE(path.contains(QPointF(770 * scale, baseline - 300 * scale)));

    const auto format = TVelkGPStringFormat::GenericTypographic();
    format->SetHotkeyPrefix(hpHide);
    const QPainterPath hidden = TextOutline(u"&H&&"_qs, *plain, format.get(), {});
    EXPECT_EQ(hidden.boundingRect(), TextOutline(u"H&"_qs, *plain, Typographic.get(), {}).boundingRect());
    format->SetHotkeyPrefix(hpShow);
    const QRectF shown = TextOutline(u"&H&&"_qs, *plain, format.get(), {}).boundingRect();
    EXPECT_NEAR(shown.bottom(), baseline + 130 * scale, 0.01);
}

QImage Canvas(int Width, int Height)
{
    QImage image(Width, Height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    return image;
}

TEST_F(TextLayoutTest, DrawingClipsToTheBoxUnlessNoClip)
{
    const auto font = MakeFont(u"DejaVu Sans"_qs, 40);
    TVelkGPStringFormat format;
    format.SetFlags({sffNoWrap});
    format.SetTrimming(stNone);
    const TRectF box{0, 0, 20, 50};
    const auto inkRightOf = [](const QImage& Image, int X) {
        for (int y = 0; y < Image.height(); ++y)
            for (int x = X; x < Image.width(); ++x)
                if (Image.pixel(x, y) != qRgb(255, 255, 255))
                    return true;
        return false;
    };
    QImage clipped = Canvas(100, 50);
    {
        QPainter painter(&clipped);
        DrawString(painter, QBrush(Qt::black), u"MMM"_qs, *font, &format, box);
    }
    EXPECT_TRUE(inkRightOf(clipped, 0));
    EXPECT_FALSE(inkRightOf(clipped, 20));

    format.SetFlags({sffNoWrap, sffNoClip});
    QImage unclipped = Canvas(100, 50);
    {
        QPainter painter(&unclipped);
        DrawString(painter, QBrush(Qt::black), u"MMM"_qs, *font, &format, box);
    }
    EXPECT_TRUE(inkRightOf(unclipped, 20));
}

TEST_F(TextLayoutTest, RendersAShortString)
{
    QImage image = Canvas(100, 50);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        const auto sans = MakeFont(u"DejaVu Sans"_qs, 18);
        const auto serif = MakeFont(u"Liberation Serif"_qs, 18, {fsItalic, fsUnderline});
        TVelkGPTextLayout(u"Velk Ag"_qs, *sans, nullptr, {0, 2, 100, 0}).Draw(painter, QBrush(Qt::black));
        const auto centred = TVelkGPStringFormat::GenericDefault();
        centred->SetAlign(saCenter);
        TVelkGPTextLayout(u"Velk Ag"_qs, *serif, centred.get(), {0, 26, 100, 0}).Draw(painter, QBrush(Qt::darkBlue));
    }
    EXPECT_TRUE(testing::CompareWithReference(image, u"graphics/text_layout_string.png"_qs, 24, 30));
}

} // namespace
} // namespace velk
