#include "platform/binary_writer.h"

#include "platform/exceptions.h"
#include "platform/extended_float.h"
#include "platform/numbers.h"
#include "platform/streams.h"

#include <QBuffer>
#include <QIODevice>
#include <QtEndian>
#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

namespace velk {

namespace {
constexpr int MaxShortLength = 255;

// Counts one level of object nesting for the duration of a scope.
class TDepthGuard {
public:
    explicit TDepthGuard(int& depth) : FDepth(depth)
    {
        if (++FDepth > MaxStreamNesting) {
            --FDepth;
            throw EWriteError(messages::StreamNestingTooDeep, MaxStreamNesting);
        }
    }
    ~TDepthGuard() { --FDepth; }
    TDepthGuard(const TDepthGuard&) = delete;
    TDepthGuard& operator=(const TDepthGuard&) = delete;

private:
    int& FDepth;
};

std::int32_t CheckedLength(qsizetype length)
{
    if (length > std::numeric_limits<std::int32_t>::max())
        throw EWriteError(messages::WriteError);
    return static_cast<std::int32_t>(length);
}

void CheckFinite(double value)
{
    // The reader rejects non-finite numbers, so they are not written either.
    if (!std::isfinite(value))
        throw EWriteError(messages::InvalidPropertyValue);
}

bool IsPlainAscii(const QByteArray& bytes)
{
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}
} // namespace

TWriter::TWriter(QIODevice& Stream) : FStream(Stream)
{
    FBuffer.reserve(BufferSize);
}

TWriter::~TWriter()
{
    // A destructor cannot report the failure; callers that care flush first.
    try {
        FlushBuffer();
    } catch (const EWriteError&) {
    }
}

void TWriter::FlushBuffer()
{
    if (FBuffer.isEmpty())
        return;
    QByteArray pending;
    pending.swap(FBuffer); // emptied first, so that a failed flush is not retried
    WriteBuffer(FStream, pending.constData(), pending.size());
}

void TWriter::Write(const void* Buffer, qint64 Count)
{
    FBuffer.append(static_cast<const char*>(Buffer), static_cast<qsizetype>(Count));
    if (FBuffer.size() >= BufferSize)
        FlushBuffer();
}

template <typename T>
void TWriter::WriteLittleEndian(T Value)
{
    const T little = qToLittleEndian(Value);
    Write(&little, sizeof little);
}

void TWriter::WriteValue(TValueType Value)
{
    const auto byte = static_cast<std::uint8_t>(Value);
    Write(&byte, 1);
}

void TWriter::WriteInteger(std::int64_t Value)
{
    if (Value >= std::numeric_limits<std::int8_t>::min() && Value <= std::numeric_limits<std::int8_t>::max()) {
        WriteValue(vaInt8);
        WriteLittleEndian(static_cast<std::int8_t>(Value));
    } else if (Value >= std::numeric_limits<std::int16_t>::min() && Value <= std::numeric_limits<std::int16_t>::max()) {
        WriteValue(vaInt16);
        WriteLittleEndian(static_cast<std::int16_t>(Value));
    } else if (Value >= std::numeric_limits<std::int32_t>::min() && Value <= std::numeric_limits<std::int32_t>::max()) {
        WriteValue(vaInt32);
        WriteLittleEndian(static_cast<std::int32_t>(Value));
    } else {
        WriteValue(vaInt64);
        WriteLittleEndian(Value);
    }
}

void TWriter::WriteBoolean(bool Value)
{
    WriteValue(Value ? vaTrue : vaFalse);
}

void TWriter::WriteIdent(const QString& Ident)
{
    WriteValue(vaIdent);
    WriteName(Ident);
}

void TWriter::WriteSet(const QStringList& Members)
{
    WriteValue(vaSet);
    for (const QString& member : Members)
        WriteName(member);
    WriteName(QString());
}

void TWriter::WriteString(const QString& Value)
{
    const QByteArray utf8 = Value.toUtf8();
    // Ill-formed UTF-16 (a lone surrogate) does not survive UTF-8; keep its code units.
    if (utf8.size() < 2 * Value.size() && Value.isValidUtf16()) {
        if (!IsPlainAscii(utf8))
            WriteValue(vaUTF8String);
        else if (utf8.size() <= MaxShortLength) {
            WriteValue(vaString);
            WriteLittleEndian(static_cast<std::uint8_t>(utf8.size()));
            Write(utf8.constData(), utf8.size());
            return;
        } else
            WriteValue(vaLString);
        WriteLittleEndian(CheckedLength(utf8.size()));
        Write(utf8.constData(), utf8.size());
        return;
    }
    WriteValue(vaWString);
    WriteLittleEndian(CheckedLength(Value.size()));
    for (QChar c : Value)
        WriteLittleEndian(c.unicode());
}

void TWriter::WriteSingle(float Value)
{
    CheckFinite(Value);
    WriteValue(vaSingle);
    WriteLittleEndian(std::bit_cast<std::uint32_t>(Value));
}

void TWriter::WriteDouble(double Value)
{
    CheckFinite(Value);
    WriteValue(vaDouble);
    WriteLittleEndian(std::bit_cast<std::uint64_t>(Value));
}

void TWriter::WriteFloat(double Value)
{
    CheckFinite(Value);
    WriteValue(vaExtended);
    const TExtended80 bytes = DoubleToExtended(Value);
    Write(bytes.data(), static_cast<qint64>(bytes.size()));
}

void TWriter::WriteCurrency(std::int64_t TenThousandths)
{
    WriteValue(vaCurrency);
    WriteLittleEndian(TenThousandths);
}

void TWriter::WriteDate(double Value)
{
    CheckFinite(Value);
    WriteValue(vaDate);
    WriteLittleEndian(std::bit_cast<std::uint64_t>(Value));
}

void TWriter::WriteBinary(const QByteArray& Bytes)
{
    WriteValue(vaBinary);
    WriteLittleEndian(CheckedLength(Bytes.size()));
    Write(Bytes.constData(), Bytes.size());
}

void TWriter::WriteSignature()
{
    Write(FilerSignature, sizeof FilerSignature);
}

void TWriter::WriteStr(const QString& Value)
{
    QByteArray utf8 = Value.toUtf8();
    utf8.truncate(MaxShortLength);
    WriteLittleEndian(static_cast<std::uint8_t>(utf8.size()));
    Write(utf8.constData(), utf8.size());
}

void TWriter::WriteName(const QString& Name)
{
    const QByteArray utf8 = Name.toUtf8();
    if (utf8.size() > MaxShortLength)
        throw EWriteError(messages::NameTooLong, Name);
    WriteLittleEndian(static_cast<std::uint8_t>(utf8.size()));
    Write(utf8.constData(), utf8.size());
}

void TWriter::WriteRoot(const TPersistent& Root)
{
    WriteSignature();
    WriteStr(Root.ClassName());
    WriteStr(QString()); // the instance name
    WriteProperties(Root);
    WriteListEnd(); // end of properties
    WriteListEnd(); // end of children
    FlushBuffer();
}

void TWriter::WriteEmbedded(const TPersistent& Instance)
{
    WriteCollectionBegin();
    WriteListBegin();
    WriteProperties(Instance);
    WriteListEnd();
    WriteListEnd();
    FlushBuffer();
}

void TWriter::WriteProperties(const TPersistent& Instance)
{
    // Entries of an object streamed from within a defined property carry no prefix.
    WriteObjectProperties(Instance, QString());
}

void TWriter::WriteObjectProperties(const TPersistent& Instance, const QString& Prefix)
{
    const TDepthGuard guard(FDepth);
    for (const TPropertyInfo* property : Instance.ClassInfo().Properties())
        WriteProperty(Instance, *property, Prefix);
    FPropPath = Prefix;
    // DefineProperties is not const, yet writing only reads the defined properties.
    const_cast<TPersistent&>(Instance).DefineProperties(*this);
}

void TWriter::WriteProperty(const TPersistent& Instance, const TPropertyInfo& Property, const QString& Prefix)
{
    if (Property.Kind == tkMethod || Property.Kind == tkUnknown || !Property.IsStored(Instance))
        return;
    if (Property.Kind == tkClass) {
        if (const TPersistent* nested = std::get<TPersistent*>(Property.Get(Instance)))
            WriteObjectProperties(*nested, Prefix + Property.Name + u'.');
        return;
    }
    const TPropertyValue value = Property.Get(Instance);
    if (Property.Default && value == *Property.Default)
        return;
    WritePropName(Prefix + Property.Name);
    switch (Property.Kind) {
    case tkInteger:
    case tkInt64:
        WriteInteger(std::get<std::int64_t>(value));
        break;
    case tkBoolean:
        WriteBoolean(std::get<bool>(value));
        break;
    case tkEnumeration: {
        const std::int64_t ordinal = std::get<std::int64_t>(value);
        if (ordinal < 0 || ordinal >= static_cast<std::int64_t>(Property.ValueNames.size()))
            throw EWriteError(messages::InvalidPropertyValue);
        WriteIdent(NameText(Property.ValueNames[static_cast<std::size_t>(ordinal)]));
        break;
    }
    case tkSet: {
        const auto bits = static_cast<std::uint64_t>(std::get<std::int64_t>(value));
        const std::size_t names = std::min<std::size_t>(Property.ValueNames.size(), 64);
        if (names < 64 && (bits >> names) != 0)
            throw EWriteError(messages::InvalidPropertyValue);
        QStringList members;
        for (std::size_t i = 0; i < names; ++i)
            if (bits & (std::uint64_t{1} << i))
                members += NameText(Property.ValueNames[i]);
        WriteSet(members);
        break;
    }
    case tkFloat: {
        const double number = std::get<double>(value);
        switch (Property.FloatType) {
        case ftSingle:
            if (std::fabs(number) > std::numeric_limits<float>::max())
                throw EWriteError(messages::InvalidPropertyValue);
            WriteSingle(static_cast<float>(number));
            break;
        case ftDouble:
            WriteDouble(number);
            break;
        case ftCurr: {
            // Currency is a 64-bit count of ten-thousandths, rounded half to even.
            const std::optional<std::int64_t> scaled = TryFloatToInt<std::int64_t>(std::nearbyint(number * 10000.0));
            if (!scaled)
                throw EWriteError(messages::InvalidPropertyValue);
            WriteCurrency(*scaled);
            break;
        }
        case ftExtended:
        case ftComp:
            WriteFloat(number);
            break;
        }
        break;
    }
    case tkString:
        WriteString(std::get<QString>(value));
        break;
    default:
        break;
    }
}

void TWriter::DefineProperty(const QString& Name, const std::function<void(TReader&)>&,
                             const std::function<void(TWriter&)>& WriteData, bool HasData)
{
    if (!HasData)
        return;
    WritePropName(FPropPath + Name);
    const QString path = FPropPath;
    WriteData(*this); // may stream other objects, which moves the prefix
    FPropPath = path;
}

void TWriter::DefineBinaryProperty(const QString& Name, const std::function<void(QIODevice&)>&,
                                   const std::function<void(QIODevice&)>& WriteData, bool HasData)
{
    if (!HasData)
        return;
    QBuffer data;
    data.open(QIODevice::WriteOnly);
    WriteData(data);
    WritePropName(FPropPath + Name);
    WriteBinary(data.data());
}

} // namespace velk
