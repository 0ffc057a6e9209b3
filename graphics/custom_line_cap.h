#pragma once
// TVelkGPCustomLineCap: a shape drawn at the end of a line instead of a plain cap.
//
// The shape is a backend path in cap space: the line's end at the origin, +y pointing
// away from the line, x across it, one unit = one pen width × WidthScale. It is rotated
// to the line's direction at the end and either filled (UsePathAsFill) or stroked with
// the pen's width, Join and the two stroke caps. BaseCap caps the line under the shape;
// BaseInset stops the line that far short of its end (in the same units).

#include "graphics/gp_types.h"
#include "graphics/graphics_object.h"
#include "graphics/stroker.h"

#include <QString>

#include <memory>

namespace velk {

class TVelkGPPath;

class TVelkGPCustomLineCap : public TVelkGPGraphicsObject {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    explicit TVelkGPCustomLineCap(TVelkGPCanvas* AOwner = nullptr);
    ~TVelkGPCustomLineCap() override;

    // Created on first read (with the cap's owner) and loaded from PathData. A change of
    // the path is a change of the cap.
    TVelkGPPath& Path();
    bool HasPath() const { return FPath != nullptr; }
    // The path's text when the path exists, otherwise the stored text. Writing stores
    // the text and loads it into the path when it exists.
    QString PathData() const;
    void SetPathData(const QString& Value);

    TVelkGPLineCap BaseCap() const { return FBaseCap; }
    void SetBaseCap(TVelkGPLineCap Value);
    float BaseInset() const { return FBaseInset; }
    void SetBaseInset(float Value);
    float WidthScale() const { return FWidthScale; }
    void SetWidthScale(float Value);
    TVelkGPStrokeJoin Join() const { return FJoin; }
    void SetJoin(TVelkGPStrokeJoin Value);
    TVelkGPLineCap StartCap() const { return FStartCap; }
    void SetStartCap(TVelkGPLineCap Value);
    TVelkGPLineCap EndCap() const { return FEndCap; }
    void SetEndCap(TVelkGPLineCap Value);
    bool UsePathAsFill() const { return FUsePathAsFill; }
    void SetUsePathAsFill(bool Value);

    // The path exists and has points, or PathData is not empty.
    bool IsValid() const;

    // From a TVelkGPCustomLineCap: every setting and the path data; the path itself
    // when the source is valid. One change event.
    void Assign(const TPersistent* Source) override;

    // The cap as the stroker draws it.
    TVelkStrokeCustomCap Shape() const;

protected:
    std::unique_ptr<TVelkGPGraphicsObject> CreateSame(TVelkGPCanvas* AOwner) const override;

private:
    std::unique_ptr<TVelkGPPath> FPath;
    TVelkGPLineCap FBaseCap = lcFlat;
    float FWidthScale = 1;
    TVelkGPStrokeJoin FJoin = sjMiter;
    TVelkGPLineCap FEndCap = lcFlat;
    TVelkGPLineCap FStartCap = lcFlat;
    bool FUsePathAsFill = false;
    QString FPathData;
    float FBaseInset = 0;
    // Set while Assign loads the path, so that it reports one change.
    bool FAssigning = false;
};

} // namespace velk
