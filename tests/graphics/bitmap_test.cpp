#include "graphics/bitmap.h"
#include "graphics/bitmap_size.h"
#include "graphics/canvas.h"
#include "graphics/gp_exception.h"
#include "graphics/pen.h"
#include "tests/graphics/gp_status_test_support.h"
#include "tests/support/gui_application.h"
#include "tests/support/test_support.h"

#include <QIcon>
#include <QPixmap>
#include <QResource>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

using namespace velk;
using velk::testing::StatusOf;

namespace {

TEST(CheckedBitmapSize, AcceptsSensibleSizesOnly)
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    const struct {
        double Width, Height;
        QSize Size;
        TVelkGPStatus Status;
    } cases[] = {
        {10, 20, {10, 20}, gpsOk},
        {0.5, 1.2, {1, 2}, gpsOk}, // fractions round up
        {MaxBitmapSide, MaxBitmapSide / 2, {MaxBitmapSide, MaxBitmapSide / 2}, gpsOk},
        {1, MaxBitmapSide, {1, MaxBitmapSide}, gpsOk},
        {0, 5, {}, gpsInvalidParameter},
        {5, -1, {}, gpsInvalidParameter},
        {std::nan(""), 5, {}, gpsInvalidParameter},
        {5, inf, {}, gpsInvalidParameter},
        {-inf, 5, {}, gpsInvalidParameter},
        {MaxBitmapSide + 1, 1, {}, gpsOutOfMemory},
        {1, MaxBitmapSide + 0.5, {}, gpsOutOfMemory},
        {MaxBitmapSide, MaxBitmapSide, {}, gpsOutOfMemory}, // beyond the pixel budget
        {1e300, 1e300, {}, gpsOutOfMemory},
    };
    for (const auto& c : cases) {
        QSize size;
        EXPECT_EQ(StatusOf([&] { size = CheckedBitmapSize(c.Width, c.Height); }), c.Status)
            << c.Width << " x " << c.Height;
        EXPECT_EQ(size, c.Size) << c.Width << " x " << c.Height;
    }
}

TEST(TVelkGPBitmap, NewBitmapIsOneTransparentArgbPixel)
{
    TVelkGPBitmap bitmap;
    EXPECT_EQ(bitmap.Width(), 1u);
    EXPECT_EQ(bitmap.Height(), 1u);
    EXPECT_EQ(bitmap.PixelFormatCode(), PixelFormat32bppARGB);
    EXPECT_EQ(bitmap.PixelFormat(), pf32bppARGB);
    EXPECT_EQ(bitmap.BitsPerPixel(), 32);
    EXPECT_EQ(bitmap.PixelFormatFlags(), (TVelkGPPixelFormatFlags{pffGDI, pffAlpha, pffCanonical}));
    EXPECT_EQ(bitmap.Flags(), TVelkGPImageFlags{ifHasAlpha});
    EXPECT_EQ(bitmap.RawFormat(), ImageFormat::MemoryBMP);
    EXPECT_EQ(bitmap.HorizontalResolution(), 96);
    EXPECT_EQ(bitmap.VerticalResolution(), 96);
    EXPECT_EQ(bitmap.Pixels(0, 0), 0u);
}

TEST(TVelkGPBitmap, SetSizeMapsZeroToOneAndChecksTheRest)
{
    const struct {
        std::uint32_t Width, Height, ExpectedWidth, ExpectedHeight;
    } cases[] = {{0, 200, 1, 1}, {200, 0, 1, 1}, {0, 0, 1, 1}, {7, 5, 7, 5}};
    for (const auto& c : cases) {
        TVelkGPBitmap bitmap;
        bitmap.SetSize(c.Width, c.Height);
        EXPECT_EQ(bitmap.Width(), c.ExpectedWidth);
        EXPECT_EQ(bitmap.Height(), c.ExpectedHeight);
    }
    TVelkGPBitmap bitmap;
    EXPECT_EQ(StatusOf([&] { bitmap.SetSize(MaxBitmapSide + 1, 1); }), gpsOutOfMemory);
    EXPECT_EQ(bitmap.Handle(), nullptr);
    EXPECT_EQ(StatusOf([&] { TVelkGPBitmap(0xFFFFFFFFu, 0xFFFFFFFFu); }), gpsOutOfMemory);
}

TEST(TVelkGPBitmap, WidthWriterRecreatesOnlyOnChange)
{
    velk::testing::EnsureGuiApplication();
    TVelkGPBitmap bitmap(4, 3);
    bitmap.SetPixels(1, 1, 0xFF123456);
    TVelkGPPen pen(&bitmap.Canvas());
    bitmap.SetWidth(4);
    bitmap.SetHeight(3);
    EXPECT_EQ(bitmap.Pixels(1, 1), 0xFF123456);
    EXPECT_EQ(pen.Owner(), &bitmap.Canvas());

    bitmap.SetWidth(6);
    EXPECT_EQ(pen.Owner(), nullptr);
    EXPECT_EQ(bitmap.Width(), 6u);
    EXPECT_EQ(bitmap.Height(), 3u);
    EXPECT_EQ(bitmap.Pixels(1, 1), 0u);
    bitmap.SetHeight(2);
    EXPECT_EQ(bitmap.Width(), 6u);
    EXPECT_EQ(bitmap.Height(), 2u);
}

