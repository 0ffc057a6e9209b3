#pragma once
// TSVGElement: the base of every element kept in memory. It holds the tree (children
// owned by their parent, a link to the parent and to the owning document), the core
// attributes (id, class, lang, title, desc and the conditional-processing attributes),
// change notification with update brackets, listeners, assignment and cloning, the
// tree queries, the conditional-processing tests, the view-matrix operations and the
// reading from and writing to the XML DOM. Also the element types with their tag names.
//
// Children are appended through Items() (or Add for a new element): the list owns
// them, deleting or clearing destroys them, extracting hands them back.

#include "collections/assign_list.h"
#include "graphics/geometry.h"
#include "platform/persistent.h"
#include "platform/set.h"
#include "platform/string_list.h"
#include "platform/xml/node.h"
#include "svg/length.h"
#include "svg/style_property.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

class QPainter;

namespace velk {

class TSVGDocument;
class TSVGCustomViewBox;
class TSVGGraphicElement;
class TVelkGPCanvas;

enum TSVGElementType {
    etNone,
    etDoc,
    etGroup,
    etImage,
    etDefs,
    etUse,
    etCircle,
    etEllipse,
    etRectangle,
    etLine,
    etPolyline,
    etPolygon,
    etPath,
    etText,
    etSwitch,
    etDesc,
    etTitle,
    etStyle,
    etTSpan,
    etTextPath,
    etTRef,
    etClipPath,
    etLinearGradient,
    etRadialGradient,
    etGradientStop,
    etMarker,
    etMetadata,
    etScript,
    etComment,
    etSymbol,
    etPattern,
    etAnchor
};

inline constexpr int SVGElementTypeCount = etAnchor + 1;

template <>
struct EnumNames<TSVGElementType> {
    static constexpr std::array<std::u16string_view, SVGElementTypeCount> Names{
        u"etNone",         u"etDoc",       u"etGroup",      u"etImage",          u"etDefs",
        u"etUse",          u"etCircle",    u"etEllipse",    u"etRectangle",      u"etLine",
        u"etPolyline",     u"etPolygon",   u"etPath",       u"etText",           u"etSwitch",
        u"etDesc",         u"etTitle",     u"etStyle",      u"etTSpan",          u"etTextPath",
        u"etTRef",         u"etClipPath",  u"etLinearGradient", u"etRadialGradient", u"etGradientStop",
        u"etMarker",       u"etMetadata",  u"etScript",     u"etComment",        u"etSymbol",
        u"etPattern",      u"etAnchor"};
};

// The tag name of each element type ("" for etNone).
inline constexpr std::array<std::u16string_view, SVGElementTypeCount> SVGElementNames{
    u"",         u"svg",      u"g",        u"image",    u"defs",     u"use",
    u"circle",   u"ellipse",  u"rect",     u"line",     u"polyline", u"polygon",
    u"path",     u"text",     u"switch",   u"desc",     u"title",    u"style",
    u"tspan",    u"textPath", u"tref",     u"clipPath", u"linearGradient",
    u"radialGradient", u"stop", u"marker", u"metadata", u"script",   u"comment",
    u"symbol",   u"pattern",  u"a"};

// The type whose tag name is Name (exact case); etNone when there is none.
TSVGElementType SVGNameToElementType(QStringView Name);

using TSVGElementTypes = TSet<TSVGElementType>;

// Text split at commas and spaces, items trimmed, empty ones dropped: the lists of the
// class and lang attributes and of language tests.
QStringList SVGSplitItems(QStringView Text);

inline constexpr TSVGElementTypes SVGShapeElementTypes{etCircle, etEllipse, etRectangle, etLine,
                                                       etPolyline, etPolygon, etPath};
inline constexpr TSVGElementTypes SVGDescriptiveElementTypes{etDesc, etTitle, etMetadata};
// The structural elements, with the a element (a group around a link).
inline constexpr TSVGElementTypes SVGStructuralElementTypes{etDoc, etGroup, etDefs, etUse, etSymbol, etAnchor};
inline constexpr TSVGElementTypes SVGGradientElementTypes{etLinearGradient, etRadialGradient};
inline constexpr TSVGElementTypes AllSVGElementTypes =
    TSVGElementTypes::FromValue((std::uint64_t{1} << SVGElementTypeCount) - 1);

enum TSVGElementStateItem { esReading, esWriting, esDestroying };

template <>
struct EnumNames<TSVGElementStateItem> {
    static constexpr std::array<std::u16string_view, 3> Names{u"esReading", u"esWriting", u"esDestroying"};
};

using TSVGElementState = TSet<TSVGElementStateItem>;

// What a hit test (ElementAtPos) searches and how.
enum TSVGFindOption {
    foFindHiddenElements, // elements that fail IsDisplayed are searched too
    foFindGroups,         // a group reports itself instead of the descendant that was hit
    foFindNoRecursion,    // reserved
    foUseBoundingBox,     // the transformed bounding rectangle decides, not the geometry
    foFindNonFilled,      // the interior counts even when the element has no fill
    foFindDisabled        // disabled elements are searched too
};

template <>
struct EnumNames<TSVGFindOption> {
    static constexpr std::array<std::u16string_view, 6> Names{u"foFindHiddenElements", u"foFindGroups",
                                                              u"foFindNoRecursion",    u"foUseBoundingBox",
                                                              u"foFindNonFilled",      u"foFindDisabled"};
};

using TSVGFindOptions = TSet<TSVGFindOption>;

class TSVGElement;
using TSVGElementList = TVelkAssignList<TSVGElement*>;

class TSVGElement : public TPersistent {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // A new element owned by aOwner (nil for a free-standing root). With an owner the
    // element gets a provisional ID "ID#n" that is never written to XML. The owner must
    // outlive the element: the element leaves the owner's ID table when destroyed.
    explicit TSVGElement(TSVGDocument* aOwner = nullptr);
    // Destroys the subtree, leaves the parent, tells the listeners (flag 1), drops the
    // listener links in both directions and the ID table entry.
    ~TSVGElement() override;

