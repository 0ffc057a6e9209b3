#pragma once
// TVelkGPFont: a font of the drawing backend. It resolves a family name through Qt's
// font database (fontconfig on Linux), keeps the family's design metrics as the font
// file states them, and carries the brush text is filled with.
//
// Resolution, done on first use and again at once when the name changes:
//  - a generic family ("serif", "sans-serif", "monospace", "cursive", "fantasy", any
//    case) takes the family mapped to it (SetGenericFamily), else the family the system
//    chooses for it;
//  - any other name takes the installed family of that name (compared without case);
//  - anything else silently becomes the family mapped to "default", else the generic
//    sans-serif family.
// Name then reads as the family name Qt reports.
//
// Size is in FontUnit: world, display and pixel units are device pixels; points,
// inches, documents (1/300 inch) and millimetres are converted at the owner canvas's
// resolution (96 dots per inch without owner). Fractional sizes keep their size: text is
// laid out by graphics/text_layout.h, which scales from a fixed layout size.

#include "graphics/gp_types.h"
#include "graphics/graphics_object.h"

#include <QFont>

#include <memory>

namespace velk {

class TVelkGPBrush;

class TVelkGPFont : public TVelkGPGraphicsObject {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // "Tahoma", solid black brush, no style, size 11 in world units, default quality.
    explicit TVelkGPFont(TVelkGPCanvas* AOwner = nullptr);
    ~TVelkGPFont() override;

    // Published.
    const QString& Name() const { return FName; }
    // When different: stores, drops the resolved font, raises OnChange, then resolves
    // at once (so Name reads back as the resolved family).
    void SetName(const QString& Value);
    // The brush colour.
    TVelkGPColor Color() const;
    void SetColor(TVelkGPColor Value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles Value);
    // Compared exactly.
    float Size() const { return FSize; }
    void SetSize(float Value);
    TVelkGPUnit FontUnit() const { return FFontUnit; }
    void SetFontUnit(TVelkGPUnit Value);
    // Only raises OnChange: the quality chooses the canvas's text rendering hint.
    TFontQuality Quality() const { return FQuality; }
    void SetQuality(TFontQuality Value);

    // The brush text is filled with (owned; the setter copies).
    TVelkGPBrush& Brush() const { return *FBrush; }
    void SetBrush(const TVelkGPBrush& Value);

    // Design metrics of the resolved family for the style, in font design units, read
    // from the font file's own tables ("head", "OS/2", "hhea"): the em square, the
    // Windows ascent and descent, and the line spacing (ascent + descent + the external
    // leading the "hhea" line gap leaves over). Reading them resolves the font.
    int CellAscent() const;
    int CellDescent() const;
    int EmHeight() const;
    int LineSpacing() const;
    // The line spacing in device pixels at the owner's resolution (96 without owner).
    float Height() const;
    // The em size in device pixels at the owner's resolution (96 without owner).
    float PixelSize() const;

    // An underline or strike-out line in font design units: the distance of its middle
    // above the baseline (negative below) and its thickness, from the "post" and "OS/2"
    // tables.
    struct TDecorationLine {
        float Position = 0;
        float Thickness = 0;
    };
    TDecorationLine UnderlineLine() const;
    TDecorationLine StrikeOutLine() const;

    // The resolved font at the nearest whole pixel size (at least 1), hinting off. Text
    // layout uses LayoutFont() and scales; this one is for code that needs a QFont.
    const QFont& Handle() const;
    // The resolved font at the fixed layout size LayoutPixelSize (hinting off).
    const QFont& LayoutFont() const;
    static constexpr int LayoutPixelSize = 256;
    // Re-resolves the font from the fields.
    void Update() override;

    // Prepares the brush for aRect and Opacity; returns the font.
    TVelkGPGraphicsObject* Prepare(const TRectF& aRect, float Opacity) override;

    // From a TVelkGPFont: name, style, size, unit, quality, brush, and the resolved font
    // when the source has one. Anything else: TPersistent's rules.
    void Assign(const TPersistent* Source) override;
    using TVelkGPGraphicsObject::Assign;
    // From a platform font: family name, style, point size as the size (unit kept) and
    // quality (NoAntialias → fqNonAntialiased, PreferAntialias → fqAntialiased).
    void Assign(const QFont& Source);
    // To a platform font: family name, size rounded to whole points, style.
    void AssignTo(QFont& Dest) const;
    using TVelkGPGraphicsObject::AssignTo;

    // Style set ↔ style bits: bold 1, italic 2, underline 4, strike-out 8.
    static int GetFontStyle(TFontStyles Style);
    static TFontStyles GetFontStyle(int Bits);

    // True for the generic families (any case) and for the installed families
    // (compared without case; none without a GUI application).
    static bool IsFontFamilyAvailable(const QString& Name);

    // The process-wide generic family mapping, so that a program (a renderer matching
    // reference images, a kiosk with its own fonts) decides what the generic names and
    // unknown families draw with. Key is "serif", "sans-serif", "monospace", "cursive",
    // "fantasy" or "default" (any case). An empty Family removes the mapping; a family
    // that is not installed when a font resolves is passed over. Fonts already resolved
    // keep their family. False, changing nothing, for any other key. Thread-safe.
    static bool SetGenericFamily(const QString& Key, const QString& Family);
    // The family mapped to Key; empty when none is, or for any other key.
    static QString GenericFamily(const QString& Key);

protected:
    std::unique_ptr<TVelkGPGraphicsObject> CreateSame(TVelkGPCanvas* AOwner) const override;
    void DestroyHandle() override;

private:
    struct TResolved;
    const TResolved& Resolved() const;
    float Dpi() const;

    // Mutable: resolution is lazy, and renames the font to the family it found.
    mutable QString FName;
    std::unique_ptr<TVelkGPBrush> FBrush;
    TFontStyles FStyle;
    float FSize = 11;
    TVelkGPUnit FFontUnit = uWorld;
    TFontQuality FQuality = fqDefault;
    mutable std::unique_ptr<TResolved> FResolved;
};

} // namespace velk
