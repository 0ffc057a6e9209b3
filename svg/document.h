#pragma once
// TSVGDocument: the root of an element tree, and the object a program creates, loads
// and saves. It is an svg viewport element that adds the ID table of the elements it
// owns, the table of CSS rules, the options, the resolution and the unit factors
// derived from it, the rendering defaults, the preferred languages, the number format
// used for writing, loading and saving, and the events through which a program
// watches parsing and saving.
//
//   TSVGDocument doc;
//   doc.LoadFromFile(u"drawing.svg"_qs);   // OnChange once, at the end
//   doc.AllItems().Get(u"logo"_qs);        // the element with id="logo"
//   doc.SaveToFile(u"copy.svg"_qs);
//
// A nested svg element is itself a document owned by the outer one: the elements
// below it are owned by it, enter its ID table and match its rules.

#include "collections/string_hash_table.h"
#include "platform/list.h"
#include "platform/xml/document.h"
#include "svg/keywords.h"
#include "svg/style.h"
#include "svg/view_box.h"

#include <QHash>
#include <QIODevice>
#include <QList>
#include <QString>
#include <QStringView>
#include <functional>
#include <memory>
#include <unordered_map>

namespace velk {

enum TSVGOption {
    soSkipUnknownXML,       // an unrecognised element is skipped; off, it fails the load
    soUseLocaleForLanguage, // SupportsLanguage uses the user's languages, not PreferredLanguage
    soEnforceUniqueID,      // a second element with an existing ID fails
    soApplyClipping,        // clip-path references clip when drawing
    soCompactExport,        // writers omit values equal to their defaults
    soExportUnknownXML,     // reserved
    soExportDisabled,       // disabled elements are written too
    soUseFillText           // text drawing mode
};

template <>
struct EnumNames<TSVGOption> {
    static constexpr std::array<std::u16string_view, 8> Names{
        u"soSkipUnknownXML", u"soUseLocaleForLanguage", u"soEnforceUniqueID", u"soApplyClipping",
        u"soCompactExport",  u"soExportUnknownXML",     u"soExportDisabled",  u"soUseFillText"};
};

using TSVGOptions = TSet<TSVGOption>;

// The default options (the set's value is 59).
inline constexpr TSVGOptions SVGDefaultOptions{soSkipUnknownXML, soUseLocaleForLanguage, soApplyClipping,
                                               soCompactExport, soExportUnknownXML};
inline constexpr int SVGDefaultDPI = 96;
inline const QString SVGDefaultFormatStr = QStringLiteral("0.###");

// Before Element (the sender) reads Node.
using TSVGParserNodeEvent = std::function<void(TSVGElement* Sender, TXMLNode Node)>;
// After Element has read its node; Sender is the document.
using TSVGElementEvent = std::function<void(TObject* Sender, TSVGElement* Element)>;
// An element has prepared the canvas and is about to draw (OnDrawing), or has drawn
// and is about to restore the canvas (OnDrawn); Matrix is its full matrix.
using TSVGDrawingEvent =
    std::function<void(TSVGElement* Sender, const TMatrix& Matrix, TVelkGPCanvas& Canvas, const TRectF& aRect)>;
// A disabled element is drawn; setting DoDefault false suppresses the grey look.
using TSVGDrawingModificationEvent = std::function<void(TSVGElement* Sender, TMatrix& aMatrix,
                                                        TVelkGPCanvas& Canvas, TRectF& aRect, bool& DoDefault)>;
// Hit testing found Element; the handler may replace it.
using TSVGGraphicElementFoundEvent = std::function<void(TObject* Sender, TSVGGraphicElement*& Element)>;
// A rule entered or left the rule table.
using TSVGStyleEvent = std::function<void(TObject* Sender, TSVGStyle* aStyle)>;
// Before Element writes itself into Node; DoSave arrives true, false skips the element.
using TSVGSavingElementEvent = std::function<void(TObject* Sender, TSVGElement* Element, TXMLNode Node, bool& DoSave)>;
// After Element has written itself into Node.
using TSVGSaveElementEvent = std::function<void(TObject* Sender, TSVGElement* Element, TXMLNode Node)>;

// ID -> element; the table does not own the elements.
using TSVGElementTable = TVelkStringObjectHashTable<TSVGElement>;
// Selector text -> rule; the document owns the rules.
using TSVGStyleTable = TVelkStringObjectHashTable<TSVGStyle>;

class TSVGCascadeRules;

class TSVGDocument : public TSVGCustomViewBox {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // Options 59, DPI 96, FormatStr "0.###", width and height 100 with the view box
    // 0 0 100 100, and the user's interface languages as PreferredLanguage. A nested
    // document (with an owner) reads and writes like its owner: it takes the owner's
    // options, DPI, format and preferred languages.
    explicit TSVGDocument(TSVGDocument* aOwner = nullptr);
    // Destroys the children first, then frees the rules.
    ~TSVGDocument() override;

