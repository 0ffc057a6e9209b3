#pragma once
// The options of velk-render and their command-line syntax. The parsed form is shared
// by the program, the conformance runner and the benchmarks, so that they all render
// a file the same way (render_job.h).
//
//   const TRenderCommand command = ParseRenderCommand({u"in.svg"_qs, u"out.png"_qs, u"--width"_qs, u"300"_qs});
//   const QImage image = RenderFile(command.Input, command.Options);

#include "platform/exceptions.h"

#include <QColor>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

namespace velk {

// A command line that cannot be followed (unknown option, missing or bad value): the
// program prints the message and the usage hint and exits with RenderExitUsage.
class ERenderUsageError : public Exception {
public:
    using Exception::Exception;
};

// A file that cannot be rendered or written, or a setting the system cannot honour
// (an output size beyond the largest bitmap, a font folder that does not exist).
class ERenderError : public Exception {
public:
    using Exception::Exception;
};

// Exit statuses of velk-render.
inline constexpr int RenderExitOK = 0;
inline constexpr int RenderExitFailed = 1; // a file failed (in a batch: at least one)
inline constexpr int RenderExitUsage = 2;  // the command line is wrong

// The generic keys of --font-family.
inline const QStringList RenderFontFamilyKeys{u"serif"_qs,   u"sans-serif"_qs, u"monospace"_qs,
                                              u"cursive"_qs, u"fantasy"_qs,    u"default"_qs};

// How one document becomes an image. Sizes are output pixels.
struct TRenderOptions {
    // --width / --height: the output size. One alone scales the drawing to it and the
    // other side follows in proportion; both give an image of exactly that size with the
    // drawing fitted into it, aspect kept, centred.
    std::optional<int> Width;
    std::optional<int> Height;
    // --zoom: a factor on the document's own size (not combined with a width or height).
    double Zoom = 1;
    // --dpi: the document's resolution, which converts physical units (mm, in, pt).
    int DPI = 96;
    // --background: painted under the drawing; transparent by default.
    QColor Background = Qt::transparent;
    // --id: only that element, cut to its own area (its bounds).
    QString ID;
    // --font-dir: every font file of these folders is registered before rendering.
    QStringList FontDirs;
    // --font-family KEY=FAMILY: the family a generic key stands for (RenderFontFamilyKeys).
    std::vector<std::pair<QString, QString>> FontFamilies;
    // --lang: the user's languages for systemLanguage tests, instead of the system's.
    std::optional<QStringList> Languages;
};

enum TRenderMode {
    rmRender, // Input (a file) to Output (a PNG file)
    rmBatch,  // every *.svg of Input (a folder) into Output (a folder)
    rmHelp    // --help: print the usage
};

struct TRenderCommand {
    TRenderMode Mode = rmRender;
    QString Input;
    QString Output;
    // --jobs: worker threads of a batch; 0 means one per core.
    int Jobs = 0;
    TRenderOptions Options;
};

// The command line without the program name. Options may come before, between or after
// the two paths, as "--name value" or "--name=value"; "--" ends the options. --help or
// -h anywhere before it gives rmHelp and nothing else is checked. Raises
// ERenderUsageError naming the offending argument.
TRenderCommand ParseRenderCommand(const QStringList& Arguments);

// The --help text.
QString RenderUsageText();

} // namespace velk
