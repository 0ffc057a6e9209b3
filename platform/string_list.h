#pragma once
// TStrings and TStringList: the string list, a list of lines each with an attached
// object, and the text forms stored files rely on (line text, name=value entries,
// delimited and comma text). The rules are in docs/platform.md, "String lists".
//
//   TStringList list;
//   list.SetCommaText(u"a,\"b c\",d");       // a | b c | d
//   list.SetValues(u"fill"_qs, u"red"_qs);     // appends "fill=red"
//   list.BeginUpdate(); ...; list.EndUpdate(); // one OnChange at the end

#include "platform/enum_names.h"
#include "platform/persistent.h"

#include <QChar>
#include <QString>
#include <QStringView>
#include <functional>
#include <vector>

class QIODevice;

namespace velk {

// What a sorted TStringList does with a line that is already there.
enum TDuplicates { dupIgnore, dupAccept, dupError };

template <>
struct EnumNames<TDuplicates> {
    static constexpr std::array<std::u16string_view, 3> Names{u"dupIgnore", u"dupAccept", u"dupError"};
};

// The abstract list: storage is left to descendants, everything else is built on it.
// Index errors raise EStringListError "List index out of bounds (%d)".
class TStrings : public TPersistent {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // Storage.
    virtual int Count() const = 0;
    virtual QString Strings(int Index) const = 0;
    virtual void SetStrings(int Index, const QString& S) = 0;
    QString operator[](int Index) const { return Strings(Index); }
    virtual TObject* Objects(int Index) const = 0;
    virtual void SetObjects(int Index, TObject* AObject) = 0;
    virtual void InsertObject(int Index, const QString& S, TObject* AObject) = 0;
    virtual void Delete(int Index) = 0;
    virtual void Clear() = 0;
    virtual void Exchange(int Index1, int Index2) = 0;
    virtual void Move(int CurIndex, int NewIndex) = 0;
    // True when the list destroys the objects attached to its lines.
    virtual bool OwnsObjects() const { return false; }

    // Returns the index of the new line.
    int Add(const QString& S) { return AddObject(S, nullptr); }
    virtual int AddObject(const QString& S, TObject* AObject);
    void Insert(int Index, const QString& S) { InsertObject(Index, S, nullptr); }
    // Appends Strings' lines and objects. An owning list cannot take another list's
    // objects: EStringListError "Cannot share objects with a string list that owns its objects".
    void AddStrings(const TStrings& Strings);
    // From any TStrings: its lines and objects (as AddStrings); else the inherited error.
    void Assign(const TPersistent* Source) override;
    // Same lines in the same order (exact case); objects are not compared.
    bool Equals(const TStrings& Strings) const;

    // The first line equal to S (following CaseSensitive), or -1.
    virtual int IndexOf(QStringView S) const;
    int IndexOfObject(const TObject* AObject) const;

    // name=value entries. Names(i) and ValueFromIndex(i) are the text before and after
    // the first NameValueSeparator ("" when the line has none). IndexOfName finds the
    // first line whose name equals Name (following CaseSensitive). SetValues replaces
    // that line, appends one when there is none, and deletes it for an empty Value.
    QString Names(int Index) const;
    QString ValueFromIndex(int Index) const;
    int IndexOfName(QStringView Name) const;
    QString Values(QStringView Name) const;
    void SetValues(const QString& Name, const QString& Value);

    // Every line followed by LineBreak. Setting splits at CR, LF and CRLF; a final line
    // break adds no empty line.
    QString Text() const;
    void SetText(QStringView Value);
    // The lines joined by Delimiter, quoted where needed (docs/platform.md).
    QString DelimitedText() const;
    void SetDelimitedText(QStringView Value);
    // DelimitedText with ',', '"' and StrictDelimiter off, whatever the list's settings.
    QString CommaText() const;
    void SetCommaText(QStringView Value);

    const QString& LineBreak() const { return FLineBreak; }
    void SetLineBreak(const QString& Value) { FLineBreak = Value; }
    QChar NameValueSeparator() const { return FNameValueSeparator; }
    void SetNameValueSeparator(QChar Value) { FNameValueSeparator = Value; }
    QChar Delimiter() const { return FDelimiter; }
    void SetDelimiter(QChar Value) { FDelimiter = Value; }
    QChar QuoteChar() const { return FQuoteChar; }
    void SetQuoteChar(QChar Value) { FQuoteChar = Value; }
    bool StrictDelimiter() const { return FStrictDelimiter; }
    void SetStrictDelimiter(bool Value) { FStrictDelimiter = Value; }
    bool CaseSensitive() const { return FCaseSensitive; }
    virtual void SetCaseSensitive(bool Value);

