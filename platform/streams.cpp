#include "platform/streams.h"

#include "platform/exceptions.h"

namespace velk {

void ReadBuffer(QIODevice& Stream, void* Buffer, qint64 Count)
{
    if (Count < 0 || (Count > 0 && !Stream.isReadable()))
        throw EReadError(messages::ReadError);
    auto* target = static_cast<char*>(Buffer);
    while (Count > 0) {
        const qint64 n = Stream.read(target, Count);
        if (n <= 0)
            throw EReadError(messages::ReadError);
        target += n;
        Count -= n;
    }
}

void WriteBuffer(QIODevice& Stream, const void* Buffer, qint64 Count)
{
    if (Count < 0 || (Count > 0 && !Stream.isWritable()))
        throw EWriteError(messages::WriteError);
    const auto* source = static_cast<const char*>(Buffer);
    while (Count > 0) {
        const qint64 n = Stream.write(source, Count);
        if (n <= 0)
            throw EWriteError(messages::WriteError);
        source += n;
        Count -= n;
    }
}

std::unique_ptr<QFile> OpenFileForReading(const QString& FileName)
{
    auto file = std::make_unique<QFile>(FileName);
    if (!file->open(QIODevice::ReadOnly))
        throw EFOpenError(messages::FOpenError, FileName, file->errorString());
    return file;
}

std::unique_ptr<QFile> OpenFileForWriting(const QString& FileName)
{
    auto file = std::make_unique<QFile>(FileName);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw EFCreateError(messages::FCreateError, FileName, file->errorString());
    return file;
}

qint64 BytesLeft(const QIODevice& Stream)
{
    if (Stream.isSequential())
        return Stream.bytesAvailable();
    return qMax<qint64>(0, Stream.size() - Stream.pos());
}

} // namespace velk
