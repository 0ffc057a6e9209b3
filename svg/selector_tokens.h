#pragma once
// CSS selectors as flat token lists: the form in which an element matches a style rule
// ("g > rect.warn" is the type name g, then a child step rect with the class warn).

#include "platform/enum_names.h"

#include <QList>
#include <QString>
#include <QStringView>
#include <array>
#include <string_view>

namespace velk {

// What a token's value is.
enum TSVGSelectorTokenType {
    sttNone,           // no token
    sttString,         // a type name
    sttHasAttribute,   // an attribute name ("[fill]")
    sttPrefixMatch,    // what the attribute begins with ("^=")
    sttSuffixMatch,    // what the attribute ends with ("$=")
    sttSubstringMatch, // what the attribute contains ("*=")
    sttExactMatch,     // what the attribute equals ("=")
    sttDashMatch,      // what the attribute begins with ("|=")
    sttContainsWord,   // a word of the attribute ("~=")
    sttIDHashChar,     // an ID ("#")
    sttUniversalChar,  // the text after "*"
    sttColonChar,      // a pseudo-class name (":")
    sttClassChar,      // a class name (".")
    sttHasDescendant,  // the step after a blank
    sttHasChild,       // the step after ">"
    sttHasFollower,    // the step after "+"
    sttLanguage        // the text inside parentheses (":lang(en)")
};

template <>
struct EnumNames<TSVGSelectorTokenType> {
    static constexpr std::array<std::u16string_view, 17> Names{
        u"sttNone",          u"sttString",        u"sttHasAttribute",   u"sttPrefixMatch", u"sttSuffixMatch",
        u"sttSubstringMatch", u"sttExactMatch",   u"sttDashMatch",      u"sttContainsWord", u"sttIDHashChar",
        u"sttUniversalChar", u"sttColonChar",     u"sttClassChar",      u"sttHasDescendant", u"sttHasChild",
        u"sttHasFollower",   u"sttLanguage"};
};

// The text each type stands for in a selector ("" for sttNone and sttString).
inline constexpr std::array<std::u16string_view, 17> SVGSelectorTokenTexts{
    u"", u"", u"[", u"^=", u"$=", u"*=", u"=", u"|=", u"~=", u"#", u"*", u":", u".", u" ", u">", u"+", u"lang"};

// The type whose token text is Text (exact case), sttNone for any other text.
TSVGSelectorTokenType SVGStrToSelectorTokenType(QStringView Text);

struct TSVGSelectorToken {
    TSVGSelectorTokenType TokenType = sttNone;
    QString Value;

    static TSVGSelectorToken Create(TSVGSelectorTokenType aTokenType, const QString& aValue);
    // The type's name, its token text in parentheses, " = " and the value in double
    // quotes: sttClassChar(.) = "warn".
    QString ToString() const;
    bool operator==(const TSVGSelectorToken&) const = default;
};

using TSVGSelectorTokens = QList<TSVGSelectorToken>;

// The tokens of a selector, read once from start to end (linear in its length):
// - a type name gives sttString, or sttHasDescendant right after a name or a step;
// - "#", "*", ".", ":", ">", "+" start a token of their type with the text that follows
//   (blanks after the character are skipped, so "* rect" is one sttUniversalChar rect);
// - a blank ends the pending token;
// - "(" gives an sttLanguage token of the text up to ")" or the end of the selector;
// - "[name]" gives sttHasAttribute; "[name=value]" adds sttExactMatch, and "^=", "$=",
//   "*=", "|=", "~=" their types, with the text up to the next "]".
// Values are trimmed and lose one leading and one trailing quote (" or '). A token of
// type sttNone is never added, so an empty or blank selector gives no tokens.
// Raises ESVGException "Invalid selector: %s" (the whole selector) for an attribute
// selector whose operator character is not followed by "=" ("[fill^red]") or that has
// no closing "]" ("[fill").
TSVGSelectorTokens SVGTokenizeSelector(QStringView Selector);

} // namespace velk
