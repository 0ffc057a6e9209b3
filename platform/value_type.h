#pragma once
// The value kinds of the binary form-file format: each value in a stream starts with
// one of these bytes and is followed by its payload (see docs/binary-stream.md).

#include "platform/enum_names.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace velk {

// The deepest nesting the reader accepts and the writer produces, counting lists and
// collections inside values, nested objects of dotted names and objects streamed from
// within defined properties (an element tree). Beyond libxml2's default element depth
// (256), so that a document loaded from XML survives the binary form, yet bounded so
// that hostile streams cannot exhaust the stack.
inline constexpr int MaxStreamNesting = 512;

// The first four bytes of a stand-alone stream.
inline constexpr char FilerSignature[4] = {'T', 'P', 'F', '0'};

enum TValueType : std::uint8_t {
    vaNull,       // ends a property list, a list, an item or a collection
    vaList,       // starts a list of values or a collection item
    vaInt8,
    vaInt16,
    vaInt32,
    vaExtended,   // 10-byte x87 extended float
    vaString,     // length byte, 8-bit characters
    vaIdent,      // length byte, UTF-8 identifier
    vaFalse,
    vaTrue,
    vaBinary,     // 32-bit length, bytes
    vaSet,        // identifiers ended by an empty one
    vaLString,    // 32-bit length, 8-bit characters
    vaNil,
    vaCollection, // items (vaList ... vaNull) ended by vaNull
    vaSingle,
    vaCurrency,   // 64-bit integer in ten-thousandths
    vaDate,       // 8-byte float
    vaWString,    // 32-bit count of UTF-16 code units, then the code units
    vaInt64,
    vaUTF8String, // 32-bit byte count, UTF-8 bytes
    vaDouble,
};

template <>
struct EnumNames<TValueType> {
    static constexpr std::array<std::u16string_view, 22> Names{
        u"vaNull", u"vaList", u"vaInt8", u"vaInt16", u"vaInt32", u"vaExtended", u"vaString", u"vaIdent",
        u"vaFalse", u"vaTrue", u"vaBinary", u"vaSet", u"vaLString", u"vaNil", u"vaCollection", u"vaSingle",
        u"vaCurrency", u"vaDate", u"vaWString", u"vaInt64", u"vaUTF8String", u"vaDouble"};
};

} // namespace velk
