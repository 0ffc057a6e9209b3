#include "platform/binary_reader.h"
#include "platform/binary_writer.h"
#include "platform/exceptions.h"
#include "platform/extended_float.h"
#include "platform/string_list.h"
#include "tests/support/test_support.h"

#include <QBuffer>
#include <bit>
#include <cmath>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <numbers>
#include <vector>

using namespace velk;

namespace {
enum TTestShape { tsCircle, tsSquare, tsTriangle };
enum TTestFlag { tfBold, tfItalic, tfUnderline };
} // namespace

template <>
struct velk::EnumNames<TTestShape> {
    static constexpr std::array<std::u16string_view, 3> Names{u"tsCircle", u"tsSquare", u"tsTriangle"};
};
template <>
struct velk::EnumNames<TTestFlag> {
    static constexpr std::array<std::u16string_view, 3> Names{u"tfBold", u"tfItalic", u"tfUnderline"};
};

namespace {

using TTestFlags = TSet<TTestFlag>;

// A nested object with published properties and a defined one ("Pen.Dash").
class TTestPen : public TPersistent {
public:
    static const TClassInfo& StaticClass()
    {
        static const TClassInfo info(u"TTestPen"_qs, &TPersistent::StaticClass(), &CreateInstance<TTestPen>,
                                     TPublished<TTestPen>()
                                         .Integer(u"Color"_qs, &TTestPen::Color, &TTestPen::SetColor, 0)
                                         .Single(u"Width"_qs, &TTestPen::Width, &TTestPen::SetWidth, 1)
                                         .Enumeration(u"Style"_qs, &TTestPen::Style, &TTestPen::SetStyle, tsCircle)
                                         .Take());
        return info;
    }
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    int Color() const { return FColor; }
    void SetColor(int v) { FColor = v; }
    float Width() const { return FWidth; }
    void SetWidth(float v) { FWidth = v; }
    TTestShape Style() const { return FStyle; }
    void SetStyle(TTestShape v) { FStyle = v; }
    QString Dash;

    void DefineProperties(TFiler& Filer) override
    {
        Filer.DefineProperty(
            u"Dash"_qs, [this](TReader& r) { Dash = r.ReadString(); }, [this](TWriter& w) { w.WriteString(Dash); },
            !Dash.isEmpty());
    }

private:
    int FColor = 0;
    float FWidth = 1;
    TTestShape FStyle = tsCircle;
};

// A tree node whose children are a defined collection property, the way element
// trees are streamed: each child is an item with its own property entries.
class TTestItem : public TPersistent {
public:
    static const TClassInfo& StaticClass()
    {
        static const TClassInfo info(u"TTestItem"_qs, &TPersistent::StaticClass(), &CreateInstance<TTestItem>,
                                     TPublished<TTestItem>()
                                         .String(u"Name"_qs, &TTestItem::Name, &TTestItem::SetName)
                                         .Integer(u"Value"_qs, &TTestItem::Value, &TTestItem::SetValue, 0)
                                         .Take());
        return info;
    }
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    const QString& Name() const { return FName; }
    void SetName(const QString& v) { FName = v; }
    int Value() const { return FValue; }
    void SetValue(int v) { FValue = v; }
    std::vector<std::unique_ptr<TTestItem>> Items;

    TTestItem& Add(const QString& name, int value)
    {
        Items.push_back(std::make_unique<TTestItem>());
        Items.back()->SetName(name);
        Items.back()->SetValue(value);
        return *Items.back();
    }

    void DefineProperties(TFiler& Filer) override
    {
        Filer.DefineProperty(u"Items"_qs, [this](TReader& r) { ReadItems(r); }, [this](TWriter& w) { WriteItems(w); },
                             !Items.empty());
    }

private:
    void ReadItems(TReader& r)
    {
        Items.clear();
        r.ReadCollectionBegin();
        while (!r.EndOfList()) {
            r.ReadListBegin();
            auto child = std::make_unique<TTestItem>();
            r.ReadProperties(*child);
            r.ReadListEnd();
            Items.push_back(std::move(child));
        }
        r.ReadListEnd();
    }
    void WriteItems(TWriter& w) const
    {
        w.WriteCollectionBegin();
        for (const auto& child : Items) {
            w.WriteListBegin();
            w.WriteProperties(*child);
            w.WriteListEnd();
        }
        w.WriteListEnd();
    }

