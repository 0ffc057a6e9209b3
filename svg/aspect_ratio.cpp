#include "svg/aspect_ratio.h"

#include "svg/trim.h"

#include <array>

namespace velk {

const TClassInfo& TSVGPreserveAspectRatio::StaticClass()
{
    static const TClassInfo info(QStringLiteral("TSVGPreserveAspectRatio"), &TPersistent::StaticClass(),
                                 &CreateInstance<TSVGPreserveAspectRatio>,
                                 TPublished<TSVGPreserveAspectRatio>()
                                     .Enumeration(u"Align"_qs, &TSVGPreserveAspectRatio::Align,
                                                  &TSVGPreserveAspectRatio::SetAlign, saNone)
                                     .Boolean(u"Defer"_qs, &TSVGPreserveAspectRatio::Defer,
                                              &TSVGPreserveAspectRatio::SetDefer, false)
                                     .Boolean(u"Slice"_qs, &TSVGPreserveAspectRatio::Slice,
                                              &TSVGPreserveAspectRatio::SetSlice, false)
                                     .Take());
    return info;
}

void TSVGPreserveAspectRatio::SetAlign(TSVGAlign Value)
{
    if (FAlign == Value)
        return;
    FAlign = Value;
    Changed();
}

void TSVGPreserveAspectRatio::SetDefer(bool Value)
{
    if (FDefer == Value)
        return;
    FDefer = Value;
    Changed();
}

void TSVGPreserveAspectRatio::SetSlice(bool Value)
{
    if (FSlice == Value)
        return;
    FSlice = Value;
    Changed();
}

void TSVGPreserveAspectRatio::Assign(const TPersistent* Source)
{
    if (const auto* source = dynamic_cast<const TSVGPreserveAspectRatio*>(Source)) {
        FAlign = source->FAlign;
        FDefer = source->FDefer;
        FSlice = source->FSlice;
        Changed();
        return;
    }
    TPersistent::Assign(Source);
}

void TSVGPreserveAspectRatio::Clear()
{
    FAlign = saNone;
    FDefer = false;
    FSlice = false;
    Changed();
}

void TSVGPreserveAspectRatio::SetInitial()
{
    if (IsInitial())
        return;
    FAlign = saXMidYMid;
    FDefer = false;
    FSlice = false;
    Changed();
}

QString TSVGPreserveAspectRatio::ToString(bool Compact) const
{
    QString result;
    if (FDefer)
        result += u"defer "_qs;
    // "none" rather than nothing: without an alignment word the text is not valid
    // preserveAspectRatio syntax, and other readers would take their default.
    result += FAlign == saNone ? u"none"_qs : SVGKeywordToStr(FAlign);
    if (FSlice)
        result += u" slice"_qs;
    else if (!Compact)
        result += u" meet"_qs;
    return result;
}

void TSVGPreserveAspectRatio::Changed()
{
    if (OnChange)
        OnChange(this);
}

void SVGParseAspectRatio(QStringView Text, TSVGPreserveAspectRatio& AspectRatio)
{
    // The first three words are all that count.
    std::array<QStringView, 3> words;
    std::size_t count = 0;
    const QStringView text = SVGTrim(Text);
    qsizetype i = 0;
    while (i < text.size() && count < words.size()) {
        while (i < text.size() && SVGIsBlank(text[i]))
            ++i;
        const qsizetype start = i;
        while (i < text.size() && !SVGIsBlank(text[i]))
            ++i;
        if (i > start)
            words[count++] = text.sliced(start, i - start);
    }
    if (count == 0)
        return;

    const bool defer = count >= 2 && words[0] == u"defer";
    const std::size_t alignWord = defer ? 1 : 0;
    const TSVGAlign align = SVGParseKeyword<TSVGAlign>(words[alignWord]);
    const bool slice = alignWord + 1 < count && words[alignWord + 1] == u"slice";
    if (align == AspectRatio.Align() && defer == AspectRatio.Defer() && slice == AspectRatio.Slice())
        return;
    TSVGPreserveAspectRatio parsed;
    parsed.SetAlign(align);
    parsed.SetDefer(defer);
    parsed.SetSlice(slice);
    AspectRatio.Assign(&parsed);
}

} // namespace velk
