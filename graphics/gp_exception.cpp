#include "graphics/gp_exception.h"

#include <array>

namespace velk {

namespace {

constexpr std::array<std::u16string_view, 21> StatusMessages{
    u"Nominal",
    u"Generic GDI+ Error",
    u"Invalid Parameter for GDI+ function",
    u"Out Of Memory in GDI+ layer",
    u"GDI+ Object Busy",
    u"Insufficient Buffer for GDI+",
    u"Not Implemented in GDI+",
    u"GDI+ Win32 Error: %s",
    u"Wrong State in GDI+",
    u"Operation was aborted in GDI+",
    u"Image File or Metafile cannot be found",
    u"Value Overflow in GDI+",
    u"Access Denied in GDI+",
    u"Unknown GDI+ Image Format",
    u"GDI+ Font Family Not Found",
    u"GDI+ Font Style Not Found",
    u"Not True Type Font",
    u"Unsupported GDI+ Version",
    u"GDI+ Not Initialized",
    u"GDI+ Property Not Found",
    u"Property Not Supported by GDI+",
};

} // namespace

QString EGDIPException::StatusMessage(TVelkGPStatus Status, const QString& SystemMessage)
{
    const auto index = static_cast<std::size_t>(Status);
    if (index >= StatusMessages.size())
        return {};
    const QStringView text(StatusMessages[index].data(), qsizetype(StatusMessages[index].size()));
    return Status == gpsWin32Error ? Format(text, SystemMessage) : text.toString();
}

EGDIPException::EGDIPException(TVelkGPStatus Status, const QString& SystemMessage)
    : Exception(StatusMessage(Status, SystemMessage)), FStatus(Status)
{
}

EGDIPException::EGDIPException(const QString& Message, TVelkGPStatus Status)
    : Exception(Message), FStatus(Status)
{
}

} // namespace velk
