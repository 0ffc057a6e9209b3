#include "conformance_compare.h"

#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace velk::conformance {

namespace {

int ChannelDifference(QRgb A, QRgb B)
{
    return std::max({std::abs(qRed(A) - qRed(B)), std::abs(qGreen(A) - qGreen(B)), std::abs(qBlue(A) - qBlue(B))});
}

// Marks the pixels of From that differ by more than Rule1Threshold from every pixel of
// the 3×3 neighbourhood at the same position in To; returns how many.
qsizetype MarkUnmatched(const QImage& From, const QImage& To, std::vector<bool>& Marks)
{
    const int width = From.width();
    const int height = From.height();
    qsizetype count = 0;
    for (int y = 0; y < height; ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(From.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            bool matched = false;
            for (int ny = std::max(0, y - 1); ny <= std::min(height - 1, y + 1) && !matched; ++ny) {
                const auto* to = reinterpret_cast<const QRgb*>(To.constScanLine(ny));
                for (int nx = std::max(0, x - 1); nx <= std::min(width - 1, x + 1); ++nx)
                    if (ChannelDifference(from[x], to[nx]) <= Rule1Threshold) {
                        matched = true;
                        break;
                    }
            }
            if (!matched) {
                Marks[std::size_t(y) * std::size_t(width) + std::size_t(x)] = true;
                ++count;
            }
        }
    }
    return count;
}

// The per-pixel verdicts both the comparison and the diff image are made of.
struct TPixelMarks {
    std::vector<bool> Rule1; // unmatched in either direction
    std::vector<bool> Rule2;
    qsizetype Rule1Worse = 0;
    qsizetype Rule2Count = 0;
};

TPixelMarks MarkPixels(const QImage& Reference, const QImage& Actual)
{
    const std::size_t pixels = std::size_t(Reference.width()) * std::size_t(Reference.height());
    TPixelMarks marks;
    marks.Rule1.assign(pixels, false);
    marks.Rule2.assign(pixels, false);
    const qsizetype forward = MarkUnmatched(Reference, Actual, marks.Rule1);
    const qsizetype backward = MarkUnmatched(Actual, Reference, marks.Rule1);
    marks.Rule1Worse = std::max(forward, backward);
    for (int y = 0; y < Reference.height(); ++y) {
        const auto* r = reinterpret_cast<const QRgb*>(Reference.constScanLine(y));
        const auto* a = reinterpret_cast<const QRgb*>(Actual.constScanLine(y));
        for (int x = 0; x < Reference.width(); ++x)
            if (ChannelDifference(r[x], a[x]) > Rule2Threshold) {
                marks.Rule2[std::size_t(y) * std::size_t(Reference.width()) + std::size_t(x)] = true;
                ++marks.Rule2Count;
            }
    }
    return marks;
}

} // namespace

bool TConformanceComparison::Passed() const
{
    return SameSize && Rule1Percent <= Rule1MaxPercent && Rule2Percent <= Rule2MaxPercent;
}

QImage CompositeOverWhite(const QImage& Image)
{
    // Premultiplied, "over white" is c + (255 - alpha) per channel.
    const QImage premultiplied = Image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage result(premultiplied.size(), QImage::Format_RGB32);
    for (int y = 0; y < premultiplied.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(premultiplied.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < premultiplied.width(); ++x) {
            const int white = 255 - qAlpha(in[x]);
            out[x] = qRgb(qRed(in[x]) + white, qGreen(in[x]) + white, qBlue(in[x]) + white);
        }
    }
    return result;
}

TConformanceComparison CompareConformance(const QImage& Reference, const QImage& Actual)
{
    TConformanceComparison comparison;
    if (Reference.size() != Actual.size() || Reference.isNull())
        return comparison;
    const QImage reference = CompositeOverWhite(Reference);
    const QImage actual = CompositeOverWhite(Actual);
    const TPixelMarks marks = MarkPixels(reference, actual);
    const double pixels = double(reference.width()) * double(reference.height());
    comparison.SameSize = true;
    comparison.Rule1Percent = 100.0 * double(marks.Rule1Worse) / pixels;
    comparison.Rule2Percent = 100.0 * double(marks.Rule2Count) / pixels;
    return comparison;
}

QImage ConformanceDiffImage(const QImage& Reference, const QImage& Actual)
{
    const QImage reference = CompositeOverWhite(Reference);
    const QImage actual = CompositeOverWhite(Actual);
    const int panelWidth = std::max(reference.width(), actual.width());
    const int height = std::max(reference.height(), actual.height());
    constexpr int gap = 4;
    QImage result(panelWidth * 3 + gap * 2, height, QImage::Format_RGB32);
    result.fill(QColor(128, 128, 128));
    {
        QPainter painter(&result);
        painter.drawImage(0, 0, reference);
        painter.drawImage(panelWidth + gap, 0, actual);
    }
    if (reference.size() != actual.size() || reference.isNull())
        return result;

    const TPixelMarks marks = MarkPixels(reference, actual);
    const int left = 2 * (panelWidth + gap);
    for (int y = 0; y < reference.height(); ++y) {
        const auto* r = reinterpret_cast<const QRgb*>(reference.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(result.scanLine(y)) + left;
        for (int x = 0; x < reference.width(); ++x) {
            const std::size_t i = std::size_t(y) * std::size_t(reference.width()) + std::size_t(x);
            if (marks.Rule1[i])
                out[x] = qRgb(255, 0, 0);
            else if (marks.Rule2[i])
                out[x] = qRgb(255, 160, 0);
            else
                out[x] = qRgb(191 + qRed(r[x]) / 4, 191 + qGreen(r[x]) / 4, 191 + qBlue(r[x]) / 4);
        }
    }
    return result;
}

} // namespace velk::conformance
