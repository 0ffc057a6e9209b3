#pragma once
// Writing one length as an attribute, as the shapes write their geometry.

#include "platform/xml/node.h"
#include "svg/length.h"

#include <QString>
#include <QStringView>

namespace velk {

// Length as Name (SVGLengthToStr with FormatStr). With OmitZero, a length whose number
// as written is 0 is left out (an existing attribute removed). Returns whether it wrote.
bool SVGWriteLengthAttribute(TXMLNode Node, const QString& Name, const TSVGLength& Length, QStringView FormatStr,
                             bool OmitZero);

} // namespace velk
