#pragma once
// The error raised for invalid SVG documents and element trees, and the fixed texts of
// the element tree and the document.

#include "platform/exceptions.h"

namespace velk {

class ESVGException : public Exception {
public:
    using Exception::Exception;
};

namespace messages {
inline constexpr char16_t SVGInvalidDocument[] = u"Not a valid SVG document";
// The DOM node type name ("ntElement"), then the element's local name.
inline constexpr char16_t SVGUnknownElement[] = u"Unknown SVG element <%s> in document: %s";
// The parent's type name, then the child's.
inline constexpr char16_t SVGChildNotAllowed[] = u"SVG element <%s> does not allow children of <%s> element type";
inline constexpr char16_t SVGOwnParent[] = u"An svg element cannot have itself as its parent";
inline constexpr char16_t SVGDescendantParent[] = u"An svg element cannot have its descendant as its parent";
inline constexpr char16_t SVGEntityTooDeep[] = u"Entity references nested deeper than %d levels";
inline constexpr char16_t SVGEntityTooLarge[] = u"Entity references expand to more than %d nodes";
inline constexpr char16_t SVGElementTooDeep[] = u"Elements nested deeper than %d levels";
// Transform lists: matrix() with the argument text; "translate", "scale" or "rotation"
// with the argument text; the unknown function name.
inline constexpr char16_t SVGInvalidMatrix[] = u"Invalid matrix: %s";
inline constexpr char16_t SVGInvalidTransformMatrix[] = u"Invalid %s transformation matrix: %s";
inline constexpr char16_t SVGInvalidTransformation[] = u"Invalid transformation: %s";
// The whole selector text.
inline constexpr char16_t SVGInvalidSelector[] = u"Invalid selector: %s";
} // namespace messages

} // namespace velk
