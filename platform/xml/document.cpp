#include "platform/xml/document.h"

#include "platform/exceptions.h"
#include "platform/streams.h"
#include "platform/xml/libxml_support.h"

#include <libxml/entities.h>
#include <libxml/globals.h>
#include <libxml/parser.h>
#include <libxml/xmlsave.h>
#include <algorithm>
#include <cstring>
#include <new>
#include <unordered_map>
#include <unordered_set>

namespace velk {

using namespace xml;

namespace {

// Network off. Deliberately absent: NOENT (entity references stay nodes, external entities
// are never loaded), DTDLOAD/DTDATTR/DTDVALID (no external DTD is read), HUGE (libxml2's
// depth and size limits stay on).
constexpr int ParseOptions = XML_PARSE_NONET | XML_PARSE_BIG_LINES;

// What all entity references of a document may expand to together, counted as one unit
// per node plus the UTF-8 length of its text: the size of a 10 MB document.
constexpr quint64 EntityExpansionLimit = 10'000'000;
// Entities nested deeper than this fail as well (libxml2 refuses far less already).
constexpr int EntityDepthLimit = 64;

void InitLibXml()
{
    static const bool initialised = [] {
        xmlInitParser();
        return true;
    }();
    (void)initialised;
}

// Collects libxml2's reports of one parse. The first fatal error names the failure; its
// position comes from the first fatal error that has one (decoder errors have none).
class TErrorLog {
public:
    void Record(const xmlError& Error)
    {
        if (Error.level != XML_ERR_FATAL)
            return;
        if (FMessage.isEmpty())
            FMessage = QString::fromUtf8(Error.message).simplified();
        if (FLine == 0 && Error.line > 0) {
            FLine = Error.line;
            FColumn = Error.int2; // libxml2 keeps the column of parser errors here
        }
    }

    EXMLParseError Exception() const
    {
        const QString message = FMessage.isEmpty() ? QStringLiteral("Document is not well-formed") : FMessage;
        return EXMLParseError(messages::XMLParseError, message, std::max(FLine, 1), std::max(FColumn, 1));
    }

private:
    QString FMessage;
    int FLine = 0;
    int FColumn = 0;
};

// The parser context's own handler; entity content is parsed in child contexts that
// share the handler and _private.
void OnParserError(void* UserData, xmlErrorPtr Error)
{
    const auto* context = static_cast<const xmlParserCtxt*>(UserData);
    if (context && context->_private && Error)
        static_cast<TErrorLog*>(context->_private)->Record(*Error);
}

void OnThreadError(void* Log, xmlErrorPtr Error)
{
    if (Error)
        static_cast<TErrorLog*>(Log)->Record(*Error);
}

// libxml2's decoder and output layers report without a parser context, through the
// calling thread's structured handler (printing to stderr when none is set). While a scope
// lives that handler is ours; the previous one is restored when it ends.
class TErrorScope {
public:
    explicit TErrorScope(TErrorLog& Log)
        : FOldHandler(xmlStructuredError), FOldContext(xmlStructuredErrorContext)
    {
        xmlSetStructuredErrorFunc(&Log, &OnThreadError);
    }
    ~TErrorScope() { xmlSetStructuredErrorFunc(FOldContext, FOldHandler); }
    TErrorScope(const TErrorScope&) = delete;
    TErrorScope& operator=(const TErrorScope&) = delete;

private:
    xmlStructuredErrorFunc FOldHandler;
    void* FOldContext;
};

// Entity references are kept as nodes, so their content is expanded by every later walk
// (Text, Attribute, the SVG reader). This budget bounds that once, at load time: every
// reference in the document is charged with its entity's expanded size (memoised per
// entity), and the sum must stay within EntityExpansionLimit.
class TEntityBudget {
public:
    void ChargeDocument(xmlDoc* Doc)
    {
        // Without declared entities every reference is empty: the walk can only find 0.
        if (!Doc->intSubset || !Doc->intSubset->entities)
            return;
        ForEachNode(Doc->children, [this](xmlNode* Node) {
            if (Node->type == XML_ENTITY_REF_NODE)
                Charge(Node);
            else if (Node->type == XML_ELEMENT_NODE)
                for (xmlAttr* attr = Node->properties; attr; attr = attr->next)
                    for (xmlNode* part = attr->children; part; part = part->next)
                        if (part->type == XML_ENTITY_REF_NODE)
                            Charge(part);
        });
    }

private:
    static quint64 Add(quint64 A, quint64 B) { return std::min(A + B, EntityExpansionLimit + 1); }

