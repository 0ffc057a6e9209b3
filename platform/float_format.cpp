#include "platform/float_format.h"

#include "platform/exceptions.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

namespace velk {

namespace {

// ---------------------------------------------------------------------------
// Decimal digits of a finite value

// Value = 0.D1D2...Dn × 10^Exponent, taken from the shortest text that reads back as
// the same value; no trailing zeros, Count 0 for zero.
struct TDecimal {
    std::array<char, 32> Digits{};
    int Count = 0;
    int Exponent = 0;
    bool Negative = false;

    bool IsZero() const { return Count == 0; }

    // Keeps the first Keep digits, rounding half away from zero.
    void RoundTo(int Keep)
    {
        if (Keep >= Count)
            return;
        if (Keep < 0) {
            Count = 0;
            return;
        }
        const bool up = Digits[static_cast<std::size_t>(Keep)] >= '5';
        Count = Keep;
        if (up) {
            int i = Keep - 1;
            while (i >= 0 && Digits[static_cast<std::size_t>(i)] == '9')
                --i;
            if (i < 0) {
                Digits[0] = '1';
                Count = 1;
                ++Exponent;
            } else {
                ++Digits[static_cast<std::size_t>(i)];
                Count = i + 1;
            }
        }
        TrimZeros();
    }

    void TrimZeros()
    {
        while (Count > 0 && Digits[static_cast<std::size_t>(Count - 1)] == '0')
            --Count;
    }
};

template <typename T>
TDecimal ToDecimal(T value)
{
    TDecimal d;
    d.Negative = std::signbit(value);
    char text[48];
    const char* end = std::to_chars(std::begin(text), std::end(text), std::fabs(value), std::chars_format::scientific).ptr;
    // d[.ddd]e±xx
    const char* p = text;
    for (; p < end && *p != 'e'; ++p)
        if (*p != '.')
            d.Digits[static_cast<std::size_t>(d.Count++)] = *p;
    int exponent = 0;
    if (p + 2 < end)
        std::from_chars(p + (p[1] == '+' ? 2 : 1), end, exponent);
    d.Exponent = exponent + 1;
    d.TrimZeros();
    return d;
}

void AppendDigits(QString& out, const TDecimal& d, int from, int to)
{
    for (int i = from; i < to; ++i)
        out += QLatin1Char(i < d.Count ? d.Digits[static_cast<std::size_t>(i)] : '0');
}

void AppendExponent(QString& out, int exponent, int minDigits)
{
    char text[16];
    const char* end = std::to_chars(std::begin(text), std::end(text), std::abs(exponent)).ptr;
    for (auto n = end - text; n < minDigits; ++n)
        out += u'0';
    out += QLatin1String(text, end);
}

// The general form: shortest digits, at most 15 significant, scientific ("1e+20",
// "1e-05") when the exponent is below -4 or at least 15, like printf's "%.15g".
void AppendGeneral(QString& out, TDecimal d)
{
    d.RoundTo(15);
    if (d.IsZero()) {
        out += u'0';
        return;
    }
    if (d.Negative)
        out += u'-';
    const int x = d.Exponent - 1;
    if (x < -4 || x >= 15) {
        AppendDigits(out, d, 0, 1);
        if (d.Count > 1) {
            out += u'.';
            AppendDigits(out, d, 1, d.Count);
        }
        out += u'e';
        out += x < 0 ? u'-' : u'+';
        AppendExponent(out, x, 2);
    } else if (d.Exponent <= 0) {
        out += u"0.";
        for (int i = d.Exponent; i < 0; ++i)
            out += u'0';
        AppendDigits(out, d, 0, d.Count);
    } else {
        AppendDigits(out, d, 0, d.Exponent);
        if (d.Count > d.Exponent) {
            out += u'.';
            AppendDigits(out, d, d.Exponent, d.Count);
        }
    }
}

// ---------------------------------------------------------------------------
// Parsed formats

enum class TokenKind : std::uint8_t { Literal, IntegerDigit, Point, FractionDigit, Exponent };

struct Token {
    TokenKind Kind;
    qsizetype Start = 0; // literal text, or the exponent letter, in the format text
    qsizetype Length = 0;
};

struct Section {
    std::vector<Token> Tokens;
    bool Empty = true;
    int IntegerDigits = 0;
    int ForcedFrom = -1;     // integer placeholders from this one on always show a digit
    int FractionDigits = 0;
    int FractionZeros = 0;   // fraction digits always shown
    bool Thousands = false;
    bool Scientific = false;
    bool ExponentPlus = false;
    int ExponentDigits = 0;
};

struct ParsedFormat {
    QString Text;
    std::array<Section, 3> Sections;
    int SectionCount = 1;
};

[[noreturn]] void RaiseInvalidFormat(QStringView format)
{
    throw EConvertError(messages::InvalidFormat, format.toString());
}

ParsedFormat ParseFormat(QStringView format)
{
    ParsedFormat f;
    f.Text = format.toString();
    const QChar* s = f.Text.constData();
    const qsizetype n = f.Text.size();
    Section* section = &f.Sections[0];
    bool afterPoint = false;

    const auto literal = [&](qsizetype start, qsizetype length) {
        if (length == 0)
            return;
        if (!section->Tokens.empty()) {
            Token& last = section->Tokens.back();
            if (last.Kind == TokenKind::Literal && last.Start + last.Length == start) {
                last.Length += length;
                return;
            }
        }
        section->Tokens.push_back({TokenKind::Literal, start, length});
    };

    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i].unicode();
        if (c == u';') {
            if (f.SectionCount == 3)
                RaiseInvalidFormat(format);
            section = &f.Sections[static_cast<std::size_t>(f.SectionCount++)];
            afterPoint = false;
            continue;
        }
        section->Empty = false;
        switch (c) {
        case u'"':
        case u'\'': {
            qsizetype close = i + 1;
            while (close < n && s[close] != c)
                ++close;
            if (close == n)
                RaiseInvalidFormat(format);
            literal(i + 1, close - i - 1);
            i = close;
            break;
        }
        case u'0':
        case u'#':
            if (section->Scientific) {
                literal(i, 1);
            } else if (afterPoint) {
                ++section->FractionDigits;
                if (c == u'0')
                    section->FractionZeros = section->FractionDigits;
                section->Tokens.push_back({TokenKind::FractionDigit});
            } else {
                if (c == u'0' && section->ForcedFrom < 0)
                    section->ForcedFrom = section->IntegerDigits;
                ++section->IntegerDigits;
                section->Tokens.push_back({TokenKind::IntegerDigit});
            }
            break;
        case u'.':
            if (afterPoint || section->Scientific) {
                literal(i, 1);
            } else {
                afterPoint = true;
                section->Tokens.push_back({TokenKind::Point});
            }
            break;
        case u',':
            section->Thousands = true;
            break;
        case u'E':
        case u'e':
            if (!section->Scientific && i + 1 < n && (s[i + 1] == u'+' || s[i + 1] == u'-')) {
                section->Scientific = true;
                section->ExponentPlus = s[i + 1] == u'+';
                qsizetype j = i + 2;
                while (j < n && s[j] == u'0')
                    ++j;
                section->ExponentDigits = static_cast<int>(j - i - 2);
                section->Tokens.push_back({TokenKind::Exponent, i, 1});
                i = j - 1;
            } else {
                literal(i, 1);
            }
            break;
        default:
            literal(i, 1);
        }
    }
    for (Section& each : f.Sections)
        if (each.ForcedFrom < 0)
            each.ForcedFrom = each.IntegerDigits;
    return f;
}

