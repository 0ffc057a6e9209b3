#pragma once
// Stream helpers. Streams are QIODevice (QFile, QBuffer); these few functions give
// them the platform's failure behaviour: a short read or write raises instead of
// returning a count, and opening a file names the file and the system's reason.

#include <QFile>
#include <QIODevice>
#include <QString>
#include <memory>

namespace velk {

// Reads exactly Count bytes; raises EReadError "Stream read error" when fewer are there.
void ReadBuffer(QIODevice& Stream, void* Buffer, qint64 Count);
// Writes exactly Count bytes; raises EWriteError "Stream write error" otherwise.
void WriteBuffer(QIODevice& Stream, const void* Buffer, qint64 Count);

// An open file; raises EFOpenError "Cannot open file \"%s\". %s" with the name and
// the system's error text.
std::unique_ptr<QFile> OpenFileForReading(const QString& FileName);
// A new or emptied file open for writing; raises EFCreateError
// "Cannot create file \"%s\". %s".
std::unique_ptr<QFile> OpenFileForWriting(const QString& FileName);

// The bytes that can still be read: size - pos for random-access devices, what is
// buffered for sequential ones. Readers check declared lengths against it.
qint64 BytesLeft(const QIODevice& Stream);

} // namespace velk
