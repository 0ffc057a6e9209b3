#include "svg/selector_tokens.h"

#include "svg/exceptions.h"
#include "svg/trim.h"

namespace velk {

namespace {

bool IsQuote(QChar C)
{
    return C == u'"' || C == u'\'';
}

// The type of a character that starts a token of its own, sttNone for others.
TSVGSelectorTokenType CharTokenType(QChar C)
{
    switch (C.unicode()) {
    case u'#':
        return sttIDHashChar;
    case u'*':
        return sttUniversalChar;
    case u'+':
        return sttHasFollower;
    case u'>':
        return sttHasChild;
    case u':':
        return sttColonChar;
    case u'.':
        return sttClassChar;
    default:
        return sttNone;
    }
}

bool EndsAttributeName(QChar C)
{
    return QStringView(u"^$*|~=]").contains(C);
}

class TSelectorReader {
public:
    explicit TSelectorReader(QStringView Selector) : FSelector(Selector), FText(SVGTrim(Selector)) {}

    TSVGSelectorTokens Read()
    {
        while (FPos < FText.size()) {
            const QChar c = FText[FPos];
            if (SVGIsBlank(c)) {
                AddPending();
                SkipBlanks();
            } else if (c == u'(') {
                AddPending();
                const qsizetype close = FText.indexOf(u')', FPos + 1);
                const qsizetype end = close < 0 ? FText.size() : close;
                Add(sttLanguage, FText.sliced(FPos + 1, end - FPos - 1));
                FPos = close < 0 ? end : end + 1;
            } else if (c == u'[') {
                AddPending();
                ReadAttribute();
            } else if (const TSVGSelectorTokenType type = CharTokenType(c); type != sttNone) {
                AddPending();
                FPending = type;
                ++FPos;
                SkipBlanks();
            } else {
                // The pending text is always the run of plain characters since the last
                // token, so a start index and a length hold it.
                if (FPendingLength == 0)
                    FPendingStart = FPos;
                ++FPendingLength;
                if (FPending == sttNone)
                    FPending = sttString;
                ++FPos;
            }
        }
        AddPending();
        return std::move(FTokens);
    }

private:
    void SkipBlanks()
    {
        while (FPos < FText.size() && SVGIsBlank(FText[FPos]))
            ++FPos;
    }

    // "[", name, optionally an operator and a value, "]".
    void ReadAttribute()
    {
        ++FPos;
        SkipBlanks();
        const qsizetype nameStart = FPos;
        while (FPos < FText.size() && !EndsAttributeName(FText[FPos]))
            ++FPos;
        Add(sttHasAttribute, FText.sliced(nameStart, FPos - nameStart));
        if (FPos == FText.size())
            Invalid();
        TSVGSelectorTokenType type = sttExactMatch;
        if (FText[FPos] == u']') {
            ++FPos;
            return;
        }
        if (FText[FPos] == u'=') {
            ++FPos;
        } else {
            if (FPos + 1 == FText.size() || FText[FPos + 1] != u'=')
                Invalid();
            type = SVGStrToSelectorTokenType(FText.sliced(FPos, 2));
            FPos += 2;
        }
        const qsizetype close = FText.indexOf(u']', FPos);
        if (close < 0)
            Invalid();
        Add(type, FText.sliced(FPos, close - FPos));
        FPos = close + 1;
    }

    [[noreturn]] void Invalid() const { throw ESVGException(messages::SVGInvalidSelector, FSelector); }

    void AddPending()
    {
        Add(FPending, FText.sliced(FPendingStart, FPendingLength));
        FPending = sttNone;
        FPendingLength = 0;
    }

    void Add(TSVGSelectorTokenType Type, QStringView Text)
    {
        if (Type == sttNone)
            return;
        QStringView value = SVGTrim(Text);
        if (!value.isEmpty() && IsQuote(value.front()))
            value = value.sliced(1);
        if (!value.isEmpty() && IsQuote(value.back()))
            value.chop(1);
        // A name after a name or a step is a descendant step ("a b c").
        if (Type == sttString && !FTokens.isEmpty()) {
            const TSVGSelectorTokenType last = FTokens.back().TokenType;
            if (last == sttString || last == sttHasDescendant || last == sttHasChild || last == sttHasFollower)
                Type = sttHasDescendant;
        }
        FTokens.append(TSVGSelectorToken::Create(Type, value.toString()));
    }

    QStringView FSelector;
    QStringView FText;
    qsizetype FPos = 0;
    TSVGSelectorTokenType FPending = sttNone;
    qsizetype FPendingStart = 0;
    qsizetype FPendingLength = 0;
    TSVGSelectorTokens FTokens;
};

} // namespace

TSVGSelectorTokenType SVGStrToSelectorTokenType(QStringView Text)
{
    const std::optional<std::size_t> index = FindName(SVGSelectorTokenTexts, Text);
    return index ? static_cast<TSVGSelectorTokenType>(*index) : sttNone;
}

TSVGSelectorToken TSVGSelectorToken::Create(TSVGSelectorTokenType aTokenType, const QString& aValue)
{
    return {aTokenType, aValue};
}

TSVGSelectorTokens SVGTokenizeSelector(QStringView Selector)
{
    return TSelectorReader(Selector).Read();
}

QString TSVGSelectorToken::ToString() const
{
    const std::size_t type = static_cast<std::size_t>(TokenType);
    const QString text = type < SVGSelectorTokenTexts.size() ? NameText(SVGSelectorTokenTexts[type]) : QString();
    return EnumName(TokenType) + u'(' + text + u") = \""_qs + Value + u'"';
}

} // namespace velk
