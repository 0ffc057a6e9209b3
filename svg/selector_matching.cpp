#include "svg/selector_matching.h"

#include "svg/document.h"
#include "svg/graphic_element.h"
#include "svg/style.h"

#include <climits>
#include <cstdint>
#include <memory>
#include <optional>

namespace velk {

namespace {

// The counters of a selector: IDs; attribute, class, language and combinator steps;
// type names.
struct TSelectorCounts {
    int I = 0;
    int A = 0;
    int T = 0;
};

// The decimal digits of I, A and T written one after the other, read as one number.
// Absurd selectors (hundreds of steps) would overflow: the result stays at INT_MAX,
// which keeps the order (more digits or larger ones never give less).
int Concatenated(const TSelectorCounts& Counts)
{
    std::int64_t result = 0;
    for (const int count : {Counts.I, Counts.A, Counts.T}) {
        std::int64_t scale = 10;
        while (scale <= count)
            scale *= 10;
        result = result * scale + count;
        if (result > INT_MAX)
            return INT_MAX;
    }
    return static_cast<int>(result);
}

// Element's SVGTypeName is Name, without making the name text for typed elements.
bool HasTypeName(const TSVGElement& Element, QStringView Name)
{
    const TSVGElementType type = Element.SVGType();
    if (type == etNone)
        return Name == Element.SVGTypeName();
    return Name == QStringView(SVGElementNames[static_cast<std::size_t>(type)]);
}

// The attribute-value comparisons of CSS, case-sensitive: contains-word looks for Token
// among the blank-separated words of Value, dash-match for Value being Token or
// beginning with Token and "-".
bool TestValue(TSVGSelectorTokenType Type, QStringView Value, QStringView Token)
{
    switch (Type) {
    case sttPrefixMatch:
        return Value.startsWith(Token);
    case sttDashMatch:
        return Value == Token || (Value.startsWith(Token) && Value.mid(Token.size()).startsWith(u'-'));
    case sttSuffixMatch:
        return Value.endsWith(Token);
    case sttSubstringMatch:
        return Value.contains(Token);
    case sttContainsWord: {
        if (Token.isEmpty())
            return false;
        for (const QStringView word : Value.tokenize(u' ', Qt::SkipEmptyParts))
            if (word == Token)
                return true;
        return false;
    }
    default: // sttExactMatch
        return Value == Token;
    }
}

// The text of the attribute Name as Element read it (its own declarations keep every
// attribute), or nothing.
std::optional<QString> ReadAttributeText(const TSVGElement& Element, const QString& Name)
{
    const auto* graphic = dynamic_cast<const TSVGGraphicElement*>(&Element);
    if (!graphic)
        return std::nullopt;
    const TStrings& values = *graphic->Style().StyleValues();
    const int index = values.IndexOfName(Name);
    if (index < 0)
        return std::nullopt;
    return values.ValueFromIndex(index);
}

// The tests of a selector against one element; the current property texts are made
// only when an attribute value asks for them.
class TSelectorWalk {
public:
    explicit TSelectorWalk(const TSVGGraphicElement& Element) : FElement(Element) {}

