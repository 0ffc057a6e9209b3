#pragma once
// TVelkGPStringFormat: how text is laid out in a layout rectangle — alignment along and
// across the lines, wrapping, trimming, direction, tab stops, line limit — for drawing
// and measuring (graphics/text_layout.h does the work).
//
// Two kinds of format exist, as in the classic 2-D API: the generic default (what the
// constructor makes) pads each line by 1/6 em at both ends horizontally, so measured
// boxes are a little wider than the ink; the generic typographic one (GenericTypographic)
// does not pad. The kind is not part of the record.

#include "graphics/graphics_object.h"
#include "platform/enum_names.h"
#include "platform/set.h"

#include <QTextOption>

#include <cstdint>
#include <memory>
#include <vector>

namespace velk {

enum TVelkGPStringFormatFlag {
    sffDirectionRightToLeft, sffDirectionVertical, sffNoFitBlackBox, sffDisplayFormatControl, sffNoFontFallback,
    sffMeasureTrailingSpaces, sffNoWrap, sffLineLimit, sffNoClip
};
using TVelkGPStringFormatFlags = TSet<TVelkGPStringFormatFlag>;

// Along the reading direction (Align) or across the lines (LineAlign).
enum TVelkGPStringAlignment { saLeading, saCenter, saTrailing };
enum TVelkGPHotkeyPrefix { hpNone, hpShow, hpHide };
enum TVelkGPStringDigitSubstitute { sdsUser, sdsNone, sdsNational, sdsTraditional };
enum TVelkGPStringTrimming {
    stNone, stCharacter, stWord, stEllipsisCharacter, stEllipsisWord, stEllipsisPath
};

struct TVelkGPCharacterRange {
    std::int32_t First = 0;
    std::int32_t Length = 0;
    bool operator==(const TVelkGPCharacterRange&) const = default;
};

struct TVelkGPStringFormatRec {
    TVelkGPStringFormatFlags Flags;
    TVelkGPStringAlignment Align = saLeading;
    TVelkGPStringAlignment LineAlign = saLeading;
    TVelkGPHotkeyPrefix HotkeyPrefix = hpNone;
    std::uint16_t DigitSubstitutionLanguage = 0;
    TVelkGPStringDigitSubstitute DigitSubstitutionMethod = sdsUser;
    TVelkGPStringTrimming Trimming = stCharacter;
    float FirstTabOffset = 0;
    std::vector<float> TabStops;
    std::vector<TVelkGPCharacterRange> MeasurableCharacterRanges;
    bool operator==(const TVelkGPStringFormatRec&) const = default;
};

class TVelkGPStringFormat : public TVelkGPGraphicsObject {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // A generic default format with the record's defaults.
    explicit TVelkGPStringFormat(TVelkGPCanvas* AOwner = nullptr);
    ~TVelkGPStringFormat() override;

    // New formats without owner: the generic default one, and the typographic one (no
    // padding; its record keeps the defaults).
    static std::unique_ptr<TVelkGPStringFormat> GenericDefault();
    static std::unique_ptr<TVelkGPStringFormat> GenericTypographic();
    bool IsTypographic() const { return FTypographic; }

    const TVelkGPStringFormatRec& Rec() const { return FRec; }

    // Published; each setter raises OnChange when the value differs.
    TVelkGPStringFormatFlags Flags() const { return FRec.Flags; }
    void SetFlags(TVelkGPStringFormatFlags Value);
    TVelkGPStringAlignment Align() const { return FRec.Align; }
    void SetAlign(TVelkGPStringAlignment Value);
    TVelkGPStringAlignment LineAlign() const { return FRec.LineAlign; }
    void SetLineAlign(TVelkGPStringAlignment Value);
    TVelkGPHotkeyPrefix HotkeyPrefix() const { return FRec.HotkeyPrefix; }
    void SetHotkeyPrefix(TVelkGPHotkeyPrefix Value);
    std::uint16_t DigitSubstitutionLanguage() const { return FRec.DigitSubstitutionLanguage; }
    void SetDigitSubstitutionLanguage(std::uint16_t Value);
    TVelkGPStringDigitSubstitute DigitSubstitutionMethod() const { return FRec.DigitSubstitutionMethod; }
    void SetDigitSubstitutionMethod(TVelkGPStringDigitSubstitute Value);
    TVelkGPStringTrimming Trimming() const { return FRec.Trimming; }
    void SetTrimming(TVelkGPStringTrimming Value);
    float FirstTabOffset() const { return FRec.FirstTabOffset; }
    void SetFirstTabOffset(float Value);

