#pragma once
// Shared by the fuzz targets that start from a document: the fuzzer's bytes as a file.

#include "platform/exceptions.h"
#include "svg/document.h"

#include <QBuffer>
#include <QByteArray>
#include <cstddef>
#include <cstdint>

namespace velk::fuzzing {

// Loads Size bytes at Data into Document; false when the loader refuses them (a clear
// error is all that is asked of it then).
inline bool LoadFuzzDocument(const std::uint8_t* Data, std::size_t Size, TSVGDocument& Document)
{
    QByteArray bytes(reinterpret_cast<const char*>(Data), static_cast<qsizetype>(Size));
    QBuffer input(&bytes);
    input.open(QIODevice::ReadOnly);
    try {
        Document.LoadFromStream(input);
    } catch (const Exception&) {
        return false;
    }
    return true;
}

} // namespace velk::fuzzing
