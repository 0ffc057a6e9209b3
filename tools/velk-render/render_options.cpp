#include "tools/velk-render/render_options.h"

#include "graphics/bitmap_size.h"
#include "graphics/gp_color.h"
#include "svg/color.h"

#include <QRegularExpression>

#include <cmath>

namespace velk {

namespace {

// The largest --dpi: beyond it one millimetre alone would exceed any bitmap.
constexpr int MaxDPI = 100000;
// The largest --jobs: more threads than this only cost memory.
constexpr int MaxJobs = 256;

[[noreturn]] void Usage(const QString& Message)
{
    throw ERenderUsageError(Message);
}

int PositiveInt(const QString& Option, const QString& Value, int Min, int Max)
{
    bool ok = false;
    const int number = Value.toInt(&ok);
    if (!ok || number < Min || number > Max)
        Usage(u"%1 expects a whole number from %2 to %3, not \"%4\""_qs.arg(Option).arg(Min).arg(Max).arg(Value));
    return number;
}

double PositiveNumber(const QString& Option, const QString& Value)
{
    bool ok = false;
    const double number = Value.toDouble(&ok);
    if (!ok || !std::isfinite(number) || !(number > 0))
        Usage(u"%1 expects a positive number, not \"%2\""_qs.arg(Option, Value));
    return number;
}

// An SVG colour text, "none" or "transparent". A text that is no colour makes the parser
// return the default it was given: with two different defaults, only a real colour gives
// the same answer twice.
QColor BackgroundColor(const QString& Value)
{
    const QString text = Value.trimmed();
    if (text.compare(u"transparent"_qs, Qt::CaseInsensitive) == 0 || text.compare(u"none"_qs, Qt::CaseInsensitive) == 0)
        return Qt::transparent;
    const auto parse = [&](TVelkGPColor Default) {
        bool isNone = false;
        bool inherit = false;
        return SVGParseColor(text, Default, isNone, Default, inherit);
    };
    const TVelkGPColor color = parse(0x00000001);
    if (text.isEmpty() || text.compare(u"currentColor"_qs, Qt::CaseInsensitive) == 0 ||
        text.compare(u"inherit"_qs, Qt::CaseInsensitive) == 0 || color != parse(0x00000002))
        Usage(u"--background expects an SVG colour, not \"%1\""_qs.arg(Value));
    return QColor(ColorRed(color), ColorGreen(color), ColorBlue(color), ColorAlpha(color));
}

std::pair<QString, QString> FontFamily(const QString& Value)
{
    const qsizetype eq = Value.indexOf(u'=');
    const QString key = Value.left(eq).trimmed().toLower();
    const QString family = eq < 0 ? QString() : Value.mid(eq + 1).trimmed();
    if (eq < 0 || family.isEmpty() || !RenderFontFamilyKeys.contains(key))
        Usage(u"--font-family expects KEY=FAMILY with KEY one of %1, not \"%2\""_qs.arg(
            RenderFontFamilyKeys.join(u", "_qs), Value));
    return {key, family};
}

QStringList Languages(const QString& Value)
{
    static const QRegularExpression separators(u"[,\\s]+"_qs);
    const QStringList languages = Value.split(separators, Qt::SkipEmptyParts);
    if (languages.isEmpty())
        Usage(u"--lang expects a list of languages such as \"en,fr\", not \"%1\""_qs.arg(Value));
    return languages;
}

} // namespace

TRenderCommand ParseRenderCommand(const QStringList& Arguments)
{
    TRenderCommand command;
    // A request for help is answered whatever else the line holds.
    for (const QString& argument : Arguments) {
        if (argument == u"--"_qs)
            break;
        if (argument == u"--help"_qs || argument == u"-h"_qs) {
            command.Mode = rmHelp;
            return command;
        }
    }
    TRenderOptions& options = command.Options;
    QStringList paths;
    bool batch = false;
    bool jobsGiven = false;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < Arguments.size(); ++i) {
        const QString& argument = Arguments[i];
        if (optionsEnded || !argument.startsWith(u'-')) {
            paths.append(argument);
            continue;
        }
        if (argument == u"--"_qs) {
            optionsEnded = true;
            continue;
        }
        if (argument == u"--batch"_qs) {
            batch = true;
            continue;
        }
        // "--name=value" or "--name value".
        const qsizetype eq = argument.indexOf(u'=');
        const QString name = eq < 0 ? argument : argument.left(eq);
        static const QStringList valued{u"--width"_qs, u"--height"_qs, u"--zoom"_qs, u"--dpi"_qs,
                                        u"--background"_qs, u"--id"_qs, u"--font-dir"_qs, u"--font-family"_qs,
                                        u"--lang"_qs, u"--jobs"_qs};
        if (!valued.contains(name))
            Usage(u"unknown option \"%1\""_qs.arg(argument));
        QString value;
        if (eq >= 0)
            value = argument.mid(eq + 1);
        else if (i + 1 < Arguments.size())
            value = Arguments[++i];
        else
            Usage(u"%1 needs a value"_qs.arg(name));

        if (name == u"--width"_qs)
            options.Width = PositiveInt(name, value, 1, MaxBitmapSide);
        else if (name == u"--height"_qs)
            options.Height = PositiveInt(name, value, 1, MaxBitmapSide);
        else if (name == u"--zoom"_qs)
            options.Zoom = PositiveNumber(name, value);
        else if (name == u"--dpi"_qs)
            options.DPI = PositiveInt(name, value, 10, MaxDPI);
        else if (name == u"--background"_qs)
            options.Background = BackgroundColor(value);
        else if (name == u"--id"_qs) {
            if (value.isEmpty())
                Usage(u"--id needs a value"_qs);
            options.ID = value;
        } else if (name == u"--font-dir"_qs) {
            if (value.isEmpty())
                Usage(u"--font-dir needs a value"_qs);
            options.FontDirs.append(value);
        } else if (name == u"--font-family"_qs)
            options.FontFamilies.push_back(FontFamily(value));
        else if (name == u"--lang"_qs)
            options.Languages = Languages(value);
        else {
            command.Jobs = PositiveInt(name, value, 1, MaxJobs);
            jobsGiven = true;
        }
    }

