#include "platform/binary_reader.h"
#include "platform/binary_writer.h"
#include "platform/exceptions.h"
#include "platform/string_list.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velk;

namespace {

QStringList Lines(const TStrings& list)
{
    QStringList result;
    for (int i = 0; i < list.Count(); ++i)
        result += list[i];
    return result;
}

void SetLines(TStrings& list, const QStringList& lines)
{
    list.Clear();
    for (const QString& line : lines)
        list.Add(line);
}

template <typename E, typename F>
void ExpectError(F&& action, const QString& message)
{
    try {
        action();
        ADD_FAILURE() << "no exception, expected: " << message.toStdString();
    } catch (const E& e) {
        EXPECT_EQ(e.Message(), message);
    }
}

TEST(StringList, TextSplitsAtEveryKindOfLineBreak)
{
    const struct {
        const char* Text;
        QStringList Lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\n", {"a"}},
        {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        {"a\n\nb\r\n", {"a", "", "b"}},
        {"\n", {""}},
        {"\r\n\r\n", {"", ""}},
        {"a\n\r", {"a", ""}},
    };
    for (const auto& c : cases) {
        TStringList list;
        list.SetText(QString::fromUtf8(c.Text));
        EXPECT_EQ(Lines(list), c.Lines) << c.Text;
    }
    TStringList list;
    SetLines(list, {"a", "", "b"});
    EXPECT_EQ(list.Text(), "a\n\nb\n");
    list.SetLineBreak(QStringLiteral("\r\n"));
    EXPECT_EQ(list.Text(), "a\r\n\r\nb\r\n");
    EXPECT_EQ(TStringList().Text(), "");
}

TEST(StringList, ReadsDelimitedText)
{
    const struct {
        const char* Text;
        bool Strict;
        QStringList Lines;
    } cases[] = {
        {"a,,b", false, {"a", "", "b"}},
        {"a b", false, {"a", "b"}},
        {"\"x y\",z", false, {"x y", "z"}},
        {"a,", false, {"a", ""}},
        {"", false, {}},
        {"\"\"", false, {""}},
        {"  a ,  b  ", false, {"a", "b"}},
        {"\"say \"\"hi\"\"\",x", false, {"say \"hi\"", "x"}},
        {"\"open", false, {"open"}},
        {"\"a\"b", false, {"a", "b"}},
        {"Arial, 'Times New', serif", false, {"Arial", "'Times", "New'", "serif"}},
        {"a\tb\nc", false, {"a", "b", "c"}},
        {"a b,c", true, {"a b", "c"}},
        {" a ,b", true, {" a ", "b"}},
        {"a,,", true, {"a", "", ""}},
        {"\"x,y\",z", true, {"x,y", "z"}},
    };
    for (const auto& c : cases) {
        TStringList list;
        list.SetStrictDelimiter(c.Strict);
        list.SetDelimitedText(QString::fromUtf8(c.Text));
        EXPECT_EQ(Lines(list), c.Lines) << c.Text << (c.Strict ? " (strict)" : "");
    }
}

TEST(StringList, NulCharactersCountAsBlanks)
{
    TStringList list;
    list.SetCommaText(QStringView(u"a\0b,c", 5));
    EXPECT_EQ(Lines(list), QStringList({"a", "b", "c"}));
}

TEST(StringList, WritesDelimitedText)
{
    const struct {
        QStringList Lines;
        bool Strict;
        const char* Text;
    } cases[] = {
        {{}, false, ""},
        {{""}, false, "\"\""},
        {{"a", "", "b"}, false, "a,,b"},
        {{"x y", "z"}, false, "\"x y\",z"},
        {{"a,b"}, false, "\"a,b\""},
        {{"say \"hi\""}, false, "\"say \"\"hi\"\"\""},
        {{"tab\there"}, false, "\"tab\there\""},
        {{"x y", "a,b"}, true, "x y,\"a,b\""},
        {{""}, true, "\"\""},
    };
    for (const auto& c : cases) {
        TStringList list;
        SetLines(list, c.Lines);
        list.SetStrictDelimiter(c.Strict);
        EXPECT_EQ(list.DelimitedText(), QString::fromUtf8(c.Text)) << c.Text;
        TStringList back;
        back.SetStrictDelimiter(c.Strict);
        back.SetDelimitedText(list.DelimitedText());
        EXPECT_EQ(Lines(back), c.Lines) << "round trip of " << c.Text;
    }
}

TEST(StringList, CommaTextIgnoresTheListsOwnSettings)
{
    TStringList list;
    list.SetDelimiter(u';');
    list.SetQuoteChar(u'\'');
    list.SetStrictDelimiter(true);
    list.SetDelimitedText(u"a b;'c;d'");
    EXPECT_EQ(Lines(list), QStringList({"a b", "c;d"}));
    EXPECT_EQ(list.DelimitedText(), "a b;'c;d'");
    EXPECT_EQ(list.CommaText(), "\"a b\",c;d");
    list.SetCommaText(u"x y,'z'");
    EXPECT_EQ(Lines(list), QStringList({"x", "y", "'z'"}));
}

TEST(StringList, NamesAndValues)
{
    TStringList list;
    list.SetText(u"fill=red\nnovalue\nStroke=blue=dark\nstroke=green\n");
    EXPECT_EQ(list.Names(0), "fill");
    EXPECT_EQ(list.ValueFromIndex(2), "blue=dark");
    EXPECT_EQ(list.Names(1), "");
    EXPECT_EQ(list.ValueFromIndex(1), "");
    EXPECT_EQ(list.IndexOfName(u"STROKE"), 2);
    EXPECT_EQ(list.IndexOfName(u"novalue"), -1);
    EXPECT_EQ(list.Values(u"stroke"), "blue=dark");
    EXPECT_EQ(list.Values(u"missing"), "");

    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOfName(u"stroke"), 3);
    EXPECT_EQ(list.IndexOfName(u"STROKE"), -1);

    list.SetValues(u"fill"_qs, u"none"_qs);   // replaced in place
    list.SetValues(u"opacity"_qs, u"0.5"_qs); // appended
    list.SetValues(u"stroke"_qs, QString());  // deleted
    EXPECT_EQ(Lines(list), QStringList({"fill=none", "novalue", "Stroke=blue=dark", "opacity=0.5"}));

    list.SetNameValueSeparator(u':');
    list.SetValues(u"font"_qs, u"serif"_qs);
    EXPECT_EQ(list[4], "font:serif");
}

TEST(StringList, ChangeEventsAndUpdateBrackets)
{
    TStringList list;
    QStringList log;
    list.OnChanging = [&](TObject* sender) {
        EXPECT_EQ(sender, &list);
        log += u"changing"_qs;
    };
    list.OnChange = [&](TObject*) { log += u"change:"_qs + list.CommaText(); };

    list.Add(u"a"_qs);
    EXPECT_EQ(log, QStringList({"changing", "change:a"}));

    log.clear();
    list.BeginUpdate();
    list.BeginUpdate();
    list.Add(u"b"_qs);
    list.Delete(0);
    EXPECT_EQ(list.UpdateCount(), 2);
    list.EndUpdate();
    EXPECT_EQ(log, QStringList({"changing"}));
    list.EndUpdate();
    EXPECT_EQ(log, QStringList({"changing", "change:b"}));

    // An empty bracket still ends with OnChange.
    log.clear();
    list.BeginUpdate();
    list.EndUpdate();
    EXPECT_EQ(log, QStringList({"changing", "change:b"}));

    // Whole-text setters change once; unchanged values and empty clears not at all.
    log.clear();
    list.SetCommaText(u"x,y,z");
    list.SetStrings(0, u"x"_qs);
    TStringList().Clear();
    EXPECT_EQ(log, QStringList({"changing", "change:x,y,z"}));

    // A failing bracketed operation still closes its bracket.
    list.SetSorted(true);
    list.SetDuplicates(dupError);
    log.clear();
    EXPECT_THROW(list.SetCommaText(u"p,q,p"), EStringListError);
    EXPECT_EQ(list.UpdateCount(), 0);
    EXPECT_EQ(log, QStringList({"changing", "change:p,q"}));
}

TEST(StringList, SortedListsKeepOrderAndApplyDuplicates)
{
    TStringList list;
    list.SetCommaText(u"pear,Apple,fig");
    list.SetSorted(true);
    EXPECT_EQ(Lines(list), QStringList({"Apple", "fig", "pear"}));
    EXPECT_EQ(list.Add(u"banana"_qs), 1);
    EXPECT_EQ(list.Add(u"APPLE"_qs), 0); // dupIgnore, case-insensitive
    EXPECT_EQ(list.Count(), 4);

    int index = -1;
    EXPECT_TRUE(list.Find(u"FIG", index));
    EXPECT_EQ(index, 2);
    EXPECT_FALSE(list.Find(u"cherry", index));
    EXPECT_EQ(index, 2);
    EXPECT_EQ(list.IndexOf(u"PEAR"), 3);

    list.SetDuplicates(dupAccept);
    list.Add(u"fig"_qs);
    list.Add(u"FIG"_qs);
    EXPECT_TRUE(list.Find(u"fig", index));
    EXPECT_EQ(index, 2);
    EXPECT_EQ(list.Count(), 6);

    list.SetDuplicates(dupError);
    ExpectError<EStringListError>([&] { list.Add(u"pear"_qs); }, u"String list does not allow duplicates"_qs);
    for (const auto& operation : std::initializer_list<std::function<void()>>{
             [&] { list.Insert(0, u"z"_qs); }, [&] { list.Exchange(0, 1); }, [&] { list.Move(0, 1); },
             [&] { list.SetStrings(0, u"z"_qs); }})
        ExpectError<EListError>(operation, u"Operation not allowed on sorted list"_qs);
    EXPECT_EQ(list.Count(), 6);

    // Case-sensitive order puts capitals first.
    TStringList cased;
    cased.SetCommaText(u"b,a,B,A");
    cased.SetSorted(true);
    cased.SetDuplicates(dupAccept);
    cased.SetCaseSensitive(true);
    EXPECT_EQ(Lines(cased), QStringList({"A", "B", "a", "b"}));
}

TEST(StringList, SortsAndMovesUnsortedLists)
{
    TStringList list;
    list.SetCommaText(u"c,a,b");
    list.Move(0, 2);
    EXPECT_EQ(list.CommaText(), "a,b,c");
    list.Move(2, 0);
    list.Exchange(0, 2);
    EXPECT_EQ(list.CommaText(), "b,a,c");
    list.Sort();
    EXPECT_EQ(list.CommaText(), "a,b,c");
    list.CustomSort([](const TStringList& l, int a, int b) { return l[b].compare(l[a]); });
    EXPECT_EQ(list.CommaText(), "c,b,a");
    int index = -1;
    EXPECT_TRUE(list.Find(u"a", index));
    EXPECT_EQ(index, 2);
    EXPECT_FALSE(list.Find(u"d", index));
    EXPECT_EQ(index, 3);
}

TEST(StringList, IndexErrors)
{
    TStringList list;
    SetLines(list, {"a", "b"});
    const auto message = [](int i) { return QStringLiteral("List index out of bounds (%1)").arg(i); };
    ExpectError<EStringListError>([&] { list.Strings(2); }, message(2));
    ExpectError<EStringListError>([&] { list.Objects(-1); }, message(-1));
    ExpectError<EStringListError>([&] { list.Delete(5); }, message(5));
    ExpectError<EStringListError>([&] { list.Insert(3, u"x"_qs); }, message(3));
    ExpectError<EStringListError>([&] { list.Move(0, 2); }, message(2));
    list.Insert(2, u"c"_qs); // inserting at Count appends
    EXPECT_EQ(list.CommaText(), "a,b,c");
}

class TCounted : public TObject {
public:
    explicit TCounted(int& destroyed) : FDestroyed(destroyed) {}
    ~TCounted() override { ++FDestroyed; }

private:
    int& FDestroyed;
};

TEST(StringList, OwningListsDestroyTheirObjects)
{
    int destroyed = 0;
    {
        TStringList list(true);
        list.AddObject(u"a"_qs, new TCounted(destroyed));
        list.AddObject(u"b"_qs, new TCounted(destroyed));
        list.AddObject(u"c"_qs, new TCounted(destroyed));
        list.AddObject(u"d"_qs, new TCounted(destroyed));
        list.Delete(0);
        EXPECT_EQ(destroyed, 1);
        list.SetObjects(0, new TCounted(destroyed));
        EXPECT_EQ(destroyed, 2);
        list.Move(0, 2);
        list.Exchange(0, 1);
        EXPECT_EQ(destroyed, 2);

        // Another list's objects cannot be shared; nothing changes.
        TStringList other;
        TCounted foreign(destroyed);
        other.AddObject(u"x"_qs, &foreign);
        ExpectError<EStringListError>([&] { list.Assign(&other); },
                                      u"Cannot share objects with a string list that owns its objects"_qs);
        ExpectError<EStringListError>([&] { list.AddStrings(list); },
                                      u"Cannot share objects with a string list that owns its objects"_qs);
        EXPECT_EQ(list.Count(), 3);

        // A non-owning copy refers to the same objects.
        TStringList view;
        view.Assign(&list);
        EXPECT_EQ(view.Objects(2), list.Objects(2));
        EXPECT_EQ(view.IndexOfObject(list.Objects(1)), 1);
        view.Clear();
        EXPECT_EQ(destroyed, 2);

        list.Delete(0);
        EXPECT_EQ(destroyed, 3);
    }
    EXPECT_EQ(destroyed, 6); // two left in the list, and the foreign one
}

TEST(StringList, AssignCopiesLinesAndObjects)
{
    TStringList source;
    SetLines(source, {"a", "b"});
    TObject marker;
    source.SetObjects(1, &marker);
    TStringList target;
    target.Add(u"old"_qs);
    int changes = 0;
    target.OnChange = [&](TObject*) { ++changes; };
    target.Assign(&source);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(target.Equals(source));
    EXPECT_EQ(target.Objects(1), &marker);
    target.Assign(&target);
    EXPECT_EQ(Lines(target), QStringList({"a", "b"}));
    target.AddStrings(target);
    EXPECT_EQ(target.CommaText(), "a,b,a,b");
    EXPECT_FALSE(target.Equals(source));

    TPersistent other;
    ExpectError<EConvertError>([&] { target.Assign(&other); }, u"Cannot assign a TPersistent to a TStringList"_qs);
    ExpectError<EConvertError>([&] { target.Assign(nullptr); }, u"Cannot assign a nil to a TStringList"_qs);
}

TEST(StringList, LoadsAndSavesText)
{
    const struct {
        QByteArray Bytes;
        QStringList Lines;
    } cases[] = {
        {"caf\xC3\xA9\r\nb", {u"café"_qs, "b"}},
        {"\xEF\xBB\xBF" "a\nb\n", {"a", "b"}},
        {QByteArray("\xFF\xFE" "a\0\n\0\xE9\0", 8), {"a", u"é"_qs}},
        {QByteArray("\xFE\xFF\0a\0\n\0b", 8), {"a", "b"}},
        {"", {}},
    };
    for (const auto& c : cases) {
        QByteArray bytes = c.Bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        TStringList list;
        list.LoadFromStream(buffer);
        EXPECT_EQ(Lines(list), c.Lines) << c.Bytes.toHex().constData();
    }

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString name = dir.filePath(u"lines.txt"_qs);
    TStringList list;
    SetLines(list, {u"ünï"_qs, "", "end"});
    list.SaveToFile(name);
    TStringList back;
    back.LoadFromFile(name);
    EXPECT_TRUE(back.Equals(list));
    EXPECT_THROW(back.LoadFromFile(dir.filePath(u"missing.txt"_qs)), EFOpenError);
}

TEST(StringList, StreamsItsLinesAsStringsProperty)
{
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        TStringList list;
        SetLines(list, {"one", u"twö"_qs, ""});
        TWriter writer(buffer);
        writer.WriteRoot(list);
    }
    EXPECT_TRUE(bytes.contains("Strings"));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TReader reader(buffer);
    TStringList back;
    back.Add(u"stale"_qs);
    int changes = 0;
    back.OnChange = [&](TObject*) { ++changes; };
    reader.ReadRoot(back);
    EXPECT_EQ(Lines(back), QStringList({"one", u"twö"_qs, ""}));
    EXPECT_EQ(changes, 1);

    QByteArray empty;
    {
        QBuffer out(&empty);
        out.open(QIODevice::WriteOnly);
        TWriter writer(out);
        writer.WriteRoot(TStringList());
    }
    EXPECT_FALSE(empty.contains("Strings"));
}

TEST(StringList, IsFoundByClassName)
{
    const auto list = FindClass(u"TStringList").CreateAs<TStringList>();
    ASSERT_TRUE(list);
    EXPECT_TRUE(list->InheritsFrom(TStrings::StaticClass()));
    EXPECT_EQ(list->Delimiter(), u',');
    EXPECT_EQ(list->QuoteChar(), u'"');
    EXPECT_EQ(list->NameValueSeparator(), u'=');
    EXPECT_EQ(list->LineBreak(), "\n");
    EXPECT_FALSE(list->CaseSensitive());
    EXPECT_FALSE(list->OwnsObjects());
}

} // namespace