// The last few formats used by this thread: documents write thousands of numbers with
// one or two formats, so parsing happens once per format, not once per number.
const ParsedFormat& CachedFormat(QStringView format)
{
    constexpr int Size = 4;
    thread_local std::array<ParsedFormat, Size> cache;
    thread_local int used = 0;
    thread_local int next = 0;
    for (int i = 0; i < used; ++i)
        if (cache[static_cast<std::size_t>(i)].Text == format)
            return cache[static_cast<std::size_t>(i)];
    ParsedFormat parsed = ParseFormat(format);
    ParsedFormat& slot = cache[static_cast<std::size_t>(next)];
    slot = std::move(parsed);
    next = (next + 1) % Size;
    used = std::min(used + 1, Size);
    return slot;
}

// Writes d, already rounded for the section, through the section's tokens.
void AppendSection(QString& out, const ParsedFormat& f, const Section& section, const TDecimal& d, bool withSign)
{
    if (withSign)
        out += u'-';
    // The decimal point sits after pointPosition digits of d (fixed: the exponent;
    // scientific: the integer placeholders, the exponent taking the rest).
    const int pointPosition = d.IsZero() ? 0 : (section.Scientific ? section.IntegerDigits : d.Exponent);
    const int integerCount = std::max(pointPosition, 0);
    const int fractionCount = std::max(section.FractionZeros, d.IsZero() ? 0 : d.Count - pointPosition);
    // The digit at decimal power p: p >= 0 in the integer part, -1 the first fraction digit.
    const auto digitAt = [&](int power) {
        const int i = pointPosition - 1 - power;
        return QLatin1Char(i >= 0 && i < d.Count ? d.Digits[static_cast<std::size_t>(i)] : '0');
    };
    const auto appendInteger = [&](int power) {
        out += digitAt(power);
        if (section.Thousands && power > 0 && power % 3 == 0)
            out += u',';
    };

    const QChar* text = f.Text.constData();
    int integerIndex = 0;
    int fractionIndex = 0;
    for (const Token& token : section.Tokens) {
        switch (token.Kind) {
        case TokenKind::Literal:
            out.append(text + token.Start, token.Length);
            break;
        case TokenKind::IntegerDigit: {
            const int power = section.IntegerDigits - 1 - integerIndex;
            // Digits beyond the placeholders go to the first one.
            if (integerIndex == 0)
                for (int p = integerCount - 1; p > power; --p)
                    appendInteger(p);
            if (power < integerCount || integerIndex >= section.ForcedFrom)
                appendInteger(power);
            ++integerIndex;
            break;
        }
        case TokenKind::Point:
            if (section.IntegerDigits == 0)
                for (int p = integerCount - 1; p >= 0; --p)
                    appendInteger(p);
            if (fractionCount > 0)
                out += u'.';
            break;
        case TokenKind::FractionDigit:
            if (fractionIndex < fractionCount)
                out += digitAt(-1 - fractionIndex);
            ++fractionIndex;
            break;
        case TokenKind::Exponent: {
            const int exponent = d.IsZero() ? 0 : d.Exponent - section.IntegerDigits;
            out += text[token.Start];
            if (exponent < 0)
                out += u'-';
            else if (section.ExponentPlus)
                out += u'+';
            AppendExponent(out, exponent, section.ExponentDigits);
            break;
        }
        }
    }
}

