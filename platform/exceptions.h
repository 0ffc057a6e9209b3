#pragma once
// The exception hierarchy. Every error the library raises derives from Exception
// and carries its message text; the texts are fixed (see docs/platform.md).

#include "platform/format.h"

#include <QByteArray>
#include <QString>
#include <exception>

namespace velk {

class Exception : public std::exception {
public:
    explicit Exception(QString message);
    template <typename... Args>
    Exception(QStringView pattern, const Args&... args) : Exception(Format(pattern, args...)) {}

    const QString& Message() const noexcept { return FMessage; }
    const char* what() const noexcept override { return FUtf8.constData(); }

private:
    QString FMessage;
    QByteArray FUtf8;
};

// Declares an exception kind that inherits every constructor of its base.
#define VELK_DECLARE_EXCEPTION(Name, Base) \
    class Name : public Base {             \
    public:                                \
        using Base::Base;                  \
    }

VELK_DECLARE_EXCEPTION(EInvalidOperation, Exception);
VELK_DECLARE_EXCEPTION(EConvertError, Exception);
VELK_DECLARE_EXCEPTION(EInvalidOp, Exception);          // float to integer of NaN, infinity, overflow
VELK_DECLARE_EXCEPTION(EArgumentException, Exception);
VELK_DECLARE_EXCEPTION(EArgumentOutOfRangeException, EArgumentException);
VELK_DECLARE_EXCEPTION(EListError, Exception);
VELK_DECLARE_EXCEPTION(EStringListError, Exception);
VELK_DECLARE_EXCEPTION(EStreamError, Exception);
VELK_DECLARE_EXCEPTION(EFOpenError, EStreamError);
VELK_DECLARE_EXCEPTION(EFCreateError, EStreamError);
VELK_DECLARE_EXCEPTION(EFilerError, EStreamError);
VELK_DECLARE_EXCEPTION(EReadError, EFilerError);
VELK_DECLARE_EXCEPTION(EWriteError, EFilerError);
VELK_DECLARE_EXCEPTION(EClassNotFound, EFilerError);
VELK_DECLARE_EXCEPTION(EXMLParseError, Exception);
VELK_DECLARE_EXCEPTION(EGHashtableError, Exception);
VELK_DECLARE_EXCEPTION(EAbstractError, Exception);  // an operation a class must override was called

#undef VELK_DECLARE_EXCEPTION

// The platform's fixed message texts.
namespace messages {
inline constexpr char16_t AssignError[] = u"Cannot assign a %s to a %s";
inline constexpr char16_t ListIndexError[] = u"List index out of bounds (%d)";
inline constexpr char16_t ListCapacityError[] = u"List capacity out of bounds (%d)";
inline constexpr char16_t ListEmpty[] = u"List is empty";
inline constexpr char16_t DuplicateString[] = u"String list does not allow duplicates";
inline constexpr char16_t SortedListError[] = u"Operation not allowed on sorted list";
inline constexpr char16_t SharedOwnedObjects[] = u"Cannot share objects with a string list that owns its objects";
inline constexpr char16_t GenericDuplicateItem[] = u"Duplicates not allowed";
inline constexpr char16_t GenericItemNotFound[] = u"Item not found";
inline constexpr char16_t ArgumentOutOfRange[] = u"Argument out of range";
inline constexpr char16_t InvalidFloat[] = u"'%s' is not a valid floating point value";
inline constexpr char16_t InvalidInteger[] = u"'%s' is not a valid integer value";
inline constexpr char16_t InvalidFormat[] = u"Format '%s' invalid or incompatible with argument";
inline constexpr char16_t InvalidFloatOperation[] = u"Invalid floating point operation";
inline constexpr char16_t ClassNotFound[] = u"Class %s not found";
inline constexpr char16_t ReadError[] = u"Stream read error";
inline constexpr char16_t WriteError[] = u"Stream write error";
inline constexpr char16_t InvalidImage[] = u"Invalid stream format";
inline constexpr char16_t UnknownProperty[] = u"Property %s does not exist";
inline constexpr char16_t InvalidPropertyValue[] = u"Invalid property value";
inline constexpr char16_t ClassNameMismatch[] = u"Stream read error: %s does not match expected %s class name";
inline constexpr char16_t NameTooLong[] = u"Name longer than 255 bytes cannot be streamed: %s";
inline constexpr char16_t StreamNestingTooDeep[] = u"Stream nesting deeper than %d levels";
inline constexpr char16_t FOpenError[] = u"Cannot open file \"%s\". %s";
inline constexpr char16_t FCreateError[] = u"Cannot create file \"%s\". %s";
inline constexpr char16_t TableEmpty[] = u"Table is empty";
inline constexpr char16_t InvalidClassTypecast[] = u"Invalid class typecast";
inline constexpr char16_t AbstractClassCreate[] = u"Cannot create an instance of abstract class %s";
inline constexpr char16_t AbstractError[] = u"Abstract Error";
// XML DOM (platform/xml).
inline constexpr char16_t XMLParseError[] = u"%s (line %d, column %d)";
inline constexpr char16_t XMLEntityExpansionLimit[] = u"Entity expansion limit exceeded by &%s; in <%s> on line %d";
inline constexpr char16_t XMLInputTooLarge[] = u"XML input larger than %d bytes";
inline constexpr char16_t XMLInvalidName[] = u"'%s' is not a valid XML name";
inline constexpr char16_t XMLUndeclaredPrefix[] = u"Namespace prefix %s is not declared";
inline constexpr char16_t XMLPrefixRedeclared[] = u"%s is already declared for %s";
} // namespace messages

} // namespace velk
