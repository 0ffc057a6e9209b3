#pragma once
// TSVGGraphicElement: the base of every element that takes part in styling and
// drawing. It holds the 51 presentation properties (own values, inheritance from the
// parent, effective values, lazily resolved fill, stroke and font), the own declarations
// read from the attributes, the transform, the x, y, width and height lengths, and the
// creation, reading and writing of child elements.
//
//   group.SetOpacity(0.5f);
//   rect.SetOpacity(0.5f);              // rect inside group
//   rect.GetAbsoluteOpacity();          // 0.25
//   rect.GetBrush().Color();            // the group's fill while fill is inherited

#include "graphics/backend_path.h"
#include "graphics/geometry.h"
#include "graphics/gp_types.h"
#include "svg/element.h"
#include "svg/keyword_forms.h"
#include "svg/keywords.h"
#include "svg/length.h"
#include "svg/style.h"
#include "svg/style_properties_set.h"
#include "svg/svg_brush.h"
#include "svg/svg_font.h"
#include "svg/svg_pen.h"

#include <QString>
#include <QStringView>
#include <Qt>
#include <memory>

namespace velk {

class TVelkGPCanvasSaveState;
class TVelkGPRegion;
class TVelkPathData;

class TSVGGraphicElement : public TSVGElement {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // Accepts every presentation attribute. Fill solid opaque black, stroke none (opaque
    // black, flat caps, miter join, miter limit 4), the default inherit set
    // (SVGDefaultInherits), an empty preferred set read from the parent, everything to be
    // resolved. Percentages of x and width resolve against the width of the nearest view
    // box, of y and height against its height; without a view box the fraction is the
    // value.
    explicit TSVGGraphicElement(TSVGDocument* aOwner = nullptr);
    ~TSVGGraphicElement() override;

    std::unique_ptr<TSVGElement> Create(TSVGDocument* aOwner) const override;

    // Nothing for the current parent; Reset after a change.
    void SetParent(TSVGElement* Value) override;
    // From a graphic element: the effective values of the plain properties, the inherit
    // set, the own style, the matrix, the lengths, the effective preferred set, pen, font
    // and the resolved brush; everything is marked for resolution. Then the element's.
    void AssignProperties(const TPersistent* Source) override;
    // Every presentation property back to its initial value, inside an update bracket.
    void Clear() override;
    // Marks brush, pen, font and clip for resolution, then resets the children.
    void Reset() override;
    // Reads the attributes, then the child nodes (ReadChildren).
    void LoadFromXML(TXMLNode Node) override;
    // Writes the attributes, then the children (WriteChildren).
    void SaveToXML(TXMLNode Node) override;
    // The element's factors with "em" scaled by GetFont's size and "ex" by half of it.
    TSVGUnitFactors GetUnitFactors() const override;

    // The parent when it is a graphic element, else nil.
    TSVGGraphicElement* GetGraphicParent() const;
    TSVGGraphicElement* AsGraphicElement() override { return this; }

    // --- Presentation properties ---
    //
    // A getter gives the effective value: the graphic parent's when the property is in
    // Inherits() (and there is such a parent), else the element's own. The walk recurses
    // once per ancestor; loading bounds a tree's depth (SVGMaxElementDepth).
    // A setter stores a value that differs from the own one, or from the effective one
    // while inherited; it then ends the inheritance of the property and calls Changed.
    // The writing and the cascade are members and read the own fields.

