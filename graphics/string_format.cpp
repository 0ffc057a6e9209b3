#include "graphics/string_format.h"

#include "platform/exceptions.h"

#include <array>
#include <cmath>

namespace velk {

namespace {

// The classic flag bit of each member, in ordinal order.
constexpr std::array<std::uint32_t, 9> FlagBits{0x0001, 0x0002, 0x0004, 0x0020, 0x0400,
                                                0x0800, 0x1000, 0x2000, 0x4000};

void CheckIndex(int Index, std::size_t Count)
{
    if (Index < 0 || static_cast<std::size_t>(Index) >= Count)
        throw EArgumentOutOfRangeException(messages::ArgumentOutOfRange);
}

} // namespace

const TClassInfo& TVelkGPStringFormat::StaticClass()
{
    using C = TVelkGPStringFormat;
    static const TClassInfo info(
        u"TVelkGPStringFormat"_qs, &TVelkGPGraphicsObject::StaticClass(), &CreateInstance<C>,
        TPublished<C>()
            .Set(u"Flags"_qs, &C::Flags, &C::SetFlags, TVelkGPStringFormatFlags())
            .Enumeration(u"Align"_qs, &C::Align, &C::SetAlign, saLeading)
            .Enumeration(u"LineAlign"_qs, &C::LineAlign, &C::SetLineAlign, saLeading)
            .Enumeration(u"HotkeyPrefix"_qs, &C::HotkeyPrefix, &C::SetHotkeyPrefix, hpNone)
            .Integer(u"DigitSubstitutionLanguage"_qs, &C::DigitSubstitutionLanguage,
                     &C::SetDigitSubstitutionLanguage, 0)
            .Enumeration(u"DigitSubstitutionMethod"_qs, &C::DigitSubstitutionMethod,
                         &C::SetDigitSubstitutionMethod, sdsUser)
            .Enumeration(u"Trimming"_qs, &C::Trimming, &C::SetTrimming, stCharacter)
            .Single(u"FirstTabOffset"_qs, &C::FirstTabOffset, &C::SetFirstTabOffset, 0)
            .Take());
    return info;
}

TVelkGPStringFormat::TVelkGPStringFormat(TVelkGPCanvas* AOwner) : TVelkGPGraphicsObject(AOwner)
{
}

TVelkGPStringFormat::~TVelkGPStringFormat() = default;

std::unique_ptr<TVelkGPStringFormat> TVelkGPStringFormat::GenericDefault()
{
    return std::make_unique<TVelkGPStringFormat>();
}

std::unique_ptr<TVelkGPStringFormat> TVelkGPStringFormat::GenericTypographic()
{
    auto result = std::make_unique<TVelkGPStringFormat>();
    result->FTypographic = true;
    return result;
}

std::unique_ptr<TVelkGPGraphicsObject> TVelkGPStringFormat::CreateSame(TVelkGPCanvas* AOwner) const
{
    return std::make_unique<TVelkGPStringFormat>(AOwner);
}

void TVelkGPStringFormat::DestroyHandle()
{
    FHandle.reset();
}

template <typename T>
void TVelkGPStringFormat::SetField(T TVelkGPStringFormatRec::*Field, T Value)
{
    if (FRec.*Field == Value)
        return;
    FRec.*Field = Value;
    DestroyHandle();
    Changed();
}

void TVelkGPStringFormat::SetFlags(TVelkGPStringFormatFlags Value)
{
    SetField(&TVelkGPStringFormatRec::Flags, Value);
}

void TVelkGPStringFormat::SetAlign(TVelkGPStringAlignment Value)
{
    SetField(&TVelkGPStringFormatRec::Align, Value);
}

void TVelkGPStringFormat::SetLineAlign(TVelkGPStringAlignment Value)
{
    SetField(&TVelkGPStringFormatRec::LineAlign, Value);
}

void TVelkGPStringFormat::SetHotkeyPrefix(TVelkGPHotkeyPrefix Value)
{
    SetField(&TVelkGPStringFormatRec::HotkeyPrefix, Value);
}

void TVelkGPStringFormat::SetDigitSubstitutionLanguage(std::uint16_t Value)
{
    SetField(&TVelkGPStringFormatRec::DigitSubstitutionLanguage, Value);
}

void TVelkGPStringFormat::SetDigitSubstitutionMethod(TVelkGPStringDigitSubstitute Value)
{
    SetField(&TVelkGPStringFormatRec::DigitSubstitutionMethod, Value);
}

void TVelkGPStringFormat::SetTrimming(TVelkGPStringTrimming Value)
{
    SetField(&TVelkGPStringFormatRec::Trimming, Value);
}

void TVelkGPStringFormat::SetFirstTabOffset(float Value)
{
    SetField(&TVelkGPStringFormatRec::FirstTabOffset, Value);
}

float TVelkGPStringFormat::TabStops(int Index) const
{
    CheckIndex(Index, FRec.TabStops.size());
    return FRec.TabStops[static_cast<std::size_t>(Index)];
}

TVelkGPStringFormat& TVelkGPStringFormat::AddTabStop(float aTabStop)
{
    FRec.TabStops.push_back(aTabStop);
    DestroyHandle();
    Changed();
    return *this;
}

void TVelkGPStringFormat::ClearTabStops()
{
    if (FRec.TabStops.empty())
        return;
    FRec.TabStops.clear();
    DestroyHandle();
    Changed();
}

void TVelkGPStringFormat::DeleteTabStop(int Index)
{
    CheckIndex(Index, FRec.TabStops.size());
    FRec.TabStops.erase(FRec.TabStops.begin() + Index);
    // The classic API kept the deleted stop in force until the next rebuild; a deleted
    // stop is gone here at once.
    DestroyHandle();
    Changed();
}

TVelkGPCharacterRange TVelkGPStringFormat::MeasurableCharacterRanges(int Index) const
{
    CheckIndex(Index, FRec.MeasurableCharacterRanges.size());
    return FRec.MeasurableCharacterRanges[static_cast<std::size_t>(Index)];
}

TVelkGPStringFormat& TVelkGPStringFormat::AddMeasurableCharacterRange(TVelkGPCharacterRange aRange)
{
    FRec.MeasurableCharacterRanges.push_back(aRange);
    DestroyHandle();
    Changed();
    return *this;
}

void TVelkGPStringFormat::ClearMeasurableCharacterRanges()
{
    if (FRec.MeasurableCharacterRanges.empty())
        return;
    FRec.MeasurableCharacterRanges.clear();
    DestroyHandle();
    Changed();
}

void TVelkGPStringFormat::DeleteMeasurableCharacterRange(int Index)
{
    CheckIndex(Index, FRec.MeasurableCharacterRanges.size());
    FRec.MeasurableCharacterRanges.erase(FRec.MeasurableCharacterRanges.begin() + Index);
    DestroyHandle();
    Changed();
}

const QTextOption& TVelkGPStringFormat::Handle() const
{
    if (FHandle)
        return *FHandle;
    const bool rightToLeft = FRec.Flags.Contains(sffDirectionRightToLeft);
    // Leading and trailing follow the reading direction; Qt's absolute flags would not.
    Qt::Alignment align = FRec.Align == saCenter ? Qt::AlignHCenter
                          : (FRec.Align == saLeading) != rightToLeft ? Qt::AlignLeft
                                                                     : Qt::AlignRight;
    auto option = std::make_unique<QTextOption>(align | Qt::AlignAbsolute);
    option->setTextDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    option->setWrapMode(FRec.Flags.Contains(sffNoWrap) ? QTextOption::NoWrap
                                                       : QTextOption::WrapAtWordBoundaryOrAnywhere);
    option->setUseDesignMetrics(true);
    QTextOption::Flags flags;
    if (FRec.Flags.Contains(sffMeasureTrailingSpaces))
        flags |= QTextOption::IncludeTrailingSpaces;
    if (FRec.Flags.Contains(sffDisplayFormatControl))
        flags |= QTextOption::ShowDocumentTerminator;
    option->setFlags(flags);
    // Tab stops are distances, each from the one before; Qt wants positions. Qt cannot
    // start the first one elsewhere than at its distance from the line start, so the
    // first tab offset shifts every stop. Stops at no number are left out.
    QList<QTextOption::Tab> tabs;
    qreal position = FRec.FirstTabOffset;
    for (float distance : FRec.TabStops) {
        position += distance;
        if (std::isfinite(position))
            tabs.append(QTextOption::Tab(position, QTextOption::LeftTab));
    }
    option->setTabs(tabs);
    FHandle = std::move(option);
    return *FHandle;
}

void TVelkGPStringFormat::Assign(const TPersistent* Source)
{
    if (const auto* format = dynamic_cast<const TVelkGPStringFormat*>(Source)) {
        FRec = format->FRec;
        FTypographic = format->FTypographic;
        DestroyHandle();
        Changed();
        return;
    }
    TPersistent::Assign(Source);
}

std::uint32_t TVelkGPStringFormat::GetFlagMask(TVelkGPStringFormatFlags Flags)
{
    std::uint32_t result = 0;
    Flags.ForEach([&](TVelkGPStringFormatFlag flag) { result |= FlagBits[flag]; });
    return result;
}

TVelkGPStringFormatFlags TVelkGPStringFormat::GetFlags(std::uint32_t Bits)
{
    TVelkGPStringFormatFlags result;
    for (std::size_t i = 0; i < FlagBits.size(); ++i)
        if (Bits & FlagBits[i])
            result.Include(static_cast<TVelkGPStringFormatFlag>(i));
    return result;
}

} // namespace velk
