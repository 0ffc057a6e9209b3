#include "platform/string_list.h"

#include "platform/binary_reader.h"
#include "platform/binary_writer.h"
#include "platform/exceptions.h"
#include "platform/streams.h"

#include <QStringDecoder>
#include <algorithm>
#include <memory>
#include <numeric>
#include <utility>

namespace velk {

// ---------------------------------------------------------------------------
// TStrings

const TClassInfo& TStrings::StaticClass()
{
    static const TClassInfo info(QStringLiteral("TStrings"), &TPersistent::StaticClass());
    return info;
}

int TStrings::AddObject(const QString& S, TObject* AObject)
{
    const int index = Count();
    InsertObject(index, S, AObject);
    return index;
}

void TStrings::CheckCanShareObjects(const TStrings& Strings) const
{
    if (!OwnsObjects())
        return;
    const int count = Strings.Count();
    for (int i = 0; i < count; ++i)
        if (Strings.Objects(i))
            throw EStringListError(messages::SharedOwnedObjects);
}

void TStrings::AddStrings(const TStrings& Strings)
{
    CheckCanShareObjects(Strings);
    const int count = Strings.Count();
    WithinUpdate(*this, [&] {
        for (int i = 0; i < count; ++i)
            AddObject(Strings.Strings(i), Strings.Objects(i));
    });
}

void TStrings::Assign(const TPersistent* Source)
{
    if (const auto* source = dynamic_cast<const TStrings*>(Source)) {
        if (source == this)
            return;
        CheckCanShareObjects(*source); // before anything is cleared
        WithinUpdate(*this, [&] {
            Clear();
            AddStrings(*source);
        });
        return;
    }
    TPersistent::Assign(Source);
}

bool TStrings::Equals(const TStrings& Strings) const
{
    const int count = Count();
    if (count != Strings.Count())
        return false;
    for (int i = 0; i < count; ++i)
        if (this->Strings(i) != Strings.Strings(i))
            return false;
    return true;
}

int TStrings::IndexOf(QStringView S) const
{
    const int count = Count();
    for (int i = 0; i < count; ++i)
        if (CompareStrings(Strings(i), S) == 0)
            return i;
    return -1;
}

int TStrings::IndexOfObject(const TObject* AObject) const
{
    const int count = Count();
    for (int i = 0; i < count; ++i)
        if (Objects(i) == AObject)
            return i;
    return -1;
}

QString TStrings::Names(int Index) const
{
    const QString line = Strings(Index);
    const qsizetype separator = line.indexOf(FNameValueSeparator);
    return separator < 0 ? QString() : line.left(separator);
}

QString TStrings::ValueFromIndex(int Index) const
{
    const QString line = Strings(Index);
    const qsizetype separator = line.indexOf(FNameValueSeparator);
    return separator < 0 ? QString() : line.mid(separator + 1);
}

int TStrings::IndexOfName(QStringView Name) const
{
    const int count = Count();
    for (int i = 0; i < count; ++i) {
        const QString line = Strings(i);
        const qsizetype separator = line.indexOf(FNameValueSeparator);
        if (separator >= 0 && CompareStrings(QStringView(line).left(separator), Name) == 0)
            return i;
    }
    return -1;
}

QString TStrings::Values(QStringView Name) const
{
    const int index = IndexOfName(Name);
    return index < 0 ? QString() : ValueFromIndex(index);
}

void TStrings::SetValues(const QString& Name, const QString& Value)
{
    const int index = IndexOfName(Name);
    if (Value.isEmpty()) {
        if (index >= 0)
            Delete(index);
        return;
    }
    const QString line = Name + FNameValueSeparator + Value;
    if (index < 0)
        Add(line);
    else
        SetStrings(index, line);
}

QString TStrings::Text() const
{
    QString result;
    const int count = Count();
    for (int i = 0; i < count; ++i) {
        result += Strings(i);
        result += FLineBreak;
    }
    return result;
}

void TStrings::SetText(QStringView Value)
{
    WithinUpdate(*this, [&] {
        Clear();
        const qsizetype n = Value.size();
        qsizetype start = 0;
        while (start < n) {
            qsizetype end = start;
            while (end < n && Value[end] != u'\r' && Value[end] != u'\n')
                ++end;
            Add(Value.sliced(start, end - start).toString());
            if (end < n && Value[end] == u'\r') {
                ++end;
                if (end < n && Value[end] == u'\n')
                    ++end;
            } else if (end < n) {
                ++end;
            }
            start = end;
        }
    });
}

QString TStrings::DelimitedText() const
{
    return DelimitedTextWith(FDelimiter, FQuoteChar, FStrictDelimiter);
}

void TStrings::SetDelimitedText(QStringView Value)
{
    SetDelimitedTextWith(Value, FDelimiter, FQuoteChar, FStrictDelimiter);
}

QString TStrings::CommaText() const
{
    return DelimitedTextWith(u',', u'"', false);
}

void TStrings::SetCommaText(QStringView Value)
{
    SetDelimitedTextWith(Value, u',', u'"', false);
}

QString TStrings::DelimitedTextWith(QChar Delimiter, QChar Quote, bool Strict) const
{
    const int count = Count();
    if (count == 1 && Strings(0).isEmpty())
        return QString(2, Quote);
    QString result;
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            result += Delimiter;
        const QString line = Strings(i);
        const bool quoted = std::any_of(line.begin(), line.end(), [&](QChar c) {
            return c == Quote || c == Delimiter || (!Strict && c.unicode() <= u' ');
        });
        if (!quoted) {
            result += line;
            continue;
        }
        result += Quote;
        for (const QChar c : line) {
            if (c == Quote)
                result += Quote;
            result += c;
        }
        result += Quote;
    }
    return result;
}