    QString FName;
    int FValue = 0;
};

class TTestRoot : public TTestItem {
public:
    static const TClassInfo& StaticClass()
    {
        static const TClassInfo info(
            u"TTestRoot"_qs, &TTestItem::StaticClass(), &CreateInstance<TTestRoot>,
            TPublished<TTestRoot>()
                .Boolean(u"Enabled"_qs, &TTestRoot::Enabled, &TTestRoot::SetEnabled, true)
                .Integer(u"Count"_qs, &TTestRoot::Count, &TTestRoot::SetCount, 0)
                .Int64(u"Big"_qs, &TTestRoot::Big, &TTestRoot::SetBig, 0)
                .Enumeration(u"Shape"_qs, &TTestRoot::Shape, &TTestRoot::SetShape, tsCircle)
                .Set(u"Flags"_qs, &TTestRoot::Flags, &TTestRoot::SetFlags, TTestFlags{tfBold})
                .Single(u"Ratio"_qs, &TTestRoot::Ratio, &TTestRoot::SetRatio, 1)
                .Double(u"Scale"_qs, &TTestRoot::Scale, &TTestRoot::SetScale)
                // Longer than 21 bytes: the length byte of its entry is no value kind.
                .Float(u"ExtendedPrecisionValue"_qs, ftExtended, &TTestRoot::Precise, &TTestRoot::SetPrecise)
                .Float(u"Money"_qs, ftCurr, &TTestRoot::Money, &TTestRoot::SetMoney)
                .String(u"Title"_qs, &TTestRoot::Title, &TTestRoot::SetTitle)
                .Integer(u"Hidden"_qs, &TTestRoot::Hidden, &TTestRoot::SetHidden, 0)
                .NeverStored()
                .Integer(u"Limit"_qs, &TTestRoot::Limit, &TTestRoot::SetLimit)
                .StoredWhen([](const TTestRoot& r) { return r.Count() > 0; })
                .Event(u"OnChange"_qs)
                .Object(u"Pen"_qs, &TTestRoot::Pen)
                .Object(u"Notes"_qs, &TTestRoot::Notes)
                .Take());
        return info;
    }
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v) { FEnabled = v; }
    int Count() const { return FCount; }
    void SetCount(int v) { FCount = v; }
    std::int64_t Big() const { return FBig; }
    void SetBig(std::int64_t v) { FBig = v; }
    TTestShape Shape() const { return FShape; }
    void SetShape(TTestShape v) { FShape = v; }
    TTestFlags Flags() const { return FFlags; }
    void SetFlags(TTestFlags v) { FFlags = v; }
    float Ratio() const { return FRatio; }
    void SetRatio(float v) { FRatio = v; }
    double Scale() const { return FScale; }
    void SetScale(double v) { FScale = v; }
    double Precise() const { return FPrecise; }
    void SetPrecise(double v) { FPrecise = v; }
    double Money() const { return FMoney; }
    void SetMoney(double v) { FMoney = v; }
    const QString& Title() const { return FTitle; }
    void SetTitle(const QString& v) { FTitle = v; }
    int Hidden() const { return FHidden; }
    void SetHidden(int v) { FHidden = v; }
    int Limit() const { return FLimit; }
    void SetLimit(int v) { FLimit = v; }
    TTestPen* Pen() const { return FPen.get(); }
    TStringList* Notes() const { return FNotes.get(); }
    TNotifyEvent OnChange;
    QByteArray Blob;

    void DefineProperties(TFiler& Filer) override
    {
        Filer.DefineBinaryProperty(
            u"Blob"_qs, [this](QIODevice& d) { Blob = d.readAll(); }, [this](QIODevice& d) { d.write(Blob); },
            !Blob.isEmpty());
        TTestItem::DefineProperties(Filer);
    }

