#include "graphics/image_attributes.h"
#include "platform/enum_names.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

using namespace velk;

namespace {

constexpr TVelkGPColorAdjustType AllTypes[] = {catDefault, catBitmap, catBrush, catPen, catText};

TVelkGPColorMatrix Alpha(float Opacity)
{
    TVelkGPColorMatrix matrix = TVelkGPColorMatrix::IdentityMatrix();
    matrix(3, 3) = Opacity;
    return matrix;
}

// One pixel through Apply (non-premultiplied in and out).
QRgb Applied(const TVelkGPImageAttributes& Attributes, QRgb Pixel, TVelkGPColorAdjustType Type = catBitmap)
{
    QImage image(1, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, Pixel);
    return Attributes.Apply(image, Type).convertToFormat(QImage::Format_ARGB32).pixel(0, 0);
}

TEST(TVelkGPImageAttributes, StartsAtTheDefaults)
{
    const TVelkGPImageAttributes attributes;
    EXPECT_EQ(attributes.WrapMode(), wmClamp);
    EXPECT_EQ(attributes.WrapModeColor(), 0xFF000000u);
    EXPECT_FALSE(attributes.WrapModeClamp());
    for (const TVelkGPColorAdjustType type : AllTypes) {
        const std::string name = EnumName(type).toStdString();
        const TVelkGPImageAttributesAdjustTypeRec& rec = attributes.Rec().Adjustments[type];
        EXPECT_TRUE(rec.Enabled) << name;
        EXPECT_EQ(rec.ColorMatrix, TVelkGPColorMatrix::IdentityMatrix()) << name;
        EXPECT_EQ(rec.GrayScaleMatrix, TVelkGPColorMatrix::IdentityMatrix()) << name;
        EXPECT_EQ(rec.ColorMatrixFlag, cmfDefault) << name;
        EXPECT_EQ(rec.ColorKey, TVelkGPColorKey{}) << name;
        EXPECT_EQ(rec.Gamma, 0.0f) << name;
        EXPECT_FALSE(rec.GammaEnabled) << name;
        EXPECT_EQ(rec.Threshold, 1.0f) << name;
        EXPECT_EQ(rec.ColorChannel, ccfC) << name;
        EXPECT_TRUE(rec.ColorProfile.isEmpty()) << name;
        EXPECT_TRUE(rec.RemapTable.empty()) << name;
        EXPECT_EQ(attributes.PlainOpacity(type), 1.0f) << name;
    }
}

TEST(TVelkGPImageAttributes, SettersStoreAndSignalResetRestoresSilently)
{
    TVelkGPImageAttributes attributes;
    int changes = 0;
    attributes.OnChange = [&](TObject*) { ++changes; };
    const std::function<void()> setters[] = {
        [&] { attributes.SetEnabled(catPen, false); },
        [&] { attributes.SetColorAdjustments(catPen, Alpha(0.25f)); },
        [&] { attributes.SetGrayScaleAdjustments(catPen, Alpha(0.5f)); },
        [&] { attributes.SetColorKeys(catPen, {1, 2}); },
        [&] { attributes.SetGammas(catPen, 2.2f); },
        [&] { attributes.SetGammasEnabled(catPen, true); },
        [&] { attributes.SetThresholds(catPen, 0.5f); },
        [&] { attributes.SetColorChannels(catPen, ccfK); },
        [&] { attributes.SetColorProfiles(catPen, u"sRGB"_qs); },
        [&] { attributes.SetRemapTable(catPen, {{1, 2}}); },
    };
    for (const auto& setter : setters)
        setter();
    EXPECT_EQ(changes, int(std::size(setters)));
    EXPECT_FALSE(attributes.GetEnabled(catPen));
    EXPECT_EQ(attributes.GetColorAdjustments(catPen), Alpha(0.25f));
    EXPECT_EQ(attributes.GetGrayScaleAdjustments(catPen), Alpha(0.5f));
    EXPECT_EQ(attributes.GetColorKeys(catPen), (TVelkGPColorKey{1, 2}));
    EXPECT_EQ(attributes.GetGammas(catPen), 2.2f);
    EXPECT_TRUE(attributes.GetGammasEnabled(catPen));
    EXPECT_EQ(attributes.GetThresholds(catPen), 0.5f);
    EXPECT_EQ(attributes.GetColorChannels(catPen), ccfK);
    EXPECT_EQ(attributes.GetColorProfiles(catPen), u"sRGB"_qs);
    EXPECT_EQ(attributes.GetRemapTable(catPen), (TVelkGPColorMaps{{1, 2}}));

    attributes.Reset(catPen);
    EXPECT_EQ(changes, int(std::size(setters)));
    EXPECT_TRUE(attributes.GetEnabled(catPen));
    EXPECT_EQ(attributes.GetThresholds(catPen), 1.0f);
    EXPECT_EQ(attributes.PlainOpacity(catPen), 1.0f);

    attributes.SetWrapMode(wmClamp);
    attributes.SetWrapModeClamp(false);
    attributes.SetWrapModeColor(0xFF000000);
    EXPECT_EQ(changes, int(std::size(setters)));
    attributes.SetWrapMode(wmTile);
    attributes.SetWrapModeColor(0);
    EXPECT_EQ(changes, int(std::size(setters)) + 2);
    attributes.Reset();
    EXPECT_EQ(attributes.WrapMode(), wmClamp);
    EXPECT_EQ(attributes.WrapModeColor(), 0xFF000000u);
}

TEST(TVelkGPImageAttributes, ApplyAdjustsPixelsInOrder)
{
    TVelkGPColorMatrix swapRedBlue{};
    swapRedBlue(0, 2) = swapRedBlue(2, 0) = swapRedBlue(1, 1) = swapRedBlue(3, 3) = 1;
    TVelkGPColorMatrix addGreen = TVelkGPColorMatrix::IdentityMatrix();
    addGreen(4, 1) = 0.5f;
    // Channels that come out as NaN (NaN, or infinity times zero) count as 0.
    TVelkGPColorMatrix notFinite = TVelkGPColorMatrix::IdentityMatrix();
    notFinite(0, 0) = std::numeric_limits<float>::quiet_NaN();
    notFinite(1, 1) = std::numeric_limits<float>::infinity();

    const struct {
        const char* Name;
        std::function<void(TVelkGPImageAttributes&)> Setup;
        QRgb In, Out;
    } cases[] = {
        {"nothing", [](auto&) {}, 0x80102030, 0x80102030},
        {"remap", [](auto& a) { a.SetRemapTable(catBitmap, {{0xFF00FF00, 0xFF0000FF}}); }, 0xFF00FF00, 0xFF0000FF},
        {"remap other", [](auto& a) { a.SetRemapTable(catBitmap, {{0xFF00FF00, 0xFF0000FF}}); }, 0xFF00FF01,
         0xFF00FF01},
        {"color key inside", [](auto& a) { a.SetColorKeys(catBitmap, {0xFF101010, 0xFF202020}); }, 0xFF151020, 0},
        {"color key outside", [](auto& a) { a.SetColorKeys(catBitmap, {0xFF101010, 0xFF202020}); }, 0xFF151021,
         0xFF151021},
        {"remap then key",
         [](auto& a) {
             a.SetRemapTable(catBitmap, {{0xFFFF0000, 0xFF0000FF}});
             a.SetColorKeys(catBitmap, {0xFF0000F0, 0xFF0000FF});
         },
         0xFFFF0000, 0},
        {"matrix", [&](auto& a) { a.SetColorAdjustments(catBitmap, swapRedBlue); }, 0xFFFF8000, 0xFF0080FF},
        {"matrix offset", [&](auto& a) { a.SetColorAdjustments(catBitmap, addGreen); }, 0xFF000000, 0xFF008000},
        {"matrix not finite", [&](auto& a) { a.SetColorAdjustments(catBitmap, notFinite); }, 0xFF804020,
         0xFF00FF20},
        {"alpha", [](auto& a) { a.SetColorAdjustments(catBitmap, Alpha(0.5f)); }, 0xFFFF0000, 0x80FF0000},
        {"gamma",
         [](auto& a) {
             a.SetGammas(catBitmap, 2);
             a.SetGammasEnabled(catBitmap, true);
         },
         0xFF808080, 0xFF404040},
        {"gamma off", [](auto& a) { a.SetGammas(catBitmap, 2); }, 0xFF808080, 0xFF808080},
        {"threshold", [](auto& a) { a.SetThresholds(catBitmap, 0.5f); }, 0xFFC8647F, 0xFFFF0000},
        {"matrix then threshold",
         [&](auto& a) {
             a.SetColorAdjustments(catBitmap, swapRedBlue);
             a.SetThresholds(catBitmap, 0.5f);
         },
         0xFFC80000, 0xFF0000FF},
        {"disabled",
         [](auto& a) {
             a.SetThresholds(catBitmap, 0.5f);
             a.SetEnabled(catBitmap, false);
         },
         0xFFC8647F, 0xFFC8647F},
        {"default category", [](auto& a) { a.SetThresholds(catDefault, 0.5f); }, 0xFFC8647F, 0xFFFF0000},
        {"own category first",
         [](auto& a) {
             a.SetThresholds(catDefault, 0.5f);
             a.SetColorAdjustments(catBitmap, Alpha(1));
         },
         0xFFC8647F, 0xFFC8647F},
        {"other category", [](auto& a) { a.SetThresholds(catPen, 0.5f); }, 0xFFC8647F, 0xFFC8647F},
    };
    for (const auto& c : cases) {
        TVelkGPImageAttributes attributes;
        c.Setup(attributes);
        EXPECT_EQ(Applied(attributes, c.In), c.Out) << c.Name;
    }
}

TEST(TVelkGPImageAttributes, PlainOpacityRecognisesTheAlphaScale)
{
    TVelkGPImageAttributes attributes;
    attributes.SetColorAdjustments(catBitmap, Alpha(0.5f));
    EXPECT_EQ(attributes.PlainOpacity(), 0.5f);
    EXPECT_EQ(attributes.PlainOpacity(catBrush), 1.0f);
    attributes.SetThresholds(catBitmap, 0.5f);
    EXPECT_EQ(attributes.PlainOpacity(), std::nullopt);

    TVelkGPColorMatrix tinted = Alpha(0.5f);
    tinted(0, 1) = 0.1f;
    attributes.Reset(catBitmap);
    attributes.SetColorAdjustments(catBitmap, tinted);
    EXPECT_EQ(attributes.PlainOpacity(), std::nullopt);
}

TEST(TVelkGPImageAttributes, CloneCopiesSettingsAndSwitches)
{
    TVelkGPImageAttributes attributes;
    attributes.SetThresholds(catBitmap, 0.5f);
    attributes.SetWrapMode(wmTileFlipX);
    const auto clone = attributes.CloneAs<TVelkGPImageAttributes>();
    EXPECT_EQ(clone->WrapMode(), wmTileFlipX);
    EXPECT_EQ(Applied(*clone, 0xFFC8647F), 0xFFFF0000u);
}

} // namespace