void TStrings::SetDelimitedTextWith(QStringView Value, QChar Delimiter, QChar Quote, bool Strict)
{
    WithinUpdate(*this, [&] {
        Clear();
        const QChar* p = Value.data();
        const QChar* end = p + Value.size();
        // Blanks are every character up to the space, NUL included, so that each pass
        // below consumes at least one character.
        const auto skipBlanks = [&] {
            if (!Strict)
                while (p < end && p->unicode() <= u' ')
                    ++p;
        };
        skipBlanks();
        while (p < end) {
            QString item;
            if (*p == Quote) {
                // A doubled quote stands for one; an unterminated quote takes the rest.
                ++p;
                while (p < end) {
                    if (*p == Quote) {
                        if (p + 1 < end && p[1] == Quote) {
                            item += Quote;
                            p += 2;
                            continue;
                        }
                        ++p;
                        break;
                    }
                    item += *p++;
                }
            } else {
                const QChar* start = p;
                while (p < end && *p != Delimiter && (Strict || p->unicode() > u' '))
                    ++p;
                item = QString(start, p - start);
            }
            Add(item);
            skipBlanks();
            if (p < end && *p == Delimiter) {
                if (p + 1 == end)
                    Add(QString());
                ++p;
                skipBlanks();
            }
        }
    });
}

void TStrings::SetCaseSensitive(bool Value)
{
    FCaseSensitive = Value;
}

void TStrings::BeginUpdate()
{
    if (FUpdateCount == 0)
        Changing();
    ++FUpdateCount;
}

void TStrings::EndUpdate()
{
    if (FUpdateCount == 0)
        return;
    --FUpdateCount;
    if (FUpdateCount == 0)
        Changed();
}

void TStrings::Changing()
{
    if (FUpdateCount == 0 && OnChanging)
        OnChanging(this);
}

void TStrings::Changed()
{
    if (FUpdateCount == 0 && OnChange)
        OnChange(this);
}

int TStrings::CompareStrings(QStringView S1, QStringView S2) const
{
    return S1.compare(S2, FCaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive);
}

void TStrings::IndexError(int Index) const
{
    throw EStringListError(messages::ListIndexError, Index);
}