    // Every streamed field, for comparing instances.
    QString Dump() const
    {
        QStringList items;
        for (const auto& item : Items)
            items += QStringLiteral("%1=%2(%3)").arg(item->Name()).arg(item->Value()).arg(item->Items.size());
        return QStringList{Name(), QString::number(Value()), QString::number(FEnabled), QString::number(FCount),
                           QString::number(FBig), EnumName(FShape), FFlags.Names().join(u'+'),
                           QString::number(FRatio, 'g', 9), QString::number(FScale, 'g', 17),
                           QString::number(FPrecise, 'g', 17), QString::number(FMoney, 'g', 17), FTitle,
                           QString::number(FHidden), QString::number(FLimit), QString::number(FPen->Color()),
                           QString::number(FPen->Width()), EnumName(FPen->Style()), FPen->Dash,
                           FNotes->Text(), QString::fromLatin1(Blob.toHex()), items.join(u',')}
            .join(u'|');
    }

private:
    bool FEnabled = true;
    int FCount = 0;
    std::int64_t FBig = 0;
    TTestShape FShape = tsCircle;
    TTestFlags FFlags{tfBold};
    float FRatio = 1;
    double FScale = 0;
    double FPrecise = 0;
    double FMoney = 0;
    QString FTitle;
    int FHidden = 0;
    int FLimit = 0;
    std::unique_ptr<TTestPen> FPen = std::make_unique<TTestPen>();
    std::unique_ptr<TStringList> FNotes = std::make_unique<TStringList>();
};

void Populate(TTestRoot& r)
{
    r.SetName(u"root"_qs);
    r.SetValue(-7);
    r.SetEnabled(false);
    r.SetCount(70000);
    r.SetBig(std::int64_t{1} << 40);
    r.SetShape(tsTriangle);
    r.SetFlags({tfItalic, tfUnderline});
    r.SetRatio(0.25f);
    r.SetScale(1.0 / 3);
    r.SetPrecise(-2.5e-300);
    r.SetMoney(12.3456);
    r.SetTitle(u"Grüße, 世界"_qs);
    r.SetHidden(5);
    r.SetLimit(-1);
    r.Pen()->SetColor(0xFF8000);
    r.Pen()->SetWidth(2.5f);
    r.Pen()->SetStyle(tsSquare);
    r.Pen()->Dash = u"4 2"_qs;
    r.Notes()->SetText(u"first\n\né"_qs);
    r.Blob = QByteArray("\x00\x01\xFF", 3);
    r.Add(u"a"_qs, 1).Add(u"a1"_qs, 300);
    r.Add(u"b"_qs, 2);
}

QByteArray Written(const std::function<void(TWriter&)>& write)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        TWriter writer(buffer);
        write(writer);
    }
    return bytes;
}

// A device that cannot tell its size, as a pipe or a socket.
class TSequentialDevice : public QIODevice {
public:
    explicit TSequentialDevice(QByteArray data) : FData(std::move(data)) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 n = std::min<qint64>(maxSize, FData.size() - FPos);
        if (data) // QIODevice passes none when it skips
            std::memcpy(data, FData.constData() + FPos, static_cast<std::size_t>(n));
        FPos += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray FData;
    qint64 FPos = 0;
};

// Runs read over bytes on a random-access and on a sequential device; both must agree.
// Gives the message of the EReadError raised, or "ok".
QString ReadOutcome(const QByteArray& bytes, const std::function<void(TReader&)>& read)
{
    QString outcomes[2];
    for (int sequential = 0; sequential < 2; ++sequential) {
        QByteArray data = bytes;
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        TSequentialDevice pipe(bytes);
        TReader reader(sequential ? static_cast<QIODevice&>(pipe) : buffer);
        try {
            read(reader);
            outcomes[sequential] = u"ok"_qs;
        } catch (const EReadError& e) {
            outcomes[sequential] = e.Message();
        }
    }
    EXPECT_EQ(outcomes[0], outcomes[1]) << "random-access and sequential reads differ";
    return outcomes[0];
}

QByteArray Str(const QByteArray& s)
{
    return char(s.size()) + s;
}

QByteArray Header(const QByteArray& className)
{
    return "TPF0" + Str(className) + '\0';
}

QByteArray Hex(const char* hex)
{
    return QByteArray::fromHex(hex);
}

// The entry names of a stand-alone stream, in order.
QStringList EntryNames(const QByteArray& bytes)
{
    QStringList names;
    ReadOutcome(bytes, [&](TReader& r) {
        names.clear();
        r.ReadSignature();
        r.ReadStr();
        r.ReadStr();
        while (!r.EndOfList()) {
            names += r.ReadPropName();
            r.SkipValue();
        }
    });
    return names;
}