    TSVGTextAlign TextAlign() const;
    void SetTextAlign(TSVGTextAlign Value);
    TSVGFillRule ClipRule() const;
    void SetClipRule(TSVGFillRule Value);
    TSVGFillRule FillRule() const;
    void SetFillRule(TSVGFillRule Value);
    TVelkGPColor Color() const;
    void SetColor(TVelkGPColor Value);
    TSVGColorInterpolation ColorInterpolation() const;
    void SetColorInterpolation(TSVGColorInterpolation Value);
    TSVGColorRendering ColorRendering() const;
    void SetColorRendering(TSVGColorRendering Value);
    TSVGShapeRendering ShapeRendering() const;
    void SetShapeRendering(TSVGShapeRendering Value);
    TSVGTextRendering TextRendering() const;
    void SetTextRendering(TSVGTextRendering Value);
    TSVGVectorEffect VectorEffect() const;
    void SetVectorEffect(TSVGVectorEffect Value);
    TSVGDirection Direction() const;
    void SetDirection(TSVGDirection Value);
    TSVGAlignmentBaseline AlignmentBaseline() const;
    void SetAlignmentBaseline(TSVGAlignmentBaseline Value);
    TSVGDominantBaseline DominantBaseline() const;
    void SetDominantBaseline(TSVGDominantBaseline Value);
    TSVGGlyphOrientationHorizontal GlyphOrientationHorizontal() const;
    void SetGlyphOrientationHorizontal(TSVGGlyphOrientationHorizontal Value);
    TSVGGlyphOrientationVertical GlyphOrientationVertical() const;
    void SetGlyphOrientationVertical(TSVGGlyphOrientationVertical Value);
    virtual TSVGWritingMode GetWritingMode() const;
    TSVGWritingMode WritingMode() const { return GetWritingMode(); }
    void SetWritingMode(TSVGWritingMode Value);
    const QString& MarkerStartURI() const;
    void SetMarkerStartURI(const QString& Value);
    const QString& MarkerMidURI() const;
    void SetMarkerMidURI(const QString& Value);
    const QString& MarkerEndURI() const;
    void SetMarkerEndURI(const QString& Value);
    // Overflow visible (not clipped). The setter also marks the clip for resolution.
    bool Overflow() const;
    void SetOverflow(bool Value);
    // visibility: the parent's while inherited (the default). A hidden element paints
    // nothing itself, but its children paint when their own visibility says so.
    bool Visible() const;
    void SetVisible(bool Value);
    // display other than none: own unless "inherit" was given. An element that is not
    // displayed is skipped with its whole subtree.
    bool Display() const;
    void SetDisplay(bool Value);
    // Set only when it differs from the effective value.
    Qt::CursorShape Cursor() const;
    void SetCursor(Qt::CursorShape Value);
    // Clamped into 0..1 (a NaN is ignored).
    float Opacity() const;
    void SetOpacity(float Value);
    // Opacity times the graphic parent's absolute opacity.
    float GetAbsoluteOpacity() const;
    // The unit the opacity was written in (percentages read as fractions).
    TSVGUnit OpacityPreferredUnit() const { return FOpacityPreferredUnit; }
    void SetOpacityPreferredUnit(TSVGUnit Value);

    // The clip-path reference (an ID, empty for none), as stored. The setter also marks
    // the clip for resolution.
    const QString& ClipURI() const { return FClipURI; }
    void SetClipURI(const QString& Value);
    // The graphic parent's when clip is inherited; else the bounds (GetBoundsRect) with
    // the clip offsets subtracted edge by edge.
    virtual TRectF GetClipRect() const;
    TRectF ClipRect() const { return GetClipRect(); }
    // The clip property's offsets (top, right, bottom, left of rect(...) as edges).
    void SetClipRect(const TRectF& Value);

    // The transform attribute, and as text (SVGTransformToStr; the setter parses with
    // SVGParseTransform, which raises on a malformed text).
    const TMatrix& Matrix() const { return FMatrix; }
    void SetMatrix(const TMatrix& Value);
    QString TransformMatrix() const;
    void SetTransformMatrix(const QString& Value);

    // --- Owned property objects ---
    //
    // The setters copy the given object's content into the owned one, whose change
    // event then reaches the element.

    // The properties taken from the parent.
    TSVGStylePropertiesSet& Inherits() const { return *FInherits; }
    void SetInherits(const TSVGStylePropertiesSet& Value);
    // True when Property is in Inherits().
    bool IsInherited(TSVGStyleProperty Property) const;
    // The properties written into the style attribute: the graphic parent's set while
    // ParentPreferredStyles, else the own one. The setter copies into the own set and
    // ends ParentPreferredStyles.
    TSVGStylePropertiesSet& PreferredStyles() const;
    void SetPreferredStyles(const TSVGStylePropertiesSet& Value);
    bool ParentPreferredStyles() const { return FParentPreferredStyles; }
    void SetParentPreferredStyles(bool Value);
    // The own declarations: the attributes and the style attribute as read.
    TSVGStyle& Style() const { return *FStyle; }
    void SetStyle(const TSVGStyle& Value);
    // kerning, letter-spacing, word-spacing and baseline-shift; each reads its parent's
    // length while its property is inherited.
    TSVGStylePropertyAutoLength& Kerning() const { return *FKerning; }
    void SetKerning(const TSVGStylePropertyAutoLength& Value);
    TSVGStylePropertyAutoLength& LetterSpacing() const { return *FLetterSpacing; }
    void SetLetterSpacing(const TSVGStylePropertyAutoLength& Value);
    TSVGStylePropertyAutoLength& WordSpacing() const { return *FWordSpacing; }
    void SetWordSpacing(const TSVGStylePropertyAutoLength& Value);
    TSVGBaselineShiftLength& BaselineShift() const { return *FBaselineShift; }
    void SetBaselineShift(const TSVGBaselineShiftLength& Value);

