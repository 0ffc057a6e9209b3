#pragma once
// The font-family property: a list of family names, read into a string list and written
// back.

#include <QString>
#include <QStringView>

namespace velk {

class TStrings;

// Style form: Inherit := (Text is "inherit") or (Inherit and Text is empty); then an
// inherited value or an empty text leaves Families unchanged. Otherwise Families
// receives the items of Text by the string list's comma-text rules (docs/platform.md):
// items end at commas and blanks, a quoted item may hold both and loses its quotes, a
// doubled quote inside stands for one. The quote is the double quote, or the single
// quote when Text holds single quotes and no double quote, so that the writer's form
// below ('Times New Roman', serif) and CSS's usual form read back as the same names.
// Families changes once (one OnChange).
void SVGParseFontFamily(QStringView Text, TStrings& Families, bool& Inherit);

// The names joined by ", ". Names that would not read back unquoted (empty, "inherit",
// holding a blank or a comma, beginning with a quote) are wrapped in single quotes, the
// quote doubled inside: "Times New Roman", "serif" gives 'Times New Roman', serif. When
// a name holds a double quote, the double quote is used instead, as SVGParseFontFamily
// then expects it. What is written reads back as the same names.
QString SVGFontFamiliesToStr(const TStrings& Families);

} // namespace velk
