#include "platform/streams.h"

#include "platform/exceptions.h"

#include <algorithm>

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

QByteArray ReadToEnd(QIODevice& Stream, qint64 Limit)
{
    if (!Stream.isReadable())
        throw EReadError(messages::ReadError);
    // A random-access device is read in one piece of the size it reports (and a last
    // read of one byte that finds the end); a sequential one in chunks.
    constexpr qint64 Chunk = 1 << 20;
    QByteArray data;
    for (qint64 room = Limit + 1; room > 0; room = Limit + 1 - data.size()) {
        const qint64 wanted = std::min(room, Stream.isSequential() ? Chunk : std::max<qint64>(BytesLeft(Stream), 1));
        const qsizetype used = data.size();
        data.resize(used + static_cast<qsizetype>(wanted));
        const qint64 count = Stream.read(data.data() + used, wanted);
        if (count < 0)
            throw EReadError(messages::ReadError);
        data.resize(used + static_cast<qsizetype>(count));
        if (count == 0)
            break;
    }
    return data;
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
