// The canvas's cost over QPainter: 100 000 small anti-aliased paths (triangles and
// circles) filled and stroked on a 1024 x 1024 image, a quarter of them at opacity 0.5,
// once through the canvas (FillPath and DrawPath) and once straight through QPainter with
// the same paths, pens and brushes. Prints both times (the best of five runs each) and
// the ratio canvas / QPainter. Figures are in docs/backend.md.

#include "graphics/backend_path.h"
#include "graphics/brush.h"
#include "graphics/canvas.h"
#include "graphics/pen.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

using namespace velk;

namespace {

constexpr int PathCount = 100'000;
constexpr int ImageSide = 1024;
constexpr int Runs = 5;
constexpr TVelkGPColor FillColor = 0xFF3070C0;
constexpr TVelkGPColor StrokeColor = 0xFF202020;
constexpr float StrokeWidth = 1.5f;

struct TShape {
    std::unique_ptr<TVelkGPPath> Path;
    float Opacity;
};

std::vector<TShape> MakeShapes()
{
    std::mt19937 random(20240611);
    std::uniform_real_distribution<float> position(10, ImageSide - 10);
    std::uniform_real_distribution<float> offset(-10, 10);
    std::uniform_real_distribution<float> radius(2, 10);
    std::vector<TShape> shapes;
    shapes.reserve(PathCount);
    for (int i = 0; i < PathCount; ++i) {
        auto path = std::make_unique<TVelkGPPath>();
        const float x = position(random);
        const float y = position(random);
        if (i % 2 == 0) {
            path->AddPolygon({{x, y}, {x + 4 + std::abs(offset(random)), y + offset(random)},
                              {x + offset(random), y + 4 + std::abs(offset(random))}});
        } else {
            const float r = radius(random);
            path->AddEllipse({x - r, y - r, x + r, y + r});
        }
        path->Handle(); // both sides draw a ready QPainterPath
        shapes.push_back({std::move(path), i % 4 == 3 ? 0.5f : 1.0f});
    }
    return shapes;
}

QImage Blank()
{
    QImage image(ImageSide, ImageSide, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    return image;
}

double Seconds(std::chrono::steady_clock::duration D)
{
    return std::chrono::duration<double>(D).count();
}

double ThroughCanvas(const std::vector<TShape>& Shapes)
{
    QImage image = Blank();
    TVelkGPCanvas canvas(image);
    canvas.SetSmoothingMode(2);
    canvas.Fill().SetColor(FillColor);
    canvas.Stroke().SetColor(StrokeColor);
    canvas.Stroke().SetThickness(StrokeWidth);
    canvas.Handle();
    const auto start = std::chrono::steady_clock::now();
    for (const TShape& shape : Shapes) {
        canvas.FillPath(*shape.Path, shape.Opacity);
        canvas.DrawPath(*shape.Path, shape.Opacity);
    }
    return Seconds(std::chrono::steady_clock::now() - start);
}

QColor WithOpacity(TVelkGPColor Color, float Opacity)
{
    QColor color = QColor::fromRgba(Color);
    color.setAlpha(static_cast<int>(color.alpha() * Opacity));
    return color;
}

double ThroughQPainter(const std::vector<TShape>& Shapes)
{
    QImage image = Blank();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QBrush brushes[] = {QBrush(WithOpacity(FillColor, 1)), QBrush(WithOpacity(FillColor, 0.5f))};
    QPen pens[] = {QPen(WithOpacity(StrokeColor, 1), StrokeWidth), QPen(WithOpacity(StrokeColor, 0.5f), StrokeWidth)};
    for (QPen& pen : pens) {
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::SvgMiterJoin);
        pen.setMiterLimit(10);
    }
    const auto start = std::chrono::steady_clock::now();
    for (const TShape& shape : Shapes) {
        const int half = shape.Opacity < 1 ? 1 : 0;
        painter.fillPath(shape.Path->Handle(), brushes[half]);
        painter.strokePath(shape.Path->Handle(), pens[half]);
    }
    return Seconds(std::chrono::steady_clock::now() - start);
}

} // namespace

int main()
{
    const std::vector<TShape> shapes = MakeShapes();
    double canvas = 1e9;
    double painter = 1e9;
    for (int run = 0; run < Runs; ++run) {
        canvas = std::min(canvas, ThroughCanvas(shapes));
        painter = std::min(painter, ThroughQPainter(shapes));
    }
    std::printf("%d paths filled and stroked (a quarter at opacity 0.5), best of %d runs\n", PathCount, Runs);
    std::printf("canvas:   %.3f s\n", canvas);
    std::printf("QPainter: %.3f s\n", painter);
    std::printf("ratio canvas / QPainter: %.2f\n", canvas / painter);
    return 0;
}
