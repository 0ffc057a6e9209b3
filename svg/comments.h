#pragma once
// Comments of style-sheet text.

#include <QString>
#include <QStringView>

namespace velk {

// Text without its /* ... */ comments. As if, repeatedly, the first "/*" and the first
// "*/" after it were found and removed with everything between them, so a comment
// that the removal of another one forms is removed too ("//**/*x*/" gives ""). An
// unterminated "/*" stays, with everything after it. Linear in the text's length.
QString SVGRemoveComments(QStringView Text);

} // namespace velk