TEST(BinaryWriter, WritesEachValueKind)
{
    const QString ascii256(256, u'x');
    const struct {
        const char* Name;
        std::function<void(TWriter&)> Write;
        QByteArray Expected;
    } cases[] = {
        {"int8 low", [](TWriter& w) { w.WriteInteger(-128); }, Hex("02 80")},
        {"int8 high", [](TWriter& w) { w.WriteInteger(127); }, Hex("02 7F")},
        {"int16 below int8", [](TWriter& w) { w.WriteInteger(-129); }, Hex("03 7FFF")},
        {"int16 above int8", [](TWriter& w) { w.WriteInteger(128); }, Hex("03 8000")},
        {"int16 low", [](TWriter& w) { w.WriteInteger(-32768); }, Hex("03 0080")},
        {"int16 high", [](TWriter& w) { w.WriteInteger(32767); }, Hex("03 FF7F")},
        {"int32 above int16", [](TWriter& w) { w.WriteInteger(32768); }, Hex("04 00800000")},
        {"int32 below int16", [](TWriter& w) { w.WriteInteger(-32769); }, Hex("04 FF7FFFFF")},
        {"int32 high", [](TWriter& w) { w.WriteInteger(2147483647); }, Hex("04 FFFFFF7F")},
        {"int64 above int32", [](TWriter& w) { w.WriteInteger(2147483648); }, Hex("13 0000008000000000")},
        {"int64 below int32", [](TWriter& w) { w.WriteInteger(-2147483649); }, Hex("13 FFFFFF7FFFFFFFFF")},
        {"false", [](TWriter& w) { w.WriteBoolean(false); }, Hex("08")},
        {"true", [](TWriter& w) { w.WriteBoolean(true); }, Hex("09")},
        {"ident", [](TWriter& w) { w.WriteIdent(u"srnAuto"_qs); }, "\x07\x07srnAuto"},
        {"set", [](TWriter& w) { w.WriteSet({u"a"_qs, u"bc"_qs}); }, Hex("0B 0161 026263 00")},
        {"empty set", [](TWriter& w) { w.WriteSet({}); }, Hex("0B 00")},
        {"empty string", [](TWriter& w) { w.WriteString(QString()); }, Hex("12 00000000")},
        {"ascii", [](TWriter& w) { w.WriteString(u"abc"_qs); }, Hex("06 03 616263")},
        {"255 ascii", [](TWriter& w) { w.WriteString(QString(255, u'x')); }, Hex("06 FF") + QByteArray(255, 'x')},
        {"256 ascii", [&](TWriter& w) { w.WriteString(ascii256); }, Hex("0C 00010000") + QByteArray(256, 'x')},
        {"mostly ascii", [](TWriter& w) { w.WriteString(u"aé"_qs); }, Hex("14 03000000 61C3A9")},
        {"latin", [](TWriter& w) { w.WriteString(u"é"_qs); }, Hex("12 01000000 E900")},
        {"cjk", [](TWriter& w) { w.WriteString(u"中文"_qs); }, Hex("12 02000000 2D4E 8765")},
        {"lone surrogate", [](TWriter& w) { w.WriteString(u"abcd"_qs + QChar(0xD800)); },
         Hex("12 05000000 6100 6200 6300 6400 00D8")},
        {"single", [](TWriter& w) { w.WriteSingle(1.5f); }, Hex("0F 0000C03F")},
        {"double", [](TWriter& w) { w.WriteDouble(1.0); }, Hex("15 000000000000F03F")},
        {"extended", [](TWriter& w) { w.WriteFloat(1.0); }, Hex("05 0000000000000080 FF3F")},
        {"currency", [](TWriter& w) { w.WriteCurrency(123456); }, Hex("10 40E2010000000000")},
        {"date", [](TWriter& w) { w.WriteDate(2.0); }, Hex("11 0000000000000040")},
        {"binary", [](TWriter& w) { w.WriteBinary(Hex("01FF")); }, Hex("0A 02000000 01FF")},
        {"list", [](TWriter& w) { w.WriteListBegin(); w.WriteInteger(1); w.WriteListEnd(); }, Hex("01 0201 00")},
        {"collection", [](TWriter& w) { w.WriteCollectionBegin(); }, Hex("0E")},
        {"property name", [](TWriter& w) { w.WritePropName(u"Brush.Color"_qs); }, "\x0B" "Brush.Color"},
        {"long name cut", [](TWriter& w) { w.WriteStr(QString(300, u'a')); }, Hex("FF") + QByteArray(255, 'a')},
        {"signature", [](TWriter& w) { w.WriteSignature(); }, "TPF0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Written(c.Write).toHex(' '), c.Expected.toHex(' ')) << c.Name;
}

TEST(BinaryWriter, FramesStandAloneAndEmbeddedForms)
{
    TTestItem item;
    item.SetName(u"ab"_qs);
    item.SetValue(5);
    const QByteArray entries = Str("Name") + Hex("06 02 6162") + Str("Value") + Hex("02 05");
    EXPECT_EQ(Written([&](TWriter& w) { w.WriteRoot(item); }), Header("TTestItem") + entries + Hex("00 00"));
    EXPECT_EQ(Written([&](TWriter& w) { w.WriteEmbedded(item); }), Hex("0E 01") + entries + Hex("00 00"));
}

TEST(BinaryWriter, SkipsDefaultsUnstoredAndEventsAndPrefixesNestedEntries)
{
    TTestRoot root;
    EXPECT_EQ(EntryNames(Written([&](TWriter& w) { w.WriteRoot(root); })), QStringList());

    root.SetEnabled(false);
    root.SetFlags({});
    root.SetHidden(3);
    root.OnChange = [](TObject*) {};
    root.Pen()->Dash = u"1"_qs;
    root.Notes()->Add(u"x"_qs);
    EXPECT_EQ(EntryNames(Written([&](TWriter& w) { w.WriteRoot(root); })),
              QStringList({u"Enabled"_qs, u"Flags"_qs, u"Pen.Dash"_qs, u"Notes.Strings"_qs}));

    Populate(root);
    EXPECT_EQ(EntryNames(Written([&](TWriter& w) { w.WriteRoot(root); })),
              QStringList({u"Name"_qs, u"Value"_qs, u"Enabled"_qs, u"Count"_qs, u"Big"_qs, u"Shape"_qs, u"Flags"_qs,
                           u"Ratio"_qs, u"Scale"_qs, u"ExtendedPrecisionValue"_qs, u"Money"_qs, u"Title"_qs, u"Limit"_qs,
                           u"Pen.Color"_qs, u"Pen.Width"_qs, u"Pen.Style"_qs, u"Pen.Dash"_qs, u"Notes.Strings"_qs,
                           u"Blob"_qs, u"Items"_qs}));
}

TEST(BinaryWriter, RaisesWhenTheDeviceRefusesBytes)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TTestItem item;
    try {
        TWriter(buffer).WriteRoot(item);
        FAIL();
    } catch (const EWriteError& e) {
        EXPECT_EQ(e.Message(), "Stream write error");
    }
    // Destruction cannot report the failure and must not throw.
    EXPECT_NO_THROW({
        TWriter writer(buffer);
        writer.WriteInteger(1);
    });
}

TEST(BinaryStream, RoundTripsBothForms)
{
    TTestRoot source;
    Populate(source);
    const struct {
        const char* Name;
        void (TWriter::*Write)(const TPersistent&);
        void (TReader::*Read)(TPersistent&);
    } forms[] = {{"stand-alone", &TWriter::WriteRoot, &TReader::ReadRoot},
                 {"embedded", &TWriter::WriteEmbedded, &TReader::ReadEmbedded}};
    for (const auto& form : forms) {
        const QByteArray bytes = Written([&](TWriter& w) { (w.*form.Write)(source); });
        TTestRoot target;
        target.SetHidden(99); // never stored: stays as it is
        EXPECT_EQ(ReadOutcome(bytes, [&](TReader& r) { (r.*form.Read)(target); }), "ok") << form.Name;
        target.SetHidden(source.Hidden());
        EXPECT_EQ(target.Dump(), source.Dump()) << form.Name;
        ASSERT_EQ(target.Items.size(), 2u);
        EXPECT_EQ(target.Items[0]->Items[0]->Value(), 300);
        EXPECT_EQ(Written([&](TWriter& w) { (w.*form.Write)(target); }), bytes) << form.Name;
    }
}

TEST(BinaryReader, AcceptsEveryStringAndIntegerKind)
{
    const struct {
        QByteArray Entry;
        QString Name;
        int Value;
    } cases[] = {
        {Str("Name") + Hex("06 03 616263"), u"abc"_qs, 0},
        {Str("Name") + Hex("06 02 61E9"), u"aé"_qs, 0}, // 8-bit strings are Latin-1
        {Str("Name") + Hex("0C 02000000 61E9"), u"aé"_qs, 0},
        {Str("Name") + Hex("14 03000000 61C3A9"), u"aé"_qs, 0},
        {Str("Name") + Hex("12 02000000 6100 E900"), u"aé"_qs, 0},
        {Str("Name") + Hex("0C 00000000"), QString(), 0},
        {Str("Value") + Hex("02 FF"), QString(), -1},
        {Str("Value") + Hex("03 3930"), QString(), 12345},
        {Str("Value") + Hex("04 FFFFFF7F"), QString(), 2147483647},
        {Str("Value") + Hex("13 0500000000000000"), QString(), 5},
        {Str("Value") + Hex("13 00000080FFFFFFFF"), QString(), -2147483647 - 1},
    };
    for (const auto& c : cases) {
        TTestItem item;
        EXPECT_EQ(ReadOutcome(Header("TTestItem") + c.Entry + Hex("00 00"), [&](TReader& r) { r.ReadRoot(item); }), "ok");
        EXPECT_EQ(item.Name(), c.Name) << c.Entry.toHex(' ').constData();
        EXPECT_EQ(item.Value(), c.Value) << c.Entry.toHex(' ').constData();
    }
}

TEST(BinaryReader, FloatReadersTakeEveryNumericKind)
{
    const struct {
        QByteArray Value;
        double Expected;
    } cases[] = {
        {Hex("05 0000000000000080 0040"), 2.0},  {Hex("0F 0000C03F"), 1.5},
        {Hex("15 000000000000F0BF"), -1.0},      {Hex("11 0000000000000040"), 2.0},
        {Hex("10 40E2010000000000"), 12.3456},   {Hex("02 FD"), -3.0},
        {Hex("13 0000000000000001"), 0x1p56},
    };
    for (const auto& c : cases) {
        double value = 0;
        EXPECT_EQ(ReadOutcome(c.Value, [&](TReader& r) { value = r.ReadDouble(); }), "ok");
        EXPECT_EQ(value, c.Expected) << c.Value.toHex(' ').constData();
    }
}

TEST(BinaryReader, RejectsMalformedStreamsWithTheirMessages)
{
    const QByteArray item = Header("TTestRoot");
    const QByteArray end = Hex("00 00");
    const struct {
        const char* Name;
        QByteArray Bytes;
        const char* Message;
    } cases[] = {
        {"empty stream", QByteArray(), "Stream read error"},
        {"wrong signature", "TPF1" + Str("TTestRoot") + '\0' + end, "Invalid stream format"},
        {"unknown property", item + Str("Nope") + Hex("02 01") + end, "Property Nope does not exist"},
        {"unknown nested property", item + Str("Pen.Nope") + Hex("02 01") + end, "Property Pen.Nope does not exist"},
        {"dotted through a value", item + Str("Count.X") + Hex("02 01") + end, "Property Count.X does not exist"},
        {"unknown enumerator", item + Str("Shape") + Hex("07 03") + "tsX" + end, "Invalid property value"},
        {"integer for enumeration", item + Str("Shape") + Hex("02 01") + end, "Invalid property value"},
        {"string for Boolean", item + Str("Enabled") + Hex("06 01 31") + end, "Invalid property value"},
        {"integer beyond 32 bits", item + Str("Count") + Hex("13 0000000001000000") + end, "Invalid property value"},
        {"float for integer", item + Str("Count") + Hex("0F 0000C03F") + end, "Invalid property value"},
        {"single beyond range", item + Str("Ratio") + Hex("15 0000000000000070") + end, "Invalid property value"},
        {"NaN double", item + Str("Scale") + Hex("15 000000000000F87F") + end, "Invalid property value"},
        {"infinite extended", item + Str("Scale") + Hex("05 0000000000000080 FF7F") + end, "Invalid property value"},
        {"unknown set member", item + Str("Flags") + Hex("0B 03") + "tfX" + '\0' + end, "Invalid property value"},
        {"value for nested object", item + Str("Pen") + Hex("02 01") + end, "Invalid property value"},
        {"value for event", item + Str("OnChange") + Hex("07 01 78") + end, "Invalid property value"},
        {"unknown value byte", item + Str("Count") + Hex("16 00") + end, "Invalid stream format"},
        {"unknown value byte for an end", item + Hex("00 16"), "Invalid stream format"},
        {"missing end of children", item + Hex("00"), "Stream read error"},
        {"wrong end of children", item + Hex("00 01"), "Invalid property value"},
    };
    for (const auto& c : cases) {
        TTestRoot root;
        EXPECT_EQ(ReadOutcome(c.Bytes, [&](TReader& r) { r.ReadRoot(root); }), c.Message) << c.Name;
    }
    TTestRoot root;
    EXPECT_EQ(ReadOutcome(Hex("0E 02") + end, [&](TReader& r) { r.ReadEmbedded(root); }), "Invalid property value");
}

TEST(BinaryReader, ClassNameMustMatch)
{
    TTestItem item;
    const QByteArray bytes = Written([&](TWriter& w) { w.WriteRoot(item); });
    TTestRoot derived;
    EXPECT_EQ(ReadOutcome(bytes, [&](TReader& r) { r.ReadRoot(derived); }),
              "Stream read error: TTestItem does not match expected TTestRoot class name");
}

class TLongNamed : public TPersistent {
public:
    static const TClassInfo& StaticClass()
    {
        static const TClassInfo info(u"T"_qs + QString(200, QChar(0xE9)), &TPersistent::StaticClass());
        return info;
    }
    const TClassInfo& ClassInfo() const override { return StaticClass(); }
};

TEST(BinaryStream, ClassNameIsCutTo255Bytes)
{
    TLongNamed object;
    const QByteArray bytes = Written([&](TWriter& w) { w.WriteRoot(object); });
    const QByteArray cut = object.ClassName().toUtf8().left(255);
    EXPECT_EQ(bytes, "TPF0" + Hex("FF") + cut + Hex("00 00 00"));
    EXPECT_EQ(ReadOutcome(bytes, [&](TReader& r) { r.ReadRoot(object); }),
              Format(messages::ClassNameMismatch, QString::fromUtf8(cut), object.ClassName()));
}

// Cut, a property or value name would read back as another one.
TEST(BinaryWriter, RefusesNamesLongerThan255Bytes)
{
    const QString longName(128, QChar(0xE9)); // 256 bytes in UTF-8
    for (const auto& write : std::initializer_list<std::function<void(TWriter&)>>{
             [&](TWriter& w) { w.WritePropName(longName); },
             [&](TWriter& w) { w.WriteIdent(longName); },
             [&](TWriter& w) { w.WriteSet({longName}); }}) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        TWriter writer(buffer);
        EXPECT_EQ(velk::testing::MessageOf<EWriteError>([&] { write(writer); }),
                  Format(messages::NameTooLong, longName));
    }
}

