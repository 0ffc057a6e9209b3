#include "svg/style_writer.h"

#include "svg/xml_attributes.h"

namespace velk {

bool SVGWriteStyleProperty(TXMLNode Node, TSVGStyleProperty Property, const QString& Value, bool SkipDefault,
                           bool Inherited, bool AsStyle, const QString& Default)
{
    const QString name = SVGStylePropertyName(Property);
    if (name.isEmpty())
        return false; // ipNone has no name to write
    const bool inherits = SVGDefaultInherits.Contains(Property);
    const QString value = Inherited ? u"inherit"_qs : Value.isEmpty() && Default == u"none" ? Default : Value;
    const bool omit = Inherited ? inherits : value.isEmpty() || (SkipDefault && !inherits && value == Default);

    if (!AsStyle)
        return SVGWriteAttribute(Node, name, value, omit);
    if (omit)
        return false;
    const QString style = SVGReadAttribute(Node, u"style"_qs);
    const QString declaration = name + u':' + value;
    return SVGWriteAttribute(Node, u"style"_qs, style.isEmpty() ? declaration : style + u"; "_qs + declaration);
}

} // namespace velk
