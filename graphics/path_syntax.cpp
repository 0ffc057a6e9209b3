// The SVG path-data text form: the parser behind SetData and the writer behind GetData.
// The parser works in passes over the text without copying it or allocating per
// number; see docs/path-data.md for its rules.

#include "graphics/path_data.h"

#include "graphics/path_math.h"
#include "platform/float_format.h"

#include <cstdint>
#include <limits>

namespace velk {

using path_math::Plus;
using path_math::Toward;

namespace {

class TPathParser {
public:
    TPathParser(TVelkPathData& Path, QStringView Text)
        : FPath(Path), FPos(Text.constData()), FEnd(Text.constData() + Text.size())
    {
    }

    void Run();

private:
    // Tabs, line feeds and carriage returns count as spaces.
    static bool IsSpace(char16_t C) { return C == u' ' || C == u'\t' || C == u'\n' || C == u'\r'; }
    static bool IsAsciiDigit(char16_t C) { return C >= u'0' && C <= u'9'; }
    static bool IsCommand(char16_t C);

    char16_t Current() const { return FPos->unicode(); }
    void SkipSpaces();
    // Spaces, at most one comma, spaces.
    void SkipSpacesAndComma();
    void SkipSeparators();
    // The characters of one number, and its value when it is a short decimal.
    struct TToken {
        QStringView Text;
        float Value = 0;
        bool Exact = false;
    };
    // One number token, separators around it skipped; empty at the end.
    TToken ReadToken();
    // The token's value; false when it is not a finite single.
    static bool Convert(const TToken& Token, float& Value);
    bool ReadNumber(float& Value);
    bool ReadPoint(TPointF& P);
    bool ReadFlag(bool& Flag);
    // Another coordinate group follows the current command.
    bool Continues() const;
    // Runs one command; a number that does not read ends it early.
    void Execute(char16_t Command);

