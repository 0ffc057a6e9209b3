#pragma once
// An XML document over libxml2: parsing with network access, DTD loading and external
// entities off, entity references kept as nodes, and writing as indented UTF-8.
// See docs/xml.md for the contract (node lifetime, parse options, error messages, the
// guards against hostile input).

#include "platform/xml/node.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <memory>

struct _xmlDoc;

namespace velk {

class TXMLDocument {
public:
    // The largest input the loaders accept.
    static constexpr qint64 MaxInputSize = qint64(1) << 30;

    // An empty handle (IsNull); the factories below make real documents.
    TXMLDocument();
    ~TXMLDocument();
    TXMLDocument(TXMLDocument&&) noexcept;
    TXMLDocument& operator=(TXMLDocument&&) noexcept;

    // Parse errors raise EXMLParseError "<libxml2's message> (line L, column C)"; an entity
    // expansion beyond the budget raises EXMLParseError as well.
    static TXMLDocument LoadFromBytes(const QByteArray& Data);
    // Reads the device from its current position to its end (EReadError when it cannot be
    // read) and parses that.
    static TXMLDocument LoadFromDevice(QIODevice& Device);
    // EFOpenError when the file cannot be opened.
    static TXMLDocument LoadFromFile(const QString& FileName);
    // A new document whose root element RootName lies in NamespaceURI (declared as the
    // default namespace on the root when not empty).
    static TXMLDocument CreateDocument(const QString& RootName, const QString& NamespaceURI = {});

    bool IsNull() const { return FDoc == nullptr; }
    // The root element; a null node for an empty handle.
    TXMLNode DocumentElement() const;

    // UTF-8 with an XML declaration, elements indented by libxml2's formatter; elements
    // holding text keep their content exactly as it is.
    QByteArray SaveToBytes() const;
    // Writes SaveToBytes at the device's position; EWriteError when that fails.
    void SaveToDevice(QIODevice& Device) const;

private:
    struct TFreeDoc {
        void operator()(_xmlDoc* Doc) const;
    };
    explicit TXMLDocument(_xmlDoc* Doc);

    std::unique_ptr<_xmlDoc, TFreeDoc> FDoc;
};

} // namespace velk