    // --- Virtual constructors ---

    // A new element of this element's own class owned by aOwner.
    virtual std::unique_ptr<TSVGElement> Create(TSVGDocument* aOwner) const;
    // A deep copy owned by aOwner. A clone owned by this element's document takes over
    // the ID table entry of this element (or fails under soEnforceUniqueID).
    virtual std::unique_ptr<TSVGElement> Clone(TSVGDocument* aOwner) const;

    // --- Persistent ---

    // From a TSVGElement, inside an update bracket: Clear, AssignProperties, then
    // clones of Source's children (owned by this element's owner) are appended. A
    // Source inside this element's subtree is taken out of it first, so it survives
    // the Clear. Other sources: the inherited behaviour.
    void Assign(const TPersistent* Source) override;
    // The owning document, as a persistent object.
    TPersistent* GetOwner() const override;
    // Copies the element's own values (ID through SetID, title, language, attributes,
    // the five string lists) from a TSVGElement; other sources are ignored.
    virtual void AssignProperties(const TPersistent* Source);

    // --- Class operations ---

    virtual TSVGElementType SVGType() const { return etNone; }
    // This element as a graphic element, or nil: the cascade and the effective getters
    // ask it of every parent, where a dynamic_cast would cost more than the work.
    virtual TSVGGraphicElement* AsGraphicElement() { return nullptr; }
    // The tag name of SVGType; the class name for etNone.
    QString SVGTypeName() const;
    // The types this element accepts as children.
    virtual TSVGElementTypes ChildSVGTypes() const { return AllSVGElementTypes; }

    // --- Tree ---

