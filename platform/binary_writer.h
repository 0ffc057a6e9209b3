#pragma once
// TWriter: writes values, property entries and whole objects in the binary form-file
// format (see docs/binary-stream.md) to a QIODevice through a 4096-byte buffer.
//
//   TWriter writer(file);
//   writer.WriteRoot(document);   // "TPF0", class name, properties, vaNull, vaNull
//
// The buffer is flushed by FlushBuffer, at the end of WriteRoot and WriteEmbedded, and
// on destruction (where a device error can no longer be reported). A device that
// refuses bytes raises EWriteError "Stream write error".

#include "platform/persistent.h"
#include "platform/value_type.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>

class QIODevice;

namespace velk {

class TWriter : public TFiler {
public:
    static constexpr int BufferSize = 4096;

    explicit TWriter(QIODevice& Stream);
    ~TWriter() override;
    TWriter(const TWriter&) = delete;
    TWriter& operator=(const TWriter&) = delete;

    // Objects.
    // The stand-alone form: "TPF0", the class name (cut to 255 UTF-8 bytes), an empty
    // instance name, Root's property entries, vaNull, vaNull.
    void WriteRoot(const TPersistent& Root);
    // The embedded form: vaCollection, vaList, Instance's property entries, vaNull, vaNull.
    void WriteEmbedded(const TPersistent& Instance);
    // Instance's property entries, without the closing vaNull: its published properties
    // (ancestors first; stored ones that differ from their default; nested objects as
    // "Name.Sub" entries; events never), then its defined properties.
    void WriteProperties(const TPersistent& Instance);

    // Values (each a kind byte and its payload).
    void WriteValue(TValueType Value);
    // vaInt8, vaInt16, vaInt32 or vaInt64, the smallest that holds Value.
    void WriteInteger(std::int64_t Value);
    void WriteBoolean(bool Value);
    void WriteIdent(const QString& Ident);
    void WriteSet(const QStringList& Members);
    // vaString/vaLString (plain ASCII), vaUTF8String (UTF-8 shorter than twice the
    // UTF-16 length) or vaWString (everything else, including the empty string).
    void WriteString(const QString& Value);
    void WriteSingle(float Value);
    void WriteDouble(double Value);
    // vaExtended: the 10-byte extended form of Value.
    void WriteFloat(double Value);
    // vaCurrency: the amount in ten-thousandths.
    void WriteCurrency(std::int64_t TenThousandths);
    void WriteDate(double Value);
    void WriteBinary(const QByteArray& Bytes);
    // A list is WriteListBegin, values, WriteListEnd. A collection is
    // WriteCollectionBegin, items each framed by WriteListBegin/WriteListEnd, WriteListEnd.
    void WriteListBegin() { WriteValue(vaList); }
    void WriteListEnd() { WriteValue(vaNull); }
    void WriteCollectionBegin() { WriteValue(vaCollection); }

    // Framing pieces.
    // A length byte and the UTF-8 name. A name longer than 255 bytes raises
    // EWriteError: cut, it would read back as another name.
    void WritePropName(const QString& Name) { WriteName(Name); }
    void WriteSignature();
    // A length byte and the UTF-8 form of Value cut to 255 bytes (class names).
    void WriteStr(const QString& Value);
    void Write(const void* Buffer, qint64 Count);

    void FlushBuffer();

    // TFiler: a defined property is written under the current name prefix when HasData.
    void DefineProperty(const QString& Name, const std::function<void(TReader&)>& ReadData,
                        const std::function<void(TWriter&)>& WriteData, bool HasData) override;
    void DefineBinaryProperty(const QString& Name, const std::function<void(QIODevice&)>& ReadData,
                              const std::function<void(QIODevice&)>& WriteData, bool HasData) override;

private:
    void WriteName(const QString& Name);
    void WriteObjectProperties(const TPersistent& Instance, const QString& Prefix);
    void WriteProperty(const TPersistent& Instance, const TPropertyInfo& Property, const QString& Prefix);
    template <typename T>
    void WriteLittleEndian(T Value);

    QIODevice& FStream;
    QByteArray FBuffer;
    // "Owner." prefix of the entries written by the object walk in progress; defined
    // properties of nested objects get it too ("Description.Strings").
    QString FPropPath;
    int FDepth = 0;
};

} // namespace velk
