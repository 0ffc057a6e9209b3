#pragma once
// EGDIPException: the error of the drawing backend. It is created with a status code of
// the classic 2-D API, which chooses the message; the backend maps the failures Qt and
// the system can report (invalid arguments, allocation failure, missing fonts, wrong
// state, ...) onto those codes.

#include "platform/exceptions.h"

namespace velk {

enum TVelkGPStatus {
    gpsOk, gpsGenericError, gpsInvalidParameter, gpsOutOfMemory, gpsObjectBusy, gpsInsufficientBuffer,
    gpsNotImplemented, gpsWin32Error, gpsWrongState, gpsAborted, gpsFileNotFound, gpsValueOverflow,
    gpsAccessDenied, gpsUnknownImageFormat, gpsFontFamilyNotFound, gpsFontStyleNotFound, gpsNotTrueTypeFont,
    gpsUnsupportedGdiplusVersion, gpsGdiplusNotInitialized, gpsPropertyNotFound, gpsPropertyNotSupported
};

class EGDIPException : public Exception {
public:
    // The message of Status (empty for codes outside the table). For gpsWin32Error,
    // SystemMessage is the operating system's text of the failure.
    explicit EGDIPException(TVelkGPStatus Status, const QString& SystemMessage = {});
    // A backend failure with its own fixed text ("%s has no owner", the pen array
    // checks).
    explicit EGDIPException(const QString& Message, TVelkGPStatus Status = gpsInvalidParameter);

    TVelkGPStatus Status() const noexcept { return FStatus; }

    // The message table.
    static QString StatusMessage(TVelkGPStatus Status, const QString& SystemMessage = {});

private:
    TVelkGPStatus FStatus;
};

namespace messages {
inline constexpr char16_t GPNoOwner[] = u"%s has no owner";
inline constexpr char16_t GPInvalidDashPattern[] =
    u"Invalid dash pattern.  All elements in the array must be positive real numbers";
inline constexpr char16_t GPInvalidCompoundArray[] =
    u"Invalid number of elements for pen compound array.  A compound array must be a sorted, even number of "
    u"values between 0 and 1.";
} // namespace messages

} // namespace velk
