#include "svg/style_properties_set.h"

#include "svg/trim.h"

#include <QStringList>

namespace velk {

namespace {

// One Boolean per property, named like the enumerator without "ip".
std::vector<TPropertyInfo> PublishedMembers()
{
    using C = TSVGStylePropertiesSet;
    TPublished<C> table;
    table.Event(u"OnChange"_qs);
    for (int i = ipAlignmentBaseline; i <= ipWritingMode; ++i) {
        const auto property = static_cast<TSVGStyleProperty>(i);
        table.Boolean(
            NameText(EnumNames<TSVGStyleProperty>::Names[std::size_t(i)].substr(2)),
            [property](const C& Set) { return Set.GetByIndex(property); },
            [property](C& Set, bool Value) { Set.SetByIndex(property, Value); }, false);
    }
    return table.Take();
}

} // namespace

const TClassInfo& TSVGStylePropertiesSet::StaticClass()
{
    static const TClassInfo info(u"TSVGStylePropertiesSet"_qs, &TPersistent::StaticClass(),
                                 &CreateInstance<TSVGStylePropertiesSet>, PublishedMembers());
    return info;
}

void TSVGStylePropertiesSet::SetByIndex(TSVGStyleProperty Property, bool Value)
{
    SetValue(TSVGStyleProperties(FValue).Set(Property, Value));
}

void TSVGStylePropertiesSet::SetValue(TSVGStyleProperties Value)
{
    if (Value == FValue)
        return;
    FValue = Value;
    if (OnChange)
        OnChange(this);
}

void TSVGStylePropertiesSet::FromString(QStringView Text)
{
    const auto& names = EnumNames<TSVGStyleProperty>::Names;
    TSVGStyleProperties result;
    for (QStringView item : Text.split(u',')) {
        item = SVGTrim(item);
        for (int i = ipAlignmentBaseline; i <= ipWritingMode; ++i)
            if (item == names[std::size_t(i)]) {
                result.Include(static_cast<TSVGStyleProperty>(i));
                break;
            }
    }
    SetValue(result);
}

QString TSVGStylePropertiesSet::ToString() const
{
    QStringList members;
    for (int i = ipNone; i <= ipWritingMode; ++i)
        if (FValue.Contains(static_cast<TSVGStyleProperty>(i)))
            members.append(NameText(EnumNames<TSVGStyleProperty>::Names[std::size_t(i)]));
    return members.join(u", ");
}

void TSVGStylePropertiesSet::Assign(const TPersistent* Source)
{
    if (const auto* set = dynamic_cast<const TSVGStylePropertiesSet*>(Source)) {
        SetValue(set->FValue);
        return;
    }
    TPersistent::Assign(Source);
}

} // namespace velk
