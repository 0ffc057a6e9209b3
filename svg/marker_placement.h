#pragma once
// Where markers go along a shape: the start marker on the first vertex, a mid marker on
// every vertex in between and the end marker on the last one, each with the neighbouring
// points that give its direction. Lines, polylines and polygons place markers along their
// point list, paths along their path data. The marker elements turn a placement into a
// drawing, a hit test or a control.
//
//   // Drawing: a start whose next point coincides looks further for its direction.
//   SVGPointMarkerPlacements({{0, 0}, {0, 0}, {10, 0}}, {mpStart, mpEnd}, mnDistinct);
//   // -> start at (0, 0) towards (10, 0); end at (10, 0) coming from (0, 0)

#include "graphics/geometry.h"
#include "platform/enum_names.h"
#include "platform/set.h"

#include <array>
#include <string_view>
#include <vector>

namespace velk {

class TVelkPathData;

enum TSVGMarkerPosition { mpStart, mpMid, mpEnd };

template <>
struct EnumNames<TSVGMarkerPosition> {
    static constexpr std::array<std::u16string_view, 3> Names{u"mpStart", u"mpMid", u"mpEnd"};
};

using TSVGMarkerPositions = TSet<TSVGMarkerPosition>;

// How a start or end marker finds the neighbour that gives its direction.
enum TSVGMarkerNeighbours {
    // Drawing: the nearest point that differs from the vertex. A start looks forward
    // (then, like an end, backward); without a distinct point there is no marker.
    mnDistinct,
    // Hit testing and controls: the adjacent point as it is, even when it coincides
    // (the marker then takes the angle 0).
    mnAdjacent
};

template <>
struct EnumNames<TSVGMarkerNeighbours> {
    static constexpr std::array<std::u16string_view, 2> Names{u"mnDistinct", u"mnAdjacent"};
};

struct TSVGMarkerPlacement {
    TSVGMarkerPosition Position = mpStart;
    // A start has no previous point and an end no next one: those equal Point.
    TPointF PrevPoint;
    TPointF Point;
    TPointF NextPoint;
    bool operator==(const TSVGMarkerPlacement&) const = default;
};

using TSVGMarkerPlacements = std::vector<TSVGMarkerPlacement>;

// The placements of the wanted positions along a point list, in the order start, mids,
// end. Nothing for fewer than 2 points. Mid markers sit on every point but the first and
// the last (at least 3 points), with the adjacent points as neighbours. A polygon's list
// is not closed for its markers: the end marker sits on the last listed point.
TSVGMarkerPlacements SVGPointMarkerPlacements(const TVelkPoints& Points, TSVGMarkerPositions Positions,
                                              TSVGMarkerNeighbours Neighbours);

// The same along path data, whose entries are the vertices and the curves' control
// points. The distinct-point search forward stops after a close entry and backward at a
// move entry, so it never leaves the subpath. Mid vertices start at entry 1 (entry 3
// when a move is followed by a curve) and step over a curve's two control points.
TSVGMarkerPlacements SVGPathMarkerPlacements(const TVelkPathData& Data, TSVGMarkerPositions Positions,
                                             TSVGMarkerNeighbours Neighbours);

} // namespace velk
