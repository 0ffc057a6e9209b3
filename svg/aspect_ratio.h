#pragma once
// preserveAspectRatio: how a view box is fitted into a viewport.

#include "platform/persistent.h"
#include "svg/keywords.h"

#include <QString>
#include <QStringView>

namespace velk {

class TSVGPreserveAspectRatio : public TPersistent {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // Published, default saNone (SVG's "none").
    TSVGAlign Align() const { return FAlign; }
    void SetAlign(TSVGAlign Value);
    // Published, default false.
    bool Defer() const { return FDefer; }
    void SetDefer(bool Value);
    // Published, default false (meet).
    bool Slice() const { return FSlice; }
    void SetSlice(bool Value);

    // Raised by every setter that changes its value, once by Assign and by Clear.
    TNotifyEvent OnChange;

    // From another TSVGPreserveAspectRatio: all three values, then OnChange once.
    void Assign(const TPersistent* Source) override;
    // The defaults, then OnChange.
    virtual void Clear();
    // SVG's initial value, xMidYMid meet without defer: what a viewport uses when its
    // preserveAspectRatio attribute is missing.
    bool IsInitial() const { return FAlign == saXMidYMid && !FDefer && !FSlice; }
    void SetInitial();
    // The attribute text: "defer " when Defer, the alignment keyword ("none" for
    // saNone), then " slice" when Slice, else " meet" unless Compact.
    virtual QString ToString(bool Compact) const;

private:
    void Changed();

    TSVGAlign FAlign = saNone;
    bool FDefer = false;
    bool FSlice = false;
};

// Reads a preserveAspectRatio text into AspectRatio: the words are
// ["defer"] <align> ["meet" | "slice"]; an unknown alignment word gives saNone, and
// Defer needs a word after "defer". A text of blanks only leaves AspectRatio as it is.
// OnChange is raised once, and only when a value changes.
void SVGParseAspectRatio(QStringView Text, TSVGPreserveAspectRatio& AspectRatio);

} // namespace velk