TEST(TVelkGPBitmap, ResolutionsAreIndependent)
{
    TVelkGPBitmap bitmap;
    bitmap.SetHorizontalResolution(300);
    EXPECT_EQ(bitmap.HorizontalResolution(), 300);
    EXPECT_EQ(bitmap.VerticalResolution(), 96);
    bitmap.SetVerticalResolution(72);
    EXPECT_EQ(bitmap.HorizontalResolution(), 300);
    EXPECT_EQ(bitmap.VerticalResolution(), 72);
    bitmap.SetDPIResolution(150, 200);
    EXPECT_EQ(bitmap.HorizontalResolution(), 150);
    EXPECT_EQ(bitmap.VerticalResolution(), 200);
    EXPECT_EQ(bitmap.Handle()->dotsPerMeterX(), 5906); // written with the pixels
    for (const float bad : {0.0f, -1.0f, std::nanf(""), std::numeric_limits<float>::infinity()})
        EXPECT_EQ(StatusOf([&] { bitmap.SetHorizontalResolution(bad); }), gpsInvalidParameter);
    EXPECT_EQ(bitmap.HorizontalResolution(), 150);
}

TEST(TVelkGPBitmap, PixelsAreNonPremultipliedArgb)
{
    TVelkGPBitmap bitmap(3, 2);
    bitmap.SetPixels(2, 1, 0x80FF0000);
    EXPECT_EQ(bitmap.Pixels(2, 1), 0x80FF0000);
    EXPECT_EQ(bitmap.Handle()->pixel(2, 1), 0x80800000u); // kept premultiplied
    const std::array<QPoint, 4> outside{QPoint(-1, 0), QPoint(3, 0), QPoint(0, 2), QPoint(0, -1)};
    for (const QPoint& p : outside) {
        EXPECT_EQ(StatusOf([&] { bitmap.Pixels(p.x(), p.y()); }), gpsInvalidParameter);
        EXPECT_EQ(StatusOf([&] { bitmap.SetPixels(p.x(), p.y(), 0); }), gpsInvalidParameter);
    }
}

TEST(TVelkGPBitmap, LockBitsReadsAndWritesInBothFormats)
{
    TVelkGPBitmap bitmap(4, 3);
    bitmap.SetPixels(1, 1, 0x80FF0000);
    TVelkGPBitmapData data;
    bitmap.LockBits({1, 1, 3.9f, 3}, {ilfRead}, PixelFormat32bppARGB, data);
    EXPECT_EQ(data.Width, 2u); // Trunc(3.9 - 1)
    EXPECT_EQ(data.Height, 2u);
    EXPECT_GE(data.Stride, 8);
    EXPECT_EQ(static_cast<const QRgb*>(data.Scan0)[0], 0x80FF0000u);
    bitmap.UnlockBits(data);
    EXPECT_EQ(data.Scan0, nullptr);

    bitmap.LockBits({0, 0, 4, 3}, {ilfRead}, PixelFormat32bppPARGB, data);
    EXPECT_EQ(reinterpret_cast<const QRgb*>(static_cast<const char*>(data.Scan0) + data.Stride)[1], 0x80800000u);
    bitmap.UnlockBits(data);

    bitmap.LockBits({2, 0, 4, 1}, {ilfWrite}, PixelFormat32bppARGB, data);
    static_cast<QRgb*>(data.Scan0)[1] = 0x4000FF00;
    bitmap.UnlockBits(data);
    EXPECT_EQ(bitmap.Pixels(3, 0), 0x4000FF00u);
    EXPECT_EQ(bitmap.Pixels(1, 1), 0x80FF0000u);

    // The caller's buffer.
    std::array<QRgb, 6> buffer{};
    data.Scan0 = buffer.data();
    data.Stride = 3 * 4;
    bitmap.LockBits({1, 0, 4, 2}, {ilfRead, ilfWrite, ilfUserInputBuf}, PixelFormat32bppARGB, data);
    EXPECT_EQ(data.Scan0, buffer.data());
    EXPECT_EQ(buffer[3], 0x80FF0000u);
    buffer[0] = 0xFF0000FF;
    bitmap.UnlockBits(data);
    EXPECT_EQ(bitmap.Pixels(1, 0), 0xFF0000FFu);
}