    std::unique_ptr<TSVGElement> Create(TSVGDocument* aOwner) const override;
    TSVGDocument* ChildOwner() const override { return const_cast<TSVGDocument*>(this); }
    TSVGElementType SVGType() const override { return etDoc; }
    TSVGElementTypes ChildSVGTypes() const override;
    // Also DPI and unit factors, options, format, the rendering defaults, the preferred
    // languages, copies of the rules and the default aspect ratio of a document.
    void AssignProperties(const TPersistent* Source) override;
    // Also empties the ID table and the rule table (each rule raising OnRemoveStyle); DPI,
    // options, format, preferred languages and the default aspect ratio stay.
    void Clear() override;
    TSVGUnitFactors GetUnitFactors() const override { return FUnitFactors; }
    bool IsCompactExport() const override { return FOptions.Contains(soCompactExport); }
    // desc, title and comment create nothing; everything else as a container.
    int CreateChildElement(TXMLNode Node) override;

    // --- Loading ---

    // The file is opened for reading (EFOpenError) and closed afterwards.
    void LoadFromFile(const QString& FileName);
    // Parses the stream from its position (encoding detected by the parser; parse errors
    // arrive unchanged and nothing is cleared), then LoadFromXML.
    virtual void LoadFromStream(QIODevice& Stream);
    // The text is read as it is: an encoding that its XML declaration names is ignored.
    virtual void LoadFromText(const QString& Text);
    // The document element's local name must be "svg" (exact case), else ESVGException
    // "Not a valid SVG document" and the document keeps its content.
    void LoadFromXML(const TXMLDocument& XML);
    // A node named svg: inside an update bracket, Clear, then the attributes and the
    // children, then ApplyStyles once for the whole tree. Other nodes are ignored.
    void LoadFromXML(TXMLNode Node) override;

    // Whether the XML is an SVG document. Strict: a temporary document loads it without
    // error. Otherwise: the document element is named svg. Never raises.
    static bool IsValidSVG(const QString& FileName, bool StrictVerification);
    static bool IsValidSVG(QIODevice& Stream, bool StrictVerification);
    static bool IsValidSVG(bool StrictVerification, const QString& Text);
    static bool IsValidSVG(const TXMLDocument& XML, bool StrictVerification);

    // --- Saving ---

    // Written to a temporary file that replaces FileName only when everything was
    // written (EFCreateError otherwise).
    void SaveToFile(const QString& FileName, int SplitPathLines = 0);
    // Indented UTF-8 at the stream's position. With SplitPathLines above 32, lines
    // holding long path data are broken at that column first (SVGSplitLines).
    virtual void SaveToStream(QIODevice& Stream, int SplitPathLines = 0);
    // XML becomes a new document whose root svg element holds this document.
    void SaveToXML(TXMLDocument& XML);
    using TSVGElement::SaveToXML;

    // --- Styles ---

    // A new rule named aName (the selector text) with the declarations aStyles; a
    // selector already in the table raises EListError "Duplicates not allowed".
    virtual TSVGStyle* AddStyleRule(const QString& aName, const QString& aStyles);
    // One rule per selector of every block of the style sheet (SVGSplitStyleSheet).
    virtual void AddStyleSheet(const QString& Text);
    // The CDATA sections of a style element, then its text when it is its only child.
    virtual void ReadStyleElement(TXMLNode Node);
    // Inside an update bracket: the own style and the enabled rules of this document's
    // table that match the document element, in priority order; then the graphic
    // element's cascade (the owner's rules, then the children). A load runs it once.
    void ApplyStyles() override;
    // While a cascade runs, the enabled rules stay tokenized and grouped by the first
    // step of their selectors. The pairs nest: the outermost BeginCascade builds the
    // groups (raising like SVGTokenizeSelector), the outermost EndCascade drops them,
    // so a cascade always sees the rule table as it is when it starts.
    const TSVGCascadeRules& BeginCascade() const;
    void EndCascade() const;

    // --- Conditional processing ---

