#include "svg/style.h"

#include "svg/comments.h"
#include "svg/trim.h"

#include <algorithm>

namespace velk {

namespace {

// The named published properties: one string per presentation property except
// flood-color and flood-opacity.
struct TNamedProperty {
    std::u16string_view Name;
    TSVGStyleProperty Property;
};
constexpr TNamedProperty NamedProperties[] = {
    {u"Alignment_Baseline", ipAlignmentBaseline},
    {u"Baseline_Shift", ipBaselineShift},
    {u"Clip", ipClip},
    {u"Clip_Path", ipClipPath},
    {u"Clip_Rule", ipClipRule},
    {u"Color", ipColor},
    {u"Color_Interpolation", ipColorInterpolation},
    {u"Color_Rendering", ipColorRendering},
    {u"Cursor", ipCursor},
    {u"Direction", ipDirection},
    {u"Display", ipDisplay},
    {u"Dominant_Baseline", ipDominantBaseline},
    {u"Fill", ipFill},
    {u"Fill_Opacity", ipFillOpacity},
    {u"Fill_Rule", ipFillRule},
    {u"Font", ipFont},
    {u"Font_Family", ipFontFamily},
    {u"Font_Size", ipFontSize},
    {u"Font_Style", ipFontStyle},
    {u"Font_Variant", ipFontVariant},
    {u"Font_Weight", ipFontWeight},
    {u"Glyph_Orientation_horizontal", ipGlyphOrientationHorizontal},
    {u"Glyph_Orientation_vertical", ipGlyphOrientationVertical},
    {u"Kerning", ipKerning},
    {u"Letter_spacing", ipLetterSpacing},
    {u"Marker", ipMarker},
    {u"Marker_End", ipMarkerEnd},
    {u"Marker_Mid", ipMarkerMid},
    {u"Marker_Start", ipMarkerStart},
    {u"Opacity", ipOpacity},
    {u"Overflow", ipOverflow},
    {u"Shape_Rendering", ipShapeRendering},
    {u"Stop_Color", ipStopColor},
    {u"Stop_Opacity", ipStopOpacity},
    {u"Stroke", ipStroke},
    {u"Stroke_Dasharray", ipStrokeDasharray},
    {u"Stroke_Dashoffset", ipStrokeDashOffset},
    {u"Stroke_Linecap", ipStrokeLinecap},
    {u"Stroke_Linejoin", ipStrokeLineJoin},
    {u"Stroke_Miterlimit", ipStrokeMiterLimit},
    {u"Stroke_Opacity", ipStrokeOpacity},
    {u"Stroke_Width", ipStrokeWidth},
    {u"Text_Anchor", ipTextAnchor},
    {u"Text_Decoration", ipTextDecoration},
    {u"Text_Rendering", ipTextRendering},
    {u"Vector_Effect", ipVectorEffect},
    {u"Visibility", ipVisibility},
    {u"Word_Spacing", ipWordSpacing},
    {u"Writing_Mode", ipWritingMode},
};

std::vector<TPropertyInfo> PublishedProperties()
{
    TPublished<TSVGStyle> table;
    table.Event(u"OnChange"_qs)
        .Object(u"StyleValues"_qs, &TSVGStyle::StyleValues)
        .String(u"Name"_qs, &TSVGStyle::Name, &TSVGStyle::SetName)
        .Boolean(u"Enabled"_qs, &TSVGStyle::Enabled, &TSVGStyle::SetEnabled, true);
    // StyleValues streams the declarations; the named views of them are not streamed again.
    for (const TNamedProperty& named : NamedProperties) {
        const TSVGStyleProperty property = named.Property;
        table
            .String(
                NameText(named.Name), [property](const TSVGStyle& Style) { return Style.GetStyleProp(property); },
                [property](TSVGStyle& Style, const QString& Value) { Style.SetStyleProp(property, Value); })
            .NeverStored();
    }
    return table.Take();
}

} // namespace

const TClassInfo& TSVGStyle::StaticClass()
{
    static const TClassInfo info(QStringLiteral("TSVGStyle"), &TPersistent::StaticClass(), &CreateInstance<TSVGStyle>,
                                 PublishedProperties());
    return info;
}

TSVGStyle::TSVGStyle() : FStyleValues(std::make_unique<TStringList>())
{
    FStyleValues->SetNameValueSeparator(u'=');
    FStyleValues->OnChanging = [this](TObject*) { FDeclarations.reset(); };
    FStyleValues->OnChange = [this](TObject*) {
        FDeclarations.reset();
        Changed();
    };
}

TSVGStyle::TSVGStyle(const QString& aName, QStringView aStyles) : TSVGStyle()
{
    FName = aName;
    SetStyle(aStyles);
}

TSVGStyle::~TSVGStyle() = default;

void TSVGStyle::Changed()
{
    if (OnChange)
        OnChange(this);
}

namespace {

// Property names are lower-case ASCII: a name in that form is looked up as it is, any
// other one after case folding (declarations compare names without case).
TSVGStyleProperty PropertyOfName(QStringView Name)
{
    for (const QChar c : Name)
        if (c.unicode() > 0x7F || (c.unicode() >= u'A' && c.unicode() <= u'Z'))
            return SVGNameToStyleProperty(Name.toString().toCaseFolded());
    return SVGNameToStyleProperty(Name);
}

} // namespace

const TSVGStyle::TDeclarations& TSVGStyle::Declarations() const
{
    // Changes inside an update bracket are not announced until its end: read afresh.
    if (FDeclarations && FStyleValues->UpdateCount() == 0)
        return *FDeclarations;
    TDeclarations declarations;
    TSVGStyleProperties seen;
    for (int i = 0; i < FStyleValues->Count(); ++i) {
        const QString& line = FStyleValues->Strings(i);
        const qsizetype separator = line.indexOf(FStyleValues->NameValueSeparator());
        if (separator < 0)
            continue;
        const TSVGStyleProperty property = PropertyOfName(QStringView(line).left(separator));
        if (property == ipNone || seen.Contains(property))
            continue;
        seen.Include(property);
        declarations.emplace_back(property, SVGTrim(QStringView(line).sliced(separator + 1)).toString());
    }
    std::sort(declarations.begin(), declarations.end(),
              [](const auto& A, const auto& B) { return A.first < B.first; });
    FDeclarations = std::move(declarations);
    return *FDeclarations;
}

bool TSVGStyle::IsIgnoredAttribute(QStringView Name) const
{
    return Name == u"marker";
}

TSVGStyleProperties TSVGStyle::AddStyle(TXMLNode Node)
{
    TSVGStyleProperties result;
    WithinUpdate(*FStyleValues, [&] {
        for (const TXMLAttribute& attribute : Node.Attributes()) {
            if (IsIgnoredAttribute(attribute.LocalName))
                continue;
            result.Include(SVGNameToStyleProperty(attribute.LocalName));
            FStyleValues->Add(attribute.LocalName + FStyleValues->NameValueSeparator() + attribute.Value);
        }
    });
    return result;
}

TSVGStyleProperties TSVGStyle::AddStyle(QStringView aStyles)
{
    TSVGStyleProperties result;
    const QStringView trimmed = SVGTrim(aStyles);
    if (trimmed.isEmpty())
        return result;
    const QString block = SVGRemoveComments(trimmed);
    WithinUpdate(*FStyleValues, [&] {
        for (const QStringView item : QStringView(block).tokenize(u';')) {
            const qsizetype colon = item.indexOf(u':');
            if (colon < 0)
                continue; // neither name nor value
            const QStringView name = SVGTrim(item.first(colon));
            const QStringView value = SVGTrim(item.sliced(colon + 1));
            if (name.isEmpty() && value.isEmpty())
                continue;
            result.Include(SVGNameToStyleProperty(name));
            FStyleValues->SetValues(name.toString(), value.toString());
        }
    });
    return result;
}

void TSVGStyle::SetStyle(QStringView aStyles)
{
    WithinUpdate(*FStyleValues, [&] {
        FStyleValues->Clear();
        AddStyle(aStyles);
    });
}

void TSVGStyle::LoadFromXML(TXMLNode Node)
{
    WithinUpdate(*FStyleValues, [&] {
        FStyleValues->Clear();
        AddStyle(Node);
    });
}

QString TSVGStyle::GetStyleProp(TSVGStyleProperty Property) const
{
    if (Property == ipNone)
        return {};
    return FStyleValues->Values(SVGStylePropertyName(Property));
}

void TSVGStyle::SetStyleProp(TSVGStyleProperty Property, const QString& Value)
{
    if (Property == ipNone)
        return;
    FStyleValues->SetValues(SVGStylePropertyName(Property), Value);
}

void TSVGStyle::SetName(const QString& Value)
{
    if (FName == Value)
        return;
    FName = Value;
    Changed();
}

void TSVGStyle::SetEnabled(bool Value)
{
    if (FEnabled == Value)
        return;
    FEnabled = Value;
    Changed();
}

void TSVGStyle::Assign(const TPersistent* Source)
{
    if (Source == this)
        return;
    if (const auto* style = dynamic_cast<const TSVGStyle*>(Source)) {
        WithinUpdate(*FStyleValues, [&] {
            FName = style->FName;
            FStyleValues->Assign(style->FStyleValues.get());
        });
        return;
    }
    if (const auto* strings = dynamic_cast<const TStrings*>(Source)) {
        FStyleValues->Assign(strings);
        return;
    }
    TPersistent::Assign(Source);
}

void TSVGStyle::AssignTo(TPersistent* Dest) const
{
    if (auto* strings = dynamic_cast<TStrings*>(Dest)) {
        strings->Assign(FStyleValues.get());
        return;
    }
    TPersistent::AssignTo(Dest);
}

QString TSVGStyle::ToString() const
{
    return FName + u" { "_qs + FStyleValues->Text() + u" }"_qs;
}

} // namespace velk
