#include "platform/binary_reader.h"
#include "platform/binary_writer.h"
#include "svg/length.h"
#include "tests/support/test_support.h"

#include <QBuffer>
#include <gtest/gtest.h>

using namespace velk;

namespace {

// A length whose unit factors are a document's at 96 DPI.
void UseDocumentFactors(TSVGLength& Length, int DPI = 96)
{
    Length.OnUnitFactors = [DPI](const TSVGLength*, TSVGUnitFactors& Factors) { Factors = SVGUnitFactorsForDPI(DPI); };
}

// Parent links between style property lengths, the way elements install them.
void LinkToParent(TSVGStylePropertyLength& Child, TSVGStylePropertyLength& Parent)
{
    Child.OnGetParent = [&Parent](const TSVGStylePropertyLength*, TSVGStylePropertyLength*& Result) {
        Result = &Parent;
    };
}

TEST(SVGUnitFactors, DocumentTableFollowsTheDPI)
{
    const TSVGUnitFactors f = SVGUnitFactorsForDPI(96);
    const float expected[] = {1, 1, 96.0f / 72, 96.0f / 72 * 12, 3.7795276f, 37.795276f, 96, 1, 1, 1};
    for (int u = suNone; u <= suPercent; ++u)
        EXPECT_FLOAT_EQ(f[static_cast<std::size_t>(u)], expected[u]) << EnumName(static_cast<TSVGUnit>(u)).toStdString();
    EXPECT_EQ(SVGUnitFactorsForDPI(5), SVGUnitFactorsForDPI(SVGMinDPI));
    EXPECT_EQ(SVGUnitFactorsForDPI(-1)[suInches], 10);

    const TSVGUnitFactors element = SVGUnitFactorsForFontSize(f, 20);
    EXPECT_EQ(element[suFontSize], 20);
    EXPECT_EQ(element[suFontXHeight], 10);
    EXPECT_EQ(element[suInches], 96);
}

TEST(SVGNormalizedDiagonal, IsTheRootMeanSquareOfTheSidesWithoutOverflow)
{
    EXPECT_FLOAT_EQ(SVGNormalizedDiagonal(70, 10), 50);
    EXPECT_FLOAT_EQ(SVGNormalizedDiagonal(200, 200), 200);
    EXPECT_FLOAT_EQ(SVGNormalizedDiagonal(0, 0), 0);
    // Squares of sides near the float limit would overflow in float arithmetic.
    EXPECT_FLOAT_EQ(SVGNormalizedDiagonal(3e38f, 3e38f), 3e38f);
}

TEST(SVGLength, ConvertsThroughItsUnitFactors)
{
    TSVGLength plain(10, false, suMillimeters);
    EXPECT_FLOAT_EQ(plain.Pixels(), 37.8f);
    TSVGLength document(10, false, suMillimeters);
    UseDocumentFactors(document);
    EXPECT_NEAR(document.Pixels(), 37.795, 0.0005);
    EXPECT_NEAR(document.AsUnit(suCentimeters), 1, 1e-6);

    TSVGLength inches(1, false, suInches);
    UseDocumentFactors(inches);
    inches.SetaUnit(suPixels);
    EXPECT_EQ(inches.Raw(), 96);
    EXPECT_EQ(inches.aUnit(), suPixels);
    inches.SetAsUnit(suInches, 2);
    inches.SetPixels(96);
    EXPECT_EQ(inches.Raw(), 1);
    EXPECT_EQ(inches.Value(), 96);

    // A font size of 0: no number of em has a size, and nothing divides by zero.
    TSVGLength em(2, false, suFontSize);
    em.OnUnitFactors = [](const TSVGLength*, TSVGUnitFactors& Factors) {
        Factors = SVGUnitFactorsForFontSize(DefaultUnitFactors, 0);
    };
    em.SetPixels(5);
    EXPECT_EQ(em.Raw(), 2);
    EXPECT_EQ(TSVGLength(3, false, suPixels).AsUnit(suFontSize), 3);
    TSVGLength pixels(3, false, suPixels);
    pixels.OnUnitFactors = em.OnUnitFactors;
    EXPECT_EQ(pixels.AsUnit(suFontSize), 0);
}

TEST(SVGLength, PercentagesResolveThroughTheRangeHandler)
{
    struct Case {
        const char* Name;
        TSVGLengthRangeEvent OnRange;
        float Expected;
    };
    const Case cases[] = {
        {"no handler", nullptr, 0.5f},
        {"range 0..200", [](const TSVGLength*, float&, float& Max, bool&) { Max = 200; }, 100},
        {"range 100..200", [](const TSVGLength*, float& Min, float& Max, bool&) { Min = 100, Max = 200; }, 150},
        {"fraction", [](const TSVGLength*, float&, float& Max, bool& DoRange) { Max = 200, DoRange = false; }, 0.5f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TSVGLength length(0.5f, true, suPercent);
        length.OnRange = c.OnRange;
        EXPECT_FLOAT_EQ(length.Value(), c.Expected);
        // Setting a value in user units keeps the percentage and reads back.
        length.SetValue(c.Expected / 2);
        EXPECT_TRUE(length.IsPercent());
        EXPECT_FLOAT_EQ(length.Value(), c.Expected / 2);
    }
    TSVGLength notPercent(0.5f, false, suNone);
    notPercent.OnRange = cases[1].OnRange;
    EXPECT_EQ(notPercent.Value(), 0.5f);
    EXPECT_EQ(TSVGLength(0.25f, true, suPercent).GetPercentValue(100, 200), 125);
}

TEST(SVGLength, ChangesRaiseTheEventOnlyWhenSomethingChanges)
{
    TSVGLength length(5, true, suPercent);
    int changes = 0;
    length.OnChange = [&](TObject* Sender) {
        EXPECT_EQ(Sender, &length);
        ++changes;
    };
    length.SetRaw(5);
    length.SetIsPercent(true);
    length.SetaUnit(suPercent);
    length.SetPixels(5);
    EXPECT_EQ(changes, 0);

    length.SetRaw(6);
    length.SetIsPercent(false);
    EXPECT_EQ(changes, 2);
    length.Clear();
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(length.Raw(), 0);
    EXPECT_TRUE(length.IsPercent());
    EXPECT_EQ(length.aUnit(), suNone);
    length.Initialize(7, false, suPoints);
    EXPECT_EQ(changes, 4);
    EXPECT_FALSE(length.DefaultIsPercent());
    length.SetAsUnit(suPercent, 0.3f);
    EXPECT_TRUE(length.IsPercent());
    EXPECT_EQ(changes, 5);
}

TEST(SVGLength, AssignAndCloneCopyTheValueNotTheHandlers)
{
    TSVGStylePropertyAutoLength source(ipLetterSpacing);
    source.Initialize(3, true, suPoints);
    source.SetAutomatic(false);
    source.SetParentValue(true);
    source.OnRange = [](const TSVGLength*, float&, float&, bool&) {};

    TSVGLength plain;
    plain.Assign(&source);
    EXPECT_EQ(plain.Raw(), 3);
    EXPECT_TRUE(plain.IsPercent());
    EXPECT_TRUE(plain.DefaultIsPercent());
    EXPECT_EQ(plain.aUnit(), suPoints);
    EXPECT_FALSE(plain.OnRange);

    const std::unique_ptr<TSVGLength> clone = source.Clone();
    auto* autoClone = dynamic_cast<TSVGStylePropertyAutoLength*>(clone.get());
    ASSERT_NE(autoClone, nullptr);
    EXPECT_EQ(autoClone->StyleProperty(), ipLetterSpacing);
    EXPECT_FALSE(autoClone->Automatic());
    EXPECT_TRUE(autoClone->ParentValue());
    EXPECT_EQ(autoClone->Raw(), 3);

    TSVGBaselineShiftLength shift(ipBaselineShift);
    shift.SetShift(bsSuperscript);
    const std::unique_ptr<TSVGLength> shiftClone = shift.Clone();
    ASSERT_EQ(shiftClone->ClassName(), "TSVGBaselineShiftLength");
    EXPECT_EQ(static_cast<TSVGBaselineShiftLength&>(*shiftClone).Shift(), bsSuperscript);
    EXPECT_EQ(plain.Clone()->ClassName(), "TSVGLength");

    TSVGStylePropertyLength styled;
    EXPECT_EQ(velk::testing::MessageOf<EConvertError>([&] { styled.Assign(nullptr); }),
              "Cannot assign a nil to a TSVGStylePropertyLength");
}

TEST(SVGStylePropertyLength, ParentValueReadsThroughTheParentChain)
{
    TSVGStylePropertyLength root(ipStrokeWidth);
    TSVGStylePropertyLength middle(ipStrokeWidth);
    TSVGStylePropertyLength leaf(ipStrokeWidth);
    root.SetValue(5);
    middle.SetValue(7);
    leaf.SetValue(9);
    LinkToParent(middle, root);
    LinkToParent(leaf, middle);
    middle.SetParentValue(true);
    leaf.SetParentValue(true);
    EXPECT_EQ(leaf.GetParentValue(), &middle);
    EXPECT_EQ(root.GetParentValue(), nullptr);
    EXPECT_EQ(leaf.Value(), 5);
    EXPECT_EQ(middle.Value(), 5);
    EXPECT_EQ(leaf.Raw(), 9);

    // Assigning a value takes the length off its parent.
    leaf.SetValue(4);
    EXPECT_FALSE(leaf.ParentValue());
    EXPECT_EQ(leaf.Value(), 4);
    // Assigning the inherited value itself is a change too when the own value differs.
    middle.SetValue(5);
    EXPECT_FALSE(middle.ParentValue());
    EXPECT_EQ(middle.Raw(), 5);
    // The own size counts, not the raw number: 10 differs from 10in.
    TSVGStylePropertyLength inches(ipFontSize);
    inches.SetAsUnit(suInches, 10);
    inches.SetValue(10);
    EXPECT_FLOAT_EQ(inches.Pixels(), 10);

    leaf.SetParentValue(true);
    leaf.Clear();
    EXPECT_FALSE(leaf.ParentValue());
    EXPECT_EQ(leaf.Value(), 0);
}

TEST(SVGStylePropertyLength, OwnerEventsSeeTheInheritFlag)
{
    TSVGStylePropertyLength parent(ipKerning);
    TSVGStylePropertyLength length(ipKerning);
    parent.SetValue(3);
    bool ownerSet = false;
    QStringList log;
    length.OnGetInherited = [&](const TSVGStylePropertyLength* Sender, bool& IsInherited) {
        EXPECT_EQ(Sender, &length);
        IsInherited = ownerSet;
    };
    length.OnSetInherited = [&](const TSVGStylePropertyLength*, bool IsInherited) {
        ownerSet = IsInherited;
        log += IsInherited ? u"set"_qs : u"cleared"_qs;
    };
    // Without a parent handler the owner is not asked.
    ownerSet = true;
    EXPECT_FALSE(length.ParentValue());
    LinkToParent(length, parent);
    EXPECT_TRUE(length.ParentValue());
    EXPECT_EQ(length.Value(), 3);
    length.SetParentValue(true);
    EXPECT_TRUE(log.isEmpty());
    length.SetParentValue(false);
    length.SetParentValue(true);
    EXPECT_EQ(log, QStringList({u"cleared"_qs, u"set"_qs}));
}

TEST(SVGStylePropertyLength, ACycleOfParentsReadsTheOwnValue)
{
    TSVGStylePropertyAutoLength a(ipWordSpacing);
    TSVGStylePropertyAutoLength b(ipWordSpacing);
    a.SetValue(1);
    b.SetValue(2);
    b.SetAutomatic(false);
    LinkToParent(a, b);
    LinkToParent(b, a);
    a.SetParentValue(true);
    b.SetParentValue(true);
    EXPECT_EQ(a.Value(), 1);
    EXPECT_EQ(b.Value(), 2);
    EXPECT_TRUE(a.Automatic());
    EXPECT_FALSE(b.Automatic());

    TSVGStylePropertyLength self;
    self.SetValue(6);
    LinkToParent(self, self);
    self.SetParentValue(true);
    EXPECT_EQ(self.Value(), 6);
}

TEST(SVGStylePropertyLength, AutomaticAndShiftFollowTheParent)
{
    TSVGStylePropertyAutoLength parent(ipKerning);
    TSVGStylePropertyAutoLength child(ipKerning);
    EXPECT_TRUE(child.Automatic());
    parent.SetAutomatic(false);
    LinkToParent(child, parent);
    child.SetParentValue(true);
    EXPECT_FALSE(child.Automatic());
    // Writing the own (unchanged) flag while the parent's differs takes the child off it.
    child.SetAutomatic(true);
    EXPECT_FALSE(child.ParentValue());
    EXPECT_TRUE(child.Automatic());
    child.SetAutomatic(false);
    child.Clear();
    EXPECT_TRUE(child.Automatic());

    TSVGBaselineShiftLength shiftParent(ipBaselineShift);
    TSVGBaselineShiftLength shift(ipBaselineShift);
    EXPECT_EQ(shift.Shift(), bsBaseline);
    shiftParent.SetShift(bsSubscript);
    LinkToParent(shift, shiftParent);
    shift.SetParentValue(true);
    EXPECT_EQ(shift.Shift(), bsSubscript);
    // A value equal to both the own and the inherited one changes nothing.
    shiftParent.SetShift(bsBaseline);
    int changes = 0;
    shift.OnChange = [&](TObject*) { ++changes; };
    shift.SetShift(bsBaseline);
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(shift.ParentValue());
    shift.SetShift(bsLength);
    EXPECT_FALSE(shift.ParentValue());
    EXPECT_EQ(shift.Shift(), bsLength);
    shift.Clear();
    EXPECT_EQ(shift.Shift(), bsBaseline);
}

TEST(SVGLengths, CloneCopiesEveryItemInOrder)
{
    TSVGLengths lengths;
    lengths.Add(std::make_unique<TSVGLength>(1, false, suPoints));
    lengths.Add(std::make_unique<TSVGStylePropertyLength>(ipStrokeWidth));
    const std::unique_ptr<TSVGLengths> clone = lengths.Clone();
    ASSERT_EQ(clone->Count(), 2);
    EXPECT_EQ((*clone)[0]->aUnit(), suPoints);
    EXPECT_EQ((*clone)[1]->ClassName(), "TSVGStylePropertyLength");
    EXPECT_NE((*clone)[0], lengths[0]);

    TSVGLengths dest;
    dest.Add(std::make_unique<TSVGLength>());
    dest.Add(std::make_unique<TSVGLength>());
    dest.Add(std::make_unique<TSVGLength>());
    EXPECT_EQ(&lengths.Clone(dest), &dest);
    EXPECT_EQ(dest.Count(), 2);
    EXPECT_EQ(dest[0]->Raw(), 1);
    lengths.Clone(lengths);
    EXPECT_EQ(lengths.Count(), 2);
}

template <typename T>
void RoundTrip(const T& Source, T& Dest)
{
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    {
        TWriter writer(buffer);
        writer.WriteRoot(Source);
    }
    buffer.seek(0);
    TReader reader(buffer);
    reader.ReadRoot(Dest);
}

TEST(SVGLength, StreamsItsPublishedProperties)
{
    TSVGStylePropertyAutoLength source(ipLetterSpacing);
    UseDocumentFactors(source);
    source.SetAsUnit(suInches, 2.5f);
    source.SetAutomatic(false);
    source.SetParentValue(true);

    // The reader sets the unit after the raw number; the number must survive it.
    TSVGStylePropertyAutoLength dest(ipLetterSpacing);
    UseDocumentFactors(dest);
    RoundTrip(source, dest);
    EXPECT_EQ(dest.Raw(), 2.5f);
    EXPECT_EQ(dest.aUnit(), suInches);
    EXPECT_FALSE(dest.IsPercent());
    EXPECT_TRUE(dest.ParentValue());
    EXPECT_FALSE(dest.Automatic());

    TSVGBaselineShiftLength shift(ipBaselineShift);
    shift.Initialize(0.5f, false, suPercent);
    shift.SetIsPercent(true);
    shift.SetShift(bsPercentage);
    TSVGBaselineShiftLength shiftDest(ipBaselineShift);
    RoundTrip(shift, shiftDest);
    EXPECT_EQ(shiftDest.Raw(), 0.5f);
    EXPECT_EQ(shiftDest.aUnit(), suPercent);
    EXPECT_TRUE(shiftDest.IsPercent());
    EXPECT_EQ(shiftDest.Shift(), bsPercentage);

    // What is stored: Raw when not 0, IsPercent when not the default, aUnit for real
    // units, Pixels never.
    const auto stored = [](const TSVGLength& Length) {
        QStringList names;
        for (const TPropertyInfo* p : Length.ClassInfo().Properties())
            if (p->IsStored(Length) && !p->HasDefaultValue(Length))
                names += p->Name;
        return names;
    };
    EXPECT_EQ(stored(TSVGLength()), QStringList());
    EXPECT_EQ(stored(TSVGLength(3, false, suPixels)), QStringList({u"Raw"_qs}));
    EXPECT_EQ(stored(TSVGLength(3, true, suMillimeters)), QStringList({u"Raw"_qs, u"aUnit"_qs}));
    TSVGLength changedPercent(3, true, suNone);
    changedPercent.SetIsPercent(false);
    EXPECT_EQ(stored(changedPercent), QStringList({u"Raw"_qs, u"IsPercent"_qs}));
}

} // namespace
