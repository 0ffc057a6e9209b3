#include "tools/velk-render/render_job.h"

#include "graphics/bitmap_size.h"
#include "svg/document.h"
#include "svg/graphic_element.h"
#include "tests/support/gui_application.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <limits>

namespace velk {
namespace {

using testing::MessageOf;

constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
constexpr float Inf = std::numeric_limits<float>::infinity();

TRenderOptions Sized(std::optional<int> Width, std::optional<int> Height, double Zoom = 1)
{
    TRenderOptions options;
    options.Width = Width;
    options.Height = Height;
    options.Zoom = Zoom;
    return options;
}

TEST(RenderGeometryTest, SizeRules)
{
    struct Case {
        const char* Name;
        TSizeF Own;
        TRenderOptions Options;
        QSize Image;
        TRectF Draw;
    };
    const Case cases[] = {
        {"own size", {200, 100}, Sized({}, {}), {200, 100}, {0, 0, 200, 100}},
        {"zoom", {200, 100}, Sized({}, {}, 2), {400, 200}, {0, 0, 400, 200}},
        // Fractions round up; the drawing keeps its exact scale.
        {"zoom to a fraction", {3, 3}, Sized({}, {}, 0.5), {2, 2}, {0, 0, 1.5, 1.5}},
        {"width only", {200, 100}, Sized(50, {}), {50, 25}, {0, 0, 50, 25}},
        {"height only", {200, 100}, Sized({}, 50), {100, 50}, {0, 0, 100, 50}},
        {"width only, height a fraction", {300, 100}, Sized(100, {}), {100, 34}, {0, 0, 100, 100.0f / 3}},
        {"a thin strip keeps one row", {1000, 0.001f}, Sized({}, {}), {1000, 1}, {0, 0, 1000, 0.001f}},
        // Both: exactly that size, fitted and centred.
        {"both, taller", {200, 100}, Sized(300, 300), {300, 300}, {0, 75, 300, 225}},
        {"both, wider", {100, 200}, Sized(300, 300), {300, 300}, {75, 0, 225, 300}},
        {"both, same aspect", {40, 20}, Sized(300, 150), {300, 150}, {0, 0, 300, 150}},
        // Without an own size the drawing takes the whole image.
        {"both, no own size", {NaN, NaN}, Sized(30, 20), {30, 20}, {0, 0, 30, 20}},
        {"largest side", {8096, 10}, Sized({}, {}), {8096, 10}, {0, 0, 8096, 10}},
        {"largest area", {8096, 4048}, Sized({}, {}), {8096, 4048}, {0, 0, 8096, 4048}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const TRenderGeometry geometry = RenderGeometry(c.Own, c.Options);
        EXPECT_EQ(geometry.ImageSize, c.Image);
        EXPECT_FLOAT_EQ(geometry.DrawRect.Left, c.Draw.Left);
        EXPECT_FLOAT_EQ(geometry.DrawRect.Top, c.Draw.Top);
        EXPECT_FLOAT_EQ(geometry.DrawRect.Right, c.Draw.Right);
        EXPECT_FLOAT_EQ(geometry.DrawRect.Bottom, c.Draw.Bottom);
    }
}

TEST(RenderGeometryTest, AbsurdSizesAreRefused)
{
    struct Case {
        const char* Name;
        TSizeF Own;
        TRenderOptions Options;
        const char16_t* Message;
    };
    const Case cases[] = {
        {"no size", {NaN, NaN}, Sized({}, {}), u"the drawing has no usable size"},
        {"zero width", {0, 100}, Sized({}, {}), u"the drawing has no usable size (0 x 100)"},
        {"negative", {-5, 100}, Sized(10, {}), u"the drawing has no usable size"},
        {"infinite", {Inf, 100}, Sized({}, 10), u"the drawing has no usable size"},
        {"huge", {1e30f, 1e30f}, Sized({}, {}), u"the image would be"},
        {"huge after zoom", {3e38f, 10}, Sized({}, {}, 1e10), u"the image would be"},
        {"side too long", {8097, 10}, Sized({}, {}), u"the largest is 8096 pixels a side"},
        {"too many pixels", {8000, 8000}, Sized({}, {}), u"the image would be 8000 x 8000 pixels"},
        {"proportional side too long", {1, 2}, Sized(8096, {}), u"the image would be 8096 x 16192 pixels"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const QString message = MessageOf<ERenderError>([&] { RenderGeometry(c.Own, c.Options); });
        EXPECT_TRUE(message.contains(QString::fromUtf16(c.Message))) << message.toStdString();
    }
}

class RenderJobTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::EnsureGuiApplication(); }

    static TSizeF OwnSize(const QString& Svg, int DPI = 96)
    {
        TSVGDocument document;
        TRenderOptions options;
        options.DPI = DPI;
        PrepareDocument(document, options);
        document.LoadFromText(Svg);
        return DocumentOwnSize(document);
    }

    // The SVG text written to a file of the temporary folder.
    QString Write(const QString& Name, const QString& Svg)
    {
        const QString path = FDir.filePath(Name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(Svg.toUtf8());
        return path;
    }

    QTemporaryDir FDir;
};

TEST_F(RenderJobTest, DocumentOwnSize)
{
    struct Case {
        const char16_t* Attributes;
        int DPI;
        TSizeF Size; // NaN: not a usable side
    };
    const Case cases[] = {
        {u"width='200' height='100'", 96, {200, 100}},
        {u"width='200px' height='100px' viewBox='0 0 10 10'", 96, {200, 100}},
        // An absent side is 100%, of the view box when there is one, else of 100.
        {u"viewBox='0 0 40 20'", 96, {40, 20}},
        {u"width='80' viewBox='0 0 40 20'", 96, {80, 20}},
        {u"width='50%' height='200%' viewBox='0 0 40 20'", 96, {20, 40}},
        {u"", 96, {100, 100}},
        {u"width='200'", 96, {200, 100}},
        // Physical units follow the resolution.
        {u"width='2in' height='1in'", 96, {192, 96}},
        {u"width='2in' height='1in'", 72, {144, 72}},
        {u"width='25.4mm' height='1in'", 300, {300, 300}},
        // Nothing drawable.
        {u"width='0' height='10'", 96, {NaN, 10}},
        {u"width='-5' height='-5'", 96, {NaN, NaN}},
    };
    for (const Case& c : cases) {
        const QString svg = u"<svg xmlns='http://www.w3.org/2000/svg' %1/>"_qs.arg(QString::fromUtf16(c.Attributes));
        SCOPED_TRACE(svg.toStdString());
        const TSizeF size = OwnSize(svg, c.DPI);
        const auto check = [](float Actual, float Expected) {
            if (std::isnan(Expected))
                EXPECT_FALSE(Actual > 0 && std::isfinite(Actual)) << Actual;
            else
                EXPECT_NEAR(Actual, Expected, 1e-3);
        };
        check(size.Width, c.Size.Width);
        check(size.Height, c.Size.Height);
    }
}

TEST_F(RenderJobTest, LanguagesReplaceTheUsersLocale)
{
    TSVGDocument document;
    TRenderOptions options;
    options.Languages = QStringList{u"de"_qs, u"fr-CA"_qs};
    PrepareDocument(document, options);
    EXPECT_FALSE(document.Options().Contains(soUseLocaleForLanguage));
    EXPECT_TRUE(document.SupportsLanguage(u"fr"));
    EXPECT_TRUE(document.SupportsLanguage(u"en, de"));
    EXPECT_FALSE(document.SupportsLanguage(u"en"));
    // Without --lang the document keeps its default: the user's locale.
    TSVGDocument plain;
    PrepareDocument(plain, TRenderOptions{});
    EXPECT_TRUE(plain.Options().Contains(soUseLocaleForLanguage));
}

TEST_F(RenderJobTest, UnknownIDIsAClearError)
{
    TSVGDocument document;
    document.LoadFromText(u"<svg xmlns='http://www.w3.org/2000/svg' width='10' height='10'>"
                          "<rect id='box' width='5' height='5'/></svg>"_qs);
    EXPECT_EQ(&RenderElement(document, u"box"_qs), document.AllItems().Get(u"box"_qs));
    EXPECT_EQ(MessageOf<ERenderError>([&] { RenderElement(document, u"nope"_qs); }), u"no element with id \"nope\""_qs);
}

TEST_F(RenderJobTest, AbsurdDocumentSizesFailWithoutAllocating)
{
    for (const char16_t* attributes :
         {u"width='1e30' height='1e30'", u"width='100000' height='100000'", u"width='0' height='0'"}) {
        const QString svg = u"<svg xmlns='http://www.w3.org/2000/svg' %1/>"_qs.arg(QString::fromUtf16(attributes));
        SCOPED_TRACE(svg.toStdString());
        const QString file = Write(u"absurd.svg"_qs, svg);
        EXPECT_TRUE(MessageOf<ERenderError>([&] { RenderFile(file, {}); }).startsWith(u"the "_qs));
    }
}

TEST_F(RenderJobTest, UnwritableOutputIsAClearError)
{
    QImage image(4, 4, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::red);
    const QString missing = FDir.filePath(u"no/such/folder/out.png"_qs);
    const QString message = MessageOf<ERenderError>([&] { SavePNG(image, missing); });
    EXPECT_TRUE(message.startsWith(u"cannot write %1: "_qs.arg(missing))) << message.toStdString();
    EXPECT_FALSE(QFile::exists(missing));

    const QString good = FDir.filePath(u"out.png"_qs);
    SavePNG(image, good);
    EXPECT_EQ(QImage(good).pixel(1, 1), qRgb(255, 0, 0));
}

// The drawing lands where the size rules put it, over the background.
TEST_F(RenderJobTest, DrawsTheDocumentScaledIntoTheImage)
{
    const QString file = Write(u"two.svg"_qs, u"<svg xmlns='http://www.w3.org/2000/svg' width='20' height='10'>"
                                              "<rect width='10' height='10' fill='#ff0000'/>"
                                              "<rect x='10' width='10' height='10' fill='#0000ff'/></svg>"_qs);
    TRenderOptions options;
    options.Background = Qt::white;
    QImage image = RenderFile(file, options);
    ASSERT_EQ(image.size(), QSize(20, 10));
    EXPECT_EQ(image.pixel(5, 5), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(15, 5), qRgb(0, 0, 255));

    // 40 x 40: the 40 x 20 drawing in the middle band, white above and below.
    options.Width = 40;
    options.Height = 40;
    image = RenderFile(file, options);
    ASSERT_EQ(image.size(), QSize(40, 40));
    EXPECT_EQ(image.pixel(10, 20), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(30, 20), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(10, 5), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(30, 35), qRgb(255, 255, 255));

    // Transparent by default.
    options = Sized({}, 30);
    image = RenderFile(file, options);
    ASSERT_EQ(image.size(), QSize(60, 30));
    EXPECT_EQ(image.pixel(50, 15), qRgb(0, 0, 255));
    EXPECT_EQ(qAlpha(RenderFile(Write(u"empty.svg"_qs, u"<svg xmlns='http://www.w3.org/2000/svg' width='4' "
                                                        "height='4'/>"_qs),
                                {})
                         .pixel(2, 2)),
              0);
}

TEST_F(RenderJobTest, AnElementAloneFillsTheImage)
{
    const QString file =
        Write(u"id.svg"_qs, u"<svg xmlns='http://www.w3.org/2000/svg' id='root' width='100' height='100'>"
                            "<rect width='100' height='100' fill='#00ff00'/>"
                            "<g fill='#0000ff'><rect id='box' x='20' y='30' width='20' height='10'/></g>"
                            "<rect id='moved' transform='translate(50 50)' width='10' height='10' fill='#ff0000'/>"
                            "<svg x='80' y='80' width='20' height='20'>"
                            "<rect id='nested' width='4' height='4' fill='#ffff00'/></svg>"
                            "</svg>"_qs);
    TRenderOptions options;
    options.ID = u"box"_qs;
    QImage image = RenderFile(file, options);
    ASSERT_EQ(image.size(), QSize(20, 10));
    // The group's fill is inherited; nothing of the green backdrop shows.
    for (const QPoint p : {QPoint(0, 0), QPoint(10, 5), QPoint(19, 9)})
        EXPECT_EQ(image.pixel(p), qRgb(0, 0, 255)) << p.x() << "," << p.y();

    options.ID = u"moved"_qs;
    options.Width = 30;
    image = RenderFile(file, options);
    ASSERT_EQ(image.size(), QSize(30, 30));
    EXPECT_EQ(image.pixel(1, 1), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(28, 28), qRgb(255, 0, 0));

    // Nested svg elements keep their own ID tables; the root's id is the whole drawing.
    options = TRenderOptions{};
    options.ID = u"nested"_qs;
    image = RenderFile(file, options);
    ASSERT_EQ(image.size(), QSize(4, 4));
    EXPECT_EQ(image.pixel(2, 2), qRgb(255, 255, 0));
    options.ID = u"root"_qs;
    image = RenderFile(file, options);
    ASSERT_EQ(image.size(), QSize(100, 100));
    EXPECT_EQ(image.pixel(5, 5), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(25, 35), qRgb(0, 0, 255));
}

} // namespace
} // namespace velk
