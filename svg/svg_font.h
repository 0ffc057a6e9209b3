#pragma once
// TSVGFont: an element's font. The backend font plus what SVG adds: the font-family list
// with its generic families, weight and variant keywords, the unit the size was written
// in, and the two decorations the backend has no style bit for (overline, blink).
//
//   TSVGFont font;
//   font.Families()->SetCommaText(u"Arial,serif"_qs);   // Name() becomes "Arial" when installed
//   font.FamiliesToString();                           // "Arial, serif"

#include "graphics/font.h"
#include "platform/string_list.h"
#include "svg/keyword_forms.h"
#include "svg/keywords.h"
#include "svg/length.h"

#include <QString>

#include <memory>

namespace velk {

class TSVGFont : public TVelkGPFont {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // The backend font's defaults; variant fvNormal, weight fwNormal, no families.
    explicit TSVGFont(TVelkGPCanvas* AOwner = nullptr);
    ~TSVGFont() override;

    // Published.
    // Decorations beyond the backend style bits; a change raises OnChange.
    TExtendedFontStyles ExtendStyles() const { return FExtendStyles; }
    void SetExtendStyles(TExtendedFontStyles Value);
    // The unit the font size was written in.
    TSVGUnit SizePreferredUnit() const { return FSizePreferredUnit; }
    void SetSizePreferredUnit(TSVGUnit Value);
    // A change raises OnChange.
    TSVGFontVariant FontVariant() const { return FFontVariant; }
    void SetFontVariant(TSVGFontVariant Value);
    // The font-family list in order (owned); every change of it calls FamiliesChanged.
    // The setter assigns the list.
    TStringList* Families() const { return FFamilies.get(); }
    void SetFamilies(const TStrings& Value);
    // When different: stored; normal, lighter and 100..500 clear the backend bold style,
    // bold, bolder and 600..900 set it, fwNone leaves it; OnChange.
    TSVGFontWeight Weight() const { return FWeight; }
    void SetWeight(TSVGFontWeight Value);

    // The first family the backend reports available (IsFontFamilyAvailable) becomes
    // Name. Generic families always are, so the walk ends at the first one, which the
    // backend then maps to a concrete family.
    virtual void FamiliesChanged();
    // No extended or backend styles, size 11, variant fvNormal, no preferred size unit,
    // the family list emptied without FamiliesChanged. Weight and Name stay.
    virtual void Clear();
    // The families as a font-family text: joined by ", ", names with blanks quoted
    // ('Times New Roman', serif); reads back as the same list (SVGFontFamiliesToStr).
    virtual QString FamiliesToString() const;
    // Underline or strike-out, or fsOverline (blink alone does not count).
    bool IsDecorated() const;

    // From a TSVGFont: extended styles, variant, weight, preferred size unit and the
    // families (without FamiliesChanged: the name comes with the backend font); then the
    // backend font's rules.
    void Assign(const TPersistent* Source) override;
    using TVelkGPFont::Assign;

protected:
    std::unique_ptr<TVelkGPGraphicsObject> CreateSame(TVelkGPCanvas* AOwner) const override;

private:
    TExtendedFontStyles FExtendStyles;
    TSVGUnit FSizePreferredUnit = suNone;
    std::unique_ptr<TStringList> FFamilies;
    TSVGFontVariant FFontVariant = fvNormal;
    TSVGFontWeight FWeight = fwNormal;
};

} // namespace velk