    int Run(const TSVGSelectorTokens& Tokens)
    {
        if (Tokens.isEmpty())
            return -1;
        const TSVGElement* subject = &FElement;
        TSelectorCounts counts;
        // A leading universal selector ("*" or "* rect") stands for any element.
        const qsizetype first = Tokens.first().TokenType == sttUniversalChar ? 1 : 0;
        for (qsizetype i = first; i < Tokens.size(); ++i) {
            const TSVGSelectorToken& token = Tokens[i];
            switch (token.TokenType) {
            case sttString:
                if (!HasTypeName(*subject, token.Value))
                    return -1;
                ++counts.T;
                break;
            case sttHasAttribute:
                if (!HasAttribute(*subject, token.Value))
                    return -1;
                ++counts.A;
                break;
            case sttPrefixMatch:
            case sttSuffixMatch:
            case sttSubstringMatch:
            case sttExactMatch:
            case sttDashMatch:
            case sttContainsWord: {
                const QString& name = i > 0 && Tokens[i - 1].TokenType == sttHasAttribute ? Tokens[i - 1].Value
                                                                                          : QString();
                if (!AttributeValueMatches(name, token.TokenType, token.Value))
                    return -1;
                ++counts.A;
                break;
            }
            case sttIDHashChar:
                if (token.Value != subject->ID())
                    return -1;
                ++counts.I;
                break;
            case sttClassChar:
                if (!subject->HasClass(token.Value))
                    return -1;
                ++counts.A;
                break;
            case sttLanguage:
                if (!subject->HasLanguage(token.Value))
                    return -1;
                ++counts.A;
                break;
            case sttUniversalChar:
            case sttHasDescendant:
            case sttHasChild:
            case sttHasFollower:
                subject = Related(*subject, token);
                if (!subject)
                    return -1;
                ++counts.A;
                break;
            default: // sttNone, sttColonChar
                break;
            }
        }
        return Concatenated(counts);
    }

private:
    // A presentation property the subject has, one of the attributes every element has
    // a field for, or any other attribute it was read with (x, d, ...).
    static bool HasAttribute(const TSVGElement& Subject, const QString& Name)
    {
        if (Name == u"id" || Name == u"lang" || Name == u"systemLanguage" || Name == u"class")
            return true;
        const TSVGStyleProperty property = SVGNameToStyleProperty(Name);
        if (property != ipNone)
            return Subject.Attributes().Contains(property);
        return ReadAttributeText(Subject, Name).has_value();
    }

    // Attribute values are always those of the element being matched, whatever subject
    // the combinators reached.
    bool AttributeValueMatches(const QString& Name, TSVGSelectorTokenType Type, QStringView Token)
    {
        const auto test = [Type](QStringView Value, QStringView Wanted) { return TestValue(Type, Value, Wanted); };
        if (Name == u"id")
            return test(FElement.ID(), Token);
        if (Name == u"lang")
            return test(FElement.Language(), Token);
        if (Name == u"systemLanguage" || Name == u"class") {
            const TStrings& items = Name == u"class" ? FElement.Classes() : FElement.SystemLanguages();
            for (int i = 0; i < items.Count(); ++i)
                if (test(items.Strings(i), Token))
                    return true;
            return false;
        }
        if (SVGNameToStyleProperty(Name) == ipNone) {
            const std::optional<QString> text = ReadAttributeText(FElement, Name);
            return text && test(*text, Token);
        }
        return test(PropertyTexts().StyleValues()->Values(Name), Token);
    }

    const TSVGStyle& PropertyTexts()
    {
        if (!FPropertyTexts) {
            FPropertyTexts = std::make_unique<TSVGStyle>();
            FElement.AssignTo(FPropertyTexts.get());
        }
        return *FPropertyTexts;
    }

    // The element the combinator token names (by ID in the subject's owner), when it
    // stands in the token's relation to Subject; nil otherwise.
    static const TSVGElement* Related(const TSVGElement& Subject, const TSVGSelectorToken& Token)
    {
        const TSVGDocument* owner = Subject.Owner();
        TSVGElement* found = nullptr;
        if (!owner || !owner->AllItems().TryGetValue(Token.Value, found) || !found)
            return nullptr;
        bool related = false;
        switch (Token.TokenType) {
        case sttUniversalChar: // the subject lies below it
            related = found->HasDescendant(&Subject);
            break;
        case sttHasDescendant: // it lies below the subject
            related = Subject.HasDescendant(found);
            break;
        case sttHasChild:
            related = found->Parent() == &Subject;
            break;
        default: // sttHasFollower
            related = Subject.HasFollowing(found);
            break;
        }
        return related ? found : nullptr;
    }

    const TSVGGraphicElement& FElement;
    std::unique_ptr<TSVGStyle> FPropertyTexts;
};

} // namespace

int SVGMatchSelector(const TSVGGraphicElement& Element, const TSVGSelectorTokens& Tokens)
{
    return TSelectorWalk(Element).Run(Tokens);
}

int TSVGGraphicElement::Matches(QStringView Selector) const
{
    return SVGMatchSelector(*this, SVGTokenizeSelector(Selector));
}

} // namespace velk
