#pragma once
// Splitting a CSS style sheet (the text of a <style> element) into rules.

#include <QString>
#include <QStringView>
#include <functional>

namespace velk {

// Called once per selector with the declaration block (the text between the braces,
// as it is).
using TSVGStyleRuleProc = std::function<void(const QString& Selector, const QString& Declarations)>;

// Removes the comments (SVGRemoveComments), then takes blocks in order: the
// declarations are the text between a "{" and the first "}" after it; the selector
// list is the text before the "{" (since the previous block), split at commas and at
// blanks, each item trimmed. Every non-empty item calls Rule with the block. So
// "g rect { fill: red }" gives two rules, g and rect. A "{" without a "}" after it
// ends the sheet. Linear in the length of the text.
void SVGSplitStyleSheet(QStringView Text, const TSVGStyleRuleProc& Rule);

} // namespace velk