void TStrings::LoadFromStream(QIODevice& Stream)
{
    const QByteArray bytes = ReadToEnd(Stream);
    QString text;
    if (bytes.startsWith("\xFF\xFE")) {
        text = QStringDecoder(QStringConverter::Utf16LE).decode(QByteArrayView(bytes).sliced(2));
    } else if (bytes.startsWith("\xFE\xFF")) {
        text = QStringDecoder(QStringConverter::Utf16BE).decode(QByteArrayView(bytes).sliced(2));
    } else {
        const qsizetype bom = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
        text = QString::fromUtf8(QByteArrayView(bytes).sliced(bom));
    }
    SetText(text);
}

void TStrings::SaveToStream(QIODevice& Stream) const
{
    const QByteArray bytes = Text().toUtf8();
    WriteBuffer(Stream, bytes.constData(), bytes.size());
}

void TStrings::LoadFromFile(const QString& FileName)
{
    LoadFromStream(*OpenFileForReading(FileName));
}

void TStrings::SaveToFile(const QString& FileName) const
{
    SaveToStream(*OpenFileForWriting(FileName));
}

void TStrings::DefineProperties(TFiler& Filer)
{
    TPersistent::DefineProperties(Filer);
    Filer.DefineProperty(
        QStringLiteral("Strings"),
        [this](TReader& Reader) {
            WithinUpdate(*this, [&] {
                Clear();
                Reader.ReadListBegin();
                while (!Reader.EndOfList())
                    Add(Reader.ReadString());
                Reader.ReadListEnd();
            });
        },
        [this](TWriter& Writer) {
            Writer.WriteListBegin();
            const int count = Count();
            for (int i = 0; i < count; ++i)
                Writer.WriteString(Strings(i));
            Writer.WriteListEnd();
        },
        Count() > 0);
}

// ---------------------------------------------------------------------------
// TStringList

const TClassInfo& TStringList::StaticClass()
{
    static const TClassInfo info(QStringLiteral("TStringList"), &TStrings::StaticClass(),
                                 &CreateInstance<TStringList>);
    return info;
}

namespace {
[[maybe_unused]] const bool StringListRegistered = (RegisterClass(TStringList::StaticClass()), true);
}

TStringList::~TStringList()
{
    for (TStringItem& item : FList)
        Release(item.O);
}

std::size_t TStringList::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= Count())
        IndexError(Index);
    return static_cast<std::size_t>(Index);
}

void TStringList::CheckUnsorted() const
{
    if (FSorted)
        throw EListError(messages::SortedListError);
}

void TStringList::Release(TObject* AObject) const
{
    if (FOwnsObjects)
        std::unique_ptr<TObject>(AObject).reset();
}

int TStringList::DefaultCompare(const TStringList& List, int Index1, int Index2)
{
    return List.CompareStrings(List.FList[static_cast<std::size_t>(Index1)].S,
                               List.FList[static_cast<std::size_t>(Index2)].S);
}

QString TStringList::Strings(int Index) const
{
    return FList[CheckIndex(Index)].S;
}

void TStringList::SetStrings(int Index, const QString& S)
{
    CheckUnsorted();
    TStringItem& item = FList[CheckIndex(Index)];
    if (item.S == S)
        return;
    Changing();
    item.S = S;
    Changed();
}

TObject* TStringList::Objects(int Index) const
{
    return FList[CheckIndex(Index)].O;
}

void TStringList::SetObjects(int Index, TObject* AObject)
{
    TStringItem& item = FList[CheckIndex(Index)];
    if (item.O == AObject)
        return;
    Changing();
    Release(std::exchange(item.O, AObject));
    Changed();
}

int TStringList::AddObject(const QString& S, TObject* AObject)
{
    if (!FSorted) {
        const int index = Count();
        InsertItem(index, S, AObject);
        return index;
    }
    int index = 0;
    if (Find(S, index)) {
        if (FDuplicates == dupIgnore)
            return index;
        if (FDuplicates == dupError)
            throw EStringListError(messages::DuplicateString);
    }
    InsertItem(index, S, AObject);
    return index;
}

