#pragma once
// Writing one presentation property, as its own attribute or as a declaration of the
// element's "style" attribute.

#include "platform/xml/node.h"
#include "svg/style_property.h"

#include <QString>

namespace velk {

// Writes Property with Value to Node; true when something was written (never for
// ipNone).
// - An empty Value with Default "none" is written as "none"; any other empty Value is
//   not written (an empty declaration reads back as no value).
// - Inherited: a property that inherits anyway (SVGDefaultInherits) is not written;
//   any other is written as "inherit" (AsStyle: the declaration "name:inherit").
// - Not inherited: with SkipDefault, a Value equal to Default is not written for a
//   property that does not inherit (an inheriting property writes its default, which
//   stops the parent's value from applying).
// - AsStyle appends "name:value" to the "style" attribute ("; " between declarations);
//   otherwise the attribute is set through SVGWriteAttribute, and an attribute of that
//   name already on the node is removed when nothing is written.
bool SVGWriteStyleProperty(TXMLNode Node, TSVGStyleProperty Property, const QString& Value, bool SkipDefault,
                           bool Inherited, bool AsStyle, const QString& Default);

} // namespace velk