    // Feature is one of the SVG 1.1 feature URIs that this library supports.
    virtual bool SupportsFeature(QStringView Feature) const;
    // A preference (the user's interface languages under soUseLocaleForLanguage,
    // otherwise PreferredLanguage) begins with an item of Language (split at commas and
    // blanks), or an item begins with a preference followed by "-", ignoring case.
    virtual bool SupportsLanguage(QStringView Language) const;

    // --- Tables ---

    // An ID carried by several elements names the first of them in document order,
    // which references reach (SVG's rule); when it leaves or takes another ID, the next
    // carrier in document order takes the entry over (see EnterID).
    TSVGElementTable& AllItems() { return FAllItems; }
    const TSVGElementTable& AllItems() const { return FAllItems; }
    // The gradients, markers and patterns of the ID table, in the order they entered it
    // (kept in step with it).
    const TList<TSVGElement*>& Gradients() const { return FGradients; }
    const TList<TSVGElement*>& Markers() const { return FMarkers; }
    const TList<TSVGElement*>& Patterns() const { return FPatterns; }
    TSVGStyleTable& Styles() { return FStyles; }
    const TSVGStyleTable& Styles() const { return FStyles; }
    // The rule table takes copies of Value's rules.
    void SetStyles(const TSVGStyleTable& Value);

    // --- Settings ---

    // At least 10; the unit factors follow. No change event.
    int DPI() const { return FDPI; }
    void SetDPI(int Value);
    const TSVGUnitFactors& UnitFactors() const { return FUnitFactors; }
    // A change resets every element's cached state, then Changed.
    TSVGOptions Options() const { return FOptions; }
    void SetOptions(TSVGOptions Value);
    // The FormatFloat pattern of numbers written to SVG. A pattern that FormatFloat
    // rejects raises its error and changes nothing.
    const QString& FormatStr() const { return FFormatStr; }
    void SetFormatStr(const QString& Value);
    // The aspect rule used when the root has no view box.
    TSVGPreserveAspectRatio& DefaultAspectRatio() const { return *FDefaultAspectRatio; }
    void SetDefaultAspectRatio(const TSVGPreserveAspectRatio& Value) { FDefaultAspectRatio->Assign(&Value); }
    TSVGShapeRendering DefaultShapeRendering() const { return FDefaultShapeRendering; }
    void SetDefaultShapeRendering(TSVGShapeRendering Value);
    TSVGColorRendering DefaultColorRendering() const { return FDefaultColorRendering; }
    void SetDefaultColorRendering(TSVGColorRendering Value);
    TSVGTextRendering DefaultTextRendering() const { return FDefaultTextRendering; }
    void SetDefaultTextRendering(TSVGTextRendering Value);
    TSVGColorInterpolation DefaultColorInterpolation() const { return FDefaultColorInterpolation; }
    void SetDefaultColorInterpolation(TSVGColorInterpolation Value);
    // The preferred languages for systemLanguage tests, as comma text.
    QString PreferredLanguage() const { return FPrefLanguages->CommaText(); }
    void SetPreferredLanguage(const QString& Value) { FPrefLanguages->SetCommaText(Value); }
    TStrings& PreferredLanguages() const { return *FPrefLanguages; }

    // --- Owner side of the element hooks ---

    void DoParsingNode(TSVGElement* Element, TXMLNode Node) override;
    void DoParsedNode(TSVGElement* Element) override;
    // Disabled elements are written only under soExportDisabled; then OnSavingElement decides.
    bool DoSavingElement(TSVGElement* Element, TXMLNode Node) override;
    void DoSavedElement(TSVGElement* Element, TXMLNode Node) override;

    // --- Drawing (document_drawing.cpp) ---

    // With a view box: it fitted into aRect by the own rule. Without one: for a nested
    // svg element, and for the root when both the own and the default aspect rule are
    // saNone, the viewport's (the content at aRect's corner); otherwise the root's
    // (0, 0, width, height) fitted into aRect by DefaultAspectRatio.
    TMatrix GetViewMatrix(const TMatrix& OldTransformation, const TRectF& aRect) const override;
    using TSVGCustomViewBox::GetViewMatrix;
    // OnElementFound may replace Element; a nested document then hands the result on to
    // its owner, so the outermost document hears of every hit.
    TSVGGraphicElement* DoElementFound(TSVGGraphicElement* Element) override;

    // --- Events ---

