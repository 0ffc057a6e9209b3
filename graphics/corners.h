#pragma once
// Corners and sides of a rectangle, and the shapes a corner can take. Shared by the
// path builder (TVelkPathData::AddRectangle), the canvas and the backend path.

#include "platform/enum_names.h"
#include "platform/set.h"

namespace velk {

enum TVelkCorner { crTopLeft, crTopRight, crBottomLeft, crBottomRight };
using TVelkCorners = TSet<TVelkCorner>;

// Round: a quarter curve; Bevel: a straight cut; InnerRound: a curve bent inwards;
// InnerLine: a two-line notch.
enum TVelkCornerType { ctRound, ctBevel, ctInnerRound, ctInnerLine };

enum TVelkSide { sdTop, sdLeft, sdBottom, sdRight };
using TVelkSides = TSet<TVelkSide>;

inline constexpr TVelkCorners AllCorners{crTopLeft, crTopRight, crBottomLeft, crBottomRight};

template <>
struct EnumNames<TVelkCorner> {
    static constexpr std::array<std::u16string_view, 4> Names{u"crTopLeft", u"crTopRight", u"crBottomLeft",
                                                              u"crBottomRight"};
};

template <>
struct EnumNames<TVelkCornerType> {
    static constexpr std::array<std::u16string_view, 4> Names{u"ctRound", u"ctBevel", u"ctInnerRound",
                                                              u"ctInnerLine"};
};

template <>
struct EnumNames<TVelkSide> {
    static constexpr std::array<std::u16string_view, 4> Names{u"sdTop", u"sdLeft", u"sdBottom", u"sdRight"};
};

} // namespace velk
