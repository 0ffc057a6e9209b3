// Feeds arbitrary bytes to the binary form-file reader, reading into an object with
// every kind of published property, a nested object and a string list: hostile
// streams must fail with a read error, never crash or allocate from a lying length.

#include "platform/binary_reader.h"
#include "platform/exceptions.h"
#include "platform/string_list.h"

#include <QBuffer>
#include <cstddef>
#include <cstdint>

using namespace velk;

namespace {

enum TFuzzKind { fkNone, fkOne, fkTwo };

} // namespace

template <>
struct velk::EnumNames<TFuzzKind> {
    static constexpr std::array<std::u16string_view, 3> Names{u"fkNone", u"fkOne", u"fkTwo"};
};

namespace {

class TFuzzInner : public TPersistent {
public:
    static const TClassInfo& StaticClass()
    {
        static const TClassInfo info(u"TFuzzInner"_qs, &TPersistent::StaticClass(), &CreateInstance<TFuzzInner>,
                                     TPublished<TFuzzInner>()
                                         .Double(u"Value"_qs, &TFuzzInner::Value, &TFuzzInner::SetValue)
                                         .Object(u"Lines"_qs, &TFuzzInner::Lines)
                                         .Take());
        return info;
    }
    const TClassInfo& ClassInfo() const override { return StaticClass(); }
    double Value() const { return FValue; }
    void SetValue(double v) { FValue = v; }
    TStringList* Lines() const { return FLines.get(); }

private:
    double FValue = 0;
    std::unique_ptr<TStringList> FLines = std::make_unique<TStringList>();
};

class TFuzzRoot : public TPersistent {
public:
    static const TClassInfo& StaticClass()
    {
        static const TClassInfo info(
            u"TFuzzRoot"_qs, &TPersistent::StaticClass(), &CreateInstance<TFuzzRoot>,
            TPublished<TFuzzRoot>()
                .Boolean(u"Flag"_qs, &TFuzzRoot::Flag, &TFuzzRoot::SetFlag, false)
                .Integer(u"Count"_qs, &TFuzzRoot::Count, &TFuzzRoot::SetCount, 0)
                .Int64(u"Big"_qs, &TFuzzRoot::Big, &TFuzzRoot::SetBig, 0)
                .Enumeration(u"Kind"_qs, &TFuzzRoot::Kind, &TFuzzRoot::SetKind, fkNone)
                .Set(u"Kinds"_qs, &TFuzzRoot::Kinds, &TFuzzRoot::SetKinds, TSet<TFuzzKind>{})
                .Single(u"Ratio"_qs, &TFuzzRoot::Ratio, &TFuzzRoot::SetRatio)
                .String(u"Name"_qs, &TFuzzRoot::Name, &TFuzzRoot::SetName)
                .Object(u"Inner"_qs, &TFuzzRoot::Inner)
                .Take());
        return info;
    }
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    bool Flag() const { return FFlag; }
    void SetFlag(bool v) { FFlag = v; }
    int Count() const { return FCount; }
    void SetCount(int v) { FCount = v; }
    std::int64_t Big() const { return FBig; }
    void SetBig(std::int64_t v) { FBig = v; }
    TFuzzKind Kind() const { return FKind; }
    void SetKind(TFuzzKind v) { FKind = v; }
    TSet<TFuzzKind> Kinds() const { return FKinds; }
    void SetKinds(TSet<TFuzzKind> v) { FKinds = v; }
    float Ratio() const { return FRatio; }
    void SetRatio(float v) { FRatio = v; }
    QString Name() const { return FName; }
    void SetName(const QString& v) { FName = v; }
    TFuzzInner* Inner() const { return FInner.get(); }

private:
    bool FFlag = false;
    int FCount = 0;
    std::int64_t FBig = 0;
    TFuzzKind FKind = fkNone;
    TSet<TFuzzKind> FKinds;
    float FRatio = 0;
    QString FName;
    std::unique_ptr<TFuzzInner> FInner = std::make_unique<TFuzzInner>();
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const bool embedded : {false, true}) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        TFuzzRoot root;
        try {
            TReader reader(buffer);
            if (embedded)
                reader.ReadEmbedded(root);
            else
                reader.ReadRoot(root);
        } catch (const Exception&) {
        }
    }
    return 0;
}
