// velk-inspect: prints the node tree of an SVG (or any XML) file as the library's
// DOM sees it, with node types, attributes and text, then the element tree a document
// builds from it (element classes that do not exist yet are skipped), with summaries.

#include "platform/exceptions.h"
#include "platform/xml/document.h"
#include "svg/document.h"

#include <QElapsedTimer>
#include <QString>
#include <QTextStream>

#include <cstdio>

using namespace velk;

namespace {

struct Counts {
    int Elements = 0;
    int Attributes = 0;
    int Texts = 0;
};

// Longest text shown for a text or comment node, in characters.
constexpr qsizetype TextPreview = 60;

QString Preview(const QString& text)
{
    QString s = text.simplified();
    if (s.size() > TextPreview)
        s = s.left(TextPreview - 1) + QChar(0x2026);
    return s;
}

void Print(QTextStream& out, const TXMLNode& node, int depth, Counts& counts)
{
    const QString indent(depth * 2, u' ');
    const TNodeType type = node.NodeType();
    switch (type) {
    case ntElement: {
        ++counts.Elements;
        out << indent << '<' << node.NodeName();
        for (const TXMLAttribute& a : node.Attributes()) {
            ++counts.Attributes;
            out << ' ' << a.Name << "=\"" << Preview(a.Value) << '"';
        }
        out << ">\n";
        break;
    }
    case ntText:
    case ntCData:
    case ntComment: {
        const QString text = Preview(node.Text());
        if (text.isEmpty())
            return; // indentation between elements
        ++counts.Texts;
        out << indent << EnumName(type) << " \"" << text << "\"\n";
        return;
    }
    default:
        out << indent << EnumName(type) << ' ' << node.NodeName() << '\n';
        break;
    }
    for (const TXMLNode& child : node.ChildNodes())
        Print(out, child, depth + 1, counts);
}

void PrintElements(QTextStream& out, const TSVGElement& element, int depth, int& count)
{
    ++count;
    out << QString(depth * 2, u' ') << element.ClassName();
    if (!element.ID().isEmpty() && !element.ID().startsWith(u"ID#"))
        out << " #" << element.ID();
    if (!element.Title().isEmpty())
        out << " \"" << Preview(element.Title()) << '"';
    out << '\n';
    for (int i = 0; i < element.Count(); ++i)
        PrintElements(out, *element.Child(i), depth + 1, count);
}

} // namespace

int main(int argc, char* argv[])
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (argc != 2 || QString::fromLocal8Bit(argv[1]).startsWith(u'-')) {
        err << "Usage: velk-inspect FILE.svg\n"
               "Prints the XML node tree of FILE.svg as VelkSVG reads it.\n";
        return argc == 2 && QString::fromLocal8Bit(argv[1]) == u"--help" ? 0 : 2;
    }
    const QString fileName = QString::fromLocal8Bit(argv[1]);
    try {
        QElapsedTimer timer;
        timer.start();
        const TXMLDocument document = TXMLDocument::LoadFromFile(fileName);
        const double parseMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        Counts counts;
        Print(out, document.DocumentElement(), 0, counts);
        out << "\n" << fileName << ": " << counts.Elements << " elements, " << counts.Attributes
            << " attributes, " << counts.Texts << " text nodes; parsed in " << QString::number(parseMs, 'f', 2)
            << " ms\n";

        timer.restart();
        TSVGDocument svg;
        svg.LoadFromFile(fileName);
        const double loadMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        out << "\nElement tree:\n";
        int elements = 0;
        PrintElements(out, svg, 0, elements);
        out << "\n" << fileName << ": " << elements << " element objects, " << svg.Styles().Count()
            << " style rules; loaded in " << QString::number(loadMs, 'f', 2) << " ms\n";
    } catch (const Exception& e) {
        err << "velk-inspect: " << fileName << ": " << e.Message() << '\n';
        return 1;
    }
    return 0;
}
