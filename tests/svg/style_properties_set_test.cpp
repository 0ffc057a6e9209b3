#include "platform/exceptions.h"
#include "svg/style_properties_set.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

using namespace velk;
using velk::testing::MessageOf;

TEST(TSVGStylePropertiesSet, FromStringTakesExactEnumeratorNames)
{
    struct Case {
        const char16_t* Text;
        TSVGStyleProperties Expected;
        const char16_t* Written;
    };
    const Case cases[] = {
        {u"ipFill, ipStroke, ipBogus", {ipFill, ipStroke}, u"ipFill, ipStroke"},
        {u" ipStroke ,ipFill,ipFill ", {ipFill, ipStroke}, u"ipFill, ipStroke"},
        {u"ipNone, ipWritingMode, ipAlignmentBaseline", {ipAlignmentBaseline, ipWritingMode},
         u"ipAlignmentBaseline, ipWritingMode"},
        {u"ipfill, fill, ip Fill", {}, u""},
        {u"", {}, u""},
    };
    for (const Case& c : cases) {
        TSVGStylePropertiesSet set({ipOpacity});
        set.FromString(QString::fromUtf16(c.Text));
        EXPECT_EQ(set.Value(), c.Expected) << QString::fromUtf16(c.Text).toStdString();
        EXPECT_EQ(set.ToString(), QString::fromUtf16(c.Written));
    }
}

TEST(TSVGStylePropertiesSet, ToStringListsIpNoneToo)
{
    const TSVGStylePropertiesSet set({ipStroke, ipNone});
    EXPECT_EQ(set.ToString(), u"ipNone, ipStroke"_qs);
}

TEST(TSVGStylePropertiesSet, ChangesAreReportedOnlyWhenTheSetChanges)
{
    TSVGStylePropertiesSet set;
    int changes = 0;
    set.OnChange = [&](TObject* Sender) {
        EXPECT_EQ(Sender, &set);
        ++changes;
    };
    set.SetByIndex(ipFill, false);
    set.SetValue({});
    set.FromString(u"ipBogus");
    EXPECT_EQ(changes, 0);
    set.SetByIndex(ipFill, true);
    EXPECT_TRUE(set.GetByIndex(ipFill));
    set.SetByIndex(ipFill, true);
    set.FromString(u"ipFill");
    EXPECT_EQ(changes, 1);
    set.SetValue({ipFill, ipStroke});
    set.SetByIndex(ipFill, false);
    EXPECT_EQ(set.Value(), TSVGStyleProperties{ipStroke});
    EXPECT_EQ(changes, 3);
}

TEST(TSVGStylePropertiesSet, PublishesOneBooleanPerPropertyWithoutThePrefix)
{
    TSVGStylePropertiesSet set;
    const TClassInfo& info = set.ClassInfo();
    EXPECT_EQ(info.FindProperty(u"None"), nullptr);
    for (const char16_t* name : {u"AlignmentBaseline", u"StrokeWidth", u"WritingMode"})
        ASSERT_NE(info.FindProperty(name), nullptr) << QString::fromUtf16(name).toStdString();
    const TPropertyInfo& width = *info.FindProperty(u"StrokeWidth");
    EXPECT_TRUE(width.HasDefaultValue(set));
    width.Set(set, true);
    EXPECT_EQ(set.Value(), TSVGStyleProperties{ipStrokeWidth});
    EXPECT_EQ(std::get<bool>(width.Get(set)), true);
    EXPECT_EQ(std::get<bool>(info.FindProperty(u"Fill")->Get(set)), false);
}

TEST(TSVGStylePropertiesSet, AssignTakesAnotherSet)
{
    const TSVGStylePropertiesSet source({ipClip, ipCursor});
    TSVGStylePropertiesSet target({ipFill});
    int changes = 0;
    target.OnChange = [&](TObject*) { ++changes; };
    target.Assign(&source);
    EXPECT_EQ(target.Value(), source.Value());
    EXPECT_EQ(changes, 1);
    TPersistent other;
    EXPECT_EQ(MessageOf<EConvertError>([&] { target.Assign(&other); }),
              "Cannot assign a TPersistent to a TSVGStylePropertiesSet");
}
