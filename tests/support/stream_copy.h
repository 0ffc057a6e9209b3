#pragma once
// Copies an object through the binary form-file stream, to test what its published
// properties carry.

#include "platform/binary_reader.h"
#include "platform/binary_writer.h"

#include <QBuffer>

namespace velk::testing {

inline void StreamCopy(const TPersistent& Source, TPersistent& Dest)
{
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        TWriter(buffer).WriteRoot(Source);
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TReader(buffer).ReadRoot(Dest);
}

} // namespace velk::testing
