#pragma once
// TVelkGPCanvas: the drawing surface of the library.
//
// This file holds the canvas's state: the objects created with it as owner, its current
// pen, brush, font and string format, the world matrix, its resolution and its clip (an
// area in device space, so that clip and hit tests work without a painter). Without a
// target the canvas is a measuring canvas: hit tests and text measuring, for example
// from mouse events, where no painter can be open.

#include "graphics/geometry.h"
#include "graphics/graphics_object.h"
#include "graphics/region_area.h"
#include "platform/persistent.h"

#include <memory>
#include <vector>

namespace velk {

class TVelkGPPen;
class TVelkGPBrush;
class TVelkGPFont;
class TVelkGPStringFormat;

class TVelkGPCanvas : public TPersistent {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // A measuring canvas at 96 dots per inch.
    TVelkGPCanvas();
    // Releases the objects still registered (they live on without owner).
    ~TVelkGPCanvas() override;
    TVelkGPCanvas(const TVelkGPCanvas&) = delete;
    TVelkGPCanvas& operator=(const TVelkGPCanvas&) = delete;

    // Called by graphics objects created with this canvas as owner.
    void ObjectNotification(TVelkGPGraphicsObject* AObject, TOperation Operation);
    // The objects registered now, in registration order.
    const std::vector<TVelkGPGraphicsObject*>& GPObjects() const { return FGPObjects; }

    // The current drawing objects (owned by the canvas; the setters copy).
    TVelkGPPen& Pen() const { return *FPen; }
    TVelkGPPen& Stroke() const { return *FPen; }
    void SetPen(const TVelkGPPen& Value);
    TVelkGPBrush& Brush() const { return *FBrush; }
    TVelkGPBrush& Fill() const { return *FBrush; }
    void SetBrush(const TVelkGPBrush& Value);
    TVelkGPFont& Font() const { return *FFont; }
    void SetFont(const TVelkGPFont& Value);
    TVelkGPStringFormat& StringFormat() const { return *FStringFormat; }
    void SetStringFormat(const TVelkGPStringFormat& Value);

    // The world matrix; setting it replaces the transform (it is never composed).
    const TMatrix& Matrix() const { return FMatrix; }
    void SetMatrix(const TMatrix& Value);

    float PixelsPerInchX() const { return FDpiX; }
    float PixelsPerInchY() const { return FDpiY; }

    // The clip in device coordinates; infinite means no clipping.
    const TVelkGPRegionArea& ClipArea() const { return FClip; }
    void SetClipArea(const TVelkGPRegionArea& Value);

private:
    std::vector<TVelkGPGraphicsObject*> FGPObjects;
    std::unique_ptr<TVelkGPPen> FPen;
    std::unique_ptr<TVelkGPFont> FFont;
    std::unique_ptr<TVelkGPBrush> FBrush;
    std::unique_ptr<TVelkGPStringFormat> FStringFormat;
    TMatrix FMatrix = IdentityMatrix;
    float FDpiX = 96;
    float FDpiY = 96;
    TVelkGPRegionArea FClip;
};

} // namespace velk
