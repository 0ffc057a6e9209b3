#include "platform/exceptions.h"
#include "svg/aspect_ratio.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

using namespace velk;
using velk::testing::MessageOf;

namespace {

struct TValues {
    TSVGAlign Align;
    bool Defer;
    bool Slice;
};

void ExpectValues(const TSVGPreserveAspectRatio& A, const TValues& V, const QString& Context)
{
    EXPECT_EQ(A.Align(), V.Align) << Context.toStdString();
    EXPECT_EQ(A.Defer(), V.Defer) << Context.toStdString();
    EXPECT_EQ(A.Slice(), V.Slice) << Context.toStdString();
}

TEST(SVGParseAspectRatio, ReadsDeferAlignmentAndMeetOrSlice)
{
    struct Case {
        const char16_t* Text;
        TValues Expected;
    } cases[] = {
        {u"defer xMidYMid slice", {saXMidYMid, true, true}},
        {u"none", {saNone, false, false}},
        {u"xMinYMax meet", {saXMinYMax, false, false}},
        {u"  xMaxYMid \t  slice ", {saXMaxYMid, false, true}},
        {u"xMidYMid Slice", {saXMidYMid, false, false}},  // keywords compare with case
        {u"XMIDYMID", {saNone, false, false}},
        {u"defer", {saNone, false, false}},               // defer needs a word after it
        {u"defer none slice", {saNone, true, true}},
        {u"slice", {saNone, false, false}},               // the alignment word is "slice"
        {u"xMinYMin slice extra", {saXMinYMin, false, true}},
    };
    for (const Case& c : cases) {
        TSVGPreserveAspectRatio ratio;
        ratio.SetAlign(saXMaxYMax); // every text below replaces it
        SVGParseAspectRatio(c.Text, ratio);
        ExpectValues(ratio, c.Expected, QString::fromUtf16(c.Text));
    }
}

TEST(SVGParseAspectRatio, BlankTextChangesNothingAndChangesRaiseOnce)
{
    TSVGPreserveAspectRatio ratio;
    ratio.SetAlign(saXMinYMid);
    int changes = 0;
    ratio.OnChange = [&](TObject* Sender) {
        EXPECT_EQ(Sender, &ratio);
        ++changes;
    };
    SVGParseAspectRatio(u" \t ", ratio);
    SVGParseAspectRatio(u"xMinYMid meet", ratio);
    EXPECT_EQ(changes, 0);
    ExpectValues(ratio, {saXMinYMid, false, false}, "unchanged");
    SVGParseAspectRatio(u"defer xMaxYMax slice", ratio);
    EXPECT_EQ(changes, 1);
    ExpectValues(ratio, {saXMaxYMax, true, true}, "parsed");
}

TEST(SVGPreserveAspectRatio, ToStringReadsBackAsTheSameValues)
{
    struct Case {
        TValues Values;
        bool Compact;
        const char* Expected;
    } cases[] = {
        {{saXMidYMid, false, false}, false, "xMidYMid meet"},
        {{saXMidYMid, false, false}, true, "xMidYMid"},
        {{saXMinYMin, true, true}, true, "defer xMinYMin slice"},
        {{saXMaxYMax, true, false}, false, "defer xMaxYMax meet"},
        // "none" is written: "meet" alone is no valid value for other readers.
        {{saNone, false, false}, false, "none meet"},
        {{saNone, false, false}, true, "none"},
        {{saNone, true, true}, false, "defer none slice"},
    };
    for (const Case& c : cases) {
        TSVGPreserveAspectRatio ratio;
        ratio.SetAlign(c.Values.Align);
        ratio.SetDefer(c.Values.Defer);
        ratio.SetSlice(c.Values.Slice);
        const QString text = ratio.ToString(c.Compact);
        EXPECT_EQ(text, c.Expected);
        TSVGPreserveAspectRatio read;
        read.SetAlign(saXMidYMax);
        SVGParseAspectRatio(text, read);
        ExpectValues(read, c.Values, text);
    }
}

TEST(SVGPreserveAspectRatio, ChangeEvents)
{
    TSVGPreserveAspectRatio ratio;
    int changes = 0;
    ratio.OnChange = [&](TObject*) { ++changes; };
    ratio.SetAlign(saNone);
    ratio.SetDefer(false);
    ratio.SetSlice(false);
    EXPECT_EQ(changes, 0);
    ratio.SetSlice(true);
    EXPECT_EQ(changes, 1);

    TSVGPreserveAspectRatio source;
    source.SetAlign(saXMidYMin);
    source.SetDefer(true);
    ratio.Assign(&source);
    EXPECT_EQ(changes, 2);
    ExpectValues(ratio, {saXMidYMin, true, false}, "assigned");

    ratio.Clear();
    EXPECT_EQ(changes, 3);
    ExpectValues(ratio, {saNone, false, false}, "cleared");

    TPersistent other;
    EXPECT_EQ(MessageOf<EConvertError>([&] { ratio.Assign(&other); }),
              "Cannot assign a TPersistent to a TSVGPreserveAspectRatio");
}

TEST(SVGPreserveAspectRatio, PublishesAlignDeferSliceWithDefaults)
{
    TSVGPreserveAspectRatio ratio;
    const auto& props = ratio.ClassInfo().Properties();
    ASSERT_EQ(props.size(), 3u);
    EXPECT_EQ(props[0]->Name, "Align");
    EXPECT_EQ(props[1]->Name, "Defer");
    EXPECT_EQ(props[2]->Name, "Slice");
    for (const TPropertyInfo* p : props)
        EXPECT_TRUE(p->HasDefaultValue(ratio)) << p->Name.toStdString();
    props[0]->Set(ratio, TPropertyValue(std::int64_t{saXMaxYMin}));
    EXPECT_EQ(ratio.Align(), saXMaxYMin);
    EXPECT_FALSE(props[0]->HasDefaultValue(ratio));
}

} // namespace
