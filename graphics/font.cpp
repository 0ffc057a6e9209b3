#include "graphics/font.h"

#include "graphics/brush.h"
#include "graphics/canvas.h"
#include "graphics/gp_color.h"
#include "graphics/gp_exception.h"
#include "platform/numbers.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QFontInfo>
#include <QRawFont>
#include <QReadWriteLock>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string_view>
#include <utility>

namespace velk {

namespace {

// Big-endian fields of an OpenType table; nothing when the table is too short.
std::optional<int> ReadUInt16(const QByteArray& Table, int Offset)
{
    if (Offset < 0 || Offset + 2 > Table.size())
        return std::nullopt;
    const auto* data = reinterpret_cast<const unsigned char*>(Table.constData());
    return (data[Offset] << 8) | data[Offset + 1];
}

std::optional<int> ReadInt16(const QByteArray& Table, int Offset)
{
    const std::optional<int> value = ReadUInt16(Table, Offset);
    if (!value)
        return std::nullopt;
    return *value >= 0x8000 ? *value - 0x10000 : *value;
}

// The generic families, then the "default" key of the mapping (no family is named so).
enum TGenericFamily { gfNone, gfSerif, gfSansSerif, gfMonospace, gfCursive, gfFantasy, gfDefault };

constexpr std::array<std::u16string_view, 6> GenericKeys{u"serif",   u"sans-serif", u"monospace",
                                                         u"cursive", u"fantasy",    u"default"};

// The key's place in GenericKeys plus one, gfNone for any other text.
TGenericFamily GenericKey(const QString& Key)
{
    for (std::size_t i = 0; i < GenericKeys.size(); ++i)
        if (Key.compare(QStringView(GenericKeys[i]), Qt::CaseInsensitive) == 0)
            return TGenericFamily(i + 1);
    return gfNone;
}

TGenericFamily GenericFamilyOf(const QString& Name)
{
    const TGenericFamily generic = GenericKey(Name);
    return generic == gfDefault ? gfNone : generic;
}

// The mapping of SetGenericFamily, indexed by TGenericFamily - 1. Renderers set it once
// and resolve fonts from several threads, hence the lock.
struct TGenericMapping {
    QReadWriteLock Lock;
    std::array<QString, GenericKeys.size()> Families;
};

TGenericMapping& GenericMapping()
{
    static TGenericMapping mapping;
    return mapping;
}

QString MappedFamily(TGenericFamily Generic)
{
    TGenericMapping& mapping = GenericMapping();
    const QReadLocker lock(&mapping.Lock);
    return mapping.Families[Generic - 1];
}

// The installed family of that name, in the database's spelling. The font database
// needs a GUI application: without one (a console tool loading documents) no family
// counts as installed, rather than aborting the process.
std::optional<QString> InstalledFamily(const QString& Name)
{
    if (Name.isEmpty() || !qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return std::nullopt;
    for (const QString& family : QFontDatabase::families())
        if (family.compare(Name, Qt::CaseInsensitive) == 0)
            return family;
    return std::nullopt;
}

// The installed family mapped to Generic, if any.
std::optional<QString> InstalledMappedFamily(TGenericFamily Generic)
{
    return InstalledFamily(MappedFamily(Generic));
}

// A font asking for Name: the generic families through their mapping or the system's
// choice for them (fontconfig), installed families as they are, anything else as the
// family mapped to "default", else as sans-serif.
QFont RequestFont(const QString& Name)
{
    TGenericFamily generic = GenericFamilyOf(Name);
    std::optional<QString> family;
    if (generic == gfNone) {
        family = InstalledFamily(Name);
        if (!family)
            family = InstalledMappedFamily(gfDefault);
        if (!family)
            generic = gfSansSerif;
    }
    if (generic != gfNone)
        family = InstalledMappedFamily(generic);
    QFont font;
    if (family) {
        font.setFamily(*family);
    } else {
        // The names fontconfig knows for the generic families, and Qt's hints for them.
        static constexpr std::array<QFont::StyleHint, 5> Hints{QFont::Serif, QFont::SansSerif, QFont::Monospace,
                                                               QFont::Cursive, QFont::Fantasy};
        font.setFamily(QStringView(GenericKeys[generic - 1]).toString());
        font.setStyleHint(Hints[generic - 1]);
    }
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

} // namespace

// What resolution found: the family, the fonts built from it and its design metrics.
struct TVelkGPFont::TResolved {
    QString Family;
    QFont Handle;
    QFont LayoutFont;
    int CellAscent = 0;
    int CellDescent = 0;
    int EmHeight = 0;
    int LineSpacing = 0;
    TDecorationLine Underline;
    TDecorationLine StrikeOut;
};

const TClassInfo& TVelkGPFont::StaticClass()
{
    using C = TVelkGPFont;
    static const TClassInfo info(u"TVelkGPFont"_qs, &TVelkGPGraphicsObject::StaticClass(), &CreateInstance<C>,
                                 TPublished<C>()
                                     .String(u"Name"_qs, &C::Name, &C::SetName, u"Tahoma"_qs)
                                     .Integer(
                                         u"Color"_qs, [](const C& f) { return ColorBits(f.Color()); },
                                         [](C& f, std::int32_t v) { f.SetColor(static_cast<TVelkGPColor>(v)); },
                                         ColorBits(0xFF000000))
                                     .Set(u"Style"_qs, &C::Style, &C::SetStyle, TFontStyles())
                                     .Single(u"Size"_qs, &C::Size, &C::SetSize, 11)
                                     .Enumeration(u"FontUnit"_qs, &C::FontUnit, &C::SetFontUnit, uWorld)
                                     .Enumeration(u"Quality"_qs, &C::Quality, &C::SetQuality, fqDefault)
                                     .Take());
    return info;
}

TVelkGPFont::TVelkGPFont(TVelkGPCanvas* AOwner)
    : TVelkGPGraphicsObject(AOwner), FName(u"Tahoma"_qs),
      FBrush(std::make_unique<TVelkGPBrush>(nullptr, bkSolid, 0xFF000000))
{
    FBrush->OnChange = [this](TObject*) { Changed(); };
}

TVelkGPFont::~TVelkGPFont() = default;

std::unique_ptr<TVelkGPGraphicsObject> TVelkGPFont::CreateSame(TVelkGPCanvas* AOwner) const
{
    return std::make_unique<TVelkGPFont>(AOwner);
}

void TVelkGPFont::DestroyHandle()
{
    FResolved.reset();
}

void TVelkGPFont::SetName(const QString& Value)
{
    if (Value == FName)
        return;
    FName = Value;
    DestroyHandle();
    Changed();
    Resolved();
}

TVelkGPColor TVelkGPFont::Color() const
{
    return FBrush->Color();
}

void TVelkGPFont::SetColor(TVelkGPColor Value)
{
    FBrush->SetColor(Value);
}

void TVelkGPFont::SetStyle(TFontStyles Value)
{
    if (Value == FStyle)
        return;
    FStyle = Value;
    DestroyHandle();
    Changed();
}

void TVelkGPFont::SetSize(float Value)
{
    if (Value == FSize)
        return;
    FSize = Value;
    DestroyHandle();
    Changed();
}

void TVelkGPFont::SetFontUnit(TVelkGPUnit Value)
{
    if (Value == FFontUnit)
        return;
    FFontUnit = Value;
    DestroyHandle();
    Changed();
}

void TVelkGPFont::SetQuality(TFontQuality Value)
{
    if (Value == FQuality)
        return;
    FQuality = Value;
    Changed();
}

void TVelkGPFont::SetBrush(const TVelkGPBrush& Value)
{
    FBrush->Assign(&Value);
}

float TVelkGPFont::Dpi() const
{
    return Owner() ? Owner()->PixelsPerInchY() : 96.0f;
}

float TVelkGPFont::PixelSize() const
{
    const float dpi = Dpi();
    switch (FFontUnit) {
    case uWorld:
    case uDisplay:
    case uPixel:
        return FSize;
    case uPoint:
        return FSize * dpi / 72;
    case uInch:
        return FSize * dpi;
    case uDocument:
        return FSize * dpi / 300;
    case uMillimeter:
        return FSize * dpi / 25.4f;
    }
    return FSize;
}

const TVelkGPFont::TResolved& TVelkGPFont::Resolved() const
{
    if (FResolved)
        return *FResolved;
    // A font of no size, or of a size that is no number, cannot be made.
    const float pixelSize = PixelSize();
    if (!(pixelSize > 0) || !std::isfinite(pixelSize))
        throw EGDIPException(gpsInvalidParameter);

    auto resolved = std::make_unique<TResolved>();
    QFont font = RequestFont(FName);
    font.setBold(FStyle.Contains(fsBold));
    font.setItalic(FStyle.Contains(fsItalic));
    resolved->Family = QFontInfo(font).family();
    // Pin the family found, so that both fonts below are the same face.
    font.setFamily(resolved->Family);

    resolved->LayoutFont = font;
    resolved->LayoutFont.setPixelSize(LayoutPixelSize);
    resolved->Handle = font;
    resolved->Handle.setPixelSize(Round<int>(std::clamp(pixelSize, 1.0f, 65535.0f)));
    resolved->Handle.setUnderline(FStyle.Contains(fsUnderline));
    resolved->Handle.setStrikeOut(FStyle.Contains(fsStrikeOut));

    // Design metrics as the classic API reads them from the font file: the em square
    // from "head", ascent and descent from the Windows fields of "OS/2", and the line
    // spacing of the Windows text metrics (ascent + descent + the external leading:
    // whatever the "hhea" line gap adds beyond the Windows extent). Fonts without those
    // tables fall back on the "hhea" values, then on what the font engine reports.
    const QRawFont raw = QRawFont::fromFont(resolved->LayoutFont);
    const QByteArray head = raw.fontTable("head");
    const QByteArray os2 = raw.fontTable("OS/2");
    const QByteArray hhea = raw.fontTable("hhea");
    const QByteArray post = raw.fontTable("post");
    const int emHeight = ReadUInt16(head, 18).value_or(0);
    resolved->EmHeight = emHeight > 0 ? emHeight : std::max(1, Round<int>(raw.unitsPerEm()));
    const double toDesign = double(resolved->EmHeight) / LayoutPixelSize;
    const int hheaAscent = ReadInt16(hhea, 4).value_or(Round<int>(raw.ascent() * toDesign));
    const int hheaDescent = ReadInt16(hhea, 6).value_or(-Round<int>(raw.descent() * toDesign));
    const int lineGap = ReadInt16(hhea, 8).value_or(Round<int>(raw.leading() * toDesign));
    resolved->CellAscent = ReadUInt16(os2, 74).value_or(hheaAscent);
    resolved->CellDescent = ReadUInt16(os2, 76).value_or(-hheaDescent);
    const int cellHeight = resolved->CellAscent + resolved->CellDescent;
    resolved->LineSpacing = cellHeight + std::max(0, lineGap - (cellHeight - (hheaAscent - hheaDescent)));

    // Decorations: the tables give the top of each line; keep its middle.
    const auto line = [](std::optional<int> Top, std::optional<int> Thickness, float FallbackTop,
                         float FallbackThickness) {
        const float thickness = Thickness && *Thickness > 0 ? float(*Thickness) : FallbackThickness;
        return TDecorationLine{(Top ? float(*Top) : FallbackTop) - thickness / 2, thickness};
    };
    const float thickness = float(raw.lineThickness() * toDesign);
    resolved->Underline = line(ReadInt16(post, 8), ReadInt16(post, 10), float(-raw.underlinePosition() * toDesign),
                               thickness);
    resolved->StrikeOut = line(ReadInt16(os2, 28), ReadInt16(os2, 26), float(raw.xHeight() * toDesign / 2),
                               thickness);

    FName = resolved->Family;
    FResolved = std::move(resolved);
    return *FResolved;
}

int TVelkGPFont::CellAscent() const
{
    return Resolved().CellAscent;
}

int TVelkGPFont::CellDescent() const
{
    return Resolved().CellDescent;
}

int TVelkGPFont::EmHeight() const
{
    return Resolved().EmHeight;
}

int TVelkGPFont::LineSpacing() const
{
    return Resolved().LineSpacing;
}

float TVelkGPFont::Height() const
{
    const TResolved& resolved = Resolved();
    return float(double(resolved.LineSpacing) * PixelSize() / resolved.EmHeight);
}

TVelkGPFont::TDecorationLine TVelkGPFont::UnderlineLine() const
{
    return Resolved().Underline;
}

TVelkGPFont::TDecorationLine TVelkGPFont::StrikeOutLine() const
{
    return Resolved().StrikeOut;
}

const QFont& TVelkGPFont::Handle() const
{
    return Resolved().Handle;
}

const QFont& TVelkGPFont::LayoutFont() const
{
    return Resolved().LayoutFont;
}

void TVelkGPFont::Update()
{
    DestroyHandle();
    Resolved();
}

TVelkGPGraphicsObject* TVelkGPFont::Prepare(const TRectF& aRect, float Opacity)
{
    FBrush->Prepare(aRect, Opacity);
    return this;
}

void TVelkGPFont::Assign(const TPersistent* Source)
{
    const auto* font = dynamic_cast<const TVelkGPFont*>(Source);
    if (!font) {
        TPersistent::Assign(Source);
        return;
    }
    FName = font->FName;
    FStyle = font->FStyle;
    FSize = font->FSize;
    FFontUnit = font->FFontUnit;
    FQuality = font->FQuality;
    FResolved = font->FResolved ? std::make_unique<TResolved>(*font->FResolved) : nullptr;
    {
        // One change event for the whole assignment.
        const TQuietChanges quiet(*FBrush);
        FBrush->Assign(font->FBrush.get());
    }
    Changed();
}

void TVelkGPFont::Assign(const QFont& Source)
{
    FName = Source.family();
    FStyle = TFontStyles()
                 .Set(fsBold, Source.bold())
                 .Set(fsItalic, Source.italic())
                 .Set(fsUnderline, Source.underline())
                 .Set(fsStrikeOut, Source.strikeOut());
    // A font sized in pixels has no point size: take the pixels at 96 dots per inch.
    FSize = Source.pointSizeF() > 0 ? float(Source.pointSizeF()) : float(Source.pixelSize()) * 72 / 96;
    FQuality = Source.styleStrategy() & QFont::NoAntialias       ? fqNonAntialiased
               : Source.styleStrategy() & QFont::PreferAntialias ? fqAntialiased
                                                                 : fqDefault;
    DestroyHandle();
    Changed();
}

void TVelkGPFont::AssignTo(QFont& Dest) const
{
    Dest.setFamily(FName);
    if (const std::optional<int> points = TryFloatToInt<int>(std::nearbyint(FSize)); points && *points > 0)
        Dest.setPointSize(*points);
    Dest.setBold(FStyle.Contains(fsBold));
    Dest.setItalic(FStyle.Contains(fsItalic));
    Dest.setUnderline(FStyle.Contains(fsUnderline));
    Dest.setStrikeOut(FStyle.Contains(fsStrikeOut));
}

int TVelkGPFont::GetFontStyle(TFontStyles Style)
{
    // The set's bits are the style bits: bold 1, italic 2, underline 4, strike-out 8.
    return static_cast<int>(Style.Value());
}

TFontStyles TVelkGPFont::GetFontStyle(int Bits)
{
    return TFontStyles::FromValue(static_cast<std::uint64_t>(Bits) & 0xF);
}

bool TVelkGPFont::IsFontFamilyAvailable(const QString& Name)
{
    return GenericFamilyOf(Name) != gfNone || InstalledFamily(Name).has_value();
}

bool TVelkGPFont::SetGenericFamily(const QString& Key, const QString& Family)
{
    const TGenericFamily generic = GenericKey(Key);
    if (generic == gfNone)
        return false;
    TGenericMapping& mapping = GenericMapping();
    const QWriteLocker lock(&mapping.Lock);
    mapping.Families[generic - 1] = Family;
    return true;
}

QString TVelkGPFont::GenericFamily(const QString& Key)
{
    const TGenericFamily generic = GenericKey(Key);
    return generic == gfNone ? QString() : MappedFamily(generic);
}

} // namespace velk
