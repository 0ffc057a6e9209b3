#pragma once
// TSVGGraphicElement: the base of every element that takes part in styling and
// drawing. So far it holds what reading and writing need: the x, y, width and height
// lengths, and the creation, reading and writing of child elements.

#include "svg/element.h"

#include <QString>
#include <memory>

namespace velk {

class TSVGGraphicElement : public TSVGElement {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // Accepts every presentation attribute. Percentages of x and width resolve against
    // the width of the nearest view box, of y and height against its height; without a
    // view box the fraction is the value.
    explicit TSVGGraphicElement(TSVGDocument* aOwner = nullptr);
    ~TSVGGraphicElement() override;

    std::unique_ptr<TSVGElement> Create(TSVGDocument* aOwner) const override;

    // Nothing for the current parent; Reset after a change.
    void SetParent(TSVGElement* Value) override;
    // Also copies the four lengths from a graphic element.
    void AssignProperties(const TPersistent* Source) override;
    // Also clears the four lengths and accepts every presentation attribute again.
    void Clear() override;
    // Reads the attributes, then the child nodes (ReadChildren).
    void LoadFromXML(TXMLNode Node) override;
    // Writes the attributes, then the children (WriteChildren).
    void SaveToXML(TXMLNode Node) override;

    // --- x, y, width, height ---

    // In user units.
    virtual float GetX() const;
    virtual float GetY() const;
    virtual float GetWidth() const;
    virtual float GetHeight() const;
    // The numbers as written.
    virtual float GetRawX() const;
    virtual float GetRawY() const;
    virtual float GetRawWidth() const;
    virtual float GetRawHeight() const;
    // In user units; a negative width or height becomes 0.
    virtual void SetX(float Value);
    virtual void SetY(float Value);
    virtual void SetWidth(float Value);
    virtual void SetHeight(float Value);
    float X() const { return GetX(); }
    float Y() const { return GetY(); }
    float Width() const { return GetWidth(); }
    float Height() const { return GetHeight(); }

    TSVGLength& XLength() const { return *FX; }
    TSVGLength& YLength() const { return *FY; }
    TSVGLength& WidthLength() const { return *FWidth; }
    TSVGLength& HeightLength() const { return *FHeight; }
    // Copy the given length's content into the owned one.
    void SetXLength(const TSVGLength& Value) { FX->Assign(&Value); }
    void SetYLength(const TSVGLength& Value) { FY->Assign(&Value); }
    void SetWidthLength(const TSVGLength& Value) { FWidth->Assign(&Value); }
    void SetHeightLength(const TSVGLength& Value) { FHeight->Assign(&Value); }

    // --- Children ---

    // Creates the child element for Node and returns its index in the children list, or
    // -1 when none is created. This base version creates nothing: text and other unnamed
    // nodes are ignored, "desc" and "title" set the description and the title,
    // "namedview", "perspective" and "filter" are ignored, and any other name raises
    // ESVGException "Unknown SVG element <%s> in document: %s" when the owner lacks
    // soSkipUnknownXML (it is ignored otherwise, and always without an owner).
    virtual int CreateChildElement(TXMLNode Node);
    // For every child node in order: CreateChildElement, then the new child reads the
    // node. Inside an entity reference only internal entities are followed, within
    // SVGMaxEntityDepth levels and SVGMaxEntityNodes nodes per load.
    virtual void ReadChildren(TXMLNode Node);
    // Appends one SVG element node per child (named by its SVGTypeName, "tspan" under a
    // text element) and lets the child write itself into it.
    virtual void WriteChildren(TXMLNode Node);

protected:
    // The core attributes, then x, y, width and height.
    void ReadAttributes(TXMLNode Node) override;
    // x, y, width and height, each unless its number is 0 and the export is compact.
    void WriteSizeAttributes(TXMLNode Node);
    // The number format for writing: the owner's FormatStr, "0.###" without an owner.
    virtual QString NumberFormat() const;
    // Node's local name is unknown here: the failure or silence of CreateChildElement.
    void UnknownElement(TXMLNode Node) const;

private:
    std::unique_ptr<TSVGLength> FWidth;
    std::unique_ptr<TSVGLength> FHeight;
    std::unique_ptr<TSVGLength> FX;
    std::unique_ptr<TSVGLength> FY;
};

// Entity references become groups that read the entity's content; these bound how deep
// such groups nest and how many nodes one load reads through them. (libxml2 2.9 itself
// refuses references nested more than 17 deep and most amplification by nesting, but not
// one large entity referenced many times.)
inline constexpr int SVGMaxEntityDepth = 16;
// Elements read inside each other, entity groups included. Plain XML stops at 256 (the
// parser's limit); entities multiply that, and reading, cloning and destroying recurse
// once per level.
inline constexpr int SVGMaxElementDepth = 512;
inline constexpr int SVGMaxEntityNodes = 100000;

} // namespace velk
