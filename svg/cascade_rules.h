#pragma once
// TSVGCascadeRules: the enabled rules of a document's rule table, tokenized once and
// grouped by the first step of their selectors (a type name, an ID, a class, or
// anything else). Most rules fail on that step, so the cascade tests an element only
// against the rules filed under its own type name, ID and classes, and the rest.

#include "svg/selector_tokens.h"

#include <QHash>
#include <QString>
#include <vector>

namespace velk {

class TSVGElement;
class TSVGStyle;
class TSVGDocument;

class TSVGCascadeRules {
public:
    struct TRule {
        TSVGStyle* Style;
        TSVGSelectorTokens Tokens;
    };

    // Raises like SVGTokenizeSelector for a malformed selector.
    explicit TSVGCascadeRules(const TSVGDocument& Document);

    // The positions of the rules that may match Element, in the order of the rule
    // table.
    std::vector<int> Candidates(const TSVGElement& Element) const;
    const TRule& Rule(int Position) const { return FRules[static_cast<std::size_t>(Position)]; }

private:
    std::vector<TRule> FRules;
    // Positions in FRules, ascending.
    QHash<QString, std::vector<int>> FByType;
    QHash<QString, std::vector<int>> FByID;
    QHash<QString, std::vector<int>> FByClass;
    std::vector<int> FOthers;
};

} // namespace velk