    // Update brackets nest. A change outside a bracket raises OnChanging before and
    // OnChange after it; inside, nothing is raised. The outermost BeginUpdate raises
    // OnChanging and the outermost EndUpdate raises OnChange, whether or not anything
    // changed in between.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }
    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

    // UTF-8 text; loading also recognises a UTF-8 or UTF-16 byte order mark. Loading
    // reads from the stream's position to its end (EReadError when it cannot be read).
    void LoadFromStream(QIODevice& Stream);
    void SaveToStream(QIODevice& Stream) const;
    void LoadFromFile(const QString& FileName);
    void SaveToFile(const QString& FileName) const;

    // Streams the lines as the property "Strings" (a list of strings) when there are any.
    void DefineProperties(TFiler& Filer) override;

protected:
    // Raise OnChanging / OnChange unless inside an update bracket.
    void Changing();
    void Changed();
    // <0, 0, >0 following CaseSensitive.
    int CompareStrings(QStringView S1, QStringView S2) const;
    [[noreturn]] void IndexError(int Index) const;

private:
    void CheckCanShareObjects(const TStrings& Strings) const;
    QString DelimitedTextWith(QChar Delimiter, QChar Quote, bool Strict) const;
    void SetDelimitedTextWith(QStringView Value, QChar Delimiter, QChar Quote, bool Strict);

    QString FLineBreak = QStringLiteral("\n");
    QChar FNameValueSeparator = u'=';
    QChar FDelimiter = u',';
    QChar FQuoteChar = u'"';
    bool FStrictDelimiter = false;
    bool FCaseSensitive = false;
    int FUpdateCount = 0;
};

// The concrete list. With OwnsObjects it destroys attached objects when their lines are
// deleted or cleared, when they are replaced through SetObjects, and with the list.
class TStringList : public TStrings {
public:
    // Compares two lines by index: <0, 0, >0.
    using TStringListSortCompare = std::function<int(const TStringList& List, int Index1, int Index2)>;

    TStringList() = default;
    explicit TStringList(bool OwnsObjects) : FOwnsObjects(OwnsObjects) {}
    ~TStringList() override;

    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    int Count() const override { return static_cast<int>(FList.size()); }
    QString Strings(int Index) const override;
    // Raises EListError "Operation not allowed on sorted list" on a sorted list.
    void SetStrings(int Index, const QString& S) override;
    TObject* Objects(int Index) const override;
    void SetObjects(int Index, TObject* AObject) override;
    // A sorted list inserts at the sorted position and applies Duplicates: dupIgnore
    // returns the existing line's index, dupError raises EStringListError
    // "String list does not allow duplicates".
    int AddObject(const QString& S, TObject* AObject) override;
    // Insert, Exchange and Move raise EListError "Operation not allowed on sorted list"
    // on a sorted list.
    void InsertObject(int Index, const QString& S, TObject* AObject) override;
    void Delete(int Index) override;
    void Clear() override;
    void Exchange(int Index1, int Index2) override;
    void Move(int CurIndex, int NewIndex) override;
    int IndexOf(QStringView S) const override;

    // Binary search of a sorted list: true when found, Index the line (the first of equal
    // lines when duplicates are accepted) or where S would be inserted. On an unsorted
    // list a linear search, Index = Count when not found.
    bool Find(QStringView S, int& Index) const;
    // Some line equals S exactly (case-sensitive, whatever CaseSensitive says), read
    // without copying the lines.
    bool ContainsExactly(QStringView S) const;
    // Sorts an unsorted list by CompareStrings (stable); a sorted list is left alone.
    void Sort();
    void CustomSort(const TStringListSortCompare& Compare);

    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
    void SetCaseSensitive(bool Value) override;
    bool OwnsObjects() const override { return FOwnsObjects; }
    void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }

private:
    struct TStringItem {
        QString S;
        TObject* O = nullptr;
    };

    std::size_t CheckIndex(int Index) const;
    void CheckUnsorted() const;
    void InsertItem(int Index, const QString& S, TObject* AObject);
    void SortItems(const TStringListSortCompare& Compare);
    // Destroys an object that left the list when the list owns its objects.
    void Release(TObject* AObject) const;
    static int DefaultCompare(const TStringList& List, int Index1, int Index2);

    std::vector<TStringItem> FList;
    bool FSorted = false;
    TDuplicates FDuplicates = dupIgnore;
    bool FOwnsObjects = false;
};

} // namespace velk