template <typename T>
QString FormatFloatImpl(QStringView format, T value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");

    QString out;
    out.reserve(24);
    const TDecimal d = ToDecimal(value);
    if (format.isEmpty()) {
        AppendGeneral(out, d);
        return out;
    }
    const ParsedFormat& f = CachedFormat(format);
    // A missing or empty negative or zero section falls back to the first.
    const auto pick = [&](int index) {
        return index < f.SectionCount && !f.Sections[static_cast<std::size_t>(index)].Empty ? index : 0;
    };
    int index = d.IsZero() ? pick(2) : d.Negative ? pick(1) : 0;
    const Section* section = &f.Sections[static_cast<std::size_t>(index)];
    // Fixed notation of more than 18 integer digits is not attempted.
    if (section->Empty || (!section->Scientific && d.Exponent > 18)) {
        AppendGeneral(out, d);
        return out;
    }
    TDecimal rounded = d;
    rounded.RoundTo(section->Scientific ? std::max(1, section->IntegerDigits + section->FractionDigits)
                                        : d.Exponent + section->FractionDigits);
    if (rounded.IsZero() && !d.IsZero()) {
        // What rounds to zero is shown as zero: the zero section, no minus sign.
        index = pick(2);
        section = &f.Sections[static_cast<std::size_t>(index)];
        if (section->Empty) {
            out += u'0';
            return out;
        }
    }
    AppendSection(out, f, *section, rounded, rounded.Negative && !rounded.IsZero() && index == 0);
    return out;
}

// ---------------------------------------------------------------------------
// Reading numbers

bool IsDigit(QChar c)
{
    return static_cast<unsigned>(c.unicode() - u'0') < 10u;
}

QStringView TrimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= u' ')
        ++begin;
    while (end > begin && text[end - 1].unicode() <= u' ')
        --end;
    return text.sliced(begin, end - begin);
}

// The decimal exponent of the leading digit of mantissa × 10^exponent, for telling
// overflow from underflow when the value is out of range.
long long Magnitude(const QChar* mantissa, const QChar* integerEnd, const QChar* mantissaEnd, long long exponent)
{
    for (const QChar* c = mantissa; c < integerEnd; ++c)
        if (*c != u'0')
            return (integerEnd - c) + exponent;
    long long zeros = 0;
    for (const QChar* c = integerEnd + 1; c < mantissaEnd && *c == u'0'; ++c)
        ++zeros;
    return exponent - zeros;
}

