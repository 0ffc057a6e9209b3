#include "graphics/string_format.h"

#include "graphics/canvas.h"
#include "platform/exceptions.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace velk {
namespace {

struct TChangeCounter {
    int Count = 0;
    explicit TChangeCounter(TVelkGPStringFormat& Format)
    {
        Format.OnChange = [this](TObject*) { ++Count; };
    }
};

TEST(StringFormatTest, DefaultsAndKinds)
{
    const TVelkGPStringFormat format;
    EXPECT_EQ(format.Rec(), TVelkGPStringFormatRec());
    EXPECT_TRUE(format.Flags().Empty());
    EXPECT_EQ(format.Align(), saLeading);
    EXPECT_EQ(format.LineAlign(), saLeading);
    EXPECT_EQ(format.HotkeyPrefix(), hpNone);
    EXPECT_EQ(format.DigitSubstitutionLanguage(), 0);
    EXPECT_EQ(format.DigitSubstitutionMethod(), sdsUser);
    EXPECT_EQ(format.Trimming(), stCharacter);
    EXPECT_EQ(format.FirstTabOffset(), 0.0f);
    EXPECT_FALSE(format.IsTypographic());

    const auto typographic = TVelkGPStringFormat::GenericTypographic();
    EXPECT_TRUE(typographic->IsTypographic());
    EXPECT_EQ(typographic->Owner(), nullptr);
    EXPECT_EQ(typographic->Rec(), TVelkGPStringFormatRec());
    EXPECT_FALSE(TVelkGPStringFormat::GenericDefault()->IsTypographic());
}

TEST(StringFormatTest, FlagBits)
{
    const std::pair<TVelkGPStringFormatFlag, std::uint32_t> cases[] = {
        {sffDirectionRightToLeft, 0x0001}, {sffDirectionVertical, 0x0002}, {sffNoFitBlackBox, 0x0004},
        {sffDisplayFormatControl, 0x0020}, {sffNoFontFallback, 0x0400},    {sffMeasureTrailingSpaces, 0x0800},
        {sffNoWrap, 0x1000},               {sffLineLimit, 0x2000},         {sffNoClip, 0x4000},
    };
    for (const auto& [flag, bit] : cases) {
        EXPECT_EQ(TVelkGPStringFormat::GetFlagMask({flag}), bit) << EnumName(flag).toStdString();
        EXPECT_EQ(TVelkGPStringFormat::GetFlags(bit), TVelkGPStringFormatFlags{flag});
    }
    const TVelkGPStringFormatFlags some{sffNoWrap, sffDirectionRightToLeft, sffNoClip};
    EXPECT_EQ(TVelkGPStringFormat::GetFlagMask(some), 0x5001u);
    // Bits without a member are dropped.
    EXPECT_EQ(TVelkGPStringFormat::GetFlags(0x5001 | 0x0008 | 0x8000), some);
}

TEST(StringFormatTest, SettersRaiseOneChangeOnlyForNewValues)
{
    TVelkGPStringFormat format;
    TChangeCounter changes(format);
    const std::function<void()> sameValue[] = {
        [&] { format.SetFlags({}); },
        [&] { format.SetAlign(saLeading); },
        [&] { format.SetLineAlign(saLeading); },
        [&] { format.SetHotkeyPrefix(hpNone); },
        [&] { format.SetDigitSubstitutionLanguage(0); },
        [&] { format.SetDigitSubstitutionMethod(sdsUser); },
        [&] { format.SetTrimming(stCharacter); },
        [&] { format.SetFirstTabOffset(0); },
        [&] { format.ClearTabStops(); },
        [&] { format.ClearMeasurableCharacterRanges(); },
    };
    for (const auto& set : sameValue)
        set();
    EXPECT_EQ(changes.Count, 0);
    const std::function<void()> newValue[] = {
        [&] { format.SetFlags({sffNoWrap}); },
        [&] { format.SetAlign(saCenter); },
        [&] { format.SetLineAlign(saTrailing); },
        [&] { format.SetHotkeyPrefix(hpShow); },
        [&] { format.SetDigitSubstitutionLanguage(0x0409); },
        [&] { format.SetDigitSubstitutionMethod(sdsNational); },
        [&] { format.SetTrimming(stEllipsisWord); },
        [&] { format.SetFirstTabOffset(4); },
        [&] { format.AddTabStop(10); },
        [&] { format.AddMeasurableCharacterRange({1, 2}); },
    };
    for (const auto& set : newValue) {
        const int before = changes.Count;
        set();
        EXPECT_EQ(changes.Count, before + 1);
    }
}

TEST(StringFormatTest, ArraysAndTheirIndexChecks)
{
    TVelkGPStringFormat format;
    format.AddTabStop(10).AddTabStop(20).AddTabStop(30);
    format.AddMeasurableCharacterRange({0, 3}).AddMeasurableCharacterRange({5, 1});
    format.DeleteTabStop(1);
    format.DeleteMeasurableCharacterRange(0);
    ASSERT_EQ(format.TabStopCount(), 2);
    EXPECT_EQ(format.TabStops(0), 10.0f);
    EXPECT_EQ(format.TabStops(1), 30.0f);
    ASSERT_EQ(format.MeasurableCharacterRangeCount(), 1);
    EXPECT_EQ(format.MeasurableCharacterRanges(0), (TVelkGPCharacterRange{5, 1}));

    const std::function<void()> outside[] = {
        [&] { format.DeleteTabStop(2); },
        [&] { format.DeleteTabStop(-1); },
        [&] { format.TabStops(2); },
        [&] { format.DeleteMeasurableCharacterRange(1); },
        [&] { format.MeasurableCharacterRanges(-1); },
    };
    for (const auto& action : outside)
        EXPECT_EQ(testing::MessageOf<EArgumentOutOfRangeException>(action), u"Argument out of range"_qs);
    EXPECT_EQ(format.TabStopCount(), 2);

    format.ClearTabStops();
    format.ClearMeasurableCharacterRanges();
    EXPECT_EQ(format.TabStopCount(), 0);
    EXPECT_EQ(format.MeasurableCharacterRangeCount(), 0);
}

TEST(StringFormatTest, AssignCopiesRecordAndKind)
{
    const auto typographic = TVelkGPStringFormat::GenericTypographic();
    typographic->SetAlign(saTrailing);
    typographic->AddTabStop(12);
    TVelkGPCanvas canvas;
    TVelkGPStringFormat format(&canvas);
    TChangeCounter changes(format);
    format.Assign(typographic.get());
    EXPECT_EQ(changes.Count, 1);
    EXPECT_EQ(format.Rec(), typographic->Rec());
    EXPECT_TRUE(format.IsTypographic());

    const auto clone = format.CloneAs<TVelkGPStringFormat>();
    EXPECT_EQ(clone->Owner(), &canvas);
    EXPECT_TRUE(clone->IsTypographic());
    EXPECT_EQ(clone->Rec(), format.Rec());
}

struct TOptionCase {
    TVelkGPStringAlignment Align;
    TVelkGPStringFormatFlags Flags;
    Qt::Alignment Expected;
    Qt::LayoutDirection Direction;
};

TEST(StringFormatTest, HandleFollowsTheRecord)
{
    const TOptionCase cases[] = {
        {saLeading, {}, Qt::AlignLeft, Qt::LeftToRight},
        {saCenter, {}, Qt::AlignHCenter, Qt::LeftToRight},
        {saTrailing, {}, Qt::AlignRight, Qt::LeftToRight},
        {saLeading, {sffDirectionRightToLeft}, Qt::AlignRight, Qt::RightToLeft},
        {saTrailing, {sffDirectionRightToLeft}, Qt::AlignLeft, Qt::RightToLeft},
    };
    for (const TOptionCase& c : cases) {
        TVelkGPStringFormat format;
        format.SetAlign(c.Align);
        format.SetFlags(c.Flags);
        EXPECT_EQ(format.Handle().alignment() & (Qt::AlignLeft | Qt::AlignHCenter | Qt::AlignRight), c.Expected);
        EXPECT_EQ(format.Handle().textDirection(), c.Direction);
    }

    TVelkGPStringFormat format;
    EXPECT_EQ(format.Handle().wrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
    EXPECT_FALSE(format.Handle().flags() & QTextOption::IncludeTrailingSpaces);
    format.SetFlags({sffNoWrap, sffMeasureTrailingSpaces});
    EXPECT_EQ(format.Handle().wrapMode(), QTextOption::NoWrap);
    EXPECT_TRUE(format.Handle().flags() & QTextOption::IncludeTrailingSpaces);

    // Stops are distances from the previous one, the first from the first tab offset.
    format.SetFirstTabOffset(5);
    format.AddTabStop(10).AddTabStop(20);
    const QList<QTextOption::Tab> tabs = format.Handle().tabs();
    ASSERT_EQ(tabs.size(), 2);
    EXPECT_EQ(tabs[0].position, 15);
    EXPECT_EQ(tabs[1].position, 35);
    format.DeleteTabStop(0);
    ASSERT_EQ(format.Handle().tabs().size(), 1);
    EXPECT_EQ(format.Handle().tabs()[0].position, 25);
    // A stop at no number, and the stops after it, are left out.
    format.AddTabStop(std::numeric_limits<float>::quiet_NaN()).AddTabStop(10);
    EXPECT_EQ(format.Handle().tabs().size(), 1);
}

} // namespace
} // namespace velk
