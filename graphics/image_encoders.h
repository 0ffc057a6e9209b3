#pragma once
// The process-wide list of image encoders: the five built-in encoders of the classic
// 2-D API (BMP, JPEG, GIF, TIFF, PNG), in that order, with their identifiers, names,
// extension patterns and MIME types. Qt does the encoding; which of them it can write
// here is decided at run time (CanEncode): GIF never, TIFF only with Qt's TIFF plugin.

#include "graphics/image_types.h"

#include <QByteArray>
#include <QUuid>

namespace velk {

namespace messages {
inline constexpr char16_t GPInvalidCodec[] = u"Invalid codec specified";
inline constexpr char16_t GPNoCodecForExt[] = u"No codec found for file ext \"%s\"";
} // namespace messages

// A copy of the encoder list (filled on first use; thread-safe).
TVelkGPImageCodecInfos ImageEncoderList();
// The encoder of Format: 0 BMP, 1 JPEG, 2 GIF, 3 TIFF, 4 PNG. Any other number, or a
// format without an encoder, raises EGDIPException "Invalid codec specified".
TVelkGPImageCodecInfo ImageEncoderInfo(int Format);

// The Qt format name ("png") that writes the encoder Clsid, empty for an unknown
// Clsid.
QByteArray EncoderQtFormat(const QUuid& Clsid);
// True when Qt can write the encoder's format here.
bool CanEncode(const QUuid& Clsid);

} // namespace velk