    // --- Fill, stroke and font, resolved lazily ---
    //
    // The stored objects take what they inherit from the parent when they are asked for
    // after a change (of their own, the parent's or the inherit set); the result is kept
    // until the next change. While the element reads (esReading) the parameterless
    // getters return the stored objects as they are.

    // The fill for drawing with aMatrix into aRect: fill (colour, kind, reference) and
    // fill-opacity from the parent's resolved brush when inherited.
    virtual TSVGBrush& GetBrush(const TMatrix& aMatrix, const TRectF& aRect) const;
    // The stroke likewise, per property: stroke (colour, kind, reference), width,
    // opacity, line caps, miter limit, line join, dash offset, and the dash array when
    // the parent's is a custom one.
    virtual TSVGPen& GetPen(const TMatrix& aMatrix, const TRectF& aRect) const;
    // With the identity matrix and the element's bounds.
    virtual TSVGBrush& GetBrush() const;
    virtual TSVGPen& GetPen() const;
    // The font with the family, size, weight, style, variant and decorations of the
    // parent's GetFont where inherited.
    virtual TSVGFont& GetFont() const;
    TSVGBrush& Brush() const { return GetBrush(); }
    TSVGPen& Pen() const { return GetPen(); }
    TSVGFont& Font() const { return GetFont(); }
    void SetBrush(const TSVGBrush& Value);
    void SetPen(const TSVGPen& Value);
    void SetFont(const TSVGFont& Value);
    // The stored objects, unresolved: what the element itself declares (and what the
    // last resolution wrote into them).
    TSVGBrush& OwnBrush() const { return *FBrush; }
    TSVGPen& OwnPen() const { return *FPen; }
    TSVGFont& OwnFont() const { return *FFont; }

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

    // --- Drawing (graphic_element_drawing.cpp) ---
    //
    // Geometry is transformed into device space before it is drawn (the canvas's world
    // matrix is left alone), and opacity is applied per paint operation: a fill with the
    // absolute opacity times fill-opacity, a stroke with it times stroke-opacity. There
    // is no offscreen group compositing.

    // Conditional processing (the element's) and Display(). Visibility decides only
    // whether the element paints itself (DrawElement).
    bool IsDisplayed() const override;
    // (X, Y, X + Width, Y + Height) in user units, without the element's transform.
    TRectF GetBoundsRect() const override;
    // GetBoundsRect through FMatrix x aMatrix (TransformRectF: the two corners).
    TRectF GetBoundsRect(const TMatrix& aMatrix) const override;

    // GetViewMatrix(aRect), then Draw with it.
    void Draw(TVelkGPCanvas& Canvas, const TRectF& aRect) override;
    using TSVGElement::Draw;
    // When IsDisplayed: DrawElement. aRect is the target rectangle of the whole drawing
    // (device units), handed down unchanged.
    virtual void Draw(const TMatrix& aMatrix, TVelkGPCanvas& Canvas, const TRectF& aRect);
    // Onto a platform canvas through a temporary canvas over it.
    void Draw(const TMatrix& aMatrix, QPainter& Canvas, const TRect& aRect);

    // --- Hit testing (graphic_element_hit_test.cpp) ---

    // GetViewMatrix(aRect), then the matrix form.
    TSVGGraphicElement* ElementAtPos(TVelkGPCanvas& Canvas, const TPointF& Pt, const TRectF& aRect,
                                     TSVGFindOptions Options) override;
    // nil for an element that is not displayed (unless foFindHiddenElements) or not
    // enabled (unless foFindDisabled); otherwise HitTest. Pt is in device units.
    TSVGGraphicElement* ElementAtPos(const TMatrix& aMatrix, TVelkGPCanvas& Canvas, const TPointF& Pt,
                                     const TRectF& aRect, TSVGFindOptions Options);

