#include "platform/format.h"

namespace velk::detail {

QString FormatWith(QStringView pattern, const QStringList& arguments)
{
    QString result;
    result.reserve(pattern.size() + 16 * arguments.size());
    qsizetype next = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c != u'%' || i + 1 == pattern.size()) {
            result += c;
            continue;
        }
        const QChar kind = pattern[i + 1];
        if (kind == u'%') {
            result += u'%';
            ++i;
        } else if ((kind == u's' || kind == u'd' || kind == u'u' || kind == u'x')
                   && next < arguments.size()) {
            const QString& argument = arguments[next++];
            if (kind == u'x') {
                bool ok = false;
                const qlonglong n = argument.toLongLong(&ok);
                result += ok ? QString::number(n, 16).toUpper() : argument;
            } else {
                result += argument;
            }
            ++i;
        } else {
            result += c;
        }
    }
    return result;
}

} // namespace velk::detail