    // Visits First, its siblings and their element subtrees in document order, without
    // recursion (documents nest up to libxml2's depth limit).
    template <typename Visit>
    static void ForEachNode(xmlNode* First, Visit&& Visitor)
    {
        if (!First)
            return;
        const xmlNode* stop = First->parent;
        xmlNode* node = First;
        while (node) {
            Visitor(node);
            if (node->type == XML_ELEMENT_NODE && node->children) {
                node = node->children;
                continue;
            }
            while (node && !node->next) {
                node = node->parent;
                if (node == stop)
                    return;
            }
            if (node)
                node = node->next;
        }
    }

    void Charge(xmlNode* Reference)
    {
        FSpent = Add(FSpent, EntityCost(Reference, 0));
        if (FSpent > EntityExpansionLimit)
            Fail(Reference);
    }

    // Names the reference of the document that broke the budget, with the element that
    // holds it (libxml2 keeps lines on elements).
    [[noreturn]] static void Fail(const xmlNode* Reference)
    {
        const xmlNode* element = Reference->parent;
        while (element->type != XML_ELEMENT_NODE)
            element = element->parent; // an attribute's reference sits below the attribute
        throw EXMLParseError(messages::XMLEntityExpansionLimit, FromXml(Reference->name), FromXml(element->name),
                             static_cast<long long>(xmlGetLineNo(element)));
    }

    // The expanded size of the reference's entity, saturated above the limit; an entity that
    // refers to itself, or nests too deep, counts as above the limit.
    quint64 EntityCost(const xmlNode* Reference, int Depth)
    {
        xmlEntity* entity = EntityOf(Reference);
        if (!entity || !entity->children)
            return 0;
        if (const auto known = FCosts.find(entity); known != FCosts.end())
            return known->second;
        if (Depth > EntityDepthLimit || !FOpen.insert(entity).second)
            return EntityExpansionLimit + 1;
        quint64 cost = 0;
        ForEachNode(entity->children, [&](xmlNode* Node) { cost = Add(cost, NodeCost(Node, Depth)); });
        FOpen.erase(entity);
        FCosts.emplace(entity, cost);
        return cost;
    }

    quint64 NodeCost(const xmlNode* Node, int Depth)
    {
        switch (Node->type) {
        case XML_ENTITY_REF_NODE:
            return EntityCost(Node, Depth + 1);
        case XML_ELEMENT_NODE: {
            quint64 cost = 1;
            for (const xmlAttr* attr = Node->properties; attr; attr = attr->next) {
                cost = Add(cost, 1);
                for (const xmlNode* part = attr->children; part; part = part->next)
                    cost = Add(cost, NodeCost(part, Depth));
            }
            return cost;
        }
        default:
            return 1 + (Node->content ? static_cast<quint64>(xmlStrlen(Node->content)) : 0);
        }
    }

    quint64 FSpent = 0;
    std::unordered_map<const xmlEntity*, quint64> FCosts;
    std::unordered_set<const xmlEntity*> FOpen;
};

struct TFreeParserContext {
    void operator()(xmlParserCtxt* Context) const { xmlFreeParserCtxt(Context); }
};

// Feeds the parser from memory through a read callback. libxml2 never releases the
// consumed part of a plain memory input, and without XML_PARSE_HUGE it refuses to look
// more than 10 MB past its start ("Huge input lookup"); input read through a callback is
// released as parsing goes, so large documents load with the default limits on.
struct TMemoryReader {
    const QByteArray& Data;
    qsizetype Position = 0;