    // Raised by Changed outside the document's update brackets, not while destroying.
    TNotifyEvent OnChange;
    TSVGParserNodeEvent OnParsingNode;
    TSVGElementEvent OnParsedNode;
    TSVGSavingElementEvent OnSavingElement;
    TSVGSaveElementEvent OnSavedElement;
    TSVGStyleEvent OnAddStyle;
    // A removed rule is freed right after the event, an extracted one is not.
    TSVGStyleEvent OnRemoveStyle;
    TSVGDrawingEvent OnDrawing;
    TSVGDrawingEvent OnDrawn;
    TSVGDrawingModificationEvent OnDisableAppearance;
    TSVGGraphicElementFoundEvent OnElementFound;

protected:
    void Changed() override;
    // The outermost svg element without a view box: (0, 0, width, height), for its x
    // and y mean nothing; otherwise the viewport's.
    TRectF OwnViewport() const override;
    // An outermost svg element fitted into the target rectangle (by its view box or the
    // default aspect rule) clips to that rectangle.
    bool ClipsToTarget() const override;
    // The document's own FormatStr.
    QString NumberFormat() const override { return FFormatStr; }
    // The SVG and XLink namespaces, the viewport's attributes, x, y, width and height
    // (zeros, and a width or height of 100%, omitted in compact export), version="1.1",
    // and the enabled rules as a style element (sorted by selector), so that a saved
    // document keeps its style sheet.
    void WriteAttributes(TXMLNode Node) override;

private:
    friend class TSVGElement;

    // An outermost svg element without a view box is fitted into the target rectangle
    // by the default aspect rule (its own, or DefaultAspectRatio, is not none).
    bool FitsDefaultAspect() const;
    // "ID#n" for a new element: n counts up per document and skips IDs in the table.
    QString NewProvisionalID();
    // Element (owned by this document) takes Key: under soEnforceUniqueID an ID that is
    // taken raises EListError; otherwise Element gets the entry when the ID is free or
    // Element comes before its holder in document order, and waits among the other
    // carriers of the ID when not.
    void EnterID(TSVGElement* Element, const QString& Key);
    // Element gives Key up: when it held the entry, the first of the waiting carriers in
    // document order takes it over; else it stops waiting.
    void LeaveID(TSVGElement* Element, const QString& Key);
    // A comes before B in document order. An element outside this document's tree (not
    // added anywhere yet) comes after every element inside it.
    bool PrecedesInDocument(const TSVGElement* A, const TSVGElement* B) const;
    void IDTableNotify(TSVGElement* Element, TCollectionNotification Action);
    void StyleTableNotify(TSVGStyle* Style, TCollectionNotification Action);
    // Puts Rule into the rule table under Key (EListError on a duplicate, Rule freed).
    TSVGStyle* AddRule(const QString& Key, std::unique_ptr<TSVGStyle> Rule);
    // Empties the rule table, raising OnRemoveStyle for and freeing each rule.
    void ClearStyles();
    // The style element of WriteAttributes.
    void WriteStyleRules(TXMLNode Node) const;
    void CopyStyles(const TSVGStyleTable& Source);
    // The list kept for elements of Type, or nil.
    TList<TSVGElement*>* TypeList(TSVGElementType Type);

    TSVGElementTable FAllItems;
    // For an ID that several elements carry: the carriers without the entry, in
    // document order.
    QHash<QString, QList<TSVGElement*>> FDuplicateIDs;
    // The carrier LeaveID is handing an entry to, while it does.
    const TSVGElement* FPromotedCarrier = nullptr;
    TSVGStyleTable FStyles;
    TSVGOptions FOptions = SVGDefaultOptions;
    std::unique_ptr<TSVGPreserveAspectRatio> FDefaultAspectRatio;
    std::unique_ptr<TStringList> FPrefLanguages;
    int FDPI = SVGDefaultDPI;
    TSVGUnitFactors FUnitFactors;
    TSVGShapeRendering FDefaultShapeRendering = srnGeometricPrecision;
    TSVGColorRendering FDefaultColorRendering = clrnAuto;
    TSVGTextRendering FDefaultTextRendering = txrnAuto;
    TSVGColorInterpolation FDefaultColorInterpolation = sciSRGB;
    QString FFormatStr = SVGDefaultFormatStr;
    TList<TSVGElement*> FGradients;
    TList<TSVGElement*> FMarkers;
    TList<TSVGElement*> FPatterns;
    // For each element of those lists, its entries in the ID table: two while SetID
    // moves it from its old key to its new one, one otherwise.
    std::unordered_map<const TSVGElement*, int> FListedEntries;
    int FProvisionalCount = 0;
    mutable std::unique_ptr<TSVGCascadeRules> FCascadeRules;
    mutable int FCascadeRuns = 0;
};

} // namespace velk