    TSVGDocument* Owner() const { return FOwner; }
    // The document that owns this element's children (and whose options apply to
    // reading them): the owner; a document owns its children itself.
    virtual TSVGDocument* ChildOwner() const { return FOwner; }
    TSVGElement* Parent() const { return FParent; }
    // The element itself raises EInvalidOperation "An svg element cannot have itself as
    // its parent". Only the link changes; the children list calls this.
    virtual void SetParent(TSVGElement* Value);
    // The children. An element added here leaves its former parent; adding the element
    // itself or one of its ancestors raises EInvalidOperation, and a type outside
    // ChildSVGTypes ESVGException; a refused element is no longer in the list.
    TSVGElementList& Items() { return FItems; }
    const TSVGElementList& Items() const { return FItems; }
    int Count() const { return FItems.Count(); }
    TSVGElement* Child(int Index) const { return FItems[Index]; }
    // Appends a new element and hands it to the children list; returns it. When the
    // list refuses it (child type), the element is destroyed with the exception.
    template <typename T>
    T* Add(std::unique_ptr<T> Element)
    {
        T* raw = Element.get();
        FItems.Add(raw);
        Element.release();
        return raw;
    }

    bool HasChild(const TSVGElement* aElement) const;
    bool HasDescendant(const TSVGElement* aElement) const;
    // True when aElement lies below this element (the same test as HasDescendant).
    bool HasAncestor(const TSVGElement* aElement) const;
    bool HasSibling(const TSVGElement* aElement) const;
    // True when aElement is an ancestor of this element or an earlier sibling.
    bool HasPreceding(const TSVGElement* aElement) const;
    // The same test as HasPreceding.
    bool HasFollowing(const TSVGElement* aElement) const;

    // The nearest viewport element, this one included, whose view box was given; nil
    // when there is none.
    virtual TSVGCustomViewBox* GetNearestViewBox();

    // --- Own values ---

    const QString& ID() const { return FID; }
    // Registers the element under Key in its owner's ID table (Add under
    // soEnforceUniqueID, which raises on a duplicate and changes nothing; otherwise the
    // entry goes to the first carrier of the ID in document order), then gives the old
    // ID up (another carrier of it takes its entry over). An empty ID is not registered.
    void SetID(const QString& Key);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    const QString& Title() const { return FTitle; }
    void SetTitle(const QString& Value);
    // The lines of the desc child element.
    TStrings& Description() const { return Strings(FDescription); }
    void SetDescription(const TStrings& Value) { Strings(FDescription).Assign(&Value); }
    TStrings& Classes() const { return Strings(FClasses); }
    // Whether the class list has items, without making the list.
    bool HasClasses() const { return FClasses && FClasses->Count() > 0; }
    // Whether Name is one of the classes (case-sensitive, as selectors compare them).
    bool HasClass(QStringView Name) const { return FClasses && FClasses->ContainsExactly(Name); }
    void SetClasses(const TStrings& Value) { Strings(FClasses).Assign(&Value); }
    // The lang attribute: a comma- or space-separated language list.
    const QString& Language() const { return FLanguage; }
    void SetLanguage(const QString& Value);
    TStrings& SystemLanguages() const { return Strings(FSystemLanguages); }
    void SetSystemLanguages(const TStrings& Value) { Strings(FSystemLanguages).Assign(&Value); }
    TStrings& RequiredFeatures() const { return Strings(FRequiredFeatures); }
    void SetRequiredFeatures(const TStrings& Value) { Strings(FRequiredFeatures).Assign(&Value); }
    TStrings& RequiredExtensions() const { return Strings(FRequiredExtensions); }
    void SetRequiredExtensions(const TStrings& Value) { Strings(FRequiredExtensions).Assign(&Value); }
    // The presentation attributes the element accepts (none here).
    TSVGStyleProperties Attributes() const { return FAttributes; }
    TSVGElementState ElementState() const { return FElementState; }

    // FEnabled, and the parent's IsEnabled when there is a parent.
    virtual bool IsEnabled() const;
    // Resets the own values (the ID stays), destroys the children and drops the
    // listeners, inside an update bracket.
    virtual void Clear();
    // Drops cached derived state; here it resets the children.
    virtual void Reset();

    // --- Change notification ---

