#pragma once
// TReader: reads values, property entries and whole objects in the binary form-file
// format (see docs/binary-stream.md) from a QIODevice.
//
//   TReader reader(file);
//   reader.ReadRoot(document);   // checks "TPF0" and the class name, reads the properties
//
// The reader treats the stream as hostile: every length is checked against the bytes
// left before anything is allocated, nesting is bounded (MaxStreamNesting), and every
// malformed, truncated or unexpected input raises EReadError:
//   "Stream read error"             truncated data, or a length beyond the end
//   "Invalid stream format"         wrong signature, unknown value byte, negative length
//   "Invalid property value"        a value of a kind the property or call does not take
//   "Property %s does not exist"    an entry no (nested) published or defined property takes
//   "Stream nesting deeper than %d levels"
// The device is read directly (QIODevice buffers), so its position always follows
// the last value read.

#include "platform/persistent.h"
#include "platform/value_type.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>

class QIODevice;

namespace velk {

class TReader : public TFiler {
public:
    explicit TReader(QIODevice& Stream);
    TReader(const TReader&) = delete;
    TReader& operator=(const TReader&) = delete;

    // Counts nesting levels for the duration of a scope and raises EReadError once the
    // total passes MaxStreamNesting. Anything that recurses on stream content (lists of
    // lists, element trees) holds one per level.
    class TNestingGuard {
    public:
        explicit TNestingGuard(TReader& Reader, int Levels = 1);
        ~TNestingGuard();
        TNestingGuard(const TNestingGuard&) = delete;
        TNestingGuard& operator=(const TNestingGuard&) = delete;

    private:
        TReader& FReader;
        int FLevels;
    };

    // Objects.
    // The stand-alone form: "TPF0" (else "Invalid stream format"), the class name, which
    // must equal Root's ("Stream read error: %s does not match expected %s class name"),
    // the instance name (ignored), the property entries, vaNull, vaNull.
    void ReadRoot(TPersistent& Root);
    // The embedded form: vaCollection, vaList, the property entries, vaNull, vaNull.
    void ReadEmbedded(TPersistent& Instance);
    // Property entries up to the next vaNull, which is left for ReadListEnd. A dotted
    // name goes through Instance's nested objects; the last part names a published or
    // a defined property of the object reached.
    void ReadProperties(TPersistent& Instance);

    // Values. Each reader takes the value kinds listed and raises "Invalid property
    // value" for any other.
    TValueType ReadValue();
    // The kind of the next value, without consuming it.
    TValueType NextValue();
    // True when the next byte is vaNull. Also used before property entries, whose
    // first byte is a name length rather than a value kind.
    bool EndOfList();
    // Any integer kind whose value fits 32 bits.
    std::int32_t ReadInteger();
    // Any integer kind.
    std::int64_t ReadInt64();
    bool ReadBoolean();
    QString ReadIdent();
    QStringList ReadSet();
    // vaString and vaLString (Latin-1), vaUTF8String, vaWString.
    QString ReadString();
    // Every float kind (vaExtended, vaSingle, vaDouble, vaDate, vaCurrency) and every
    // integer kind; non-finite values are rejected. ReadSingle also rejects values
    // beyond the float range.
    float ReadSingle();
    double ReadDouble();
    double ReadFloat() { return ReadDouble(); }
    double ReadDate() { return ReadDouble(); }
    // vaCurrency: the amount in ten-thousandths.
    std::int64_t ReadCurrency();
    QByteArray ReadBinary();
    void ReadListBegin();
    void ReadListEnd();
    void ReadCollectionBegin();
    // Skips one value of any kind, lists and collections included.
    void SkipValue();

    // Framing pieces.
    QString ReadPropName() { return ReadStr(); }
    void ReadSignature();
    // A length byte and that many UTF-8 bytes.
    QString ReadStr();
    void Read(void* Buffer, qint64 Count);

    // TFiler: the defined property named like the entry being read reads its value.
    void DefineProperty(const QString& Name, const std::function<void(TReader&)>& ReadData,
                        const std::function<void(TWriter&)>& WriteData, bool HasData) override;
    void DefineBinaryProperty(const QString& Name, const std::function<void(QIODevice&)>& ReadData,
                              const std::function<void(QIODevice&)>& WriteData, bool HasData) override;

private:
    void ReadProperty(TPersistent& Instance);
    void ReadPropertyValue(TPersistent& Instance, const TPropertyInfo& Property);
    void CheckValue(TValueType Expected);
    std::int32_t ReadLength();
    QByteArray ReadBytes(qint64 Count);
    void SkipBytes(qint64 Count);
    void SkipSetNames();
    char PeekByte();
    template <typename T>
    T ReadLittleEndian();

    QIODevice& FStream;
    int FNesting = 0;
    // The last part of the entry name being read, and whether a defined property took it.
    QString FPropName;
    bool FPropFound = false;
};

} // namespace velk
