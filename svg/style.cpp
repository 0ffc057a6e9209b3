#include "svg/style.h"

#include "svg/comments.h"
#include "svg/trim.h"

namespace velk {

const TClassInfo& TSVGStyle::StaticClass()
{
    static const TClassInfo info(QStringLiteral("TSVGStyle"), &TPersistent::StaticClass(), &CreateInstance<TSVGStyle>,
                                 TPublished<TSVGStyle>()
                                     .Event(u"OnChange"_qs)
                                     .Object(u"StyleValues"_qs, &TSVGStyle::StyleValues)
                                     .String(u"Name"_qs, &TSVGStyle::Name, &TSVGStyle::SetName)
                                     .Boolean(u"Enabled"_qs, &TSVGStyle::Enabled, &TSVGStyle::SetEnabled, true)
                                     .Take());
    return info;
}

TSVGStyle::TSVGStyle() : FStyleValues(std::make_unique<TStringList>())
{
    FStyleValues->SetNameValueSeparator(u'=');
    FStyleValues->OnChange = [this](TObject*) { Changed(); };
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
