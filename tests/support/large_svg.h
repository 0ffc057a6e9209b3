#pragma once
// A large synthetic SVG document for load tests and benchmarks: nested groups holding
// shapes, paths, text and gradients as drawing programs write them, with IDs, classes,
// style attributes and a style sheet. Deterministic, so timings compare across runs.

#include <QByteArray>

#include <cstdint>

namespace velk::testing {

struct TLargeSvg {
    QByteArray Text;
    int ElementCount = 0;
};

// About 100 bytes per element: ElementCount 200 000 gives a 20 MB document.
inline TLargeSvg MakeLargeSvg(int ElementCount)
{
    TLargeSvg result;
    result.Text.reserve(qsizetype(ElementCount) * 110 + 1024);
    result.Text += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                   "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
                   "version=\"1.1\" width=\"2000\" height=\"2000\" viewBox=\"0 0 2000 2000\">\n"
                   "<style type=\"text/css\"><![CDATA[ .a { fill: #336699; } .b { stroke: red; } ]]></style>\n";
    result.ElementCount = 1;

    std::uint32_t seed = 12345;
    auto next = [&seed](int range) {
        seed = seed * 1664525u + 1013904223u;
        return int((seed >> 8) % std::uint32_t(range));
    };
    auto number = [&](int range) { return QByteArray::number(next(range * 10) / 10.0, 'g', 6); };

    int id = 0;
    while (result.ElementCount < ElementCount) {
        // One block: a group with nine children.
        result.Text += "<g id=\"g" + QByteArray::number(id++) + "\" class=\"a\" transform=\"translate(" + number(2000)
            + " " + number(2000) + ")\">\n";
        for (int i = 0; i < 9; ++i) {
            QByteArray n = QByteArray::number(id++);
            switch (i % 5) {
            case 0:
                result.Text += "  <rect id=\"r" + n + "\" x=\"" + number(100) + "\" y=\"" + number(100) + "\" width=\""
                    + number(50) + "\" height=\"" + number(50) + "\" rx=\"2\" style=\"fill:#" + QByteArray::number(next(0xFFFFFF), 16)
                    + ";stroke-width:1.5\" stroke=\"#224466\"/>\n";
                break;
            case 1:
                result.Text += "  <path id=\"p" + n + "\" class=\"b\" stroke-linejoin=\"round\" d=\"M" + number(100) + " " + number(100) + "C"
                    + number(100) + " " + number(100) + " " + number(100) + " " + number(100) + " " + number(100) + " "
                    + number(100) + "S" + number(100) + " " + number(100) + " " + number(100) + " " + number(100) + "L" + number(100)
                    + " " + number(100) + "z\"/>\n";
                break;
            case 2:
                result.Text += "  <circle id=\"c" + n + "\" cx=\"" + number(100) + "\" cy=\"" + number(100) + "\" r=\""
                    + number(20) + "\" fill=\"none\" stroke=\"#000\" stroke-dasharray=\"4 2\"/>\n";
                break;
            case 3:
                result.Text += "  <g id=\"n" + n + "\" opacity=\"0.5\"><title>Item " + n + "</title></g>\n";
                break;
            default:
                result.Text += "  <text id=\"t" + n + "\" xml:space=\"preserve\" x=\"" + number(100) + "\" y=\"" + number(100)
                    + "\" font-family=\"Liberation Sans\" font-size=\"12\">Label " + n + "</text>\n";
                break;
            }
        }
        result.Text += "</g>\n";
        result.ElementCount += 10;
    }
    result.Text += "</svg>\n";
    return result;
}

} // namespace velk::testing
