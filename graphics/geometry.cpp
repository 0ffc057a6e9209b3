#include "graphics/geometry.h"

#include "platform/float_format.h"
#include "platform/numbers.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace velk {

namespace {

// Relative and minimum absolute tolerance of single comparisons.
constexpr double SingleResolution = 0.0001;

bool IsFinite(const TPointF& P)
{
    return std::isfinite(P.X) && std::isfinite(P.Y);
}

float Lerp(float A, float B, float T)
{
    return A == B ? B : static_cast<float>(A + (static_cast<double>(B) - A) * T);
}

} // namespace

// --- Comparison and arithmetic ---

bool SameSingle(float A, float B)
{
    return A - SingleResolution <= B && B <= A + SingleResolution;
}

bool SameValue(float A, float B, float Tolerance)
{
    const double e = Tolerance > 0 ? Tolerance
                                 : std::max(std::min(std::fabs(double(A)), std::fabs(double(B))) * SingleResolution,
                                            SingleResolution);
    return std::fabs(double(A) - B) <= e;
}

float DivideOr(float A, float B, float Default)
{
    return B != 0 ? A / B : Default;
}

bool SamePointF(const TPointF& A, const TPointF& B)
{
    return SameValue(A.X, B.X) && SameValue(A.Y, B.Y);
}

TPointF LerpPointF(const TPointF& A, const TPointF& B, float T)
{
    return {Lerp(A.X, B.X, T), Lerp(A.Y, B.Y, T)};
}

bool CharInArray(QChar C, QStringView Chars)
{
    return Chars.contains(C);
}

// --- Conversions ---

TPointF PointToPointF(const TPoint& P)
{
    return {static_cast<float>(P.X), static_cast<float>(P.Y)};
}

TPoint PointFToPoint(const TPointF& P)
{
    return {Round<std::int32_t>(P.X), Round<std::int32_t>(P.Y)};
}

TRectF RectToRectF(const TRect& R)
{
    return {static_cast<float>(R.Left), static_cast<float>(R.Top), static_cast<float>(R.Right),
            static_cast<float>(R.Bottom)};
}

TRect RectFToRect(const TRectF& R)
{
    return {Round<std::int32_t>(R.Left), Round<std::int32_t>(R.Top), Round<std::int32_t>(R.Right),
            Round<std::int32_t>(R.Bottom)};
}

TRectF MakeRectF(float Left, float Top, float Right, float Bottom)
{
    return {Left, Top, Right, Bottom};
}

QString PointFToString(const TPointF& P, QStringView Format)
{
    return u'(' + FormatFloat(Format, P.X) + u',' + FormatFloat(Format, P.Y) + u')';
}

TPointF StringToPointF(QStringView S)
{
    // The pieces between the separators: "(1.5,2)" gives "", "1.5", "2", "".
    std::array<QStringView, 3> pieces;
    qsizetype count = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= S.size() && count < 3; ++i) {
        if (i == S.size() || CharInArray(S[i], u"(,)")) {
            pieces[count++] = S.sliced(start, i - start);
            start = i + 1;
        }
    }
    TPointF result;
    // TryStrToFloat rejects NaN, infinities and values beyond the single range.
    if (count < 3 || !TryStrToFloat(pieces[1], result.X) || !TryStrToFloat(pieces[2], result.Y))
        return {};
    return result;
}

QString ColorToText(std::uint32_t Color)
{
    struct TColorName {
        std::uint32_t Value;
        const char16_t* Name;
    };
    static constexpr TColorName names[] = {
        {0x000000, u"black"}, {0x800000, u"maroon"}, {0x008000, u"green"},  {0x808000, u"olive"},
        {0x000080, u"navy"},  {0x800080, u"purple"}, {0x008080, u"teal"},   {0x808080, u"gray"},
        {0xC0C0C0, u"silver"}, {0xFF0000, u"red"},   {0x00FF00, u"lime"},   {0xFFFF00, u"yellow"},
        {0x0000FF, u"blue"},  {0xFF00FF, u"fuchsia"}, {0x00FFFF, u"aqua"},  {0xFFFFFF, u"white"},
    };
    const std::uint32_t rgb = Color & 0xFFFFFF;
    for (const TColorName& entry : names)
        if (entry.Value == rgb)
            return QString::fromUtf16(entry.Name);
    return u'#' + QString::number(rgb, 16).rightJustified(6, u'0');
}

// --- Rectangles ---

