#include "platform/binary_reader.h"

#include "platform/exceptions.h"
#include "platform/extended_float.h"
#include "platform/streams.h"

#include <QBuffer>
#include <QIODevice>
#include <QtEndian>
#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <span>

namespace velk {

namespace {
// A sequential device does not tell how much is left, so data of a declared length
// grows by this much at a time: a lying length fails at the end of the data.
constexpr qint64 SequentialChunk = 64 * 1024;

[[noreturn]] void InvalidValue()
{
    throw EReadError(messages::InvalidPropertyValue);
}

TValueType CheckedValueType(char byte)
{
    const auto value = static_cast<std::uint8_t>(byte);
    if (value > vaDouble)
        throw EReadError(messages::InvalidImage);
    return static_cast<TValueType>(value);
}

// The ordinal of Name among the value names of an enumeration or set.
std::size_t OrdinalOf(std::span<const std::u16string_view> names, QStringView name)
{
    if (const std::optional<std::size_t> ordinal = FindName(names, name))
        return *ordinal;
    InvalidValue();
}
} // namespace

TReader::TNestingGuard::TNestingGuard(TReader& Reader, int Levels) : FReader(Reader), FLevels(Levels)
{
    if (FReader.FNesting > MaxStreamNesting - FLevels)
        throw EReadError(messages::StreamNestingTooDeep, MaxStreamNesting);
    FReader.FNesting += FLevels;
}

TReader::TNestingGuard::~TNestingGuard()
{
    FReader.FNesting -= FLevels;
}

TReader::TReader(QIODevice& Stream) : FStream(Stream) {}

void TReader::Read(void* Buffer, qint64 Count)
{
    ReadBuffer(FStream, Buffer, Count);
}

template <typename T>
T TReader::ReadLittleEndian()
{
    T value;
    Read(&value, sizeof value);
    return qFromLittleEndian(value);
}

std::int32_t TReader::ReadLength()
{
    const auto length = ReadLittleEndian<std::int32_t>();
    if (length < 0)
        throw EReadError(messages::InvalidImage);
    return length;
}

QByteArray TReader::ReadBytes(qint64 Count)
{
    if (!FStream.isSequential()) {
        if (Count > BytesLeft(FStream))
            throw EReadError(messages::ReadError);
        QByteArray bytes(static_cast<qsizetype>(Count), Qt::Uninitialized);
        Read(bytes.data(), Count);
        return bytes;
    }
    QByteArray bytes;
    while (bytes.size() < Count) {
        const qsizetype done = bytes.size();
        const qint64 chunk = std::min(Count - done, SequentialChunk);
        bytes.resize(done + static_cast<qsizetype>(chunk));
        Read(bytes.data() + done, chunk);
    }
    return bytes;
}

void TReader::SkipBytes(qint64 Count)
{
    if (!FStream.isSequential() && Count > BytesLeft(FStream))
        throw EReadError(messages::ReadError);
    if (FStream.skip(Count) != Count)
        throw EReadError(messages::ReadError);
}

TValueType TReader::ReadValue()
{
    char byte;
    Read(&byte, 1);
    return CheckedValueType(byte);
}

char TReader::PeekByte()
{
    char byte;
    if (FStream.peek(&byte, 1) != 1)
        throw EReadError(messages::ReadError);
    return byte;
}

TValueType TReader::NextValue()
{
    return CheckedValueType(PeekByte());
}

bool TReader::EndOfList()
{
    return PeekByte() == vaNull;
}

void TReader::CheckValue(TValueType Expected)
{
    if (ReadValue() != Expected)
        InvalidValue();
}

std::int64_t TReader::ReadInt64()
{
    switch (ReadValue()) {
    case vaInt8:
        return ReadLittleEndian<std::int8_t>();
    case vaInt16:
        return ReadLittleEndian<std::int16_t>();
    case vaInt32:
        return ReadLittleEndian<std::int32_t>();
    case vaInt64:
        return ReadLittleEndian<std::int64_t>();
    default:
        InvalidValue();
    }
}

std::int32_t TReader::ReadInteger()
{
    const std::int64_t value = ReadInt64();
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        InvalidValue();
    return static_cast<std::int32_t>(value);
}

bool TReader::ReadBoolean()
{
    switch (ReadValue()) {
    case vaFalse:
        return false;
    case vaTrue:
        return true;
    default:
        InvalidValue();
    }
}

QString TReader::ReadIdent()
{
    CheckValue(vaIdent);
    return ReadStr();
}

QStringList TReader::ReadSet()
{
    CheckValue(vaSet);
    // Each name takes at least two bytes of the stream, so the list stays bounded.
    QStringList members;
    for (QString name = ReadStr(); !name.isEmpty(); name = ReadStr())
        members += name;
    return members;
}

QString TReader::ReadString()
{
    switch (ReadValue()) {
    case vaString:
        return QString::fromLatin1(ReadBytes(ReadLittleEndian<std::uint8_t>()));
    case vaLString:
        return QString::fromLatin1(ReadBytes(ReadLength()));
    case vaUTF8String:
        return QString::fromUtf8(ReadBytes(ReadLength()));
    case vaWString: {
        const QByteArray units = ReadBytes(2 * static_cast<qint64>(ReadLength()));
        QString result(units.size() / 2, Qt::Uninitialized);
        for (qsizetype i = 0; i < result.size(); ++i)
            result[i] = QChar(qFromLittleEndian<char16_t>(units.constData() + 2 * i));
        return result;
    }
    default:
        InvalidValue();
    }
}

double TReader::ReadDouble()
{
    double value = 0;
    switch (NextValue()) {
    case vaInt8:
    case vaInt16:
    case vaInt32:
    case vaInt64:
        return static_cast<double>(ReadInt64());
    case vaCurrency:
        return static_cast<double>(ReadCurrency()) / 10000.0;
    default:
        break;
    }
    switch (ReadValue()) {
    case vaExtended: {
        TExtended80 bytes;
        Read(bytes.data(), static_cast<qint64>(bytes.size()));
        value = ExtendedToDouble(bytes);
        break;
    }
    case vaSingle:
        value = std::bit_cast<float>(ReadLittleEndian<std::uint32_t>());
        break;
    case vaDouble:
    case vaDate:
        value = std::bit_cast<double>(ReadLittleEndian<std::uint64_t>());
        break;
    default:
        InvalidValue();
    }
    if (!std::isfinite(value))
        InvalidValue();
    return value;
}

float TReader::ReadSingle()
{
    const double value = ReadDouble();
    if (std::fabs(value) > std::numeric_limits<float>::max())
        InvalidValue();
    return static_cast<float>(value);
}

std::int64_t TReader::ReadCurrency()
{
    CheckValue(vaCurrency);
    return ReadLittleEndian<std::int64_t>();
}

QByteArray TReader::ReadBinary()
{
    CheckValue(vaBinary);
    return ReadBytes(ReadLength());
}

void TReader::ReadListBegin()
{
    CheckValue(vaList);
}

void TReader::ReadListEnd()
{
    CheckValue(vaNull);
}

void TReader::ReadCollectionBegin()
{
    CheckValue(vaCollection);
}

void TReader::SkipSetNames()
{
    while (const auto length = ReadLittleEndian<std::uint8_t>())
        SkipBytes(length);
}

void TReader::SkipValue()
{
    switch (ReadValue()) {
    case vaNull:
    case vaFalse:
    case vaTrue:
    case vaNil:
        break;
    case vaList: {
        const TNestingGuard guard(*this);
        while (!EndOfList())
            SkipValue();
        ReadListEnd();
        break;
    }
    case vaCollection: {
        // Items are property entries framed by vaList ... vaNull.
        const TNestingGuard guard(*this);
        while (!EndOfList()) {
            ReadListBegin();
            while (!EndOfList()) {
                SkipBytes(ReadLittleEndian<std::uint8_t>()); // the property name
                SkipValue();
            }
            ReadListEnd();
        }
        ReadListEnd();
        break;
    }
    case vaInt8:
        SkipBytes(1);
        break;
    case vaInt16:
        SkipBytes(2);
        break;
    case vaInt32:
    case vaSingle:
        SkipBytes(4);
        break;
    case vaInt64:
    case vaCurrency:
    case vaDate:
    case vaDouble:
        SkipBytes(8);
        break;
    case vaExtended:
        SkipBytes(10);
        break;
    case vaString:
    case vaIdent:
        SkipBytes(ReadLittleEndian<std::uint8_t>());
        break;
    case vaBinary:
    case vaLString:
    case vaUTF8String:
        SkipBytes(ReadLength());
        break;
    case vaWString:
        SkipBytes(2 * static_cast<qint64>(ReadLength()));
        break;
    case vaSet:
        SkipSetNames();
        break;
    }
}

void TReader::ReadSignature()
{
    char signature[sizeof FilerSignature];
    Read(signature, sizeof signature);
    if (!std::equal(std::begin(signature), std::end(signature), std::begin(FilerSignature)))
        throw EReadError(messages::InvalidImage);
}

QString TReader::ReadStr()
{
    return QString::fromUtf8(ReadBytes(ReadLittleEndian<std::uint8_t>()));
}

void TReader::ReadRoot(TPersistent& Root)
{
    ReadSignature();
    const QString className = ReadStr();
    if (className != Root.ClassName())
        throw EReadError(messages::ClassNameMismatch, className, Root.ClassName());
    ReadStr(); // the instance name
    ReadProperties(Root);
    ReadListEnd(); // end of properties
    ReadListEnd(); // end of children
}

void TReader::ReadEmbedded(TPersistent& Instance)
{
    ReadCollectionBegin();
    ReadListBegin();
    ReadProperties(Instance);
    ReadListEnd();
    ReadListEnd();
}

void TReader::ReadProperties(TPersistent& Instance)
{
    while (!EndOfList())
        ReadProperty(Instance);
}

void TReader::ReadProperty(TPersistent& Instance)
{
    const QString name = ReadPropName();
    // Each nested object the name goes through is one level deeper.
    const TNestingGuard guard(*this, static_cast<int>(name.count(u'.')));

    TPersistent* target = &Instance;
    QStringView last = name;
    for (qsizetype dot; (dot = last.indexOf(u'.')) >= 0; last = last.sliced(dot + 1)) {
        const TPropertyInfo* owner = target->ClassInfo().FindProperty(last.first(dot));
        if (!owner || owner->Kind != tkClass)
            throw EReadError(messages::UnknownProperty, name);
        target = std::get<TPersistent*>(owner->Get(*target));
        if (!target)
            InvalidValue();
    }

    if (const TPropertyInfo* property = target->ClassInfo().FindProperty(last)) {
        ReadPropertyValue(*target, *property);
        return;
    }
    FPropName = last.toString();
    FPropFound = false;
    target->DefineProperties(*this);
    if (!FPropFound)
        throw EReadError(messages::UnknownProperty, name);
}

void TReader::ReadPropertyValue(TPersistent& Instance, const TPropertyInfo& Property)
{
    if (!Property.Set)
        InvalidValue(); // events, nested objects and read-only properties take no entries
    TPropertyValue value;
    switch (Property.Kind) {
    case tkInteger:
        value = std::int64_t{ReadInteger()};
        break;
    case tkInt64:
        value = ReadInt64();
        break;
    case tkBoolean:
        value = ReadBoolean();
        break;
    case tkEnumeration:
        value = static_cast<std::int64_t>(OrdinalOf(Property.ValueNames, ReadIdent()));
        break;
    case tkSet: {
        std::uint64_t bits = 0;
        for (const QString& member : ReadSet()) {
            const std::size_t ordinal = OrdinalOf(Property.ValueNames, member);
            if (ordinal >= 64)
                InvalidValue();
            bits |= std::uint64_t{1} << ordinal;
        }
        value = static_cast<std::int64_t>(bits);
        break;
    }
    case tkFloat:
        value = Property.FloatType == ftSingle ? double{ReadSingle()} : ReadDouble();
        break;
    case tkString:
        value = ReadString();
        break;
    default:
        InvalidValue();
    }
    Property.Set(Instance, value);
}

void TReader::DefineProperty(const QString& Name, const std::function<void(TReader&)>& ReadData,
                             const std::function<void(TWriter&)>&, bool)
{
    if (FPropFound || Name != FPropName)
        return;
    {
        const TNestingGuard guard(*this);
        ReadData(*this);
    }
    // Set after reading: objects read by ReadData reuse these fields.
    FPropFound = true;
}

void TReader::DefineBinaryProperty(const QString& Name, const std::function<void(QIODevice&)>& ReadData,
                                   const std::function<void(QIODevice&)>&, bool)
{
    if (FPropFound || Name != FPropName)
        return;
    QByteArray bytes = ReadBinary();
    QBuffer data(&bytes);
    data.open(QIODevice::ReadOnly);
    ReadData(data);
    FPropFound = true;
}

} // namespace velk
