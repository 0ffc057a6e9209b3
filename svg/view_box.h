#pragma once
// TSVGCustomViewBox: the base of the viewport elements (nested svg documents, symbol,
// marker, pattern, image), which map a viewBox into a rectangle under a
// preserveAspectRatio rule. Here: the values and their reading and writing.

#include "svg/aspect_ratio.h"
#include "svg/group.h"

#include <QString>
#include <memory>

namespace velk {

class TSVGCustomViewBox : public TSVGCustomGroup {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // The aspect ratio starts as SVG's initial xMidYMid meet; no view box.
    explicit TSVGCustomViewBox(TSVGDocument* aOwner = nullptr);
    ~TSVGCustomViewBox() override;

    // This element when its view box was given, else the inherited search.
    TSVGCustomViewBox* GetNearestViewBox() override;
    // Also the view box (with its given flag) and the aspect ratio of a viewport element.
    void AssignProperties(const TPersistent* Source) override;
    // Also the aspect ratio back to xMidYMid meet and no view box, inside an update bracket.
    void Clear() override;

    // (left, top, right, bottom). Writing also marks the view box as given.
    const TRectF& ViewBox() const { return FViewBox; }
    void SetViewBox(const TRectF& Value);
    // A viewBox attribute was given (or ViewBox was set).
    bool ViewBoxSpecified() const { return FViewBoxSpecified; }
    TSVGPreserveAspectRatio& AspectRatio() const { return *FAspectRatio; }
    void SetAspectRatio(const TSVGPreserveAspectRatio& Value) { FAspectRatio->Assign(&Value); }
    // The view box as attribute text, with the owner's number format. Writing a
    // non-empty text parses it and marks the view box as given; an empty text removes it.
    QString ViewBoxRect() const;
    void SetViewBoxRect(const QString& Value);

protected:
    // The graphic element's attributes; then the view box starts as the element's own
    // rectangle and, when a non-empty viewBox attribute is there, becomes that (given);
    // then preserveAspectRatio (a missing attribute keeps the current value).
    void ReadAttributes(TXMLNode Node) override;
    // The graphic element's attributes; with a given view box, viewBox and
    // preserveAspectRatio (omitted in compact export when it is xMidYMid meet).
    void WriteAttributes(TXMLNode Node) override;

private:
    std::unique_ptr<TSVGPreserveAspectRatio> FAspectRatio;
    TRectF FViewBox;
    bool FViewBoxSpecified = false;
};

} // namespace velk