TPointF RectFCenter(const TRectF& R)
{
    return {R.Left + (R.Right - R.Left) / 2, R.Top + (R.Bottom - R.Top) / 2};
}

bool OffsetRectF(TRectF* R, float DX, float DY)
{
    if (!R)
        return false;
    R->Left += DX;
    R->Right += DX;
    R->Top += DY;
    R->Bottom += DY;
    return true;
}

TRectF CenterRectF(const TRectF& R, const TRectF& Bounds)
{
    TRectF result{0, 0, R.Width(), R.Height()};
    // Whole-number offsets keep the centred rectangle on the pixel grid.
    const auto dx = static_cast<float>(Round((Bounds.Width() - result.Width()) / 2));
    const auto dy = static_cast<float>(Round((Bounds.Height() - result.Height()) / 2));
    OffsetRectF(&result, dx + Bounds.Left, dy + Bounds.Top);
    return result;
}

float FitRectF(TRectF& R, const TRectF& Bounds, bool AllowGrow)
{
    if (Bounds.Width() * Bounds.Height() == 0)
        return 1;
    const float ratio = std::max(R.Height() / Bounds.Height(), R.Width() / Bounds.Width());
    // An empty R has no ratio to scale by (0/0); it keeps its size.
    const bool keepSize = (ratio < 1 && !AllowGrow) || ratio == 0 || !std::isfinite(ratio);
    const TRectF scaled = keepSize ? TRectF{0, 0, R.Width(), R.Height()}
                                   : TRectF{0, 0, R.Width() / ratio, R.Height() / ratio};
    R = CenterRectF(scaled, Bounds);
    return ratio;
}

bool PointInPolygonF(const TVelkPoints& Polygon, float X, float Y)
{
    bool inside = false;
    const qsizetype n = Polygon.size();
    for (qsizetype i = 0, j = n - 1; i < n; j = i++) {
        const TPointF& pi = Polygon[i];
        const TPointF& pj = Polygon[j];
        if ((pi.Y <= Y && Y < pj.Y) || (pj.Y <= Y && Y < pi.Y)) {
            const double crossX = pi.X + (double(pj.X) - pi.X) * (double(Y) - pi.Y) / (double(pj.Y) - pi.Y);
            if (crossX > X)
                inside = !inside;
        }
    }
    return inside;
}

// --- Vectors and matrices ---

TVector MakeVector(float X, float Y, float W)
{
    return {X, Y, W};
}

TVector VectorFromPointF(const TPointF& P, float W)
{
    return {P.X, P.Y, W};
}

TPointF PointFromVector(const TVector& V)
{
    return {V.X, V.Y};
}

float VectorLengthSquared(const TVector& V)
{
    return V.X * V.X + V.Y * V.Y;
}

TVector NormalizeVector(const TVector& V)
{
    const double length = std::hypot(double(V.X), double(V.Y));
    if (!(length > 0))
        return V;
    return {static_cast<float>(V.X / length), static_cast<float>(V.Y / length), V.W};
}

TVector VectorTimesMatrix(const TVector& V, const TMatrix& M)
{
    return {static_cast<float>(double(V.X) * M.m11 + double(V.Y) * M.m21 + double(V.W) * M.m31),
            static_cast<float>(double(V.X) * M.m12 + double(V.Y) * M.m22 + double(V.W) * M.m32), 1};
}

TPointF PointTimesMatrix(const TPointF& P, const TMatrix& M)
{
    return PointFromVector(VectorTimesMatrix(VectorFromPointF(P, 1), M));
}

TRectF TransformRectF(const TMatrix& M, const TRectF& R)
{
    const TPointF topLeft = PointTimesMatrix(R.TopLeft(), M);
    const TPointF bottomRight = PointTimesMatrix(R.BottomRight(), M);
    return {topLeft.X, topLeft.Y, bottomRight.X, bottomRight.Y};
}

TMatrix MatrixMultiply(const TMatrix& A, const TMatrix& B)
{
    TMatrix result;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            double sum = 0;
            for (int k = 0; k < 3; ++k)
                sum += double(A[r * 3 + k]) * B[k * 3 + c];
            result[r * 3 + c] = static_cast<float>(sum);
        }
    return result;
}

bool SameMatrix(const TMatrix& A, const TMatrix& B, float Tolerance)
{
    for (int i = 0; i < 9; ++i)
        if (!SameValue(A[i], B[i], Tolerance))
            return false;
    return true;
}