    // --- Clipping (graphic_element_drawing.cpp) ---

    // The clip-path element this element is clipped by: the graphic parent's while
    // clip-path is inherited; else the element ClipURI names in the owner's ID table
    // when it is a clipPath element; else nil.
    TSVGGraphicElement* ClipURIElement() const;
    // Unites the element's geometry (fill mode from clip-rule, through FMatrix x
    // aMatrix) into Region, then lets every visible graphic child add itself. Nothing
    // (false) when the element is not enabled.
    virtual bool AddToClipRegion(TVelkGPRegion& Region, const TMatrix& aMatrix, const TRectF& aRect);

    // --- Rendering hints ---

    // shape-rendering as a canvas smoothing mode: auto 0, optimizeSpeed 1, crispEdges 2,
    // geometricPrecision and none 5.
    static std::uint8_t ShapeRenderingToSmoothingMode(TSVGShapeRendering Value);
    // text-rendering as a text hint: auto system default, optimizeSpeed one bit per
    // pixel, optimizeLegibility anti-alias, geometricPrecision and none grid-fitted.
    static TVelkGPTextRenderingHint TextRenderingToHint(TSVGTextRendering Value);
    // color-rendering and color-interpolation as a compositing quality: optimizeSpeed 1,
    // optimizeQuality 2, else sRGB 3, linearRGB 4, else 0.
    static std::uint8_t ColorRenderingToCompositingQuality(TSVGColorRendering Rendering,
                                                           TSVGColorInterpolation Interpolation);

    // --- Writing (graphic_element_writing.cpp) ---

    // To a TSVGStyle: every property not in Inherits() as its current value text. Other
    // destinations: the element's rules.
    void AssignTo(TPersistent* Dest) const override;

    // --- Cascade (style_cascade.cpp, selector_matching.cpp) ---

    // Reads the declarations of aStyle into the properties and their inherit flags, in
    // a fixed order (paint references, display, ..., markers): an empty value keeps
    // value and flag, "inherit" sets the flag and keeps the value, any other text sets
    // the value and clears the flag.
    virtual void ApplyStyle(const TSVGStyle& aStyle);
    // Inside an update bracket: the own declarations, then the enabled rules of the owner
    // that match (their Matches priority) by ascending priority, equal priorities in the
    // reverse of the rule table's order, then again the declarations the style attribute
    // made (so presentation attributes lose to every rule and the style attribute wins
    // over all); then the children.
    void ApplyStyles() override;
    // The priority with which Selector matches this element, -1 when it does not: the
    // digits of the counts of IDs, of attribute, class, language and combinator steps,
    // and of type names, written one after the other (#a.b rect gives 111), saturating
    // at INT_MAX. "*" alone gives 0, an empty selector -1. A combinator's value is an
    // element ID. A malformed attribute selector raises ESVGException
    // "Invalid selector: %s".
    int Matches(QStringView Selector) const override;

protected:
    // --- Drawing steps (graphic_element_drawing.cpp) ---