    // Tab stops: each the distance from the previous one (the first from
    // FirstTabOffset), as in the classic API. Indexes outside raise "Argument out of
    // range".
    int TabStopCount() const { return static_cast<int>(FRec.TabStops.size()); }
    float TabStops(int Index) const;
    TVelkGPStringFormat& AddTabStop(float aTabStop);
    // Nothing on an empty list.
    void ClearTabStops();
    void DeleteTabStop(int Index);

    int MeasurableCharacterRangeCount() const { return static_cast<int>(FRec.MeasurableCharacterRanges.size()); }
    TVelkGPCharacterRange MeasurableCharacterRanges(int Index) const;
    TVelkGPStringFormat& AddMeasurableCharacterRange(TVelkGPCharacterRange aRange);
    // Nothing on an empty list.
    void ClearMeasurableCharacterRanges();
    void DeleteMeasurableCharacterRange(int Index);

    // The Qt text option for the record (alignment, wrapping, direction, tabs, trailing
    // spaces), built on first use after a change.
    const QTextOption& Handle() const;

    // From a TVelkGPStringFormat: the whole record and the kind (so that a clone of the
    // typographic format is typographic), one OnChange. Anything else: TPersistent's
    // rules.
    void Assign(const TPersistent* Source) override;

    // Flag set ↔ the classic flag bits (0x0001 right-to-left ... 0x4000 no clip).
    static std::uint32_t GetFlagMask(TVelkGPStringFormatFlags Flags);
    static TVelkGPStringFormatFlags GetFlags(std::uint32_t Bits);

protected:
    std::unique_ptr<TVelkGPGraphicsObject> CreateSame(TVelkGPCanvas* AOwner) const override;
    void DestroyHandle() override;

private:
    template <typename T>
    void SetField(T TVelkGPStringFormatRec::*Field, T Value);

    TVelkGPStringFormatRec FRec;
    bool FTypographic = false;
    mutable std::unique_ptr<QTextOption> FHandle;
};

template <>
struct EnumNames<TVelkGPStringFormatFlag> {
    static constexpr std::array<std::u16string_view, 9> Names{
        u"sffDirectionRightToLeft", u"sffDirectionVertical",     u"sffNoFitBlackBox",
        u"sffDisplayFormatControl", u"sffNoFontFallback",        u"sffMeasureTrailingSpaces",
        u"sffNoWrap",               u"sffLineLimit",             u"sffNoClip"};
};
template <>
struct EnumNames<TVelkGPStringAlignment> {
    static constexpr std::array<std::u16string_view, 3> Names{u"saLeading", u"saCenter", u"saTrailing"};
};
template <>
struct EnumNames<TVelkGPHotkeyPrefix> {
    static constexpr std::array<std::u16string_view, 3> Names{u"hpNone", u"hpShow", u"hpHide"};
};
template <>
struct EnumNames<TVelkGPStringDigitSubstitute> {
    static constexpr std::array<std::u16string_view, 4> Names{u"sdsUser", u"sdsNone", u"sdsNational",
                                                              u"sdsTraditional"};
};
template <>
struct EnumNames<TVelkGPStringTrimming> {
    static constexpr std::array<std::u16string_view, 6> Names{u"stNone",           u"stCharacter",
                                                              u"stWord",           u"stEllipsisCharacter",
                                                              u"stEllipsisWord", u"stEllipsisPath"};
};

} // namespace velk
