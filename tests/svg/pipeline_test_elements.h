#pragma once
// Small elements for the drawing and hit-testing tests: a rectangle that counts how
// often it rebuilds its geometry or is measured and shows the canvas BeginDraw prepared, and a
// stand-in clip-path element.

#include "graphics/canvas.h"
#include "svg/document.h"
#include "svg/graphic_element.h"

#include <QImage>
#include <QSize>
#include <QStringView>

#include <functional>
#include <memory>

namespace velk::testing {

// The rectangle of its x, y, width and height.
class TTestShape : public TSVGGraphicElement {
public:
    using TSVGGraphicElement::TSVGGraphicElement;

    TSVGElementType SVGType() const override { return etRectangle; }

    TVelkGPPath& GetShape() override
    {
        if (ShapeCacheChanged()) {
            ShapePath().Clear();
            ShapePath().AddRectangle(GetBoundsRect());
            ++Rebuilds;
        }
        return TSVGGraphicElement::GetShape();
    }

    TRectF GetBoundsRect() const override
    {
        ++BoundsQueries;
        return TSVGGraphicElement::GetBoundsRect();
    }
    using TSVGGraphicElement::GetBoundsRect;

    int Rebuilds = 0;
    mutable int BoundsQueries = 0;
    // Called when BeginDraw has prepared the canvas, also without an owner document.
    std::function<void(TVelkGPCanvas& Canvas)> WhileDrawing;

protected:
    void DoDrawing(const TMatrix& M, TVelkGPCanvas& Canvas, const TRectF& aRect) override
    {
        if (WhileDrawing)
            WhileDrawing(Canvas);
        TSVGGraphicElement::DoDrawing(M, Canvas, aRect);
    }
};

// Answers etClipPath, as the clip-path element will: its visible children make the clip.
class TTestClipPath : public TSVGGraphicElement {
public:
    using TSVGGraphicElement::TSVGGraphicElement;
    TSVGElementType SVGType() const override { return etClipPath; }
};

// A shape at (X, Y, X + Width, Y + Height) added to Parent, styled with Style (CSS
// declarations such as "fill:red; stroke:none").
inline TTestShape* AddShape(TSVGElement& Parent, TSVGDocument* Owner, float X, float Y, float Width, float Height,
                            QStringView Style = {})
{
    TTestShape* shape = Parent.Add(std::make_unique<TTestShape>(Owner));
    shape->SetX(X);
    shape->SetY(Y);
    shape->SetWidth(Width);
    shape->SetHeight(Height);
    shape->Style().SetStyle(Style);
    shape->ApplyStyles();
    return shape;
}

// Element drawn with aMatrix into a transparent image of Size (the target rectangle is
// the whole image).
inline QImage DrawElement(TSVGGraphicElement& Element, QSize Size, const TMatrix& aMatrix = IdentityMatrix)
{
    QImage image(Size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        TVelkGPCanvas canvas(image);
        Element.Draw(aMatrix, canvas, TRectF{0, 0, float(Size.width()), float(Size.height())});
    }
    return image;
}

// True when no pixel of Image has any alpha.
inline bool IsBlank(const QImage& Image)
{
    for (int y = 0; y < Image.height(); ++y)
        for (int x = 0; x < Image.width(); ++x)
            if (qAlpha(Image.pixel(x, y)) != 0)
                return false;
    return true;
}

} // namespace velk::testing
