#include "svg/transform_syntax.h"

#include "platform/float_format.h"
#include "svg/exceptions.h"
#include "svg/number_lists.h"
#include "svg/trim.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <numbers>

namespace velk {

namespace {

constexpr double DegreesToRadians = std::numbers::pi / 180;

// Function names are separated by blanks and commas ("translate(1), scale(2)").
QStringView TrimName(QStringView Text)
{
    return SVGTrimIf(Text, [](QChar C) { return SVGIsBlank(C) || C == u','; });
}

// Sine and cosine of an angle in degrees. Quarter turns are exact, so that rotate(90)
// writes back as whole numbers rather than cos(pi/2) = 6e-17.
void SinCosDegrees(double Degrees, double& Sin, double& Cos)
{
    const double turn = std::fmod(Degrees, 360.0); // exact
    if (std::fmod(turn, 90.0) == 0) {
        static constexpr double sines[4] = {0, 1, 0, -1};
        const int quarter = (static_cast<int>(turn / 90) + 4) % 4;
        Sin = sines[quarter];
        Cos = sines[(quarter + 1) % 4];
        return;
    }
    Sin = std::sin(turn * DegreesToRadians);
    Cos = std::cos(turn * DegreesToRadians);
}

// tan of an angle in degrees; multiples of 180 give exactly 0.
double TanDegrees(double Degrees)
{
    return std::tan(std::fmod(Degrees, 180.0) * DegreesToRadians) + 0.0;
}

// Rotation by Degrees about (CX, CY): (p - C) x R + C.
TMatrix RotationAbout(double Degrees, double CX, double CY)
{
    double s = 0, c = 0;
    SinCosDegrees(Degrees, s, c);
    return {static_cast<float>(c),
            static_cast<float>(s),
            0,
            static_cast<float>(-s),
            static_cast<float>(c),
            0,
            static_cast<float>(CX - CX * c + CY * s),
            static_cast<float>(CY - CX * s - CY * c),
            1};
}

TMatrix FunctionMatrix(QStringView Name, QStringView Arguments)
{
    const QStringList items = SVGSplitNumbers(Arguments);
    const qsizetype count = items.size();
    const auto number = [&](qsizetype Index) { return StrToSingle(items[Index]); };
    const auto countError = [&](const char16_t* Kind) {
        return ESVGException(messages::SVGInvalidTransformMatrix, QString::fromUtf16(Kind), Arguments.toString());
    };

    if (Name == u"matrix") {
        if (count != 6)
            throw ESVGException(messages::SVGInvalidMatrix, Arguments.toString());
        return {number(0), number(1), 0, number(2), number(3), 0, number(4), number(5), 1};
    }
    if (Name == u"translate") {
        if (count != 1 && count != 2)
            throw countError(u"translate");
        return CreateTranslationMatrix(number(0), count == 2 ? number(1) : 0);
    }
    if (Name == u"scale") {
        if (count != 1 && count != 2)
            throw countError(u"scale");
        const float sx = number(0);
        return CreateScalingMatrix(sx, count == 2 ? number(1) : sx);
    }
    if (Name == u"rotate") {
        if (count != 1 && count != 3)
            throw countError(u"rotation");
        return count == 1 ? RotationAbout(number(0), 0, 0) : RotationAbout(number(0), number(1), number(2));
    }
    if (Name == u"skewX" || Name == u"skewY") {
        TMatrix result = IdentityMatrix;
        if (count > 0)
            (Name == u"skewX" ? result.m21 : result.m12) = static_cast<float>(TanDegrees(number(0)));
        return result;
    }
    throw ESVGException(messages::SVGInvalidTransformation, Name.toString());
}

// Entry i of M equals the identity's, except for the entries in Free.
bool IdentityBut(const TMatrix& M, std::initializer_list<int> Free)
{
    for (int i = 0; i < 9; ++i)
        if (std::find(Free.begin(), Free.end(), i) == Free.end() && M[i] != IdentityMatrix[i])
            return false;
    return true;
}

QString Numbers(std::initializer_list<float> Values)
{
    QString result;
    for (const float value : Values) {
        if (!result.isEmpty())
            result += u' ';
        result += FormatFloat(u"", value); // shortest digits that read back; never "-0"
    }
    return result;
}

} // namespace

TMatrix SVGParseTransform(QStringView Text)
{
    TMatrix result = IdentityMatrix;
    // One pass: each function starts where the previous one's ")" ended.
    qsizetype position = 0;
    for (;;) {
        const qsizetype open = Text.indexOf(u'(', position);
        if (open < 0)
            break;
        const qsizetype close = Text.indexOf(u')', open + 1);
        if (close < 0)
            break;
        result = MatrixMultiply(
            FunctionMatrix(TrimName(Text.sliced(position, open - position)), Text.sliced(open + 1, close - open - 1)),
            result);
        position = close + 1;
    }
    if (!IsFiniteMatrix(result))
        throw ESVGException(messages::SVGInvalidMatrix, Text.toString());
    return result;
}

QString SVGTransformToStr(const TMatrix& M)
{
    if (SameMatrix(M, IdentityMatrix, 0.00001f))
        return {};
    if (IdentityBut(M, {0, 4}))
        return u"scale("_qs + Numbers({M.m11, M.m22}) + u')';
    if (IdentityBut(M, {6, 7}))
        return u"translate("_qs + Numbers({M.m31, M.m32}) + u')';
    return u"matrix("_qs + Numbers({M.m11, M.m12, M.m21, M.m22, M.m31, M.m32}) + u')';
}

} // namespace velk