template <typename T>
const QChar* Scan(const QChar* p, const QChar* end, T& value)
{
    const QChar* q = p;
    bool negative = false;
    if (q < end && (*q == u'+' || *q == u'-')) {
        negative = *q == u'-';
        ++q;
    }
    const QChar* mantissa = q;
    while (q < end && IsDigit(*q))
        ++q;
    const QChar* integerEnd = q;
    qsizetype digits = integerEnd - mantissa;
    if (q < end && *q == u'.') {
        ++q;
        while (q < end && IsDigit(*q))
            ++q;
        digits += q - integerEnd - 1;
    }
    if (digits == 0)
        return nullptr;
    const QChar* mantissaEnd = q;

    // The exponent counts only when digits follow, so "1e" and "1e+" stop before 'e'.
    long long exponent = 0;
    if (q < end && (*q == u'e' || *q == u'E')) {
        const QChar* e = q + 1;
        bool exponentNegative = false;
        if (e < end && (*e == u'+' || *e == u'-')) {
            exponentNegative = *e == u'-';
            ++e;
        }
        if (e < end && IsDigit(*e)) {
            for (; e < end && IsDigit(*e); ++e)
                if (exponent < 1'000'000'000)   // saturate; the result is out of range anyway
                    exponent = exponent * 10 + (e->unicode() - u'0');
            if (exponentNegative)
                exponent = -exponent;
            q = e;
        }
    }

    // from_chars wants 8-bit text; ordinary numbers fit the stack buffer.
    const std::size_t length = static_cast<std::size_t>(mantissaEnd - mantissa);
    char small[128];
    std::string large;
    char* buffer = small;
    if (length + 24 > sizeof small) {
        large.resize(length + 24);
        buffer = large.data();
    }
    char* b = buffer;
    for (const QChar* c = mantissa; c < mantissaEnd; ++c)
        *b++ = static_cast<char>(c->unicode());
    if (exponent != 0) {
        *b++ = 'e';
        b = std::to_chars(b, b + 21, exponent).ptr;
    }
    T result{};
    const auto [last, error] = std::from_chars(buffer, b, result);
    if (error == std::errc::result_out_of_range) {
        if (Magnitude(mantissa, integerEnd, mantissaEnd, exponent) > 0)
            return nullptr; // overflow
        result = 0;         // underflow
    } else if (error != std::errc() || last != b) {
        return nullptr;
    }
    value = negative ? -result : result;
    return q;
}

template <typename T>
bool TryStrToFloatImpl(QStringView text, T& value)
{
    text = TrimBlanks(text);
    if (text.isEmpty())
        return false;
    const QChar* begin = text.data();
    const QChar* end = begin + text.size();
    T result{};
    if (Scan(begin, end, result) != end)
        return false;
    value = result;
    return true;
}

template <typename I>
bool TryStrToIntImpl(QStringView text, I& value)
{
    text = TrimBlanks(text);
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size())
        return false;
    const std::uint64_t limit = negative ? std::uint64_t(std::numeric_limits<I>::max()) + 1
                                         : std::uint64_t(std::numeric_limits<I>::max());
    std::uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        if (!IsDigit(text[i]))
            return false;
        const unsigned digit = text[i].unicode() - u'0';
        if (magnitude > (limit - digit) / 10)
            return false;
        magnitude = magnitude * 10 + digit;
    }
    // Modular conversion (well defined since C++20) gives the negative value, -2^63 included.
    value = static_cast<I>(negative ? std::uint64_t{0} - magnitude : magnitude);
    return true;
}

} // namespace

QString FormatFloat(QStringView Format, double Value)
{
    return FormatFloatImpl(Format, Value);
}

QString FormatFloat(QStringView Format, float Value)
{
    return FormatFloatImpl(Format, Value);
}

const QChar* ScanFloat(const QChar* p, const QChar* end, double& Value)
{
    return Scan(p, end, Value);
}

const QChar* ScanFloat(const QChar* p, const QChar* end, float& Value)
{
    return Scan(p, end, Value);
}

bool TryStrToFloat(QStringView Text, double& Value)
{
    return TryStrToFloatImpl(Text, Value);
}

bool TryStrToFloat(QStringView Text, float& Value)
{
    return TryStrToFloatImpl(Text, Value);
}

double StrToFloat(QStringView Text)
{
    double value = 0;
    if (!TryStrToFloat(Text, value))
        throw EConvertError(messages::InvalidFloat, Text.toString());
    return value;
}

float StrToSingle(QStringView Text)
{
    float value = 0;
    if (!TryStrToFloat(Text, value))
        throw EConvertError(messages::InvalidFloat, Text.toString());
    return value;
}

bool TryStrToInt(QStringView Text, std::int32_t& Value)
{
    return TryStrToIntImpl(Text, Value);
}

bool TryStrToInt64(QStringView Text, std::int64_t& Value)
{
    return TryStrToIntImpl(Text, Value);
}

std::int32_t StrToInt(QStringView Text)
{
    std::int32_t value = 0;
    if (!TryStrToInt(Text, value))
        throw EConvertError(messages::InvalidInteger, Text.toString());
    return value;
}

std::int64_t StrToInt64(QStringView Text)
{
    std::int64_t value = 0;
    if (!TryStrToInt64(Text, value))
        throw EConvertError(messages::InvalidInteger, Text.toString());
    return value;
}

} // namespace velk
