#include "platform/binary_reader.h"
#include "platform/binary_writer.h"
#include "svg/svg_font.h"
#include "tests/support/gui_application.h"
#include "tests/support/test_support.h"

#include <QBuffer>
#include <QFontDatabase>
#include <gtest/gtest.h>

using namespace velk;

namespace {

class TSVGFontTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { velk::testing::EnsureGuiApplication(); }

    // Two installed families, for the family walk.
    static QStringList InstalledFamilies()
    {
        QStringList families = QFontDatabase::families();
        families.removeIf([](const QString& f) { return f.contains(u','); });
        return families.mid(0, 2);
    }
};

} // namespace

TEST_F(TSVGFontTest, TheFirstAvailableOrGenericFamilyBecomesTheName)
{
    const QStringList installed = InstalledFamilies();
    if (installed.size() < 2)
        GTEST_SKIP() << "needs two installed font families";
    const QString a = installed[0], b = installed[1];
    const auto resolved = [](const QString& Family) {
        TVelkGPFont font;
        font.SetName(Family);
        return font.Name();
    };
    struct Case {
        QStringList Families;
        QString Name; // empty: unchanged
    };
    const Case cases[] = {
        {{a, b}, a},
        {{u"No Such Family 1"_qs, b, a}, b},
        {{u"serif"_qs, a}, resolved(u"serif"_qs)},
        {{u"No Such Family 1"_qs, u"Sans-Serif"_qs, a}, resolved(u"Sans-Serif"_qs)},
        {{u"No Such Family 1"_qs}, {}},
        {{}, {}},
    };
    for (const Case& c : cases) {
        TSVGFont font;
        const QString before = font.Name();
        TStringList families;
        for (const QString& f : c.Families)
            families.Add(f);
        font.SetFamilies(families);
        EXPECT_EQ(font.Name(), c.Name.isEmpty() ? before : c.Name) << c.Families.join(u',').toStdString();
        EXPECT_EQ(font.Families()->Count(), c.Families.size());
    }
}

TEST_F(TSVGFontTest, FamiliesToStringQuotesNamesWithBlanks)
{
    TSVGFont font;
    font.Families()->Add(u"Times New Roman"_qs);
    font.Families()->Add(u"serif"_qs);
    EXPECT_EQ(font.FamiliesToString(), u"'Times New Roman', serif"_qs);
}

TEST_F(TSVGFontTest, WeightSetsOrClearsBold)
{
    struct Case {
        TSVGFontWeight Weight;
        bool StartBold;
        bool Bold;
    };
    const Case cases[] = {
        {fw600, false, true},  {fw900, false, true},    {fwBold, false, true},   {fwBolder, false, true},
        {fw500, true, false},  {fw100, true, false},    {fwLighter, true, false},
        {fwNone, true, true},  {fwNone, false, false},
    };
    for (const Case& c : cases) {
        TSVGFont font;
        font.SetWeight(fwNone);
        font.SetStyle(c.StartBold ? TFontStyles{fsBold, fsItalic} : TFontStyles{fsItalic});
        int changes = 0;
        font.OnChange = [&](TObject*) { ++changes; };
        font.SetWeight(c.Weight);
        EXPECT_EQ(font.Weight(), c.Weight);
        EXPECT_EQ(font.Style().Contains(fsBold), c.Bold) << c.Weight;
        EXPECT_TRUE(font.Style().Contains(fsItalic));
        EXPECT_EQ(changes, c.Weight == fwNone ? 0 : 1) << c.Weight;
    }
}

TEST_F(TSVGFontTest, IsDecoratedCountsUnderlineStrikeOutAndOverline)
{
    struct Case {
        TFontStyles Style;
        TExtendedFontStyles Extended;
        bool Decorated;
    };
    const Case cases[] = {
        {{}, {}, false},          {{fsBold, fsItalic}, {}, false}, {{fsUnderline}, {}, true},
        {{fsStrikeOut}, {}, true}, {{}, {fsOverline}, true},        {{}, {fsBlink}, false},
    };
    for (const Case& c : cases) {
        TSVGFont font;
        font.SetStyle(c.Style);
        font.SetExtendStyles(c.Extended);
        EXPECT_EQ(font.IsDecorated(), c.Decorated);
    }
}

