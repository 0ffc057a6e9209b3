// The SVG path-data text form: the parser behind SetData and the writer behind GetData.
// The parser follows the SVG path grammar and its error rule: the path is drawn up to
// the last complete segment before the first error. It works in one pass over the text
// without copying it or allocating per number; see docs/path-data.md for its rules.

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
    // Spaces, at most one comma, spaces: what may follow a number or a flag.
    void SkipSpacesAndComma();
    // Another argument set follows: a number starts here.
    bool AtNumber() const;
    // Each reader takes its token and the separator after it; false when the text
    // there is not one (then nothing more is read).
    bool ReadNumber(float& Value);
    bool ReadPoint(TPointF& P) { return ReadNumber(P.X) && ReadNumber(P.Y); }
    bool ReadFlag(bool& Flag);
    // Reads one argument set of Command and adds its segment; false at an error, and
    // then the segment adds nothing.
    bool Segment(char16_t Command);

    TVelkPathData& FPath;
    const QChar* FPos;
    const QChar* const FEnd;
    // The last segment's command in lower case, for the smooth curves: "s" reflects
    // the second control point of a "c"/"s" before it, "t" the control point of a
    // "q"/"t"; after anything else their first control point is the current point.
    char16_t FPrevious = 0;
    TPointF FCubicControl;
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

bool TPathParser::AtNumber() const
{
    if (FPos >= FEnd)
        return false;
    const char16_t c = Current();
    return IsAsciiDigit(c) || c == u'.' || c == u'-' || c == u'+';
}

// A number: an optional sign, digits with at most one decimal point, and an exponent
// when digits follow the "e". What cannot continue the number starts the next token, so
// "0-1.5-2-.5" is four numbers and ".5.5" two.
//
// Most path numbers are short decimals, read here in the same pass: up to 2^24 as an
// integer with at most ten decimals is exact in single precision, so one division
// rounds correctly. Everything else goes to ScanFloat, which also refuses values that
// are not finite singles.
bool TPathParser::ReadNumber(float& Value)
{
    static constexpr float Powers[] = {1, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
    constexpr std::uint32_t MaxExact = 1u << 24;
    const QChar* start = FPos;
    bool negative = false;
    if (FPos < FEnd && (Current() == u'-' || Current() == u'+')) {
        negative = Current() == u'-';
        ++FPos;
    }
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
        } else {
            break;
        }
    }
    if (!digits)
        return false;
    if (exact && decimals <= 10 && (FPos == FEnd || (Current() | 0x20) != u'e')) {
        const float magnitude = static_cast<float>(mantissa) / Powers[decimals];
        Value = negative ? -magnitude : magnitude;
    } else {
        const QChar* end = ScanFloat(start, FEnd, Value);
        if (end == nullptr)
            return false; // beyond the single range
        FPos = end;
    }
    SkipSpacesAndComma();
    return true;
}

// A flag is exactly one "0" or "1", so flags need no separators: "a1 1 0 00 1 1".
bool TPathParser::ReadFlag(bool& Flag)
{
    if (FPos >= FEnd || (Current() != u'0' && Current() != u'1'))
        return false;
    Flag = Current() == u'1';
    ++FPos;
    SkipSpacesAndComma();
    return true;
}

bool TPathParser::Segment(char16_t Command)
{
    const TPointF current = FPath.LastPoint();
    const char16_t kind = Command | 0x20;
    const auto absolute = [&](const TPointF& P) { return Command == kind ? Plus(current, P) : P; };
    TPointF p;
    switch (kind) {
    case u'm':
        if (!ReadPoint(p))
            return false;
        FPath.MoveTo(absolute(p));
        break;
    case u'l':
        if (!ReadPoint(p))
            return false;
        FPath.LineTo(absolute(p));
        break;
    case u'h':
    case u'v': {
        float value = 0;
        if (!ReadNumber(value))
            return false;
        if (Command == u'H')
            FPath.HLineTo(value);
        else if (Command == u'h')
            FPath.HLineToRel(value);
        else if (Command == u'V')
            FPath.VLineTo(value);
        else
            FPath.VLineToRel(value);
        break;
    }
    case u'c':
    case u's': {
        TPointF c1;
        TPointF c2;
        if ((kind == u'c' && !ReadPoint(c1)) || !ReadPoint(c2) || !ReadPoint(p))
            return false;
        if (kind == u'c')
            c1 = absolute(c1);
        else
            c1 = FPrevious == u'c' || FPrevious == u's' ? Toward(FCubicControl, current, 2) : current;
        FCubicControl = absolute(c2);
        FPath.CurveTo(c1, FCubicControl, absolute(p));
        break;
    }
    case u'q':
    case u't': {
        TPointF control;
        if ((kind == u'q' && !ReadPoint(control)) || !ReadPoint(p))
            return false;
        if (kind == u'q')
            FQuadControl = absolute(control);
        else
            FQuadControl = FPrevious == u'q' || FPrevious == u't' ? Toward(FQuadControl, current, 2) : current;
        FPath.QuadCurveTo(FQuadControl, absolute(p));
        break;
    }
    case u'a': {
        TPointF radii;
        float rotation = 0;
        bool largeArc = false;
        bool sweep = false;
        if (!ReadPoint(radii) || !ReadNumber(rotation) || !ReadFlag(largeArc) || !ReadFlag(sweep) || !ReadPoint(p))
            return false;
        // An arc that ends where it starts is left out.
        const TPointF end = absolute(p);
        if (end != current)
            FPath.SVGArcTo(current, radii, end, sweep, largeArc, rotation);
        break;
    }
    default: // z: no arguments
        FPath.ClosePath();
        break;
    }
    FPrevious = kind;
    return true;
}

// Path data starts with a move. Each command letter is followed by its argument sets;
// further sets repeat the command (after a move, as lines). At the first error (a
// number or flag that does not read, text that is no command) the parse stops and the
// segments read so far stay.
void TPathParser::Run()
{
    SkipSpaces();
    if (FPos == FEnd || (Current() | 0x20) != u'm')
        return;
    while (FPos < FEnd && IsCommand(Current())) {
        char16_t command = Current();
        ++FPos;
        SkipSpaces();
        if ((command | 0x20) == u'z') {
            Segment(command);
            continue;
        }
        do {
            if (!Segment(command))
                return;
            if (command == u'M')
                command = u'L';
            else if (command == u'm')
                command = u'l';
        } while (AtNumber());
    }
}

} // namespace

void TVelkPathData::SetData(QStringView Value)
{
    WithinUpdate(*this, [&] {
        Clear();
        // About one entry per eight characters of typical path data.
        FPathData.reserve(static_cast<std::size_t>(Value.size() / 8));
        TPathParser(*this, Value).Run();
        // A trailing move is closed, so that it stands as a subpath of its own.
        if (!FPathData.empty() && FPathData.back().Kind == ppMoveTo)
            ClosePath();
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
