#pragma once
// Geometry value types and the free functions that compose them: points, sizes,
// rectangles, homogeneous vectors, 3x3 matrices, point arrays and polygon lists.
//
// Matrix convention: points are row vectors multiplied on the left, p' = p x M, with
// the translation in m31/m32. MatrixMultiply(A, B) therefore applies A first and B
// second. m13, m23 and m33 never take part in transforming a point (no perspective
// division). A positive rotation angle turns +X towards +Y: clockwise on a y-down
// screen. Angles are radians here.
//
// Coordinates are single precision (float) throughout; integer points are device pixels.

#include <QList>
#include <QString>
#include <QStringView>
#include <cstdint>

namespace velk {

struct TPoint {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    bool operator==(const TPoint&) const = default;
};

struct TPointF {
    float X = 0;
    float Y = 0;
    bool operator==(const TPointF&) const = default;
};

struct TSizeF {
    float Width = 0;
    float Height = 0;
    bool operator==(const TSizeF&) const = default;
};

struct TRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;
    bool operator==(const TRect&) const = default;
};

// Never normalised by the functions below: Left may exceed Right.
struct TRectF {
    float Left = 0;
    float Top = 0;
    float Right = 0;
    float Bottom = 0;

    TPointF TopLeft() const { return {Left, Top}; }
    TPointF BottomRight() const { return {Right, Bottom}; }
    float Width() const { return Right - Left; }
    float Height() const { return Bottom - Top; }
    bool operator==(const TRectF&) const = default;
};

// A homogeneous 2-D point; W is 1 for a position and 0 for a direction.
struct TVector {
    float X = 0;
    float Y = 0;
    float W = 0;
    bool operator==(const TVector&) const = default;
};

// Row-major 3x3 matrix. The entries are also addressable as a flat array of 9
// (m11, m12, m13, m21, ..., m33) through operator[].
struct TMatrix {
    float m11 = 0, m12 = 0, m13 = 0;
    float m21 = 0, m22 = 0, m23 = 0;
    float m31 = 0, m32 = 0, m33 = 0;

    float& operator[](int Index) { return this->*Entries[Index]; }
    float operator[](int Index) const { return this->*Entries[Index]; }
    bool operator==(const TMatrix&) const = default;

private:
    static constexpr float TMatrix::* Entries[9] = {&TMatrix::m11, &TMatrix::m12, &TMatrix::m13,
                                                     &TMatrix::m21, &TMatrix::m22, &TMatrix::m23,
                                                     &TMatrix::m31, &TMatrix::m32, &TMatrix::m33};
};

// Point arrays and polygon lists are QLists: implicitly shared, so passing and
// returning them copies a pointer (as cheap as a reference-counted array), and a
// write through one copy never shows through another.
using TCanvasPoints = QList<TPoint>;
using TVelkPoints = QList<TPointF>;
using TPointPolygons = QList<TCanvasPoints>;
using TVelkPolygons = QList<TVelkPoints>;

inline constexpr TMatrix IdentityMatrix{1, 0, 0, 0, 1, 0, 0, 0, 1};
// Separates one sub-polygon from the next inside a flattened polygon.
inline constexpr TPointF PolygonSeparator{65535, 65535};
// Two coordinates closer than this are practically identical (a denormal single).
inline constexpr float Epsilon = 1e-40f;

// --- Comparison and arithmetic ---

// A - 0.0001 <= B <= A + 0.0001.
bool SameSingle(float A, float B);
// |A - B| <= Tolerance. With Tolerance 0 (or below), the default tolerance
// E = max(min(|A|, |B|) * 0.0001, 0.0001) applies.
bool SameValue(float A, float B, float Tolerance = 0);
// A / B, or Default when B is 0.
float DivideOr(float A, float B, float Default);
// Both coordinates the same under the default tolerance.
bool SamePointF(const TPointF& A, const TPointF& B);
// A + (B - A) * T per coordinate; a coordinate where A equals B is B's, unchanged.
TPointF LerpPointF(const TPointF& A, const TPointF& B, float T);
// True when C occurs in Chars.
bool CharInArray(QChar C, QStringView Chars);

// --- Conversions ---

