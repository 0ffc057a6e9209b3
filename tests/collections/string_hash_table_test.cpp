#include "collections/string_hash_table.h"
#include "platform/binary_reader.h"
#include "platform/binary_writer.h"
#include "tests/support/test_support.h"

#include <QBuffer>
#include <QStringList>
#include <gtest/gtest.h>

using namespace velk;

namespace {

using velk::testing::TNamed;

using velk::testing::MessageOf;

// A persistent object with a published Text property, as a target of AssignTo.
class TNote : public TPersistent {
public:
    static const TClassInfo& StaticClass()
    {
        static const TClassInfo info(QStringLiteral("TNote"), &TPersistent::StaticClass(), &CreateInstance<TNote>,
                                     TPublished<TNote>().String(QStringLiteral("Text"), &TNote::Text, &TNote::SetText).Take());
        return info;
    }
    const TClassInfo& ClassInfo() const override { return StaticClass(); }
    const QString& Text() const { return FText; }
    void SetText(const QString& Value) { FText = Value; }

private:
    QString FText;
};

QStringList KeysInSlotOrder(const TVelkStringObjectHashTable<TNamed>& T)
{
    QStringList keys;
    for (const QString& key : T.Keys())
        keys += key;
    return keys;
}

TEST(StringHashTable, IndicesWalkTheKeysInSlotOrder)
{
    TVelkStringObjectHashTable<TNamed> t;
    TNamed a(QStringLiteral("A")), b(QStringLiteral("B")), c(QStringLiteral("C"));
    t.Add(QStringLiteral("rect1"), &a);
    t.Add(QStringLiteral("id1"), &b);
    t.Add(QStringLiteral("a"), &c);

    const auto indices = t.Indices();
    EXPECT_EQ(indices->Count(), 3);
    EXPECT_EQ(indices->CurrentElement(), QString());
    QStringList keys;
    while (indices->HasMoreElements()) {
        keys += indices->NextElement();
        EXPECT_EQ(indices->CurrentElement(), keys.last());
    }
    EXPECT_EQ(keys, KeysInSlotOrder(t));
    EXPECT_EQ(keys, QStringList({"a", "id1", "rect1"}));
    EXPECT_EQ(indices->NextElement(), QString()); // exhausted
    indices->Reset();
    EXPECT_EQ(indices->NextElement(), "a");

    const auto elements = t.Elements();
    QStringList names;
    while (elements->HasMoreElements())
        names += static_cast<TNamed*>(elements->NextElement())->Name();
    EXPECT_EQ(names, QStringList({"C", "B", "A"}));
    EXPECT_EQ(elements->NextElement(), nullptr);
}

TEST(StringHashTable, IteratorsOfAnEmptyTable)
{
    TVelkStringHashTable<int> t;
    const auto indices = t.Indices();
    EXPECT_FALSE(indices->HasMoreElements());
    EXPECT_EQ(indices->NextElement(), QString());
    EXPECT_EQ(indices->CurrentElement(), QString());
    const TVelkStringObjectHashTable<TNamed> objects;
    EXPECT_EQ(objects.Elements()->CurrentElement(), nullptr);
}

TEST(StringHashTable, ClassNamesInMessages)
{
    TVelkStringObjectHashTable<TNamed> t;
    EXPECT_EQ(t.ClassName(), "TVelkStringObjectHashTable");
    EXPECT_TRUE(t.InheritsFrom(TVelkHashTable<QString, TNamed*>::StaticClass()));
    try {
        t.Assign(nullptr);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a nil to a TVelkStringObjectHashTable");
    }
}

TEST(StringHashTable, AssignFromAStringListKeepsTheLinesBeforeARepeatedOne)
{
    TStringList lines;
    lines.SetText(u"a\nb\na\nc");
    TVelkStringHashTable<int> t;
    t.Add(QStringLiteral("old"), 1);
    int changes = 0;
    t.OnChange = [&](TObject*) { ++changes; };
    EXPECT_EQ(MessageOf<EListError>([&] { t.Assign(&lines); }), "Duplicates not allowed");
    EXPECT_EQ(changes, 1); // the update was closed
    EXPECT_EQ(t.Count(), 2);
    EXPECT_TRUE(t.ContainsKey(QStringLiteral("a")));
    EXPECT_TRUE(t.ContainsKey(QStringLiteral("b")));
    t.Add(QStringLiteral("d"), 4);
    EXPECT_EQ(changes, 2); // no update left open

    lines.SetText(u"x\nX\ny");
    t.Assign(&lines);
    EXPECT_EQ(t.Count(), 3);
    EXPECT_EQ(t.Items(QStringLiteral("X")), 0);
}

TEST(StringHashTable, AssignToStringListsAndTextProperties)
{
    TVelkStringHashTable<int> t;
    for (const char* key : {"rect1", "id1", "a"})
        t.Add(QString::fromLatin1(key), 1);

    TStringList lines;
    lines.Add(QStringLiteral("stale"));
    int changes = 0;
    lines.OnChange = [&](TObject*) { ++changes; };
    lines.Assign(&t); // the string list asks the table to assign itself
    EXPECT_EQ(lines.Text(), "a\nid1\nrect1\n");
    EXPECT_EQ(changes, 1);

    TNote note;
    note.Assign(&t);
    EXPECT_EQ(note.Text(), "a\nid1\nrect1\n");

    TVelkDictionary<QString, int> plain; // the same pair type: a dictionary assignment
    plain.Assign(&t);
    EXPECT_EQ(plain.Count(), 3);
    TVelkDictionary<QString, double> other;
    EXPECT_EQ(MessageOf<EConvertError>([&] { other.Assign(&t); }),
              "Cannot assign a TVelkStringHashTable to a TVelkDictionary");
}

TEST(StringObjectHashTable, ExchangesLinesAndObjectsWithStringLists)
{
    TNamed a(QStringLiteral("A")), b(QStringLiteral("B"));
    TStringList lines;
    lines.AddObject(QStringLiteral("rect1"), &a);
    lines.AddObject(QStringLiteral("id1"), &b);
    lines.Add(QStringLiteral("a"));
    TVelkStringObjectHashTable<TNamed> t;
    t.Assign(&lines);
    EXPECT_EQ(t.Items(QStringLiteral("rect1")), &a);
    EXPECT_EQ(t.Items(QStringLiteral("a")), nullptr);

    TStringList copy;
    t.AssignTo(&copy);
    EXPECT_EQ(copy.Text(), "a\nid1\nrect1\n");
    EXPECT_EQ(copy.Objects(1), &b);
    EXPECT_EQ(copy.Objects(0), nullptr);

    TStringList owning(true);
    owning.Add(QStringLiteral("kept"));
    EXPECT_EQ(MessageOf<EStringListError>([&] { t.AssignTo(&owning); }),
              "Cannot share objects with a string list that owns its objects");
    EXPECT_EQ(owning.Text(), "kept\n");

    TNote foreign;
    lines.AddObject(QStringLiteral("note"), &foreign);
    EXPECT_EQ(MessageOf<EConvertError>([&] { t.Assign(&lines); }),
              "Cannot assign a TStringList to a TVelkStringObjectHashTable");
    EXPECT_EQ(t.Count(), 3);
}

// Older streams carry three properties that are read and dropped, and never written.
TEST(StringHashTable, LegacyStreamPropertiesAreReadAndDropped)
{
    QBuffer stream;
    stream.open(QIODevice::ReadWrite);
    {
        TWriter writer(stream);
        writer.WriteSignature();
        writer.WriteStr(QStringLiteral("TVelkStringHashTable"));
        writer.WriteStr(QString());
        writer.WritePropName(QStringLiteral("LoadFactor"));
        writer.WriteFloat(0.75);
        writer.WritePropName(QStringLiteral("HashType"));
        writer.WriteInteger(2);
        writer.WritePropName(QStringLiteral("Capacity"));
        writer.WriteInteger(std::int64_t{1} << 40);
        writer.WriteListEnd();
        writer.WriteListEnd();
    }
    stream.seek(0);
    TVelkStringHashTable<int> t;
    t.Add(QStringLiteral("a"), 1);
    TReader(stream).ReadRoot(t);
    EXPECT_EQ(t.Count(), 1);
    EXPECT_EQ(stream.pos(), stream.size());

    QBuffer written;
    written.open(QIODevice::ReadWrite);
    {
        TWriter writer(written);
        writer.WriteRoot(t);
    }
    EXPECT_FALSE(written.data().contains("LoadFactor"));
    EXPECT_FALSE(written.data().contains("Capacity"));
}

} // namespace