    if (options.Zoom != 1 && (options.Width || options.Height))
        Usage(u"--zoom cannot be combined with --width or --height"_qs);
    if (jobsGiven && !batch)
        Usage(u"--jobs applies to --batch only"_qs);
    if (batch && !options.ID.isEmpty())
        Usage(u"--id cannot be combined with --batch"_qs);
    command.Mode = batch ? rmBatch : rmRender;
    const QString expected = batch ? u"INDIR OUTDIR"_qs : u"IN.svg OUT.png"_qs;
    if (paths.size() != 2)
        Usage(paths.size() < 2 ? u"expected %1"_qs.arg(expected)
                               : u"expected %1, but also got \"%2\""_qs.arg(expected, paths[2]));
    if (paths[0].isEmpty() || paths[1].isEmpty())
        Usage(u"expected %1, got an empty path"_qs.arg(expected));
    command.Input = paths[0];
    command.Output = paths[1];
    return command;
}

QString RenderUsageText()
{
    return u"Usage: velk-render [options] IN.svg OUT.png\n"
           "       velk-render --batch [options] [--jobs N] INDIR OUTDIR\n"
           "\n"
           "Renders an SVG file to a PNG image, at the document's own size unless told\n"
           "otherwise. With --batch, renders every *.svg file of INDIR to OUTDIR/<name>.png\n"
           "on all cores; a file that fails does not stop the others.\n"
           "\n"
           "Options (\"--name value\" or \"--name=value\"):\n"
           "  --width W            output width in pixels; the height follows in proportion\n"
           "  --height H           output height in pixels; the width follows in proportion\n"
           "                       (both: an image of exactly W x H, drawing fitted and centred)\n"
           "  --zoom Z             scale the document's own size by Z (not with --width/--height)\n"
           "  --dpi D              the document's resolution for mm, cm, in, pt, pc (default 96)\n"
           "  --background COLOR   any SVG colour (\"white\", \"#ffcc00\", \"rgb(0,0,255)\");\n"
           "                       default transparent\n"
           "  --id ID              render only the element with this id, cut to its own area\n"
           "  --font-dir DIR       register every font file in DIR (repeatable)\n"
           "  --font-family KEY=FAMILY\n"
           "                       the family for KEY: serif, sans-serif, monospace, cursive,\n"
           "                       fantasy, or default (used for unknown families) (repeatable)\n"
           "  --lang LIST          the user's languages for systemLanguage (\"en,fr\"), instead\n"
           "                       of the system's\n"
           "  --jobs N             batch worker threads (default: one per core)\n"
           "  --help               show this text\n"
           "\n"
           "Exit status: 0 done, 1 a file failed, 2 wrong command line.\n"_qs;
}

} // namespace velk