    TVelkPathData& FPath;
    const QChar* FPos;
    const QChar* const FEnd;
    // The control point of the last quadratic, reflected by "T".
    TPointF FQuadControl;
};

bool TPathParser::IsCommand(char16_t C)
{
    switch (C | 0x20) { // ASCII lower case
    case u'z': case u'm': case u'l': case u'c': case u'h':
    case u'v': case u's': case u'q': case u't': case u'a':
        return true;
    default:
        return false;
    }
}

void TPathParser::SkipSpaces()
{
    while (FPos < FEnd && IsSpace(Current()))
        ++FPos;
}

void TPathParser::SkipSpacesAndComma()
{
    SkipSpaces();
    if (FPos < FEnd && Current() == u',') {
        ++FPos;
        SkipSpaces();
    }
}

void TPathParser::SkipSeparators()
{
    while (FPos < FEnd && (IsSpace(Current()) || Current() == u','))
        ++FPos;
}

// A number token: digits, one decimal point, "e"/"E" with an optional sign after it,
// and a "-" only at the start. A "-" or a second "." elsewhere starts the next number,
// so "0-1.5-2" and ".5.5" need no separators. A leading "+" is not taken.
//
// Most path numbers are short decimals, read here in the same pass: up to 2^24 as an
// integer with at most ten decimals is exact in single precision, so one division
// rounds correctly. Convert hands everything else to ScanFloat.
TPathParser::TToken TPathParser::ReadToken()
{
    static constexpr float Powers[] = {1, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
    constexpr std::uint32_t MaxExact = 1u << 24;
    TToken token;
    if (FPos >= FEnd)
        return token;
    SkipSpacesAndComma();
    const QChar* start = FPos;
    const bool negative = FPos < FEnd && Current() == u'-';
    if (negative)
        ++FPos;
    std::uint32_t mantissa = 0;
    int decimals = 0;
    bool digits = false;
    bool exact = true;
    bool point = false;
    while (FPos < FEnd) {
        const char16_t c = Current();
        if (IsAsciiDigit(c)) {
            const std::uint32_t digit = c - u'0';
            if (mantissa > (MaxExact - digit) / 10)
                exact = false;
            mantissa = mantissa * 10 + digit;
            decimals += point;
            digits = true;
            ++FPos;
        } else if (c == u'.' && !point) {
            point = true;
            ++FPos;
        } else if ((c | 0x20) == u'e') {
            exact = false;
            ++FPos;
            if (FPos < FEnd && (Current() == u'-' || Current() == u'+'))
                ++FPos;
        } else {
            break;
        }
    }
    token.Text = QStringView(start, FPos);
    if (exact && digits && decimals <= 10) {
        const float magnitude = static_cast<float>(mantissa) / Powers[decimals];
        token.Value = negative ? -magnitude : magnitude;
        token.Exact = true;
    }
    SkipSpacesAndComma();
    return token;
}

bool TPathParser::Convert(const TToken& Token, float& Value)
{
    if (Token.Exact) {
        Value = Token.Value;
        return true;
    }
    // ScanFloat refuses NaN, infinities and values beyond the single range.
    return !Token.Text.isEmpty() && ScanFloat(Token.Text.begin(), Token.Text.end(), Value) == Token.Text.end();
}

bool TPathParser::ReadNumber(float& Value)
{
    return Convert(ReadToken(), Value);
}

bool TPathParser::ReadPoint(TPointF& P)
{
    if (FPos >= FEnd) {
        P = {};
        return true;
    }
    SkipSeparators();
    const TToken x = ReadToken();
    SkipSeparators();
    const TToken y = ReadToken();
    SkipSeparators();
    return Convert(x, P.X) && Convert(y, P.Y);
}

// A flag is a single digit (with any points or a leading "-" before it), so flags
// need no separators: "a1 1 0 00 1 1". Only the value 1 is true.
bool TPathParser::ReadFlag(bool& Flag)
{
    SkipSpacesAndComma();
    const QChar* start = FPos;
    while (FPos < FEnd) {
        const char16_t c = Current();
        if (IsAsciiDigit(c)) {
            ++FPos;
            break;
        }
        if (c != u'.' && !(c == u'-' && FPos == start))
            break;
        ++FPos;
    }
    const TToken token{QStringView(start, FPos)};
    SkipSpacesAndComma();
    float value = 0;
    if (!Convert(token, value))
        return false;
    Flag = value == 1;
    return true;
}

bool TPathParser::Continues() const
{
    if (FPos >= FEnd)
        return false;
    const QChar c = *FPos;
    return c == u'-' || c == u'.' || c.isDigit();
}

void TPathParser::Execute(char16_t Command)
{
    const bool relative = Command >= u'a';
    TPointF p;
    switch (Command) {
    case u'M':
    case u'm':
        if (!ReadPoint(p))
            return;
        relative ? FPath.MoveToRel(p) : FPath.MoveTo(p);
        while (Continues()) {
            if (!ReadPoint(p))
                return;
            relative ? FPath.LineToRel(p) : FPath.LineTo(p);
        }
        break;
    case u'L':
    case u'l':
        do {
            if (!ReadPoint(p))
                return;
            relative ? FPath.LineToRel(p) : FPath.LineTo(p);
        } while (Continues());
        break;
    case u'H':
    case u'h':
    case u'V':
    case u'v': {
        float value = 0;
        if (!ReadNumber(value))
            return;
        switch (Command) {
        case u'H': FPath.HLineTo(value); break;
        case u'h': FPath.HLineToRel(value); break;
        case u'V': FPath.VLineTo(value); break;
        default: FPath.VLineToRel(value); break;
        }
        break;
    }
    case u'C':
    case u'c':
        do {
            TPointF c1;
            TPointF c2;
            if (!ReadPoint(c1) || !ReadPoint(c2) || !ReadPoint(p))
                return;
            relative ? FPath.CurveToRel(c1, c2, p) : FPath.CurveTo(c1, c2, p);
        } while (Continues());
        break;
    case u'S':
    case u's':
        do {
            TPointF c2;
            if (!ReadPoint(c2) || !ReadPoint(p))
                return;
            relative ? FPath.SmoothCurveToRel(c2, p) : FPath.SmoothCurveTo(c2, p);
        } while (Continues());
        break;
    case u'Q':
    case u'q':
        do {
            const TPointF start = FPath.LastPoint();
            if (!ReadPoint(p))
                return;
            FQuadControl = relative ? Plus(start, p) : p;
            if (!ReadPoint(p))
                return;
            FPath.QuadCurveTo(FQuadControl, relative ? Plus(start, p) : p);
        } while (Continues());
        return; // the control point stays for a following "T"
    case u'T':
    case u't':
        do {
            const TPointF start = FPath.LastPoint();
            FQuadControl = Toward(FQuadControl, start, 2);
            if (!ReadPoint(p))
                return;
            FPath.QuadCurveTo(FQuadControl, relative ? Plus(start, p) : p);
        } while (Continues());
        return;
    case u'A':
    case u'a': {
        const TPointF start = FPath.LastPoint();
        TPointF radii;
        float rotation = 0;
        bool largeArc = false;
        bool sweep = false;
        if (!ReadPoint(radii) || !ReadNumber(rotation) || !ReadFlag(largeArc) || !ReadFlag(sweep) || !ReadPoint(p))
            return;
        FPath.SVGArcTo(start, radii, relative ? Plus(start, p) : p, sweep, largeArc, rotation);
        break;
    }
    default: // Z, z
        FPath.ClosePath();
        return;
    }
    // After any other command "T" reflects nothing: its control point is the current point.
    FQuadControl = FPath.LastPoint();
}

// Each pass reads a run of command letters and runs them in turn; a pass without
// letters repeats the last command on the coordinates that follow. A pass that
// consumes nothing ends the parse, so malformed text cannot loop.
void TPathParser::Run()
{
    const QChar* passStart = nullptr;
    char16_t command = 0;
    while (FPos < FEnd && FPos != passStart) {
        passStart = FPos;
        SkipSpaces();
        const QChar* letters = FPos;
        while (FPos < FEnd && IsCommand(Current()))
            ++FPos;
        const QChar* lettersEnd = FPos;
        if (letters != lettersEnd) {
            for (const QChar* c = letters; c < lettersEnd; ++c) {
                command = c->unicode();
                Execute(command);
            }
        } else if (FPos < FEnd && command != 0) {
            Execute(command);
        }
    }
    // A trailing move is closed, so that it stands as a subpath of its own.
    if (FPath.Count() > 0 && FPath.GetPoint(FPath.Count() - 1).Kind == ppMoveTo)
        FPath.ClosePath();
}

} // namespace

void TVelkPathData::SetData(QStringView Value)
{
    WithinUpdate(*this, [&] {
        Clear();
        // About one entry per eight characters of typical path data.
        FPathData.reserve(static_cast<std::size_t>(Value.size() / 8));
        TPathParser(*this, Value).Run();
    });
}

QString TVelkPathData::GetData() const
{
    return Write(std::numeric_limits<qsizetype>::max(), {});
}

QString TVelkPathData::SplitDataByLength(int Len, QStringView Delimiter) const
{
    return Write(Len, Delimiter);
}

QString TVelkPathData::Write(qsizetype Len, QStringView Delimiter) const
{
    QString result;
    result.reserve(static_cast<qsizetype>(FPathData.size()) * 12);
    const auto point = [&](const TPointF& P) {
        result += FormatFloat(FFormatStr, P.X);
        result += u',';
        result += FormatFloat(FFormatStr, P.Y);
        result += u' ';
    };
    qsizetype lineStart = 0;
    for (std::size_t i = 0; i < FPathData.size(); ++i) {
        const TVelkPathPoint& e = FPathData[i];
        switch (e.Kind) {
        case ppMoveTo:
            result += u'M';
            point(e.Point);
            break;
        case ppLineTo:
            result += u'L';
            point(e.Point);
            break;
        case ppCurveTo: // the three points of one cubic
            result += u'C';
            point(e.Point);
            point(FPathData[++i].Point);
            point(FPathData[++i].Point);
            break;
        case ppClose:
            result += u"Z ";
            break;
        }
        if (result.size() - lineStart > Len) {
            result += Delimiter;
            lineStart = result.size();
        }
    }
    return result;
}

} // namespace velk
