#pragma once
// Process-wide font set-up for rendering: the application the font database needs,
// font folders and the generic family mapping. Call before any thread renders.
//
//   EnsureRenderApplication(argc, argv);
//   SetUpRenderFonts(options);   // --font-dir and --font-family

#include "tools/velk-render/render_options.h"

#include <QString>

#include <memory>

class QGuiApplication;

namespace velk {

// Selects Qt's offscreen platform when QT_QPA_PLATFORM is unset (rendering needs no
// display) and creates the QGuiApplication when none exists. Returns the application
// it created (nil when one existed); keep it alive while rendering.
std::unique_ptr<QGuiApplication> EnsureRenderApplication(int& argc, char** argv);

// Registers every font file (.ttf, .otf, .ttc, .otc, .pfa, .pfb) of Dir, not its
// subfolders, with the font database. Returns how many were registered. Raises
// ERenderError when Dir is not a readable folder or a font file cannot be loaded.
int RegisterFontDirectory(const QString& Dir);

// Maps each generic key (RenderFontFamilyKeys, any case) to its family for every font
// resolved afterwards. Raises ERenderError for an unknown key or a family that is not
// installed (after RegisterFontDirectory).
void ApplyFontFamilies(const std::vector<std::pair<QString, QString>>& Families);

// RegisterFontDirectory for every Options.FontDirs, then ApplyFontFamilies.
void SetUpRenderFonts(const TRenderOptions& Options);

} // namespace velk
