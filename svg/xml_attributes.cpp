#include "svg/xml_attributes.h"

#include "platform/string_list.h"
#include "svg/trim.h"

namespace velk {

namespace {

// The namespace URI and local name of an attribute as writers name it ("xlink:href").
// A prefix the node does not resolve leaves the name whole and without namespace, which
// is how the XML parser keeps attributes with an undeclared prefix.
struct TAttributeName {
    QString LocalName;
    QString NamespaceURI;
};

TAttributeName ResolveAttributeName(TXMLNode Node, const QString& Name)
{
    const qsizetype colon = Name.indexOf(u':');
    if (colon < 0)
        return {Name, QString()};
    QString uri = Node.FindNamespaceURI(Name.first(colon));
    if (uri.isEmpty())
        return {Name, QString()};
    return {Name.sliced(colon + 1), std::move(uri)};
}

} // namespace

QStringList SVGCleanStrings(QStringList Items)
{
    qsizetype kept = 0;
    for (qsizetype i = 0; i < Items.size(); ++i) {
        const QStringView item = SVGTrim(Items[i]);
        if (item.isEmpty())
            continue;
        if (item.size() != Items[i].size())
            Items[kept] = item.toString();
        else if (kept != i)
            Items[kept] = std::move(Items[i]);
        ++kept;
    }
    Items.resize(kept);
    return Items;
}

QStringList SVGSplitStrings(QStringView Text, QStringView Separators)
{
    QStringList items;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= Text.size(); ++i) {
        if (i == Text.size() || Separators.contains(Text[i])) {
            items.append(Text.sliced(start, i - start).toString());
            start = i + 1;
        }
    }
    return SVGCleanStrings(std::move(items));
}

std::optional<QString> SVGFindAttribute(TXMLNode Node, const QString& Name, const QString& Namespace)
{
    if (Namespace.isEmpty())
        return Node.HasAttribute(Name) ? std::optional(Node.Attribute(Name)) : std::nullopt;
    // A prefix is a name without colon; anything with one is a namespace URI already.
    const TAttributeName attribute = Namespace.contains(u':') ? TAttributeName{Name, Namespace}
                                                              : ResolveAttributeName(Node, Namespace + u':' + Name);
    if (!Node.HasAttribute(attribute.LocalName, attribute.NamespaceURI))
        return std::nullopt;
    return Node.Attribute(attribute.LocalName, attribute.NamespaceURI);
}

std::optional<QString> SVGFindHref(TXMLNode Node)
{
    const QString href = QStringLiteral("href");
    if (std::optional<QString> value = SVGFindAttribute(Node, href, QStringLiteral("xlink")))
        return value;
    return SVGFindAttribute(Node, href);
}

QString SVGReadAttribute(TXMLNode Node, const QString& Name, const QString& Default, const QString& Namespace)
{
    return SVGFindAttribute(Node, Name, Namespace).value_or(Default);
}

QString SVGReadChildText(TXMLNode Node, const QString& Name, const QString& Default)
{
    const TXMLNode child = Node.FindChild(Name);
    return child.IsNull() ? Default : child.Text();
}

void SVGReadStrings(TXMLNode Node, const QString& Name, TStrings& Strings, QStringView Separators)
{
    if (!Node.HasAttribute(Name))
        return;
    const QStringList items = SVGSplitStrings(Node.Attribute(Name), Separators);
    WithinUpdate(Strings, [&] {
        Strings.Clear();
        // An empty (or blank) attribute still says something: no feature or language
        // matches "".
        if (items.isEmpty())
            Strings.Add(QString());
        for (const QString& item : items)
            Strings.Add(item);
    });
}

bool SVGWriteAttribute(TXMLNode Node, const QString& Name, const QString& Value, bool Omit, bool RemoveExisting)
{
    if (!Omit) {
        Node.SetAttribute(Name, Value);
        return true;
    }
    if (RemoveExisting) {
        const TAttributeName attribute = ResolveAttributeName(Node, Name);
        Node.RemoveAttribute(attribute.LocalName, attribute.NamespaceURI);
    }
    return false;
}

void SVGWriteXLinkAttribute(TXMLNode Node, const QString& Name, const QString& Value)
{
    const QString xlink = QStringLiteral("xlink");
    if (Node.FindNamespaceURI(xlink) != XLinkNamespaceURI)
        Node.DeclareNamespace(xlink, XLinkNamespaceURI);
    Node.SetAttribute(xlink + u':' + Name, Value);
}

bool SVGWriteStrings(TXMLNode Node, const QString& Name, const TStrings& Strings, QChar Delimiter, bool Omit,
                     bool RemoveExisting)
{
    QString value;
    if (!Omit) {
        TStringList joined;
        joined.SetDelimiter(Delimiter);
        for (int i = 0; i < Strings.Count(); ++i)
            joined.Add(Strings[i]);
        value = joined.DelimitedText();
    }
    return SVGWriteAttribute(Node, Name, value, Omit, RemoveExisting);
}

bool SVGWriteChildText(TXMLNode Node, const QString& Name, const QString& Text, bool Omit, bool RemoveExisting)
{
    TXMLNode child = Node.FindChild(Name);
    if (!Omit) {
        if (child.IsNull())
            child = Node.AddChild(Name, SVGNamespaceURI);
        child.SetText(Text);
        return true;
    }
    if (RemoveExisting && !child.IsNull())
        Node.RemoveChild(child);
    return false;
}

} // namespace velk
