#pragma once
// Compares a rendered image with a reviewed reference PNG under tests/data.
//
//   EXPECT_TRUE(CompareWithReference(image, "graphics/pen_dash.png", 2));
//
// Pixels are compared premultiplied (fully transparent pixels are equal whatever their
// colour), channel by channel: a pixel differs when one channel differs by more than
// Tolerance, and the comparison fails when more than MaxDifferent pixels differ. On a
// failure the actual image is written to velk_image_failures/ in the working directory
// (the build tree when run by CTest) and its path is printed.
//
// With VELK_UPDATE_REFERENCES=1 in the environment the image is written as the new
// reference instead; look at it before keeping it.

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QString>

#include <algorithm>
#include <cstdlib>

namespace velk::testing {

inline QString ReferencePath(const QString& Name)
{
    return QStringLiteral(VELK_TEST_DATA_DIR "/") + Name;
}

// Writes Image as PNG to Path, creating its folder.
inline bool WriteImage(const QImage& Image, const QString& Path)
{
    QDir().mkpath(QFileInfo(Path).absolutePath());
    return Image.save(Path, "PNG");
}

inline ::testing::AssertionResult CompareWithReference(const QImage& Image, const QString& Name,
                                                       int Tolerance = 0, int MaxDifferent = 0)
{
    const QString referencePath = ReferencePath(Name);
    if (qEnvironmentVariableIntValue("VELK_UPDATE_REFERENCES") == 1) {
        if (!WriteImage(Image, referencePath))
            return ::testing::AssertionFailure() << "cannot write reference " << referencePath.toStdString();
        return ::testing::AssertionSuccess() << "reference written: " << referencePath.toStdString();
    }

    const auto failure = [&]() {
        QString failed = QDir::current().absoluteFilePath(QStringLiteral("velk_image_failures/") + Name);
        auto result = ::testing::AssertionFailure();
        if (WriteImage(Image, failed))
            result << "\n  actual image written to " << failed.toStdString();
        result << "\n  reference " << referencePath.toStdString() << "\n  ";
        return result;
    };

    const QImage loaded(referencePath);
    if (loaded.isNull())
        return failure() << "reference missing or unreadable (set VELK_UPDATE_REFERENCES=1 to write it)";
    const QImage expected = loaded.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage actual = Image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (expected.size() != actual.size())
        return failure() << "size " << actual.width() << "x" << actual.height() << ", expected "
                         << expected.width() << "x" << expected.height();

    int different = 0;
    int worst = 0;
    int firstX = -1;
    int firstY = -1;
    for (int y = 0; y < actual.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(actual.constScanLine(y));
        const auto* e = reinterpret_cast<const QRgb*>(expected.constScanLine(y));
        for (int x = 0; x < actual.width(); ++x) {
            const int delta = std::max({std::abs(qAlpha(a[x]) - qAlpha(e[x])), std::abs(qRed(a[x]) - qRed(e[x])),
                                        std::abs(qGreen(a[x]) - qGreen(e[x])), std::abs(qBlue(a[x]) - qBlue(e[x]))});
            if (delta <= Tolerance)
                continue;
            if (different++ == 0) {
                firstX = x;
                firstY = y;
            }
            worst = std::max(worst, delta);
        }
    }
    if (different > MaxDifferent)
        return failure() << different << " pixels differ by more than " << Tolerance << " (allowed " << MaxDifferent
                         << "), worst channel difference " << worst << ", first at (" << firstX << ", " << firstY
                         << "): actual #" << std::hex << actual.pixel(firstX, firstY) << ", expected #"
                         << expected.pixel(firstX, firstY);
    return ::testing::AssertionSuccess();
}

} // namespace velk::testing
