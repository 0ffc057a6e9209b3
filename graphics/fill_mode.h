#pragma once
// The fill rule of paths. The path data and the backend path share one enumeration
// (TVelkGPFillMode is TVelkFillMode), so a fill mode passes between them unchanged.

#include "platform/enum_names.h"

namespace velk {

enum TVelkFillMode { fmEvenOdd, fmNonZero };
using TVelkGPFillMode = TVelkFillMode;

template <>
struct EnumNames<TVelkFillMode> {
    static constexpr std::array<std::u16string_view, 2> Names{u"fmEvenOdd", u"fmNonZero"};
};

} // namespace velk
