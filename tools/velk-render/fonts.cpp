#include "tools/velk-render/fonts.h"

#include "graphics/font.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>

namespace velk {

std::unique_ptr<QGuiApplication> EnsureRenderApplication(int& argc, char** argv)
{
    if (QCoreApplication::instance())
        return nullptr;
    // Rendering needs no display: without a choice of the user's, take Qt's offscreen
    // platform, so that the program runs on servers and in containers.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

int RegisterFontDirectory(const QString& Dir)
{
    const QFileInfo info(Dir);
    if (!info.isDir() || !info.isReadable())
        throw ERenderError(u"font folder %1 does not exist or cannot be read"_qs.arg(Dir));
    const QStringList patterns{u"*.ttf"_qs, u"*.otf"_qs, u"*.ttc"_qs, u"*.otc"_qs, u"*.pfa"_qs, u"*.pfb"_qs};
    const QFileInfoList files =
        QDir(Dir).entryInfoList(patterns, QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& file : files)
        if (QFontDatabase::addApplicationFont(file.filePath()) < 0)
            throw ERenderError(u"font file %1 cannot be loaded"_qs.arg(file.filePath()));
    return int(files.size());
}

void ApplyFontFamilies(const std::vector<std::pair<QString, QString>>& Families)
{
    for (const auto& [key, family] : Families) {
        if (!RenderFontFamilyKeys.contains(key, Qt::CaseInsensitive))
            throw ERenderError(u"unknown generic font family \"%1\""_qs.arg(key));
        // A generic name would map a generic family onto itself or another one: only
        // installed families are accepted.
        if (!QFontDatabase::families().contains(family, Qt::CaseInsensitive))
            throw ERenderError(u"font family \"%1\" (for %2) is not installed"_qs.arg(family, key));
        TVelkGPFont::SetGenericFamily(key, family);
    }
}

void SetUpRenderFonts(const TRenderOptions& Options)
{
    for (const QString& dir : Options.FontDirs)
        RegisterFontDirectory(dir);
    ApplyFontFamilies(Options.FontFamilies);
}

} // namespace velk