    // Brackets nest; the outermost EndUpdate calls Changed once. They do not hold back
    // the forwarding of changes made inside them (the document's own brackets do).
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    // Listeners are elements told (ElementNotification) when this element notifies.
    // Both ends keep the link, so that destroying either end removes it.
    virtual void ChangeNotification(TSVGElement* aListener);
    virtual void RemoveChangeNotification(TSVGElement* aListener);
    const TSVGElementList& Listeners() const { return FListeners; }
    // ElementNotification(this, Flag) on every listener, in order; a listener removed
    // during the loop is not called any more. Flag 1: this element is being destroyed.
    virtual void NotifyListeners(int Flag);
    // Called on a listener by the element it listens to; here it calls Changed.
    virtual void ElementNotification(TSVGElement* Sender, int Flag);

    // --- Geometry ---

    // The empty rectangle here; graphic elements give their bounds.
    virtual TRectF GetBoundsRect() const;
    virtual TRectF GetBoundsRect(const TMatrix& aMatrix) const;
    // The owner's unit factors, or DefaultUnitFactors without an owner.
    virtual TSVGUnitFactors GetUnitFactors() const;
    // GetBoundsRect mapped onto aRect (FitToRect with TargetRect = the bounds).
    TMatrix FitToRect(const TRectF& aRect) const;
    // TargetRect mapped onto aRect with independent scale factors per axis; identity
    // when TargetRect has no width or no height.
    static TMatrix FitToRect(const TRectF& aRect, const TRectF& TargetRect);
    virtual TMatrix GetViewMatrix(const TRectF& aRect) const;
    // FitToRect(aRect) here; viewports override it.
    virtual TMatrix GetViewMatrix(const TMatrix& OldTransformation, const TRectF& aRect) const;
    TMatrix GetViewMatrix(const TRect& aRect) const { return GetViewMatrix(RectToRectF(aRect)); }
    TMatrix GetViewMatrix(const TMatrix& OldTransformation, const TRect& aRect) const
    {
        return GetViewMatrix(OldTransformation, RectToRectF(aRect));
    }

    // --- Drawing and hit testing ---

    // Draws the element into aRect (device units) of Canvas. A plain element cannot
    // draw: EAbstractError; graphic elements implement it.
    virtual void Draw(TVelkGPCanvas& Canvas, const TRectF& aRect);
    // Draws onto a platform canvas through a temporary canvas over it.
    void Draw(QPainter& Canvas, const TRect& aRect);
    // The element under Pt (device units, the space of aRect); nil here.
    virtual TSVGGraphicElement* ElementAtPos(TVelkGPCanvas& Canvas, const TPointF& Pt, const TRectF& aRect,
                                             TSVGFindOptions Options);
    // Hit testing found Element: the owner's DoElementFound (whose OnElementFound may
    // replace it), else Element itself.
    virtual TSVGGraphicElement* DoElementFound(TSVGGraphicElement* Element);

    // --- Conditional processing ---

    // HasFeatures, HasExtensions and HasLanguages, in that order.
    virtual bool IsDisplayed() const;
    // Every required feature is supported by the owner (true without an owner).
    virtual bool HasFeatures() const;
    // True exactly when no extension is required.
    virtual bool HasExtensions() const;
    // A language of lang begins with aLanguage, ignoring case (the :lang selector).
    virtual bool HasLanguage(QStringView aLanguage) const;
    // The lang attribute or one of systemLanguage is supported by the owner; true
    // without an owner and when neither is given.
    virtual bool HasLanguages() const;

    // --- XML ---

    // Reads the element from an XML element node, inside an update bracket.
    virtual void LoadFromXML(TXMLNode Node);
    // Writes the element into a node its parent created with the element's tag name.
    virtual void SaveToXML(TXMLNode Node);
    // The element written as an XML document whose root is named SVGTypeName.
    QString ToString();
    // True when the owner has soCompactExport.
    virtual bool IsCompactExport() const;

    // --- Style cascade ---

