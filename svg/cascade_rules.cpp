#include "svg/cascade_rules.h"

#include "svg/document.h"

#include <algorithm>

namespace velk {

TSVGCascadeRules::TSVGCascadeRules(const TSVGDocument& Document)
{
    const TSVGStyleTable& rules = Document.Styles();
    for (int i = 0; i < rules.Count(); ++i) {
        TSVGStyle* rule = rules.ItemByIndex(i);
        if (!rule->Enabled())
            continue;
        const int position = static_cast<int>(FRules.size());
        FRules.push_back({rule, SVGTokenizeSelector(rule->Name())});
        const TSVGSelectorTokens& tokens = FRules.back().Tokens;
        // A leading "*" is skipped by the walk, so the step after it decides.
        const qsizetype first = !tokens.isEmpty() && tokens.first().TokenType == sttUniversalChar ? 1 : 0;
        const TSVGSelectorTokenType type = first < tokens.size() ? tokens[first].TokenType : sttNone;
        switch (type) {
        case sttString:
            FByType[tokens[first].Value].push_back(position);
            break;
        case sttIDHashChar:
            FByID[tokens[first].Value].push_back(position);
            break;
        case sttClassChar:
            FByClass[tokens[first].Value].push_back(position);
            break;
        default:
            FOthers.push_back(position);
            break;
        }
    }
}

std::vector<int> TSVGCascadeRules::Candidates(const TSVGElement& Element) const
{
    std::vector<int> positions = FOthers;
    const auto add = [&](const QHash<QString, std::vector<int>>& Table, const QString& Key) {
        const auto found = Table.constFind(Key);
        if (found != Table.constEnd())
            positions.insert(positions.end(), found->begin(), found->end());
    };
    if (!FByType.isEmpty())
        add(FByType, Element.SVGTypeName());
    if (!FByID.isEmpty() && !Element.ID().isEmpty())
        add(FByID, Element.ID());
    if (!FByClass.isEmpty() && Element.HasClasses()) {
        const TStrings& classes = Element.Classes();
        for (int i = 0; i < classes.Count(); ++i)
            add(FByClass, classes.Strings(i));
    }
    std::sort(positions.begin(), positions.end());
    // An element may list a class twice.
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    return positions;
}

const TSVGCascadeRules& TSVGDocument::BeginCascade() const
{
    if (FCascadeRuns == 0)
        FCascadeRules = std::make_unique<TSVGCascadeRules>(*this);
    ++FCascadeRuns;
    return *FCascadeRules;
}

void TSVGDocument::EndCascade() const
{
    if (FCascadeRuns > 0 && --FCascadeRuns == 0)
        FCascadeRules.reset();
}

} // namespace velk
