// Feeds arbitrary bytes to the XML parser, walks everything it accepts (entity
// content included) and writes it back: nothing may crash, hang or blow up.

#include "platform/exceptions.h"
#include "platform/xml/document.h"

#include <cstddef>
#include <cstdint>

using namespace velk;

namespace {

void Walk(const TXMLNode& node, int depth)
{
    if (depth > 300)
        return; // libxml2 refuses deeper documents; entity content adds a little
    (void)node.LocalName();
    (void)node.NamespaceURI();
    (void)node.Text();
    for (const TXMLAttribute& attribute : node.Attributes())
        (void)node.Attribute(attribute.Name, attribute.NamespaceURI);
    if (node.NodeType() == ntEntityRef)
        (void)node.IsInternalEntity();
    for (const TXMLNode& child : node.ChildNodes())
        Walk(child, depth + 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const TXMLDocument document =
            TXMLDocument::LoadFromBytes(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
        Walk(document.DocumentElement(), 0);
        // What we write we must be able to read again.
        (void)TXMLDocument::LoadFromBytes(document.SaveToBytes());
    } catch (const Exception&) {
    }
    return 0;
}
