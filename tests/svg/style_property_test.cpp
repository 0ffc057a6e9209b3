#include "svg/style_property.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

using namespace velk;

namespace {

TEST(SVGStyleProperty, TablesLineUpWithTheEnumeration)
{
    struct Case {
        TSVGStyleProperty Property;
        const char* EnumName;
        const char* Name;
        const char* Default;
        bool Inherits;
    };
    const Case cases[] = {
        {ipNone, "ipNone", "", "", false},
        {ipAlignmentBaseline, "ipAlignmentBaseline", "alignment-baseline", "auto", false},
        {ipColor, "ipColor", "color", "", true},
        {ipDisplay, "ipDisplay", "display", "inline", false},
        {ipFill, "ipFill", "fill", "black", true},
        {ipFont, "ipFont", "font", "???", true},
        {ipFontFamily, "ipFontFamily", "font-family", "Tahoma", true},
        {ipGlyphOrientationHorizontal, "ipGlyphOrientationHorizontal", "glyph-orientation-horizontal", "0deg", true},
        {ipOpacity, "ipOpacity", "opacity", "1", false},
        {ipStopColor, "ipStopColor", "stop-color", "black", false},
        {ipStrokeDashOffset, "ipStrokeDashOffset", "stroke-dashoffset", "0", true},
        {ipStrokeMiterLimit, "ipStrokeMiterLimit", "stroke-miterlimit", "4", true},
        {ipVisibility, "ipVisibility", "visibility", "visible", true},
        {ipWritingMode, "ipWritingMode", "writing-mode", "lr-tb", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.EnumName);
        EXPECT_EQ(EnumName(c.Property), c.EnumName);
        EXPECT_EQ(SVGStylePropertyName(c.Property), c.Name);
        EXPECT_EQ(SVGStylePropertyDefault(c.Property), c.Default);
        EXPECT_EQ(SVGDefaultInherits.Contains(c.Property), c.Inherits);
    }
    EXPECT_EQ(ipWritingMode, 51);
    EXPECT_EQ(SVGDefaultInherits.Count(), 38);
    EXPECT_EQ(SVGStylePropertyName(static_cast<TSVGStyleProperty>(52)), "");
}

TEST(SVGStyleProperty, NameLookUpIsExact)
{
    for (int p = ipAlignmentBaseline; p <= ipWritingMode; ++p) {
        const auto property = static_cast<TSVGStyleProperty>(p);
        EXPECT_EQ(SVGNameToStyleProperty(SVGStylePropertyName(property)), property) << p;
    }
    for (const char16_t* name : {u"", u"Fill", u"fill ", u"x", u"d", u"width", u"stroke-", u"font-sizes",
                                 u"glyph-orientation-horizontalx", u"ipFill", u"style", u"transform"}) {
        EXPECT_EQ(SVGNameToStyleProperty(name), ipNone) << QString::fromUtf16(name).toStdString();
    }
}

} // namespace