TEST_F(TSVGFontTest, ClearKeepsWeightAndNameAndDoesNotWalkTheFamilies)
{
    TSVGFont font;
    font.SetSize(30);
    font.SetStyle({fsItalic, fsBold});
    font.SetExtendStyles({fsOverline});
    font.SetFontVariant(fvSmallCaps);
    font.SetSizePreferredUnit(suPoints);
    font.SetWeight(fw700);
    font.Families()->Add(u"serif"_qs);
    const QString name = font.Name();
    int changes = 0;
    font.Families()->OnChange = [&, walk = font.Families()->OnChange](TObject* Sender) {
        ++changes;
        walk(Sender);
    };
    font.Clear();
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(font.Families()->Count(), 0);
    EXPECT_EQ(font.Size(), 11.0f);
    EXPECT_EQ(font.Style(), TFontStyles());
    EXPECT_EQ(font.ExtendStyles(), TExtendedFontStyles());
    EXPECT_EQ(font.FontVariant(), fvNormal);
    EXPECT_EQ(font.SizePreferredUnit(), suNone);
    EXPECT_EQ(font.Weight(), fw700);
    EXPECT_EQ(font.Name(), name);
}

TEST_F(TSVGFontTest, AssignAndCloneCarryTheSVGPart)
{
    TSVGFont source;
    source.SetExtendStyles({fsBlink});
    source.SetFontVariant(fvSmallCaps);
    source.SetWeight(fw300);
    source.SetSizePreferredUnit(suFontSize);
    source.Families()->Add(u"monospace"_qs);
    source.SetSize(20);

    TSVGFont target;
    target.Assign(&source);
    const auto clone = source.CloneAs<TSVGFont>();
    for (const TSVGFont* f : {&target, clone.get()}) {
        EXPECT_EQ(f->ExtendStyles(), TExtendedFontStyles{fsBlink});
        EXPECT_EQ(f->FontVariant(), fvSmallCaps);
        EXPECT_EQ(f->Weight(), fw300);
        EXPECT_EQ(f->SizePreferredUnit(), suFontSize);
        EXPECT_EQ(f->FamiliesToString(), u"monospace"_qs);
        EXPECT_EQ(f->Size(), 20.0f);
    }
}

TEST_F(TSVGFontTest, PublishedDefaults)
{
    const TSVGFont font;
    const TClassInfo& info = font.ClassInfo();
    for (const char16_t* name : {u"ExtendStyles", u"SizePreferredUnit", u"FontVariant", u"Weight"})
        EXPECT_TRUE(info.FindProperty(name)->HasDefaultValue(font)) << QString::fromUtf16(name).toStdString();
    ASSERT_NE(info.FindProperty(u"Families"), nullptr);
}

TEST_F(TSVGFontTest, BinaryStreamRoundTrip)
{
    TSVGFont font;
    font.SetExtendStyles({fsOverline});
    font.SetSizePreferredUnit(suPoints);
    font.SetFontVariant(fvSmallCaps);
    font.Families()->Add(u"Times New Roman"_qs);
    font.Families()->Add(u"serif"_qs);
    font.SetWeight(fw800);
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    {
        TWriter writer(buffer);
        writer.WriteRoot(font);
    }
    buffer.seek(0);
    TSVGFont read;
    TReader reader(buffer);
    reader.ReadRoot(read);
    EXPECT_EQ(read.ExtendStyles(), TExtendedFontStyles{fsOverline});
    EXPECT_EQ(read.SizePreferredUnit(), suPoints);
    EXPECT_EQ(read.FontVariant(), fvSmallCaps);
    EXPECT_EQ(read.FamiliesToString(), u"'Times New Roman', serif"_qs);
    EXPECT_EQ(read.Weight(), fw800);
    EXPECT_TRUE(read.Style().Contains(fsBold));
}