TPointF PointToPointF(const TPoint& P);
// Rounds halves to even; raises EInvalidOp for NaN, infinities and out-of-range values.
TPoint PointFToPoint(const TPointF& P);
TRectF RectToRectF(const TRect& R);
// Rounds halves to even; raises EInvalidOp as PointFToPoint.
TRect RectFToRect(const TRectF& R);
TRectF MakeRectF(float Left, float Top, float Right, float Bottom);
// "(" X "," Y ")", each number formatted with the FormatFloat pattern Format.
QString PointFToString(const TPointF& P, QStringView Format);
// Reads "(X,Y)": the pieces between "(", "," and ")"; "." is the only decimal point.
// Anything that does not read as two finite numbers gives (0, 0).
TPointF StringToPointF(QStringView S);
// The text of a 24-bit colour 0xRRGGBB (higher bits ignored): one of the sixteen basic
// colour keywords of SVG and CSS ("black", "red", "lime", ...) where the value has
// one, otherwise "#rrggbb" in lower-case hexadecimal.
QString ColorToText(std::uint32_t Color);

// --- Rectangles ---

TPointF RectFCenter(const TRectF& R);
// Offsets *R in place; false, doing nothing, when R is null.
bool OffsetRectF(TRectF* R, float DX, float DY);
// R moved (size unchanged) so that it is centred in Bounds; the offsets are whole
// numbers, rounded halves to even.
TRectF CenterRectF(const TRectF& R, const TRectF& Bounds);
// Scales R to fit Bounds keeping its aspect ratio and centres it; returns the ratio
// (above 1 shrinks). Below 1, R grows only when AllowGrow. Bounds of zero area: returns
// 1 and leaves R unchanged. R must not be empty when AllowGrow is true.
float FitRectF(TRectF& R, const TRectF& Bounds, bool AllowGrow);
// Even-odd crossing test towards +X; the polygon is taken as closed.
bool PointInPolygonF(const TVelkPoints& Polygon, float X, float Y);

// --- Vectors and matrices ---

TVector MakeVector(float X, float Y, float W);
TVector VectorFromPointF(const TPointF& P, float W);
// Drops W without division.
TPointF PointFromVector(const TVector& V);
// X^2 + Y^2; W is ignored.
float VectorLengthSquared(const TVector& V);
// X and Y divided by their length, W unchanged; a zero vector is returned unchanged.
TVector NormalizeVector(const TVector& V);
// (X, Y, W) x M with W' = 1.
TVector VectorTimesMatrix(const TVector& V, const TMatrix& M);
// (X, Y, 1) x M.
TPointF PointTimesMatrix(const TPointF& P, const TMatrix& M);
// The rectangle spanned by the transformed TopLeft and BottomRight, in that order;
// the other two corners are not considered and the result is not normalised.
TRectF TransformRectF(const TMatrix& M, const TRectF& R);
// The smallest rectangle holding R's four corners through M (TransformRectF maps only two,
// which is not enough once M rotates or skews).
TRectF TransformRectBoundsF(const TMatrix& M, const TRectF& R);
// The 3x3 product A x B: A applies first.
TMatrix MatrixMultiply(const TMatrix& A, const TMatrix& B);
// All nine entries the same under SameValue with that Tolerance (0: the default one).
bool SameMatrix(const TMatrix& A, const TMatrix& B, float Tolerance);
// All nine entries exactly those of IdentityMatrix.
bool IsIdentityMatrix(const TMatrix& M);
// Every entry is a finite number.
bool IsFiniteMatrix(const TMatrix& M);
// Angle in radians; positive turns +X towards +Y.
TMatrix CreateRotationMatrix(float Angle);
// Translation(-Center) x Rotation(Angle) x Translation(Center).
TMatrix CreateRotationAroundMatrix(const TPointF& Center, float Angle);
TMatrix CreateScalingMatrix(float SX, float SY);
TMatrix CreateTranslationMatrix(float DX, float DY);

// --- Splines (curve approximation for hit testing and length measurement) ---

inline constexpr int MaxSplineSamples = 1000;

// Weight of control point Kind at parameter T: kinds 0..3 uniform cubic B-spline,
// 10..13 Catmull-Rom; any other kind weighs 0.
float SplineBasis(int Kind, float T);
// Samples an open cubic spline (uniform B-spline or Catmull-Rom) over Points, about
// one sample per Density units along each segment. Fewer than 2 points, a Density that
// is not a positive finite number, or non-finite points give an empty result; a
// segment never yields more than MaxSplineSamples samples.
TVelkPoints SplinePoints(const TVelkPoints& Points, bool BSpline, float Density);

} // namespace velk