    // M := FMatrix x aMatrix; BeginDraw, DrawShape and DrawChildren, then EndDraw (also
    // when drawing raises).
    virtual void DrawElement(const TMatrix& aMatrix, TVelkGPCanvas& Canvas, const TRectF& aRect);
    // Saves the canvas state, then puts the element's brush, pen (PreparePen), font,
    // disabled look, compositing quality, smoothing and text hints and clip onto the
    // canvas, then DoDrawing. M is the element's full matrix.
    virtual void BeginDraw(const TMatrix& M, TVelkGPCanvas& Canvas, const TRectF& aRect);
    // Fills and strokes GetShape when it has points; false when nothing was drawn.
    virtual bool DrawShape(const TMatrix& M, TVelkGPCanvas& Canvas, const TRectF& aRect);
    // Draw of every graphic child, in document order.
    virtual void DrawChildren(const TMatrix& M, TVelkGPCanvas& Canvas, const TRectF& aRect);
    // DoDrawn, then the canvas state saved by BeginDraw is restored.
    virtual void EndDraw(const TMatrix& M, TVelkGPCanvas& Canvas, const TRectF& aRect);
    // Unless DoDisableAppearance declines: the canvas brush and pen (and their
    // gradient colours) turn grey.
    virtual void DrawDisabled(const TMatrix& M, TVelkGPCanvas& Canvas, const TRectF& aRect);
    // Under soApplyClipping, the clip-path element's region, through M, intersected into
    // the canvas clip.
    virtual void ApplyClipPath(const TMatrix& M, TVelkGPCanvas& Canvas, const TRectF& aRect);
    // The canvas pen from GetPen, its width (a percentage against the nearest view box's
    // normalised diagonal) and, when ScaleStroke, its width and dashes scaled by M's
    // factor sqrt(m11^2 + m22^2) / sqrt(2); never thinner than 1e-12.
    virtual void PreparePen(TVelkGPCanvas& Canvas, const TMatrix& M, bool ScaleStroke);
    // The element's geometry in user units, rebuilt first by the shapes when it is
    // marked changed (Changed marks it).
    virtual TVelkGPPath& GetShape();
    // A clone of Path with the fill-rule's mode, through M, filled (brush kind not
    // none) with the absolute opacity x the brush opacity, then stroked (pen kind not
    // none) with it x the pen opacity.
    void FillAndStrokePath(const TVelkGPPath& Path, const TMatrix& M, const TRectF& Rect, TVelkGPCanvas& Canvas);
    void FillAndStrokePathData(const TVelkPathData& PathData, const TMatrix& M, const TRectF& Rect,
                               TVelkGPCanvas& Canvas);
    // The shape cache is marked changed: the next GetShape rebuilds it.
    bool ShapeCacheChanged() const { return FShapeCacheChanged; }
    // The cached geometry as it is (the shapes' GetShape refills it).
    TVelkGPPath& ShapePath() const { return *FShape; }

    // The owner document's OnDrawing, OnDrawn and OnDisableAppearance (the last answers
    // whether the default disabled look is drawn; true without an owner).
    virtual void DoDrawing(const TMatrix& M, TVelkGPCanvas& Canvas, const TRectF& aRect);
    virtual void DoDrawn(const TMatrix& M, TVelkGPCanvas& Canvas, const TRectF& aRect);
    virtual bool DoDisableAppearance(TMatrix& M, TVelkGPCanvas& Canvas, TRectF& aRect);

    // --- Hit-testing steps (graphic_element_hit_test.cpp) ---

    // The graphic children from the last to the first (ElementAtPos with FMatrix x
    // aMatrix); the first hit wins. Without one, HitTestSelf.
    virtual TSVGGraphicElement* HitTest(const TMatrix& aMatrix, TVelkGPCanvas& Canvas, TSVGFindOptions Options,
                                        const TRectF& aRect, const TPointF& Pt);
    // The transformed bounds decide first; inside them the geometry (HitTestShape)
    // unless foUseBoundingBox or there is none. M is the element's full matrix.
    virtual TSVGGraphicElement* HitTestSelf(const TMatrix& M, TVelkGPCanvas& Canvas, TSVGFindOptions Options,
                                            const TRectF& aRect, const TPointF& Pt);
    // Pt inside the path (when filled or foFindNonFilled) or on its outline drawn with
    // the prepared pen, widened to at least 3 device units.
    virtual TSVGGraphicElement* HitTestShape(const TMatrix& M, TVelkGPCanvas& Canvas, TSVGFindOptions Options,
                                             const TVelkGPPath& Path, const TRectF& aRect, const TPointF& Pt);

    // Marks the shape cache changed, then forwards.
    void Changed() override;

    // The own style and the enabled rules of Rules' table that match this element
    // (SVGMatchSelector, the walk of Matches, over the rules grouped for the cascade),
    // applied in priority order; the own style alone without Rules. The document's
    // cascade uses it for its own rules.
    void ApplyMatchingStyles(const TSVGDocument* Rules);

    // After the core attributes: the own style takes the attributes and the style
    // attribute's declarations (whose property set, when not empty, becomes the own
    // PreferredStyles), the font size is read (so that "em" lengths use it), then x, y,
    // width and height, then the transform (a malformed one raises).
    void ReadAttributes(TXMLNode Node) override;