TEST(TVelkGPBitmap, LockBitsRefusesWhatItCannotHandOut)
{
    TVelkGPBitmap bitmap(4, 3);
    TVelkGPBitmapData data;
    const struct {
        TRectF Rect;
        TVelkGPImageLockFlags Flags;
        TVelkGPPixelFormatRec Format;
        TVelkGPStatus Status;
    } cases[] = {
        {{0, 0, 4, 3}, {ilfRead}, {0x00021808}, gpsInvalidParameter}, // 24 bits
        {{0, 0, 4, 3}, {}, PixelFormat32bppARGB, gpsInvalidParameter},
        {{0, 0, 5, 3}, {ilfRead}, PixelFormat32bppARGB, gpsInvalidParameter},
        {{-1, 0, 2, 3}, {ilfRead}, PixelFormat32bppARGB, gpsInvalidParameter},
        {{1, 1, 1, 2}, {ilfRead}, PixelFormat32bppARGB, gpsInvalidParameter}, // no width
        {{0, 0, std::nanf(""), 2}, {ilfRead}, PixelFormat32bppARGB, gpsInvalidParameter},
        {{2e9f, 0, 4e9f, 3}, {ilfRead}, PixelFormat32bppARGB, gpsInvalidParameter}, // right beyond int
        {{0, 0, 4, 3}, {ilfRead, ilfUserInputBuf}, PixelFormat32bppARGB, gpsInvalidParameter}, // no buffer
    };
    for (const auto& c : cases) {
        data = {};
        EXPECT_EQ(StatusOf([&] { bitmap.LockBits(c.Rect, c.Flags, c.Format, data); }), c.Status);
    }

    bitmap.LockBits({0, 0, 4, 3}, {ilfRead}, PixelFormat32bppARGB, data);
    TVelkGPBitmapData second;
    EXPECT_EQ(StatusOf([&] { bitmap.LockBits({0, 0, 1, 1}, {ilfRead}, PixelFormat32bppARGB, second); }),
              gpsWrongState);
    EXPECT_EQ(StatusOf([&] { bitmap.UnlockBits(second); }), gpsInvalidParameter);
    bitmap.UnlockBits(data);
    EXPECT_EQ(StatusOf([&] { bitmap.UnlockBits(data); }), gpsInvalidParameter);
}

TEST(TVelkGPBitmap, SaveToBitmapCompositesOverTheBackground)
{
    TVelkGPBitmap bitmap(2, 1);
    bitmap.SetPixels(0, 0, 0x80FF0000);
    const QImage kept = bitmap.SaveToBitmap();
    EXPECT_EQ(kept.pixel(0, 0), 0x80800000u);
    EXPECT_EQ(kept.pixel(1, 0), 0u);
    const QImage onWhite = bitmap.SaveToBitmap(0xFFFFFFFF);
    EXPECT_EQ(onWhite.pixel(0, 0), 0xFFFF7F7Fu);
    EXPECT_EQ(onWhite.pixel(1, 0), 0xFFFFFFFFu);
}

TEST(TVelkGPBitmap, IconsAndQtBitmapsRoundTrip)
{
    velk::testing::EnsureGuiApplication();
    QIcon icon;
    QPixmap small(16, 16);
    small.fill(Qt::red);
    QPixmap large(32, 24);
    large.fill(Qt::blue);
    icon.addPixmap(small);
    icon.addPixmap(large);

    TVelkGPBitmap bitmap;
    bitmap.LoadFromIcon(icon);
    EXPECT_EQ(bitmap.Width(), 32u); // the largest size
    EXPECT_EQ(bitmap.Height(), 24u);
    EXPECT_EQ(bitmap.Pixels(5, 5), 0xFF0000FFu);

    const QIcon saved = bitmap.SaveToIcon();
    EXPECT_EQ(saved.availableSizes(), QList<QSize>{QSize(32, 24)});

    EXPECT_EQ(StatusOf([&] { bitmap.LoadFromIcon(QIcon()); }), gpsInvalidParameter);
    EXPECT_EQ(bitmap.Handle(), nullptr);

    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(Qt::green);
    bitmap.LoadFromBitmap(image);
    EXPECT_EQ(bitmap.Pixels(1, 1), 0xFF00FF00u);
    EXPECT_EQ(bitmap.PixelFormat(), pf32bppARGB);
}

TEST(TVelkGPBitmap, LoadsQtResources)
{
    const QString resources = QStringLiteral(VELK_TEST_DATA_DIR "/graphics/image_resource.rcc");
    ASSERT_TRUE(QResource::registerResource(resources));
    for (const QString& name : {u":/velk_tests/images/dot.png"_qs, u"velk_tests/images/dot.png"_qs}) {
        TVelkGPBitmap bitmap;
        bitmap.LoadFromResourceName(name);
        EXPECT_EQ(bitmap.Width(), 3u);
        EXPECT_EQ(bitmap.Pixels(0, 0), 0xFFFF0000u);
        EXPECT_EQ(bitmap.RawFormat(), ImageFormat::PNG);
    }
    TVelkGPBitmap bitmap;
    EXPECT_EQ(StatusOf([&] { bitmap.LoadFromResourceName(u"velk_tests/none.png"_qs); }), gpsFileNotFound);
    QResource::unregisterResource(resources);
}

} // namespace