bool IsIdentityMatrix(const TMatrix& M)
{
    return M == IdentityMatrix;
}

TRectF TransformRectBoundsF(const TMatrix& M, const TRectF& R)
{
    const TPointF corners[] = {PointTimesMatrix(R.TopLeft(), M), PointTimesMatrix({R.Right, R.Top}, M),
                               PointTimesMatrix(R.BottomRight(), M), PointTimesMatrix({R.Left, R.Bottom}, M)};
    TRectF result{corners[0].X, corners[0].Y, corners[0].X, corners[0].Y};
    for (const TPointF& corner : corners) {
        result.Left = std::min(result.Left, corner.X);
        result.Top = std::min(result.Top, corner.Y);
        result.Right = std::max(result.Right, corner.X);
        result.Bottom = std::max(result.Bottom, corner.Y);
    }
    return result;
}

bool IsFiniteMatrix(const TMatrix& M)
{
    for (int i = 0; i < 9; ++i)
        if (!std::isfinite(M[i]))
            return false;
    return true;
}

TMatrix CreateRotationMatrix(float Angle)
{
    const auto c = static_cast<float>(std::cos(double(Angle)));
    const auto s = static_cast<float>(std::sin(double(Angle)));
    return {c, s, 0, -s, c, 0, 0, 0, 1};
}

TMatrix CreateRotationAroundMatrix(const TPointF& Center, float Angle)
{
    return MatrixMultiply(MatrixMultiply(CreateTranslationMatrix(-Center.X, -Center.Y), CreateRotationMatrix(Angle)),
                          CreateTranslationMatrix(Center.X, Center.Y));
}

TMatrix CreateScalingMatrix(float SX, float SY)
{
    TMatrix result = IdentityMatrix;
    result.m11 = SX;
    result.m22 = SY;
    return result;
}

TMatrix CreateTranslationMatrix(float DX, float DY)
{
    TMatrix result = IdentityMatrix;
    result.m31 = DX;
    result.m32 = DY;
    return result;
}

// --- Splines ---

namespace {

double Basis(int Kind, double T)
{
    const double S = 1 - T;
    switch (Kind) {
    case 0: return S * S * S / 6;
    case 1: return T * T * (T / 2 - 1) + 2.0 / 3;
    case 2: return T * (T * S + 1) / 2 + 1.0 / 6;
    case 3: return T * T * T / 6;
    case 10: return -T * S * S / 2;
    case 11: return T * T * (3 * T - 5) / 2 + 1;
    case 12: return T * (T * (4 - 3 * T) + 1) / 2;
    case 13: return -T * T * S / 2;
    default: return 0;
    }
}

} // namespace

float SplineBasis(int Kind, float T)
{
    return static_cast<float>(Basis(Kind, T));
}

TVelkPoints SplinePoints(const TVelkPoints& Points, bool BSpline, float Density)
{
    TVelkPoints result;
    if (Points.size() < 2 || !(Density > 0) || !std::isfinite(Density)
        || !std::all_of(Points.begin(), Points.end(), IsFinite))
        return result;
    const int offset = BSpline ? 0 : 10;
    // The first and last points repeated, so that the spline covers the whole list.
    TVelkPoints work;
    work.reserve(Points.size() + 2);
    work << Points.first() << Points << Points.last();
    // Segment i runs from working point i to i + 1 and weighs points i - 1 ... i + 2.
    for (qsizetype i = 1; i < Points.size(); ++i) {
        double dist = std::hypot(double(work[i + 1].X) - work[i].X, double(work[i + 1].Y) - work[i].Y);
        if (dist == 0)
            dist = 1;
        // The parameter comes from an integer step counter, never from a running sum, so
        // the loop always ends; a segment longer than MaxSplineSamples densities is
        // sampled evenly with MaxSplineSamples samples instead.
        const bool capped = dist / Density > MaxSplineSamples - 1;
        for (int step = 0; step < MaxSplineSamples; ++step) {
            const double t = capped ? double(step) / (MaxSplineSamples - 1) : step * double(Density) / dist;
            if (t > 1)
                break;
            double x = 0;
            double y = 0;
            for (int k = 0; k < 4; ++k) {
                const double w = Basis(offset + k, t);
                x += w * work[i - 1 + k].X;
                y += w * work[i - 1 + k].Y;
            }
            result.append({static_cast<float>(x), static_cast<float>(y)});
        }
    }
    return result;
}

} // namespace velk
