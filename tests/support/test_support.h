#pragma once
// Helpers shared by the test suites.

#include "platform/object.h"
#include "platform/string_list.h"

#include <QString>
#include <QStringList>
#include <ostream>

// Lets GoogleTest print QString values in failure messages.
inline void PrintTo(const QString& Value, std::ostream* Out)
{
    *Out << '"' << Value.toStdString() << '"';
}

namespace velk::testing {

// The message of the E that Action raises, or "no exception".
template <typename E, typename F>
QString MessageOf(F&& Action)
{
    try {
        Action();
    } catch (const E& e) {
        return e.Message();
    }
    return QStringLiteral("no exception");
}

// The lines of a string list, for comparing with a QStringList.
inline QStringList Lines(const TStrings& List)
{
    QStringList lines;
    for (int i = 0; i < List.Count(); ++i)
        lines.append(List[i]);
    return lines;
}

// A plain object with a name, for containers that hold object references.
class TNamed : public TObject {
public:
    explicit TNamed(QString Name = {}) : FName(std::move(Name)) {}
    const QString& Name() const { return FName; }

private:
    QString FName;
};

} // namespace velk::testing
