#pragma once
// Numbers to text and back, locale-independent: "." is the decimal point and ","
// the thousands separator whatever the user's locale.
//
// FormatFloat's format language (see docs/platform.md, "Number formats"):
//   0      digit, always shown          #   digit, shown when significant
//   .      decimal point (the first)    ,   thousands separators in the integer part
//   E+ E- e+ e- followed by 0s: scientific notation with at least that many exponent digits
//   '...' "..."  literal text;  any other character is copied
//   up to three sections separated by ';': positive;negative;zero
// Rounding is decimal, half away from zero, applied to the shortest decimal text that
// reads back as the same value (so 2.0005 with "0.###" gives "2.001").

#include <QChar>
#include <QString>
#include <QStringView>
#include <cstdint>

namespace velk {

// Raises EConvertError "Format '%s' invalid or incompatible with argument" for an
// unterminated quoted literal or more than three sections. An empty format gives the
// general form (shortest text, at most 15 significant digits). NaN and infinities give
// "NAN", "INF", "-INF".
QString FormatFloat(QStringView Format, double Value);
// Uses the float's own shortest digits, so 0.1f gives "0.1".
QString FormatFloat(QStringView Format, float Value);

// Number reading. Accepted: optional blanks (characters up to ' '), optional sign,
// digits with an optional '.' and fraction (".5" and "5." are numbers), an optional
// exponent, optional blanks. Rejected: empty text, a lone sign or point, "nan", "inf",
// hex, trailing characters and values too large for the type; tiny values give 0.
bool TryStrToFloat(QStringView Text, double& Value);
bool TryStrToFloat(QStringView Text, float& Value);
// Raises EConvertError "'%s' is not a valid floating point value".
double StrToFloat(QStringView Text);
// The same for a float: values beyond the float range raise too.
float StrToSingle(QStringView Text);

// Scans the longest number at p (no leading blanks) and returns the position after
// it, or nullptr when no number starts at p (or it is too large for the type). An
// exponent is taken only when digits follow "e"/"E" and its sign, so "1e+x" scans
// "1"; ".5.5" scans ".5". Does not allocate for numbers shorter than 100 characters.
const QChar* ScanFloat(const QChar* p, const QChar* end, double& Value);
const QChar* ScanFloat(const QChar* p, const QChar* end, float& Value);

// Decimal integers with optional blanks and sign; overflow fails.
bool TryStrToInt(QStringView Text, std::int32_t& Value);
bool TryStrToInt64(QStringView Text, std::int64_t& Value);
// Raise EConvertError "'%s' is not a valid integer value".
std::int32_t StrToInt(QStringView Text);
std::int64_t StrToInt64(QStringView Text);

} // namespace velk
