// The canvas's text operations: drawing and measuring through TVelkGPTextLayout, so that
// what is drawn is exactly what measures (see docs/backend.md, "Text on the canvas").

#include "graphics/canvas.h"

#include "graphics/brush.h"
#include "graphics/canvas_region.h"
#include "graphics/font.h"
#include "graphics/painter_state_guard.h"
#include "graphics/text_layout.h"
#include "platform/numbers.h"

#include <QPainter>

#include <memory>
#include <optional>

namespace velk {
namespace {

// The text rendering hint a font quality asks for; none for fqDefault.
std::optional<TVelkGPTextRenderingHint> QualityHint(TFontQuality Quality)
{
    switch (Quality) {
    case fqDefault:
        return std::nullopt;
    case fqDraft:
        return trhSingleBitPerPixel;
    case fqProof:
        return trhAntiAlias;
    case fqNonAntialiased:
        return trhSingleBitPerPixelGridFit;
    case fqAntialiased:
        return trhAntiAliasGridFit;
    case fqClearType:
    case fqClearTypeNatural:
        return trhClearTypeGridFit;
    }
    return std::nullopt;
}

// Sets the canvas's text rendering hint for one drawing and puts the previous one back,
// when it had to be changed.
class TTextHintScope {
public:
    TTextHintScope(TVelkGPCanvas& Canvas, TFontQuality Quality)
        : FCanvas(Canvas), FPrevious(Canvas.TextRenderingHint())
    {
        const std::optional<TVelkGPTextRenderingHint> hint = QualityHint(Quality);
        if (hint && *hint != FPrevious) {
            FCanvas.SetTextRenderingHint(*hint);
            FChanged = true;
        }
    }
    ~TTextHintScope()
    {
        if (FChanged)
            FCanvas.SetTextRenderingHint(FPrevious);
    }
    TTextHintScope(const TTextHintScope&) = delete;
    TTextHintScope& operator=(const TTextHintScope&) = delete;

private:
    TVelkGPCanvas& FCanvas;
    TVelkGPTextRenderingHint FPrevious;
    bool FChanged = false;
};

// A zero-size layout rectangle at (X, Y): no wrapping, no height limit.
TRectF PointRect(float X, float Y)
{
    return {X, Y, X, Y};
}

} // namespace

void TVelkGPCanvas::FillText(const TRectF& ARect, const QString& AText, const TVelkGPStringFormat* StringFormat,
                             const TVelkGPFont& Font, float AOpacity)
{
    if (Font.Brush().Kind() == bkNone || !(AOpacity > 0))
        return;
    QPainter& painter = Handle();
    const TTextHintScope hint(*this, Font.Quality());
    const TVelkGPTextLayout layout(AText, Font, StringFormat, ARect);
    // The brush is laid out over the text's own box (a zero-size layout rectangle would
    // squeeze a gradient to nothing).
    const TRectF bounds = layout.Bounds();
    std::unique_ptr<TVelkGPBrush> clone;
    TVelkGPBrush* brush = nullptr;
    if (AOpacity < 1) {
        clone = Font.Brush().CloneAs<TVelkGPBrush>();
        brush = static_cast<TVelkGPBrush*>(clone->Prepare(bounds, AOpacity));
    } else {
        // At full opacity Prepare only lays the brush out over the area; the font's
        // settings stay.
        const_cast<TVelkGPFont&>(Font).Prepare(bounds, 1);
        brush = &Font.Brush();
    }

    const TPainterStateGuard guard(painter);
    // Glyphs are filled outlines: the text hint decides their anti-aliasing.
    painter.setRenderHint(QPainter::Antialiasing, painter.testRenderHint(QPainter::TextAntialiasing));
    if (const std::optional<QPainterPath> area = brush->PaintArea()) {
        if (area->isEmpty())
            return;
        painter.setClipPath(*area, Qt::IntersectClip);
    }
    layout.Draw(painter, brush->Handle());
}

void TVelkGPCanvas::FillText(const TRectF& ARect, const QString& AText, float AOpacity)
{
    FillText(ARect, AText, &StringFormat(), Font(), AOpacity);
}

void TVelkGPCanvas::FillText(const TRectF& ARect, const QString& AText, bool WordWrap, TVelkGPFillTextFlags Flags,
                             TVelkGPStringAlignment ATextAlign, TVelkGPStringAlignment AVTextAlign, float AOpacity)
{
    FillText(ARect, AText, WordWrap, Flags, ATextAlign, AVTextAlign, Font(), AOpacity);
}

void TVelkGPCanvas::FillText(const TRectF& ARect, const QString& AText, bool WordWrap,
                             [[maybe_unused]] TVelkGPFillTextFlags Flags, TVelkGPStringAlignment ATextAlign,
                             TVelkGPStringAlignment AVTextAlign, const TVelkGPFont& Font, float AOpacity)
{
    TVelkGPStringFormat& format = StringFormat();
    format.SetAlign(ATextAlign);
    format.SetLineAlign(AVTextAlign);
    format.SetTrimming(WordWrap ? stWord : stNone);
    FillText(ARect, AText, &format, Font, AOpacity);
}

void TVelkGPCanvas::MeasureText(TRectF& ARect, const QString& AText, const TVelkGPStringFormat* StringFormat,
                                const TVelkGPFont& Font)
{
    ARect = MeasureString(AText, Font, StringFormat, ARect);
}

void TVelkGPCanvas::MeasureText(TRectF& ARect, const QString& AText)
{
    MeasureText(ARect, AText, &StringFormat(), Font());
}

void TVelkGPCanvas::MeasureText(TRectF& ARect, const QString& AText, bool WordWrap,
                                [[maybe_unused]] TVelkGPFillTextFlags Flags, TVelkGPStringAlignment ATextAlign,
                                TVelkGPStringAlignment AVTextAlign)
{
    TVelkGPStringFormat& format = StringFormat();
    format.SetAlign(ATextAlign);
    format.SetLineAlign(AVTextAlign);
    format.SetTrimming(WordWrap ? stWord : stNone);
    MeasureText(ARect, AText, &format, Font());
}

TSizeF TVelkGPCanvas::TextExtentF(const QString& AText)
{
    TRectF r;
    MeasureText(r, AText, false, {}, saLeading, saCenter);
    return {r.Width(), r.Height()};
}

float TVelkGPCanvas::TextWidth(const QString& AText)
{
    return TextExtentF(AText).Width;
}

float TVelkGPCanvas::TextHeight(const QString& AText)
{
    return TextExtentF(AText).Height;
}

TSize TVelkGPCanvas::TextExtent(const QString& AText)
{
    const TSizeF size = TextExtentF(AText);
    return {Round<std::int32_t>(size.Width), Round<std::int32_t>(size.Height)};
}

void TVelkGPCanvas::TextOut(float X, float Y, const QString& Text)
{
    FillText(PointRect(X, Y), Text, false, {}, saLeading, saCenter, 1);
}

void TVelkGPCanvas::TextOut(std::int32_t X, std::int32_t Y, const QString& Text)
{
    TextOut(static_cast<float>(X), static_cast<float>(Y), Text);
}

void TVelkGPCanvas::TextRect(const TRect& Rect, std::int32_t X, std::int32_t Y, const QString& Text)
{
    // Puts the clip back on every exit path.
    struct TClipScope {
        TVelkGPCanvas& Canvas;
        const TVelkGPRegionArea Saved;
        ~TClipScope() { Canvas.SetClipArea(Saved); }
    } scope{*this, ClipArea()};
    ClipRegion().Combine(Rect, cmReplace);
    TextOut(X, Y, Text);
}

} // namespace velk
