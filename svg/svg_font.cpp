#include "svg/svg_font.h"

#include "svg/font_family.h"
#include "svg/keywords.h"

namespace velk {

const TClassInfo& TSVGFont::StaticClass()
{
    using C = TSVGFont;
    static const TClassInfo info(u"TSVGFont"_qs, &TVelkGPFont::StaticClass(), &CreateInstance<C>,
                                 TPublished<C>()
                                     .Set(u"ExtendStyles"_qs, &C::ExtendStyles, &C::SetExtendStyles, TExtendedFontStyles())
                                     .Enumeration(u"SizePreferredUnit"_qs, &C::SizePreferredUnit,
                                                  &C::SetSizePreferredUnit, suNone)
                                     .Enumeration(u"FontVariant"_qs, &C::FontVariant, &C::SetFontVariant, fvNormal)
                                     .Object(u"Families"_qs, &C::Families)
                                     .Enumeration(u"Weight"_qs, &C::Weight, &C::SetWeight, fwNormal)
                                     .Take());
    return info;
}

TSVGFont::TSVGFont(TVelkGPCanvas* AOwner) : TVelkGPFont(AOwner), FFamilies(std::make_unique<TStringList>())
{
    FFamilies->OnChange = [this](TObject*) { FamiliesChanged(); };
}

TSVGFont::~TSVGFont() = default;

std::unique_ptr<TVelkGPGraphicsObject> TSVGFont::CreateSame(TVelkGPCanvas* AOwner) const
{
    return std::make_unique<TSVGFont>(AOwner);
}

void TSVGFont::SetExtendStyles(TExtendedFontStyles Value)
{
    if (Value == FExtendStyles)
        return;
    FExtendStyles = Value;
    Changed();
}

void TSVGFont::SetSizePreferredUnit(TSVGUnit Value)
{
    FSizePreferredUnit = Value;
}

void TSVGFont::SetFontVariant(TSVGFontVariant Value)
{
    if (Value == FFontVariant)
        return;
    FFontVariant = Value;
    Changed();
}

void TSVGFont::SetFamilies(const TStrings& Value)
{
    FFamilies->Assign(&Value);
}

void TSVGFont::SetWeight(TSVGFontWeight Value)
{
    if (Value == FWeight)
        return;
    FWeight = Value;
    TFontStyles style = Style();
    switch (Value) {
    case fwNone:
        break;
    case fwNormal:
    case fwLighter:
    case fw100:
    case fw200:
    case fw300:
    case fw400:
    case fw500:
        style.Exclude(fsBold);
        break;
    case fwBold:
    case fwBolder:
    case fw600:
    case fw700:
    case fw800:
    case fw900:
        style.Include(fsBold);
        break;
    }
    if (style != Style())
        SetStyle(style);
    else
        Changed();
}

void TSVGFont::FamiliesChanged()
{
    for (int i = 0; i < FFamilies->Count(); ++i) {
        const QString family = FFamilies->Strings(i);
        if (IsFontFamilyAvailable(family)) {
            SetName(family);
            return;
        }
    }
}

void TSVGFont::Clear()
{
    SetExtendStyles({});
    SetStyle({});
    SetSize(11);
    SetFontVariant(fvNormal);
    SetSizePreferredUnit(suNone);
    const TQuietChanges quiet(*FFamilies);
    FFamilies->Clear();
}

QString TSVGFont::FamiliesToString() const
{
    return SVGFontFamiliesToStr(*FFamilies);
}

bool TSVGFont::IsDecorated() const
{
    return Style().Contains(fsUnderline) || Style().Contains(fsStrikeOut) || FExtendStyles.Contains(fsOverline);
}

void TSVGFont::Assign(const TPersistent* Source)
{
    if (const auto* font = dynamic_cast<const TSVGFont*>(Source); font && font != this) {
        FExtendStyles = font->FExtendStyles;
        FFontVariant = font->FFontVariant;
        FWeight = font->FWeight;
        FSizePreferredUnit = font->FSizePreferredUnit;
        const TQuietChanges quiet(*FFamilies);
        FFamilies->Assign(font->FFamilies.get());
    }
    TVelkGPFont::Assign(Source);
}

} // namespace velk
