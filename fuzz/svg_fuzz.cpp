// Feeds arbitrary bytes to the document loader. A document that loads must save, and
// what it saves must load again.

#include "fuzz/fuzz_document.h"

#include <QBuffer>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace velk;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TSVGDocument doc;
    if (!fuzzing::LoadFuzzDocument(data, size, doc))
        return 0;

    QByteArray saved;
    QBuffer output(&saved);
    output.open(QIODevice::WriteOnly);
    doc.SaveToStream(output, 80);
    output.close();

    output.open(QIODevice::ReadOnly);
    TSVGDocument again;
    again.LoadFromStream(output); // must not raise: our own output
    return 0;
}
