#pragma once
// The stroke geometry of the backend: the area a pen covers along a path, as a path
// filled with the non-zero rule. It draws what QPainterPathStroker cannot: separate
// start, end and dash caps, triangle and anchor caps, custom caps, compound lines,
// inset alignment and a nib transform. Curves are flattened first (as the classic 2-D
// API widens paths), bands come from QPainterPathStroker on the flattened figures, and
// every piece is added with the orientation of Qt's stroke bands so that overlaps unite.

#include "graphics/gp_types.h"

#include <QPainterPath>
#include <QTransform>

#include <optional>
#include <vector>

namespace velk {

// A custom cap in cap space: the line's end at the origin, +y pointing away from the
// line (outwards), one unit = one pen width × WidthScale.
struct TVelkStrokeCustomCap {
    // Subpaths whose last point equals their first are closed.
    QPainterPath Path;
    // Fill the path; otherwise stroke it with the pen's width, Join and the two caps.
    bool Fill = false;
    // The cap of the line itself under the custom cap.
    TVelkGPLineCap BaseCap = lcFlat;
    // How far the line stops short of its end, in the cap's units.
    qreal BaseInset = 0;
    qreal WidthScale = 1;
    TVelkGPStrokeJoin Join = sjMiter;
    TVelkGPLineCap StartCap = lcFlat;
    TVelkGPLineCap EndCap = lcFlat;
};

struct TVelkStrokeStyle {
    qreal Width = 1;
    TVelkGPLineCap StartCap = lcFlat;
    TVelkGPLineCap EndCap = lcFlat;
    TVelkGPDashCap DashCap = dcFlat;
    TVelkGPStrokeJoin Join = sjMiter;
    // Miter length / width (the SVG definition).
    qreal MiterLimit = 10;
    // Dash, gap, dash, ... in widths; empty: solid.
    std::vector<qreal> Dashes;
    // Into the pattern, in widths.
    qreal DashOffset = 0;
    // Band edge pairs as fractions of the width from the left side of the line.
    std::vector<qreal> Compound;
    TVelkGPPenAlignment Alignment = paCenter;
    // The nib transform (linear part only).
    QTransform Nib;
    // Used when the matching cap is lcCustom; lcCustom without one draws flat.
    std::optional<TVelkStrokeCustomCap> CustomStartCap;
    std::optional<TVelkStrokeCustomCap> CustomEndCap;
};

// The stroke area of Path under Style, curves flattened to within Flatness (in Path's
// units). A subpath is closed when its last point equals its first, unless its last
// segment has no length (how a backend path keeps an open figure that returns to its
// start open). Empty for a non-finite or negative width.
QPainterPath OutlineStroke(const QPainterPath& Path, const TVelkStrokeStyle& Style, qreal Flatness);

// True when Qt's own stroking of Path (with the matching QPen) would differ from
// OutlineStroke in a way the pen alone does not show: for sjMiter, a corner whose miter
// exceeds the limit (Qt bevels it, the stroker clips it); with caps other than flat, a
// figure of zero length (Qt draws no round cap for it, the stroker caps it like a line
// along +x); a figure that ends on its start with a line of no length (open: Qt would
// close it).
bool PathNeedsOwnStroke(const QPainterPath& Path, const TVelkStrokeStyle& Style);

// The dash pattern of a preset dash style, in widths (empty for sdSolid and sdCustom).
std::vector<qreal> PresetDashPattern(TVelkGPStrokeDash Dash);

// Qt's join for a classic join. Beyond the miter limit sjMiter clips the miter at
// Limit · Width / 2 from the corner and sjMiterClipped bevels; both are
// Qt::SvgMiterJoin (which bevels; Qt::MiterJoin clips elsewhere), the stroker adding
// the clipped miters.
Qt::PenJoinStyle QtJoinStyle(TVelkGPStrokeJoin Join);

// More dashes than this on one path are not drawn one by one: the path strokes solid
// (a hostile pattern must not allocate without bound).
inline constexpr long long MaxDashes = 200000;

} // namespace velk
