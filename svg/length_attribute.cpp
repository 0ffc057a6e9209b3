#include "svg/length_attribute.h"

#include "svg/length_syntax.h"
#include "svg/xml_attributes.h"

namespace velk {

bool SVGWriteLengthAttribute(TXMLNode Node, const QString& Name, const TSVGLength& Length, QStringView FormatStr,
                             bool OmitZero)
{
    return SVGWriteAttribute(Node, Name, SVGLengthToStr(Length, FormatStr), OmitZero && Length.Raw() == 0);
}

} // namespace velk
