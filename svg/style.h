#pragma once
// TSVGStyle: a list of style declarations (property name and value text). It is both a
// CSS rule of a document's style sheet (Name is the selector text) and the own
// declarations of an element (its attributes and its "style" attribute).
//
//   TSVGStyle rule(u"rect"_qs, u"fill: red; stroke: blue"_qs);
//   rule.GetStyleProp(ipFill);              // "red"
//   rule.ToString();                        // "rect { fill=red\nstroke=blue\n }"

#include "platform/persistent.h"
#include "platform/string_list.h"
#include "platform/xml/node.h"
#include "svg/style_property.h"

#include <QString>
#include <QStringView>
#include <memory>

namespace velk {

class TSVGStyle : public TPersistent {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // Enabled, no name, no declarations.
    TSVGStyle();
    // Named aName with the declarations of the block aStyles (SetStyle).
    TSVGStyle(const QString& aName, QStringView aStyles);
    ~TSVGStyle() override;

    // Raises OnChange. Called after every change of the declarations made outside an
    // update bracket of StyleValues, at the end of each outermost bracket (changed or
    // not), and by the Name and Enabled setters.
    virtual void Changed();
    // True for attributes that AddStyle(Node) does not store: only "marker", a shorthand
    // that counts in "style" attributes and style sheets alone.
    virtual bool IsIgnoredAttribute(QStringView Name) const;

    // Appends an entry "name=value" for every attribute of Node in document order (the
    // name without its prefix, property or not), within one update bracket; the list is
    // not emptied first. Returns the properties met (ipNone for names that are none).
    virtual TSVGStyleProperties AddStyle(TXMLNode Node);
    // Adds the declarations of a block such as "fill: red; stroke: blue": comments are
    // removed, the text is split at every ";", each item at its first ":" into a name and
    // a value, both trimmed. Items with neither are skipped; otherwise the value is set
    // under the name (in place when present, a later one wins; an empty value removes
    // the entry). A ";" inside quotes or parentheses splits too, and "!important" stays
    // part of the value. Returns the properties met (ipNone for names that are none);
    // an empty text returns the empty set and changes nothing.
    virtual TSVGStyleProperties AddStyle(QStringView aStyles);

    // Replaces the declarations by those of the block aStyles, within one update bracket.
    void SetStyle(QStringView aStyles);
    // Replaces the declarations by the attributes of Node, within one update bracket.
    void LoadFromXML(TXMLNode Node);

    // The value stored under the property's CSS name (names compare without regard to
    // case); "" when there is none, and for ipNone.
    QString GetStyleProp(TSVGStyleProperty Property) const;
    // Sets it; an empty Value removes the entry. ipNone has no name: nothing happens.
    void SetStyleProp(TSVGStyleProperty Property, const QString& Value);

    // The declarations, one "name=value" line each, in the order they were added.
    TStringList* StyleValues() const { return FStyleValues.get(); }
    // The selector text of a rule; empty for an element's own declarations.
    const QString& Name() const { return FName; }
    void SetName(const QString& Value);
    // Whether a rule takes part in the cascade.
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);

    TNotifyEvent OnChange;

    // From a TSVGStyle: Name and the declarations (not Enabled or OnChange); from a
    // string list: the declarations. Changed is called once.
    void Assign(const TPersistent* Source) override;
    // To a string list: the declarations.
    void AssignTo(TPersistent* Dest) const override;

    // Name, " { ", every declaration followed by a line break, " }".
    QString ToString() const;

private:
    std::unique_ptr<TStringList> FStyleValues;
    QString FName;
    bool FEnabled = true;
};

} // namespace velk
