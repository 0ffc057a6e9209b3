#include "svg/split_lines.h"

#include "platform/exceptions.h"
#include "platform/persistent.h"
#include "platform/string_list.h"

#include <optional>
#include <vector>

namespace velk {

namespace {

// Where the path data of a line is: the " d" attribute and the quotes of its value.
struct TPathData {
    qsizetype Attribute = -1; // the blank before "d"
    qsizetype Open = -1;      // opening quote of the value
    qsizetype Close = -1;     // closing quote of the value
};

// The position of S outside double-quoted text at or after From (which is outside
// quotes), or -1. With WithinTag the search ends at the tag's closing ">".
qsizetype FindUnquoted(QStringView Line, qsizetype From, QStringView S, bool WithinTag)
{
    bool quoted = false;
    for (qsizetype i = From; i < Line.size(); ++i) {
        const QChar c = Line[i];
        if (c == u'"') {
            quoted = !quoted;
        } else if (!quoted) {
            if (Line.sliced(i).startsWith(S))
                return i;
            if (WithinTag && c == u'>')
                return -1;
        }
    }
    return -1;
}

bool FindPathData(QStringView Line, TPathData& Data)
{
    static constexpr QStringView PathTag = u"<path ";
    const qsizetype tag = FindUnquoted(Line, 0, PathTag, false);
    if (tag < 0)
        return false;
    // The " d" attribute of this tag: a blank, "d", then a blank or "=".
    qsizetype from = tag + PathTag.size() - 1;
    for (;;) {
        const qsizetype at = FindUnquoted(Line, from, u" d", true);
        if (at < 0)
            return false;
        const qsizetype after = at + 2;
        if (after < Line.size() && (Line[after] == u' ' || Line[after] == u'=')) {
            Data.Attribute = at;
            break;
        }
        from = at + 1;
    }
    qsizetype i = Data.Attribute + 2;
    while (i < Line.size() && Line[i] == u' ')
        ++i;
    if (i >= Line.size() || Line[i] != u'=')
        return false;
    ++i;
    while (i < Line.size() && Line[i] == u' ')
        ++i;
    if (i >= Line.size() || Line[i] != u'"')
        return false;
    Data.Open = i;
    Data.Close = Line.indexOf(u'"', i + 1);
    return Data.Close > 0;
}

// The break positions of a line (each starts a new piece), ascending, all inside the
// line; empty when the line stays whole.
std::vector<qsizetype> BreakPositions(QStringView Line, qsizetype MaxLength)
{
    std::vector<qsizetype> breaks;
    TPathData data;
    if (Line.size() <= MaxLength || !FindPathData(Line, data))
        return breaks;
    if (data.Attribute >= MaxLength)
        breaks.push_back(data.Attribute);
    qsizetype origin = data.Open;
    while (data.Close - origin > MaxLength) {
        qsizetype at = origin + MaxLength;
        while (at < data.Close && Line[at] != u' ' && Line[at] != u',')
            ++at;
        breaks.push_back(at);
        origin = at;
    }
    return breaks;
}

// Appends the pieces of Line to Result; returns false when the line stays whole.
bool SplitLine(const QString& Line, qsizetype MaxLength, int LineNumber, QStringList& Result)
{
    const std::vector<qsizetype> breaks = BreakPositions(Line, MaxLength);
    if (breaks.empty())
        return false;
    const qsizetype first = Result.size();
    qsizetype start = 0;
    for (const qsizetype at : breaks) {
        Result += Line.sliced(start, at - start);
        start = at;
    }
    Result += Line.sliced(start);
    // The pieces are consecutive slices, so this holds; it guards the text against any
    // later change of the rules above.
    qsizetype length = 0;
    for (qsizetype i = first; i < Result.size(); ++i) {
        if (Result[i].isEmpty() || QStringView(Line).sliced(length, Result[i].size()) != Result[i])
            throw EInvalidOperation(messages::SplitLinesFailed, LineNumber);
        length += Result[i].size();
    }
    if (length != Line.size())
        throw EInvalidOperation(messages::SplitLinesFailed, LineNumber);
    return true;
}

// The broken lines, or nothing when no line is broken.
std::optional<QStringList> Split(const QStringList& Lines, int MaxLength)
{
    if (MaxLength < 1)
        return std::nullopt;
    QStringList result;
    result.reserve(Lines.size());
    bool changed = false;
    for (qsizetype i = 0; i < Lines.size(); ++i) {
        if (SplitLine(Lines[i], MaxLength, static_cast<int>(i + 1), result))
            changed = true;
        else
            result += Lines[i];
    }
    if (!changed)
        return std::nullopt;
    return result;
}

} // namespace

void SVGSplitLines(QStringList& Lines, int MaxLength)
{
    if (std::optional<QStringList> result = Split(Lines, MaxLength))
        Lines = std::move(*result);
}

void SVGSplitLines(TStrings& Lines, int MaxLength)
{
    QStringList lines;
    lines.reserve(Lines.Count());
    for (int i = 0; i < Lines.Count(); ++i)
        lines += Lines.Strings(i);
    const std::optional<QStringList> result = Split(lines, MaxLength);
    if (!result)
        return;
    WithinUpdate(Lines, [&] {
        Lines.Clear();
        for (const QString& line : *result)
            Lines.Add(line);
    });
}

} // namespace velk