    static int Read(void* Context, char* Buffer, int Length)
    {
        auto* reader = static_cast<TMemoryReader*>(Context);
        const qsizetype count = std::min<qsizetype>(Length, reader->Data.size() - reader->Position);
        std::memcpy(Buffer, reader->Data.constData() + reader->Position, static_cast<std::size_t>(count));
        reader->Position += count;
        return static_cast<int>(count);
    }
};

struct TFreeBuffer {
    void operator()(xmlBuffer* Buffer) const { xmlBufferFree(Buffer); }
};

} // namespace

void TXMLDocument::TFreeDoc::operator()(_xmlDoc* Doc) const
{
    xmlFreeDoc(Doc);
}

TXMLDocument::TXMLDocument() = default;
TXMLDocument::TXMLDocument(_xmlDoc* Doc) : FDoc(Doc) {}
TXMLDocument::~TXMLDocument() = default;
TXMLDocument::TXMLDocument(TXMLDocument&&) noexcept = default;
TXMLDocument& TXMLDocument::operator=(TXMLDocument&&) noexcept = default;

TXMLDocument TXMLDocument::LoadFromBytes(const QByteArray& Data)
{
    if (Data.size() > MaxInputSize)
        throw EXMLParseError(messages::XMLInputTooLarge, MaxInputSize);
    InitLibXml();
    TErrorLog log;
    const TErrorScope scope(log);
    const std::unique_ptr<xmlParserCtxt, TFreeParserContext> context(xmlNewParserCtxt());
    if (!context)
        throw std::bad_alloc();
    context->sax->serror = &OnParserError;
    context->_private = &log;
    TMemoryReader reader{Data};
    TXMLDocument document(
        xmlCtxtReadIO(context.get(), &TMemoryReader::Read, nullptr, &reader, nullptr, nullptr, ParseOptions));
    if (document.IsNull() || !context->wellFormed)
        throw log.Exception();
    TEntityBudget().ChargeDocument(document.FDoc.get());
    return document;
}

TXMLDocument TXMLDocument::LoadFromDevice(QIODevice& Device)
{
    return LoadFromBytes(ReadToEnd(Device, MaxInputSize));
}

TXMLDocument TXMLDocument::LoadFromFile(const QString& FileName)
{
    const std::unique_ptr<QFile> file = OpenFileForReading(FileName);
    return LoadFromDevice(*file);
}

TXMLDocument TXMLDocument::CreateDocument(const QString& RootName, const QString& NamespaceURI)
{
    const QByteArray name = RootName.toUtf8();
    if (RootName.isEmpty() || xmlValidateNCName(XmlChars(name), 0) != 0)
        throw EArgumentException(messages::XMLInvalidName, RootName);
    InitLibXml();
    TXMLDocument document(xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0")));
    xmlNode* root = xmlNewDocNode(document.FDoc.get(), nullptr, XmlChars(name), nullptr);
    xmlDocSetRootElement(document.FDoc.get(), root);
    if (!NamespaceURI.isEmpty())
        TXMLNode(root).DeclareNamespace(QString(), NamespaceURI);
    return document;
}

TXMLNode TXMLDocument::DocumentElement() const
{
    return TXMLNode(FDoc ? xmlDocGetRootElement(FDoc.get()) : nullptr);
}

QByteArray TXMLDocument::SaveToBytes() const
{
    if (!FDoc)
        return {};
    TErrorLog log; // the writer reports nothing for valid UTF-8, but must not print either
    const TErrorScope scope(log);
    const std::unique_ptr<xmlBuffer, TFreeBuffer> buffer(xmlBufferCreate());
    xmlSaveCtxt* writer = buffer ? xmlSaveToBuffer(buffer.get(), "UTF-8", XML_SAVE_FORMAT) : nullptr;
    if (!writer)
        throw std::bad_alloc();
    const long written = xmlSaveDoc(writer, FDoc.get());
    if (xmlSaveClose(writer) < 0 || written < 0)
        throw EWriteError(messages::WriteError);
    return QByteArray(reinterpret_cast<const char*>(xmlBufferContent(buffer.get())), xmlBufferLength(buffer.get()));
}

void TXMLDocument::SaveToDevice(QIODevice& Device) const
{
    const QByteArray bytes = SaveToBytes();
    WriteBuffer(Device, bytes.constData(), bytes.size());
}

} // namespace velk