void TStringList::InsertObject(int Index, const QString& S, TObject* AObject)
{
    CheckUnsorted();
    if (Index < 0 || Index > Count())
        IndexError(Index);
    InsertItem(Index, S, AObject);
}

void TStringList::InsertItem(int Index, const QString& S, TObject* AObject)
{
    Changing();
    FList.insert(FList.begin() + Index, TStringItem{S, AObject});
    Changed();
}

void TStringList::Delete(int Index)
{
    const std::size_t index = CheckIndex(Index);
    Changing();
    TObject* removed = FList[index].O;
    FList.erase(FList.begin() + Index);
    Release(removed);
    Changed();
}

void TStringList::Clear()
{
    if (FList.empty())
        return;
    Changing();
    // Objects are destroyed after they left the list, so they never see it half cleared.
    const std::vector<TStringItem> removed = std::exchange(FList, {});
    for (const TStringItem& item : removed)
        Release(item.O);
    Changed();
}

void TStringList::Exchange(int Index1, int Index2)
{
    CheckUnsorted();
    const std::size_t a = CheckIndex(Index1);
    const std::size_t b = CheckIndex(Index2);
    if (a == b)
        return;
    Changing();
    std::swap(FList[a], FList[b]);
    Changed();
}

void TStringList::Move(int CurIndex, int NewIndex)
{
    CheckUnsorted();
    const std::size_t from = CheckIndex(CurIndex);
    const std::size_t to = CheckIndex(NewIndex);
    if (from == to)
        return;
    Changing();
    if (from < to)
        std::rotate(FList.begin() + CurIndex, FList.begin() + CurIndex + 1, FList.begin() + NewIndex + 1);
    else
        std::rotate(FList.begin() + NewIndex, FList.begin() + CurIndex, FList.begin() + CurIndex + 1);
    Changed();
}

int TStringList::IndexOf(QStringView S) const
{
    if (!FSorted)
        return TStrings::IndexOf(S);
    int index = 0;
    return Find(S, index) ? index : -1;
}

bool TStringList::ContainsExactly(QStringView S) const
{
    return std::any_of(FList.begin(), FList.end(), [S](const TStringItem& Item) { return Item.S == S; });
}

bool TStringList::Find(QStringView S, int& Index) const
{
    if (!FSorted) {
        Index = TStrings::IndexOf(S);
        if (Index >= 0)
            return true;
        Index = Count();
        return false;
    }
    int low = 0;
    int high = Count() - 1;
    bool found = false;
    while (low <= high) {
        const int middle = low + (high - low) / 2;
        const int comparison = CompareStrings(FList[static_cast<std::size_t>(middle)].S, S);
        if (comparison < 0) {
            low = middle + 1;
        } else {
            high = middle - 1;
            if (comparison == 0) {
                found = true;
                // With duplicates accepted keep searching left for the first of them.
                if (FDuplicates != dupAccept)
                    low = middle;
            }
        }
    }
    Index = low;
    return found;
}

void TStringList::Sort()
{
    CustomSort(&DefaultCompare);
}

void TStringList::CustomSort(const TStringListSortCompare& Compare)
{
    if (FSorted || FList.size() < 2)
        return;
    SortItems(Compare);
}

void TStringList::SortItems(const TStringListSortCompare& Compare)
{
    // Sort a permutation, so that Compare sees the list unchanged by indexes.
    std::vector<int> order(FList.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return Compare(*this, a, b) < 0; });
    Changing();
    std::vector<TStringItem> sorted;
    sorted.reserve(FList.size());
    for (const int i : order)
        sorted.push_back(std::move(FList[static_cast<std::size_t>(i)]));
    FList = std::move(sorted);
    Changed();
}

void TStringList::SetSorted(bool Value)
{
    if (FSorted == Value)
        return;
    if (Value)
        Sort();
    FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value)
{
    if (CaseSensitive() == Value)
        return;
    TStrings::SetCaseSensitive(Value);
    if (FSorted && FList.size() > 1)
        SortItems(&DefaultCompare);
}

} // namespace velk