    // --- Writing (graphic_element_writing.cpp) ---

    // After the element's: every presentation property (SVGWriteStyleProperty: defaults
    // of properties that do not inherit left out, inherited ones as "inherit" or not at
    // all, the effective PreferredStyles into "style"), then the transform when it is not
    // the identity within 0.00001 (always an attribute).
    void WriteAttributes(TXMLNode Node) override;
    // The own value of Property as a value text that reads back as the same value,
    // numbers formatted with FormatStr; "" for the properties this class does not keep
    // (font, marker, flood-*, stop-*).
    QString PropertyText(TSVGStyleProperty Property, QStringView FormatStr) const;

    // Marks brush, pen and font for resolution, then Changed.
    void EnabledChanged(bool Value) override;
    // The inherit set marks brush, pen and font for resolution, the brush, pen or font
    // itself; then Changed, and the same marks go down to every descendant, so that it
    // resolves again what it inherits.
    virtual void GraphicsObjectChanged(TObject* Sender);
    // A length of Property (a TSVGStylePropertyLength descendant) wired to this element:
    // its inherit flag is Property in Inherits(), its parent value the graphic parent's
    // length of Property, its changes reach SubObjectChanged, its unit factors are the
    // element's.
    template <typename T = TSVGStylePropertyAutoLength>
    std::unique_ptr<T> CreateStyleLength(TSVGStyleProperty Property)
    {
        auto length = std::make_unique<T>(Property);
        WireStyleLength(*length);
        return length;
    }
    // A length wired to this element whose percentages resolve against the width
    // (Horizontal) or the height of the nearest view box, as x, y, width and height do.
    std::unique_ptr<TSVGLength> CreateViewBoxLength(bool Horizontal);
    // What a percentage of a length resolves against: the nearest view box's width,
    // height, or normalised diagonal sqrt((w² + h²) / 2) (lengths of no direction, as r);
    // without a view box the fraction itself is the value.
    enum TSVGPercentBase { pbWidth, pbHeight, pbDiagonal };
    TSVGLengthRangeEvent ViewBoxRange(TSVGPercentBase Base);
    // True when Text differs from the property's default text.
    virtual bool IsNonDefaultValue(TSVGStyleProperty Property, QStringView Text) const;
    // The value text writing leaves out as this element's default: the property's
    // initial value here; viewports, which clip by default, answer "hidden" for overflow.
    virtual QString StylePropertyDefault(TSVGStyleProperty Property) const;

    // x, y, width and height, each unless its number is 0 and the export is compact.
    void WriteSizeAttributes(TXMLNode Node);
    // The number format for writing: the owner's FormatStr, "0.###" without an owner.
    virtual QString NumberFormat() const;
    // Node's local name is unknown here: the failure or silence of CreateChildElement.
    void UnknownElement(TXMLNode Node) const;

private:
    // What a change asks to resolve again.
    struct TResolveMarks {
        bool Brush = false;
        bool Pen = false;
        bool Font = false;
    };

    // Sets the marks here and in every graphic descendant.
    void MarkForResolution(TResolveMarks Marks);
    // The graphic parent while Property is inherited, else nil.
    const TSVGGraphicElement* InheritedFrom(TSVGStyleProperty Property) const;
    void WireStyleLength(TSVGStylePropertyLength& Length);
    // The parent's length of the property Length stands for.
    TSVGStylePropertyLength* ParentStyleLength(const TSVGStylePropertyLength& Length) const;
    // The setter rule: stores Value when it differs from Field, or from Effective while
    // Property is inherited; then ends the inheritance of Property and calls Changed.
    // Returns whether it stored.
    template <typename T>
    bool StoreProperty(T& Field, const T& Value, const T& Effective, TSVGStyleProperty Property);
    // What the stored brush and pen take from the parent's resolved ones. The paint
    // server that a reference (URI) names is looked up after this.
    void InheritFill(const TMatrix& aMatrix, const TRectF& aRect) const;
    void InheritStroke(const TMatrix& aMatrix, const TRectF& aRect) const;
    void InheritFont() const;
    // Step 3 of reading: the font size from the own style, relative to the parent's.
    void ReadFontSize();