TEST(ExtendedFloat, RoundTripsEveryDoubleExactly)
{
    const double cases[] = {0.0, -0.0, 1.0, -2.5, std::numbers::pi, 1e300, -1e-300,
                            std::numeric_limits<double>::max(), std::numeric_limits<double>::min(),
                            std::numeric_limits<double>::denorm_min(), 3e-320,
                            std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
    for (double value : cases)
        EXPECT_EQ(std::bit_cast<std::uint64_t>(ExtendedToDouble(DoubleToExtended(value))), std::bit_cast<std::uint64_t>(value))
            << value;
    EXPECT_TRUE(std::isnan(ExtendedToDouble(DoubleToExtended(std::numeric_limits<double>::quiet_NaN()))));
}

TEST(ExtendedFloat, KnownLayoutsAndRounding)
{
    const auto extended = [](const char* hex) {
        TExtended80 bytes;
        const QByteArray raw = Hex(hex);
        std::memcpy(bytes.data(), raw.constData(), bytes.size());
        return bytes;
    };
    EXPECT_EQ(DoubleToExtended(-3.0), extended("00000000000000C0 00C0"));
    EXPECT_EQ(DoubleToExtended(std::numeric_limits<double>::denorm_min()), extended("0000000000000080 CD3B"));
    const struct {
        const char* Bytes;
        double Expected;
    } cases[] = {
        {"0004000000000080 FF3F", 1.0},                   // a tie rounds to the even neighbour
        {"000C000000000080 FF3F", 1.0 + 0x1p-51},         // a tie rounds to the even neighbour
        {"0104000000000080 FF3F", 1.0 + 0x1p-52},         // above a tie rounds up
        {"0000000000000080 FF7F", std::numeric_limits<double>::infinity()},
        {"0000000000000080 0044", std::numeric_limits<double>::infinity()}, // 2^1025
        {"FFFFFFFFFFFFFFFF FE43", std::numeric_limits<double>::infinity()}, // rounds past the largest double
        {"0000000000000080 CC3B", 0.0},                   // half the smallest denormal: a tie, to zero
        {"0000000000000040 0000", 0.0},                   // an extended denormal
        {"0000000000000040 CE3B", 0x1p-1074},            // an unnormal, taken at face value
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExtendedToDouble(extended(c.Bytes)), c.Expected) << c.Bytes;
}

TEST(BinaryReader, EveryTruncationRaises)
{
    TTestRoot source;
    Populate(source);
    const QByteArray forms[] = {Written([&](TWriter& w) { w.WriteRoot(source); }),
                                Written([&](TWriter& w) { w.WriteEmbedded(source); })};
    for (int form = 0; form < 2; ++form)
        for (qsizetype size = 0; size < forms[form].size(); ++size) {
            TTestRoot target;
            const QString outcome = ReadOutcome(forms[form].left(size), [&](TReader& r) {
                form == 0 ? r.ReadRoot(target) : r.ReadEmbedded(target);
            });
            EXPECT_NE(outcome, "ok") << "form " << form << ", " << size << " bytes";
        }
}

TEST(BinaryReader, ChecksLengthsBeforeAllocating)
{
    const auto readString = [](TReader& r) { r.ReadString(); };
    const auto readBinary = [](TReader& r) { r.ReadBinary(); };
    const struct {
        const char* Bytes;
        std::function<void(TReader&)> Read;
        const char* Message;
    } cases[] = {
        {"06 05 6162", readString, "Stream read error"},
        {"0C FFFFFF7F 6162", readString, "Stream read error"},
        {"0C FFFFFFFF 6162", readString, "Invalid stream format"},
        {"14 FFFFFF7F 6162", readString, "Stream read error"},
        {"14 00000080 6162", readString, "Invalid stream format"},
        {"12 FFFFFF7F 6162", readString, "Stream read error"},
        {"12 FFFFFFFF 6162", readString, "Invalid stream format"},
        {"0A FFFFFF7F 6162", readBinary, "Stream read error"},
        {"0A F0FFFFFF 6162", readBinary, "Invalid stream format"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadOutcome(Hex(c.Bytes), c.Read), c.Message) << c.Bytes;
        EXPECT_EQ(ReadOutcome(Hex(c.Bytes), [](TReader& r) { r.SkipValue(); }), c.Message) << "skip " << c.Bytes;
    }
}

TEST(BinaryReader, BoundsNesting)
{
    const QString tooDeep = Format(messages::StreamNestingTooDeep, MaxStreamNesting);
    const auto lists = [](int depth) { return QByteArray(depth, '\x01') + QByteArray(depth, '\0'); };
    EXPECT_EQ(ReadOutcome(lists(MaxStreamNesting), [](TReader& r) { r.SkipValue(); }), "ok");
    EXPECT_EQ(ReadOutcome(lists(MaxStreamNesting + 1), [](TReader& r) { r.SkipValue(); }), tooDeep);
    EXPECT_EQ(ReadOutcome(QByteArray(100000, '\x01'), [](TReader& r) { r.SkipValue(); }), tooDeep);

    // An item tree nested through a defined property, the way element trees are.
    const auto tree = [](int depth) {
        QByteArray bytes = Header("TTestItem");
        for (int i = 0; i < depth; ++i)
            bytes += Str("Items") + Hex("0E 01");
        return bytes + QByteArray(2 * depth + 2, '\0');
    };
    TTestItem deep;
    TTestItem* leaf = &deep;
    for (int i = 0; i < 100; ++i)
        leaf = &leaf->Add(QString(), 0);
    EXPECT_EQ(Written([&](TWriter& w) { w.WriteRoot(deep); }), tree(100));
    TTestItem read;
    EXPECT_EQ(ReadOutcome(tree(100), [&](TReader& r) { r.ReadRoot(read); }), "ok");
    EXPECT_EQ(ReadOutcome(tree(10000), [&](TReader& r) { r.ReadRoot(read); }), tooDeep);

    for (int i = 100; i < MaxStreamNesting; ++i)
        leaf = &leaf->Add(QString(), 0);
    try {
        Written([&](TWriter& w) { w.WriteRoot(deep); });
        FAIL();
    } catch (const EWriteError& e) {
        EXPECT_EQ(e.Message(), tooDeep);
    }

    // Names are cut at 255 bytes, so a dotted name nests at most 127 objects deep.
    QByteArray dotted = "Pen";
    while (dotted.size() + 4 <= 255)
        dotted += ".Pen";
    TTestRoot root;
    EXPECT_EQ(ReadOutcome(Header("TTestRoot") + Str(dotted) + Hex("02 01 00 00"), [&](TReader& r) { r.ReadRoot(root); }),
              Format(messages::UnknownProperty, QString::fromLatin1(dotted)));
}

} // namespace
