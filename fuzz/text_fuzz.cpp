// Feeds arbitrary text to the text forms of the platform layer: delimited and comma
// text (which must read back what they write), number reading and scanning, and
// number formats.

#include "platform/exceptions.h"
#include "platform/float_format.h"
#include "platform/string_list.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace velk;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    TStringList list;
    list.SetCommaText(text);
    TStringList again;
    again.SetCommaText(list.CommaText());
    if (!again.Equals(list))
        std::abort(); // comma text must read back what it writes
    list.SetText(text);
    (void)list.Text();

    double value = 0;
    (void)TryStrToFloat(text, value);
    const QChar* p = text.constData();
    const QChar* end = p + text.size();
    while (p < end) {
        const QChar* next = ScanFloat(p, end, value);
        p = next ? next : p + 1; // a scan either advances or reports no number
    }

    try {
        (void)FormatFloat(text, 123.456);
        (void)FormatFloat(text, -0.0001f);
    } catch (const EConvertError&) {
    }
    return 0;
}