    // Applies the style sheet rules and style attributes to the subtree; here only the
    // children, in order.
    virtual void ApplyStyles();
    // The priority with which Selector matches this element, -1 when it does not; a
    // plain element never matches.
    virtual int Matches(QStringView Selector) const;

    // --- Owner-side hooks (the document raises its events from them) ---

    // Before Element reads Node: the owner's DoParsingNode, then esReading is set.
    virtual void DoParsingNode(TSVGElement* Element, TXMLNode Node);
    // After Element has read its node: the owner's DoParsedNode, then esReading is cleared.
    virtual void DoParsedNode(TSVGElement* Element);
    // Whether Element is written: with an owner the owner decides, otherwise IsEnabled.
    // esWriting is set when it is.
    virtual bool DoSavingElement(TSVGElement* Element, TXMLNode Node);
    // After Element has written itself: the owner's DoSavedElement, then esWriting is cleared.
    virtual void DoSavedElement(TSVGElement* Element, TXMLNode Node);

protected:
    virtual void ReadAttributes(TXMLNode Node);
    virtual void WriteAttributes(TXMLNode Node);

    // A length whose changes reach SubObjectChanged and whose unit factors and
    // percentage range come from the given handlers.
    std::unique_ptr<TSVGLength> CreateLength(TSVGUnitFactorsEvent OnUnitFactors, TSVGLengthRangeEvent OnRange);
    std::unique_ptr<TSVGLengths> CreateLengths();

    virtual void EnabledChanged(bool Value);
    // Any change of the element: forwarded to the owner (not by the owner itself, and not
    // while the element is being destroyed).
    virtual void Changed();
    // The children list added, removed or extracted Item.
    virtual void ItemsNotify(TSVGElement* Item, TCollectionNotification Action);
    // A string list, length or other owned object changed.
    virtual void SubObjectChanged(TObject* Sender);

    // The reading bracket of LoadFromXML: DoParsingNode, Read, DoParsedNode, inside an
    // update bracket; esReading is cleared also when Read raises.
    void ReadNode(TXMLNode Node, const std::function<void()>& Read);
    // The writing bracket of SaveToXML: Write runs when DoSavingElement agrees, then
    // DoSavedElement; esWriting is cleared also when Write raises.
    void WriteNode(TXMLNode Node, const std::function<void()>& Write);

    void SetAttributes(TSVGStyleProperties Value) { FAttributes = Value; }
    void IncludeState(TSVGElementStateItem Item) { FElementState.Include(Item); }
    void ExcludeState(TSVGElementStateItem Item) { FElementState.Exclude(Item); }

private:
    // The owner side of the hooks sets and clears the reading and writing states.
    friend class TSVGDocument;

    // The five string lists are made on first use: most elements have none of these
    // attributes, and five lists per element were a third of a load's allocations.
    TStringList& Strings(std::unique_ptr<TStringList>& List) const;
    static const TStrings& StringsOrEmpty(const std::unique_ptr<TStringList>& List);
    void AssignStrings(std::unique_ptr<TStringList>& List, const std::unique_ptr<TStringList>& Source);
    // Extracts a child that may not join (itself, an ancestor, a refused type) and raises.
    void CheckNewChild(TSVGElement* Item);
    // Drops the links to the listeners (both ends).
    void ClearListeners();

    QString FID;
    TSVGDocument* FOwner;
    TSVGElementList FItems;
    QString FTitle;
    mutable std::unique_ptr<TStringList> FDescription;
    TSVGElement* FParent = nullptr;
    mutable std::unique_ptr<TStringList> FClasses;
    int FUpdateCount = 0;
    QString FLanguage;
    mutable std::unique_ptr<TStringList> FSystemLanguages;
    mutable std::unique_ptr<TStringList> FRequiredFeatures;
    mutable std::unique_ptr<TStringList> FRequiredExtensions;
    bool FEnabled = true;
    TSVGElementList FListeners;
    // The elements this element listens to (the other end of their FListeners).
    std::vector<TSVGElement*> FListenedTo;
    TSVGStyleProperties FAttributes;
    TSVGElementState FElementState;
};

} // namespace velk
