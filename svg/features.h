#pragma once
// The SVG 1.1 feature strings of requiredFeatures, and which of them this library
// supports.

#include <QStringView>
#include <array>
#include <string_view>

namespace velk {

struct TSVGFeature {
    std::u16string_view Name; // the part after SVGFeaturePrefix
    bool Supported;
};

// Every feature string is this prefix followed by a feature name.
inline constexpr std::u16string_view SVGFeaturePrefix = u"http://www.w3.org/TR/SVG11/feature#";

// Indexed 1 to 43 in the order of the SVG 1.1 feature list; index 0 is "Unknown".
inline constexpr std::array<TSVGFeature, 44> SVGFeatures{{
    {u"Unknown", false},
    {u"SVG", false},
    {u"SVGDOM", false},
    {u"SVG-static", false},
    {u"SVGDOM-static", false},
    {u"SVG-animation", false},
    {u"SVGDOM-animation", false},
    {u"SVG-dynamic", false},
    {u"SVGDOM-dynamic", false},
    {u"CoreAttribute", true},
    {u"Structure", true},
    {u"BasicStructure", true},
    {u"ContainerAttribute", false},
    {u"ConditionalProcessing", true},
    {u"Image", false},
    {u"Style", true},
    {u"ViewportAttribute", true},
    {u"Shape", true},
    {u"Text", false},
    {u"BasicText", true},
    {u"PaintAttribute", false},
    {u"BasicPaintAttribute", true},
    {u"OpacityAttribute", true},
    {u"GraphicsAttribute", false},
    {u"BasicGraphicsAttribute", true},
    {u"Marker", true},
    {u"ColorProfile", false},
    {u"Gradient", true},
    {u"Pattern", false},
    {u"Clip", true},
    {u"Mask", false},
    {u"Filter", false},
    {u"XlinkAttribute", false},
    {u"Font", false},
    {u"BasicFont", false},
    {u"Extensibility", false},
    {u"Hyperlinking", false},
    {u"Scripting", false},
    {u"View", false},
    {u"Cursor", false},
    {u"Animation", false},
    {u"GraphicalEventsAttribute", false},
    {u"DocumentEventsAttribute", false},
    {u"AnimationEventsAttribute", false},
}};

// The index in SVGFeatures of a full feature string (exact case), 0 when it is none.
int SVGFeatureIndex(QStringView Feature);
// The feature string names a feature this library supports.
bool SVGSupportsFeature(QStringView Feature);

} // namespace velk
