#pragma once
// The walk behind TSVGGraphicElement::Matches, shared with the cascade, which hands it
// the tokens its document keeps per rule instead of tokenizing every selector again for
// every element.

#include "svg/selector_tokens.h"

#include <QStringView>

namespace velk {

class TSVGGraphicElement;

// The priority with which the selector whose tokens are Tokens matches Element, -1 when
// it does not (TSVGGraphicElement::Matches).
int SVGMatchSelector(const TSVGGraphicElement& Element, const TSVGSelectorTokens& Tokens);

} // namespace velk