    bool FVisible = true;
    bool FDisplay = true;
    std::unique_ptr<TSVGPen> FPen;
    std::unique_ptr<TSVGFont> FFont;
    std::unique_ptr<TSVGBrush> FBrush;
    Qt::CursorShape FCursor = Qt::ArrowCursor;
    std::unique_ptr<TSVGStyle> FStyle;
    // The properties of FStyle that the style attribute declared (the rest came from
    // presentation attributes): the cascade ranks the two apart.
    TSVGStyleProperties FStyleAttributeProperties;
    TMatrix FMatrix = IdentityMatrix;
    TSVGTextAlign FTextAlign = staLeading;
    mutable bool FPenChanged = true;
    mutable bool FFontChanged = true;
    mutable bool FBrushChanged = true;
    TSVGFillRule FClipRule = frNonZero;
    TSVGFillRule FFillRule = frNonZero;
    QString FClipURI;
    bool FClippingChanged = true;
    // Set while the cascade applies this element's declarations: its children are
    // styled (and marked) right after, so marking stops at this element.
    bool FStylingSelf = false;
    TRectF FClipRect;
    float FOpacity = 1;
    bool FOverflow = true;
    QString FMarkerEndURI;
    QString FMarkerStartURI;
    QString FMarkerMidURI;
    // color's initial value is black: currentColor paints black when no color is given.
    TVelkGPColor FColor = 0xFF000000;
    TSVGColorInterpolation FColorInterpolation = sciSRGB;
    TSVGColorRendering FColorRendering = clrnAuto;
    TSVGTextRendering FTextRendering = txrnAuto;
    TSVGShapeRendering FShapeRendering = srnAuto;
    TSVGVectorEffect FVectorEffect = veNone;
    std::unique_ptr<TSVGStylePropertiesSet> FPreferredStyles;
    bool FParentPreferredStyles = true;
    TSVGUnit FOpacityPreferredUnit = suNone;
    std::unique_ptr<TSVGStylePropertyAutoLength> FLetterSpacing;
    std::unique_ptr<TSVGStylePropertyAutoLength> FKerning;
    std::unique_ptr<TSVGStylePropertyAutoLength> FWordSpacing;
    TSVGGlyphOrientationHorizontal FGlyphOrientationHorizontal = oh0Deg;
    TSVGGlyphOrientationVertical FGlyphOrientationVertical = ovAuto;
    TSVGWritingMode FWritingMode = wmLeftRight_TopBottom;
    TSVGDirection FDirection = dirLeftToRight;
    TSVGAlignmentBaseline FAlignmentBaseline = abAuto;
    std::unique_ptr<TSVGBaselineShiftLength> FBaselineShift;
    TSVGDominantBaseline FDominantBaseline = dbAuto;
    std::unique_ptr<TSVGStylePropertiesSet> FInherits;
    std::unique_ptr<TSVGLength> FWidth;
    std::unique_ptr<TSVGLength> FHeight;
    std::unique_ptr<TSVGLength> FX;
    std::unique_ptr<TSVGLength> FY;
    // Drawing state: the geometry cache (user units) and the canvas state BeginDraw saved.
    std::unique_ptr<TVelkGPPath> FShape;
    bool FShapeCacheChanged = true;
    TVelkGPCanvasSaveState* FCanvasState = nullptr;
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

// Adds the published position and size of an element placed by x, y, width and height
// (X, Y, Width, Height and their lengths) to Table, which a class's property table
// continues: `PublishPositionAndSize(TPublished<T>()).Object(...)`.
template <typename Table>
Table& PublishPositionAndSize(Table&& Properties)
{
    using E = TSVGGraphicElement;
    Properties.Single(QStringLiteral("X"), &E::X, &E::SetX)
        .Single(QStringLiteral("Y"), &E::Y, &E::SetY)
        .Single(QStringLiteral("Width"), &E::Width, &E::SetWidth)
        .Single(QStringLiteral("Height"), &E::Height, &E::SetHeight)
        .Object(QStringLiteral("XLength"), [](const E& e) { return &e.XLength(); })
        .Object(QStringLiteral("YLength"), [](const E& e) { return &e.YLength(); })
        .Object(QStringLiteral("WidthLength"), [](const E& e) { return &e.WidthLength(); })
        .Object(QStringLiteral("HeightLength"), [](const E& e) { return &e.HeightLength(); });
    return Properties;
}

} // namespace velk
