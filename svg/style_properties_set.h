#pragma once
// TSVGStylePropertiesSet: a set of presentation properties as a persistent object with
// a change event. Elements keep two: the properties they take from their parent
// (Inherits) and the ones they write into the "style" attribute (PreferredStyles).
//
//   TSVGStylePropertiesSet set;
//   set.FromString(u"ipFill, ipStroke, ipBogus"_qs);   // {ipFill, ipStroke}
//   set.ToString();                                    // "ipFill, ipStroke"

#include "platform/persistent.h"
#include "svg/style_property.h"

#include <QString>
#include <QStringView>

namespace velk {

class TSVGStylePropertiesSet : public TPersistent {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    TSVGStylePropertiesSet() = default;
    explicit TSVGStylePropertiesSet(TSVGStyleProperties AValue) : FValue(AValue) {}

    // Membership of one property. Published as one Boolean per property, named without
    // the "ip" prefix (Fill, StrokeWidth, ...). A write that changes the set raises
    // OnChange.
    bool GetByIndex(TSVGStyleProperty Property) const { return FValue.Contains(Property); }
    void SetByIndex(TSVGStyleProperty Property, bool Value);

    // The whole set; a different one is stored and raises OnChange.
    TSVGStyleProperties Value() const { return FValue; }
    void SetValue(TSVGStyleProperties Value);

    // The comma-separated items, each trimmed and compared exactly with the enumerator
    // names (ipNone … ipWritingMode); every name other than ipNone is included, other
    // items are ignored. Replaces the set through SetValue.
    void FromString(QStringView Text);
    // The enumerator names of the members in ordinal order joined by ", " ("" when
    // empty). The streamed form of the set.
    QString ToString() const;

    // From another set: SetValue of its set. Anything else: TPersistent's rules.
    void Assign(const TPersistent* Source) override;

    TNotifyEvent OnChange;

private:
    TSVGStyleProperties FValue;
};

} // namespace velk
