#include "platform/exceptions.h"
#include "platform/streams.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velk;

namespace {

TEST(Streams, ReadBufferReadsExactlyOrRaises)
{
    QByteArray data("abcdef");
    QBuffer buffer(&data);
    ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
    char chunk[4] = {};
    ReadBuffer(buffer, chunk, 4);
    EXPECT_EQ(QByteArray(chunk, 4), "abcd");
    EXPECT_EQ(BytesLeft(buffer), 2);
    try {
        ReadBuffer(buffer, chunk, 3);
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), "Stream read error");
    }
}

TEST(Streams, WriteBufferRaisesOnAReadOnlyDevice)
{
    QByteArray data;
    QBuffer buffer(&data);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
    WriteBuffer(buffer, "xyz", 3);
    EXPECT_EQ(data, "xyz");
    buffer.close();
    ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
    try {
        WriteBuffer(buffer, "x", 1);
        FAIL();
    } catch (const EWriteError& e) {
        EXPECT_EQ(e.Message(), "Stream write error");
    }
}

TEST(Streams, FilesOpenOrNameTheFailure)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString name = dir.filePath(QStringLiteral("data.bin"));
    {
        auto file = OpenFileForWriting(name);
        WriteBuffer(*file, "12345", 5);
    }
    auto file = OpenFileForReading(name);
    EXPECT_EQ(BytesLeft(*file), 5);

    const QString missing = dir.filePath(QStringLiteral("missing.bin"));
    try {
        OpenFileForReading(missing);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Cannot open file \"%1\". No such file or directory").arg(missing));
    }
    const QString inMissingFolder = dir.filePath(QStringLiteral("no/such/folder.bin"));
    try {
        OpenFileForWriting(inMissingFolder);
        FAIL();
    } catch (const EFCreateError& e) {
        EXPECT_TRUE(e.Message().startsWith(QStringLiteral("Cannot create file \"%1\". ").arg(inMissingFolder)))
            << e.what();
    }
}

} // namespace
