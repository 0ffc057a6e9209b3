// The backend path text (TVelkGPPath's Data): the path-data syntax of TVelkPathData
// with stricter numbers, written and read back by custom line caps. Differences from
// the SVG path data (docs/backend.md):
// - a number is the whole run of digits, ".", "+", "-", "e" and "E" (so "0-1" and
//   "1.2.3" do not read), separated from the next by spaces or commas; numbers are
//   written in the shortest general form ("1e+20"), "." always the decimal point;
// - another coordinate group follows a command only when a digit or "-" comes next;
// - the arc flags are two numbers, each true when it is 1; the arc starts at the
//   current point, and an arc that ends where it starts adds nothing;
// - Q, q, T and t read their coordinates and add nothing;
// - a trailing move is not closed.
// A pass of the parser that consumes nothing ends it, and a command whose numbers do
// not read is abandoned, so the work stays linear in the text.

#include "graphics/backend_path.h"

#include "graphics/path_data.h"
#include "graphics/path_math.h"
#include "platform/float_format.h"

namespace velk {

using path_math::Plus;

namespace {

class TBackendPathParser {
public:
    TBackendPathParser(TVelkGPPath& Path, QStringView Text)
        : FPath(Path), FPos(Text.constData()), FEnd(Text.constData() + Text.size())
    {
    }

    void Run();

private:
    static bool IsSpace(char16_t C) { return C == u' ' || C == u'\t' || C == u'\n' || C == u'\r'; }
    static bool IsAsciiDigit(char16_t C) { return C >= u'0' && C <= u'9'; }
    static bool IsNumberChar(char16_t C)
    {
        return IsAsciiDigit(C) || C == u'.' || C == u'-' || C == u'+' || C == u'e' || C == u'E';
    }
    static bool IsCommand(char16_t C);

    char16_t Current() const { return FPos->unicode(); }
    void SkipSpaces();
    void SkipSeparators();
    bool ReadNumber(float& Value);
    bool ReadPoint(TPointF& P);
    bool Continues() const;
    void Execute(char16_t Command);
    void Arc(bool Relative);

    TVelkGPPath& FPath;
    const QChar* FPos;
    const QChar* const FEnd;
};

bool TBackendPathParser::IsCommand(char16_t C)
{
    switch (C | 0x20) { // ASCII lower case
    case u'z': case u'm': case u'l': case u'c': case u'h':
    case u'v': case u's': case u'q': case u't': case u'a':
        return true;
    default:
        return false;
    }
}

void TBackendPathParser::SkipSpaces()
{
    while (FPos < FEnd && IsSpace(Current()))
        ++FPos;
}

void TBackendPathParser::SkipSeparators()
{
    while (FPos < FEnd && (IsSpace(Current()) || Current() == u','))
        ++FPos;
}

bool TBackendPathParser::ReadNumber(float& Value)
{
    SkipSeparators();
    const QChar* start = FPos;
    while (FPos < FEnd && IsNumberChar(Current()))
        ++FPos;
    const QStringView token(start, FPos);
    SkipSeparators();
    return !token.isEmpty() && TryStrToFloat(token, Value);
}

// At the end of the text a point reads as (0, 0).
bool TBackendPathParser::ReadPoint(TPointF& P)
{
    if (FPos >= FEnd) {
        P = {};
        return true;
    }
    return ReadNumber(P.X) && ReadNumber(P.Y);
}

bool TBackendPathParser::Continues() const
{
    return FPos < FEnd && (IsAsciiDigit(Current()) || Current() == u'-');
}

void TBackendPathParser::Execute(char16_t Command)
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
            TPointF control;
            if (!ReadPoint(control) || !ReadPoint(p))
                return;
        } while (Continues());
        break;
    case u'T':
    case u't':
        do {
            if (!ReadPoint(p))
                return;
        } while (Continues());
        break;
    case u'A':
    case u'a':
        Arc(relative);
        break;
    default: // Z, z
        FPath.ClosePath();
        break;
    }
}

// The SVG arc of the path data, replayed onto the backend path.
void TBackendPathParser::Arc(bool Relative)
{
    const TPointF start = FPath.LastPoint();
    TPointF radii;
    float rotation = 0;
    TPointF flags;
    TPointF end;
    if (!ReadPoint(radii) || !ReadNumber(rotation) || !ReadPoint(flags) || !ReadPoint(end))
        return;
    if (Relative)
        end = Plus(start, end);
    if (start == end)
        return;
    TVelkPathData arc;
    arc.MoveTo(start);
    arc.SVGArcTo(start, radii, end, flags.Y == 1, flags.X == 1, rotation);
    // End points too close to tell apart give the path data a full ellipse (a second
    // move); here they give nothing.
    for (int i = 1; i < arc.Count(); ++i) {
        if (arc.GetPoint(i).Kind == ppMoveTo)
            return;
    }
    for (int i = 1; i < arc.Count(); ++i) {
        const TVelkPathPoint& e = arc.GetPoint(i);
        if (e.Kind == ppCurveTo && i + 2 < arc.Count()) {
            FPath.CurveTo(e.Point, arc.GetPoint(i + 1).Point, arc.GetPoint(i + 2).Point);
            i += 2;
        } else {
            FPath.LineTo(e.Point);
        }
    }
}

// Each pass reads a run of command letters and runs them in turn; a pass without
// letters repeats the last command on what follows.
void TBackendPathParser::Run()
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
}

} // namespace

void TVelkGPPath::SetData(QStringView Value)
{
    WithinUpdate(*this, [&] {
        Clear();
        TBackendPathParser(*this, Value).Run();
    });
}

QString TVelkGPPath::GetData() const
{
    QString result;
    result.reserve(qsizetype(Count()) * 12);
    const auto point = [&](const TPointF& P) {
        result += FormatFloat(QStringView(), P.X);
        result += u',';
        result += FormatFloat(QStringView(), P.Y);
        result += u' ';
    };
    const TVelkPoints& points = Values();
    for (int i = 0; i < Count(); ++i) {
        const TVelkGPPathPointKind kind = Kinds()[i];
        if (kind.IsStart()) {
            result += u'M';
            point(points[i]);
        } else if (kind.IsBezier() && i + 2 < Count()) {
            result += u'C';
            point(points[i]);
            point(points[i + 1]);
            point(points[i + 2]);
            i += 2;
        } else {
            result += u'L';
            point(points[i]);
        }
        if (Kinds()[i].IsClosed())
            result += u"Z ";
    }
    return result;
}

} // namespace velk
