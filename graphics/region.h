#pragma once
// TVelkGPRegion: an area of the device for clipping and hit tests. It holds a
// TVelkGPRegionArea (a device-space path plus an "infinite" flag) and offers the classic
// region operations on it: combining with rectangles, paths and regions in the six
// combine modes, moving, transforming, bounds, hit tests, scans and a byte form.
//
// A region needs an owner canvas: every constructor raises EGDIPException
// "TVelkGPRegion has no owner" without one. Every modifying operation raises OnChange.
// All operations go through Area() and SetArea(), so a region bound to something else's
// area (the canvas clip) only replaces those two.

#include "graphics/graphics_object.h"
#include "graphics/region_area.h"

#include <QByteArray>
#include <QList>
#include <QRegion>

namespace velk {

class TVelkGPPath;

class TVelkGPRegion : public TVelkGPGraphicsObject {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // The infinite region.
    explicit TVelkGPRegion(TVelkGPCanvas* AOwner);
    TVelkGPRegion(TVelkGPCanvas* AOwner, const TRect& aRect);
    TVelkGPRegion(TVelkGPCanvas* AOwner, const TRectF& aRect);
    // The area aPath fills, with its fill mode.
    TVelkGPRegion(TVelkGPCanvas* AOwner, const TVelkGPPath& aPath);
    // A copy of aRegion, or with none the owner's current clip (in world coordinates).
    TVelkGPRegion(TVelkGPCanvas* AOwner, const TVelkGPRegion* aRegion);
    // The pixels of a Qt region (the stand-in for a window-system region handle).
    TVelkGPRegion(TVelkGPCanvas* AOwner, const QRegion& aRegion);
    // Reads GetData's bytes; raises EGDIPException (invalid parameter) for other bytes.
    TVelkGPRegion(TVelkGPCanvas* AOwner, const QByteArray& Data);

    // The area itself (device coordinates).
    virtual const TVelkGPRegionArea& Area() const { return FArea; }

    // Bounds reads GetBounds; SetBounds replaces the area with the rectangle.
    TRectF Bounds() const { return GetBounds(); }
    void SetBounds(const TRectF& Value);

    using TVelkGPGraphicsObject::Assign;
    void Assign(const TPersistent* Source) override;
    void Assign(const QRegion& Value);
    // Makes the region empty or infinite.
    virtual void Clear();
    virtual void MakeInfinite();
    void Combine(const TRect& aRect, TVelkGPRegionCombineMode Mode);
    void Combine(const TRectF& aRect, TVelkGPRegionCombineMode Mode);
    void Combine(const TVelkGPPath& aPath, TVelkGPRegionCombineMode Mode);
    void Combine(const TVelkGPRegion& aRegion, TVelkGPRegionCombineMode Mode);
    void Translate(std::int32_t DX, std::int32_t DY);
    void Translate(float DX, float DY);
    void ApplyMatrix(const TMatrix& M);

    // Left, Top, Right, Bottom of the area (see TVelkGPRegionArea::Bounds).
    TRectF GetBounds() const;
    bool IsEmpty() const;
    virtual bool IsInfinite() const;
    bool IsVisible(const TPoint& P) const;
    bool IsVisible(const TPointF& P) const;
    bool IsVisible(const TRect& R) const;
    bool IsVisible(const TRectF& R) const;
    // The pixels of the region as a Qt region (the infinite region: the stand-in square).
    // This, GetRegionScans and Equals raise EGDIPException "Out Of Memory in GDI+ layer"
    // for regions too complex to scan (see TVelkGPRegionArea::Scans).
    QRegion GetHRGN() const;
    QByteArray GetData() const;
    // The pixel rectangles of the region seen through the owner's world matrix.
    QList<TRectF> GetRegionScans() const;
    // Both regions cover the same pixels.
    bool Equals(const TVelkGPRegion& aRegion) const;

protected:
    std::unique_ptr<TVelkGPGraphicsObject> CreateSame(TVelkGPCanvas* AOwner) const override;
    // Replaces the area and raises the change event.
    virtual void SetArea(const TVelkGPRegionArea& Value);

private:
    void CombineArea(const TVelkGPRegionArea& Other, TVelkGPRegionCombineMode Mode);

    TVelkGPRegionArea FArea;
};

} // namespace velk
