#include "graphics/gp_exception.h"

#include "platform/format.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace velk {
namespace {

struct StatusCase {
    TVelkGPStatus Status;
    const char* Message;
};

class GPExceptionMessage : public ::testing::TestWithParam<StatusCase> {};

TEST_P(GPExceptionMessage, StatusChoosesTheMessage)
{
    const EGDIPException e(GetParam().Status);
    EXPECT_EQ(e.Message(), QString::fromUtf8(GetParam().Message));
    EXPECT_EQ(e.Status(), GetParam().Status);
}

INSTANTIATE_TEST_SUITE_P(
    Table, GPExceptionMessage,
    ::testing::Values(StatusCase{gpsOk, "Nominal"}, StatusCase{gpsGenericError, "Generic GDI+ Error"},
                      StatusCase{gpsInvalidParameter, "Invalid Parameter for GDI+ function"},
                      StatusCase{gpsOutOfMemory, "Out Of Memory in GDI+ layer"},
                      StatusCase{gpsObjectBusy, "GDI+ Object Busy"},
                      StatusCase{gpsInsufficientBuffer, "Insufficient Buffer for GDI+"},
                      StatusCase{gpsNotImplemented, "Not Implemented in GDI+"},
                      StatusCase{gpsWrongState, "Wrong State in GDI+"},
                      StatusCase{gpsAborted, "Operation was aborted in GDI+"},
                      StatusCase{gpsFileNotFound, "Image File or Metafile cannot be found"},
                      StatusCase{gpsValueOverflow, "Value Overflow in GDI+"},
                      StatusCase{gpsAccessDenied, "Access Denied in GDI+"},
                      StatusCase{gpsUnknownImageFormat, "Unknown GDI+ Image Format"},
                      StatusCase{gpsFontFamilyNotFound, "GDI+ Font Family Not Found"},
                      StatusCase{gpsFontStyleNotFound, "GDI+ Font Style Not Found"},
                      StatusCase{gpsNotTrueTypeFont, "Not True Type Font"},
                      StatusCase{gpsUnsupportedGdiplusVersion, "Unsupported GDI+ Version"},
                      StatusCase{gpsGdiplusNotInitialized, "GDI+ Not Initialized"},
                      StatusCase{gpsPropertyNotFound, "GDI+ Property Not Found"},
                      StatusCase{gpsPropertyNotSupported, "Property Not Supported by GDI+"}));

TEST(GPException, Win32ErrorCarriesTheSystemMessage)
{
    EXPECT_EQ(EGDIPException(gpsWin32Error, u"Access is denied."_qs).Message(),
              u"GDI+ Win32 Error: Access is denied."_qs);
}

TEST(GPException, UnknownStatusGivesAnEmptyMessage)
{
    const EGDIPException e(static_cast<TVelkGPStatus>(21));
    EXPECT_TRUE(e.Message().isEmpty());
    EXPECT_EQ(e.Status(), 21);
}

TEST(GPException, FixedTextKeepsItsStatus)
{
    const EGDIPException e(Format(messages::GPNoOwner, u"TVelkGPPath"_qs));
    EXPECT_EQ(e.Message(), u"TVelkGPPath has no owner"_qs);
    EXPECT_EQ(e.Status(), gpsInvalidParameter);
    EXPECT_EQ(EGDIPException(u"x"_qs, gpsWrongState).Status(), gpsWrongState);
}

} // namespace
} // namespace velk
