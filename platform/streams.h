#pragma once
// Stream helpers. Streams are QIODevice (QFile, QBuffer); these few functions give
// them the platform's failure behaviour: a short read or write raises instead of
// returning a count, and opening a file names the file and the system's reason.

#include <QByteArray>
#include <QFile>
#include <QIODevice>
#include <QString>
#include <limits>
#include <memory>

namespace velk {

// Reads exactly Count bytes; raises EReadError "Stream read error" when fewer are there.
void ReadBuffer(QIODevice& Stream, void* Buffer, qint64 Count);
// Writes exactly Count bytes; raises EWriteError "Stream write error" otherwise.
void WriteBuffer(QIODevice& Stream, const void* Buffer, qint64 Count);

// The bytes from the device's position to its end; raises EReadError "Stream read error"
// when the device cannot be read. Reading stops once more than Limit bytes have come,
// so a result longer than Limit means "too large" without reading all of it.
QByteArray ReadToEnd(QIODevice& Stream, qint64 Limit = std::numeric_limits<qsizetype>::max() - 1);

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
