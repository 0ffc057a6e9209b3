#pragma once
// Breaking the long path lines of saved SVG text, so that a document with large path
// data stays readable in a text editor. Only line breaks are added: the pieces of a
// broken line, joined again, are the line.

#include <QStringList>

namespace velk {

class TStrings;

namespace messages {
inline constexpr char16_t SplitLinesFailed[] = u"Breaking a long path line changed its text (line %d)";
}

// Breaks every line longer than MaxLength that holds a "<path " tag (outside
// double-quoted text) with a " d" attribute (the name followed by a blank or "="):
// - when the " d" starts at column MaxLength or later, the text before it becomes a line;
// - inside the quoted value a column count starts at the opening quote; once it reaches
//   MaxLength, the line is broken before the next blank, comma or closing quote, and the
//   count starts again there;
// - the rest of the line is the last piece.
// Other lines stay as they are; a MaxLength below 1 changes nothing. Raises
// EInvalidOperation (messages::SplitLinesFailed) should the pieces of a line ever not
// join to the line again.
void SVGSplitLines(QStringList& Lines, int MaxLength);
// The same on a string list, inside one update bracket. When a line is broken the list
// is refilled, so objects attached to its lines are released (or freed when it owns them).
void SVGSplitLines(TStrings& Lines, int MaxLength);

} // namespace velk
