// Where markers go along point lists and path data, with the distinct-neighbour search
// of drawing and the adjacent neighbours of hit testing and controls.

#include "graphics/path_data.h"
#include "svg/marker_placement.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace velk;

namespace velk {
// Readable failures.
void PrintTo(const TSVGMarkerPlacement& P, std::ostream* Out)
{
    static const char* const names[] = {"start", "mid", "end"};
    *Out << names[P.Position] << " (" << P.PrevPoint.X << "," << P.PrevPoint.Y << ") (" << P.Point.X << ","
         << P.Point.Y << ") (" << P.NextPoint.X << "," << P.NextPoint.Y << ")";
}
} // namespace velk

namespace {

constexpr TSVGMarkerPositions AllPositions{mpStart, mpMid, mpEnd};

TSVGMarkerPlacement Start(TPointF Point, TPointF Next)
{
    return {mpStart, Point, Point, Next};
}

TSVGMarkerPlacement Mid(TPointF Prev, TPointF Point, TPointF Next)
{
    return {mpMid, Prev, Point, Next};
}

TSVGMarkerPlacement End(TPointF Prev, TPointF Point)
{
    return {mpEnd, Prev, Point, Point};
}

TSVGMarkerPlacements AlongPath(const char16_t* Data, TSVGMarkerNeighbours Neighbours,
                               TSVGMarkerPositions Positions = AllPositions)
{
    TVelkPathData data;
    data.SetData(Data);
    return SVGPathMarkerPlacements(data, Positions, Neighbours);
}

TEST(MarkerPlacement, PointListsPlaceStartMidsAndEnd)
{
    const TVelkPoints points{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    EXPECT_EQ(SVGPointMarkerPlacements(points, AllPositions, mnDistinct),
              (TSVGMarkerPlacements{Start({0, 0}, {10, 0}), Mid({0, 0}, {10, 0}, {10, 10}),
                                    Mid({10, 0}, {10, 10}, {0, 10}), End({10, 10}, {0, 10})}));
    // Only the positions asked for.
    EXPECT_EQ(SVGPointMarkerPlacements(points, {mpEnd}, mnDistinct), (TSVGMarkerPlacements{End({10, 10}, {0, 10})}));
    EXPECT_TRUE(SVGPointMarkerPlacements(points, {}, mnDistinct).empty());
    // Two points have no mid vertex; one point has no markers at all.
    EXPECT_EQ(SVGPointMarkerPlacements({{0, 0}, {5, 5}}, AllPositions, mnDistinct),
              (TSVGMarkerPlacements{Start({0, 0}, {5, 5}), End({0, 0}, {5, 5})}));
    EXPECT_TRUE(SVGPointMarkerPlacements({{3, 3}}, AllPositions, mnDistinct).empty());
    EXPECT_TRUE(SVGPointMarkerPlacements({}, AllPositions, mnAdjacent).empty());
}

TEST(MarkerPlacement, DrawingLooksForDistinctNeighboursForStartAndEnd)
{
    struct Case {
        const char* Name;
        TVelkPoints Points;
        TSVGMarkerPlacements Expected; // start and end only
    } cases[] = {
        {"first two coincide: the start points towards the third",
         {{0, 0}, {0, 0}, {10, 0}},
         {Start({0, 0}, {10, 0}), End({0, 0}, {10, 0})}},
        {"last two coincide: the end comes from the point before them",
         {{0, 0}, {10, 0}, {10, 0}},
         {Start({0, 0}, {10, 0}), End({0, 0}, {10, 0})}},
        {"all but one coincide", {{5, 5}, {5, 5}, {5, 5}, {9, 9}}, {Start({5, 5}, {9, 9}), End({5, 5}, {9, 9})}},
        {"identical points: no start and no end", {{2, 2}, {2, 2}, {2, 2}}, {}},
        {"within the tolerance counts as the same", {{1, 1}, {1.00001f, 1}, {4, 1}},
         {Start({1, 1}, {4, 1}), End({1.00001f, 1}, {4, 1})}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SVGPointMarkerPlacements(c.Points, {mpStart, mpEnd}, mnDistinct), c.Expected) << c.Name;
}

TEST(MarkerPlacement, MidMarkersTakeTheAdjacentPointsEvenWhenTheyCoincide)
{
    EXPECT_EQ(SVGPointMarkerPlacements({{0, 0}, {0, 0}, {10, 0}}, {mpMid}, mnDistinct),
              (TSVGMarkerPlacements{Mid({0, 0}, {0, 0}, {10, 0})}));
}

TEST(MarkerPlacement, AdjacentNeighboursAreHandedOverAsTheyAre)
{
    // Hit tests and controls give a coinciding start or end the angle 0 themselves.
    EXPECT_EQ(SVGPointMarkerPlacements({{2, 2}, {2, 2}, {2, 2}}, AllPositions, mnAdjacent),
              (TSVGMarkerPlacements{Start({2, 2}, {2, 2}), Mid({2, 2}, {2, 2}, {2, 2}), End({2, 2}, {2, 2})}));
    EXPECT_EQ(SVGPointMarkerPlacements({{0, 0}, {0, 0}, {10, 0}}, {mpStart}, mnAdjacent),
              (TSVGMarkerPlacements{Start({0, 0}, {0, 0})}));
    EXPECT_EQ(AlongPath(u"M0,0 L0,0 L10,0", mnAdjacent, {mpStart, mpEnd}),
              (TSVGMarkerPlacements{Start({0, 0}, {0, 0}), End({0, 0}, {10, 0})}));
}

TEST(MarkerPlacement, PathMidVerticesSkipCurveControlPoints)
{
    // Entries: M(0,0) C(0,10) C(10,10) C(10,0) L(20,0) C(20,5) C(25,5) C(25,0) L(30,0)
    const TSVGMarkerPlacements placements =
        AlongPath(u"M0,0 C0,10 10,10 10,0 L20,0 C20,5 25,5 25,0 L30,0", mnDistinct);
    EXPECT_EQ(placements,
              (TSVGMarkerPlacements{Start({0, 0}, {0, 10}), Mid({10, 10}, {10, 0}, {20, 0}),
                                    Mid({10, 0}, {20, 0}, {20, 5}), Mid({25, 5}, {25, 0}, {30, 0}),
                                    End({25, 0}, {30, 0})}));
    // A path of lines has a mid vertex at every entry in between.
    EXPECT_EQ(AlongPath(u"M0,0 L5,0 L5,5", mnDistinct, {mpMid}), (TSVGMarkerPlacements{Mid({0, 0}, {5, 0}, {5, 5})}));
    // Close and move entries in the middle are vertices of their own.
    EXPECT_EQ(AlongPath(u"M0,0 L10,0 Z M20,20 L30,30", mnDistinct, {mpMid}),
              (TSVGMarkerPlacements{Mid({0, 0}, {10, 0}, {0, 0}), Mid({10, 0}, {0, 0}, {20, 20}),
                                    Mid({0, 0}, {20, 20}, {30, 30})}));
    // A single curve: start and end take the control points as their directions.
    EXPECT_EQ(AlongPath(u"M0,0 C0,10 10,10 10,0", mnDistinct),
              (TSVGMarkerPlacements{Start({0, 0}, {0, 10}), End({10, 10}, {10, 0})}));
}

TEST(MarkerPlacement, CloseAndMoveStopTheDirectionSearch)
{
    struct Case {
        const char* Name;
        const char16_t* Data;
        TSVGMarkerPlacements Expected; // start and end only
    } cases[] = {
        // The forward search ends at the close entry, which stands on the subpath's start:
        // the start finds no direction.
        {"close stops the forward search", u"M0,0 L0,0 Z M5,5 L9,9", {End({5, 5}, {9, 9})}},
        {"a distinct point before the close is found", u"M0,0 L0,0 L4,0 Z", {Start({0, 0}, {4, 0}), End({4, 0}, {0, 0})}},
        // The backward search for the end stops at the move of the last subpath.
        {"move stops the backward search", u"M0,0 L10,0 M5,5 L5,5", {Start({0, 0}, {10, 0})}},
        {"within one subpath the search goes back", u"M0,0 L10,0 L10,0", {Start({0, 0}, {10, 0}), End({0, 0}, {10, 0})}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AlongPath(c.Data, mnDistinct, {mpStart, mpEnd}), c.Expected) << c.Name;
}

TEST(MarkerPlacement, PathsOfFewerThanTwoEntriesHaveNoMarkers)
{
    EXPECT_TRUE(AlongPath(u"", mnDistinct).empty());
    TVelkPathData single;
    single.MoveTo({4, 4});
    EXPECT_TRUE(SVGPathMarkerPlacements(single, AllPositions, mnAdjacent).empty());
    // A lone move reads as a closed subpath of one point: nothing gives a direction.
    EXPECT_TRUE(AlongPath(u"M4,4", mnDistinct).empty());
}

TEST(MarkerPlacement, EveryMidVertexOfALongPathIsPlacedOnce)
{
    TVelkPathData data;
    data.MoveTo({0, 0});
    for (int i = 1; i <= 1000; ++i)
        data.LineTo({float(i), float(i % 2)});
    const TSVGMarkerPlacements mids = SVGPathMarkerPlacements(data, {mpMid}, mnDistinct);
    ASSERT_EQ(mids.size(), 999u);
    EXPECT_EQ(mids.front().Point, (TPointF{1, 1}));
    EXPECT_EQ(mids.back().Point, (TPointF{999, 1}));
}

} // namespace
