#include "svg/marker_placement.h"

#include "graphics/path_data.h"

#include <optional>

namespace velk {

namespace {

// The vertices as the placement sees them: a point list, or path data whose entries
// have kinds that bound the direction search and the mid-vertex walk.
class TMarkerVertices {
public:
    explicit TMarkerVertices(const TVelkPoints& Points) : FPoints(&Points) {}
    explicit TMarkerVertices(const TVelkPathData& Data) : FData(&Data) {}

    int Count() const { return FPoints ? static_cast<int>(FPoints->size()) : FData->Count(); }
    TPointF Point(int Index) const { return FPoints ? (*FPoints)[Index] : FData->GetPoint(Index).Point; }
    bool IsKind(int Index, TVelkPathPointKind Kind) const { return FData && FData->GetPoint(Index).Kind == Kind; }

private:
    const TVelkPoints* FPoints = nullptr;
    const TVelkPathData* FData = nullptr;
};

struct TDirection {
    TPointF From;
    TPointF To;
};

// From vertex I, the first vertex from J onwards that differs from it (stopping at the
// last vertex, and after a close entry); when there is none, the vertices before I
// (stopping at a move entry) are tried as the origin instead. Nothing when every vertex
// reached is the same point.
std::optional<TDirection> FindDirection(const TMarkerVertices& Vertices, int I, int J)
{
    const int last = Vertices.Count() - 1;
    TPointF from = Vertices.Point(I);
    TPointF to = Vertices.Point(J);
    while (SamePointF(to, from) && J < last && !Vertices.IsKind(J, ppClose))
        to = Vertices.Point(++J);
    while (SamePointF(to, from) && I > 0 && !Vertices.IsKind(I, ppMoveTo))
        from = Vertices.Point(--I);
    if (SamePointF(to, from))
        return std::nullopt;
    return TDirection{from, to};
}

TSVGMarkerPlacements Place(const TMarkerVertices& Vertices, bool PathWalk, TSVGMarkerPositions Positions,
                           TSVGMarkerNeighbours Neighbours)
{
    TSVGMarkerPlacements result;
    const int n = Vertices.Count();
    if (n < 2)
        return result;

    if (Positions.Contains(mpStart)) {
        if (Neighbours == mnAdjacent) {
            const TPointF point = Vertices.Point(0);
            result.push_back({mpStart, point, point, Vertices.Point(1)});
        } else if (const std::optional<TDirection> direction = FindDirection(Vertices, 0, 1)) {
            result.push_back({mpStart, direction->From, direction->From, direction->To});
        }
    }

    if (Positions.Contains(mpMid) && n >= 3) {
        // A path that opens with a curve has its first vertex after the two control points.
        int k = PathWalk && Vertices.IsKind(0, ppMoveTo) && Vertices.IsKind(1, ppCurveTo) ? 3 : 1;
        while (k < n - 1) {
            result.push_back({mpMid, Vertices.Point(k - 1), Vertices.Point(k), Vertices.Point(k + 1)});
            k += PathWalk && Vertices.IsKind(k + 1, ppCurveTo) ? 3 : 1;
        }
    }

    if (Positions.Contains(mpEnd)) {
        if (Neighbours == mnAdjacent) {
            const TPointF point = Vertices.Point(n - 1);
            result.push_back({mpEnd, Vertices.Point(n - 2), point, point});
        } else if (const std::optional<TDirection> direction = FindDirection(Vertices, n - 2, n - 1)) {
            result.push_back({mpEnd, direction->From, direction->To, direction->To});
        }
    }
    return result;
}

} // namespace

TSVGMarkerPlacements SVGPointMarkerPlacements(const TVelkPoints& Points, TSVGMarkerPositions Positions,
                                              TSVGMarkerNeighbours Neighbours)
{
    return Place(TMarkerVertices(Points), false, Positions, Neighbours);
}

TSVGMarkerPlacements SVGPathMarkerPlacements(const TVelkPathData& Data, TSVGMarkerPositions Positions,
                                             TSVGMarkerNeighbours Neighbours)
{
    return Place(TMarkerVertices(Data), true, Positions, Neighbours);
}

} // namespace velk
