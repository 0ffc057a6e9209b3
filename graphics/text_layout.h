#pragma once
// Text layout of the drawing backend: lays a string out in a layout rectangle with a
// font and a string format, as the classic 2-D API's string drawing does, and gives
// its measured box, its glyph outlines, or paints it.
//
// The layout rectangle is (Left, Top, width, height). A width of 0 means no wrapping
// and a height of 0 no limit; on such an axis the rectangle is a point that the
// alignment places the text around (centred on it, or ending at it). The top of the text
// cell (the font's cell ascent above the first baseline) sits at the top of the
// rectangle; lines follow each other at the font's line spacing. The format (none means
// a generic default one) gives:
//  - Align and LineAlign along and across the lines, leading and trailing following the
//    reading direction (sffDirectionRightToLeft);
//  - wrapping at word boundaries (a word longer than a line breaks between characters),
//    unless sffNoWrap; CR, LF and CR LF break lines;
//  - a height limit: lines below the rectangle are dropped; a partly visible last line
//    stays unless sffLineLimit; the last line shown, and with sffNoWrap every line too
//    wide, is trimmed by Trimming when text is cut off;
//  - tab stops, trailing spaces (counted only with sffMeasureTrailingSpaces), hotkey
//    prefixes ('&' is removed for hpShow and hpHide, "&&" gives '&'; hpShow underlines
//    the marked character);
//  - the generic default format's padding: 1/6 em at both ends of every line (the
//    typographic format neither pads nor clips, and shows whole lines only).
// Drawing clips to the layout rectangle (along its bounded axes) unless sffNoClip.
// Vertical text and digit substitution are not supported: lines run horizontally and
// digits stay as written.
//
// Glyph positions come from Qt's text engine at a fixed layout size (hinting off) and are
// scaled to the font's size, so fractional sizes lay out exactly and measuring does not
// depend on the device.

#include "graphics/geometry.h"

#include <QPainterPath>
#include <QString>

#include <memory>

class QBrush;
class QPainter;

namespace velk {

class TVelkGPFont;
class TVelkGPStringFormat;

class TVelkGPTextLayout {
public:
    // Format may be null (a generic default format). A layout rectangle that is not
    // finite raises EGDIPException (invalid parameter).
    TVelkGPTextLayout(const QString& Text, const TVelkGPFont& Font, const TVelkGPStringFormat* Format,
                      const TRectF& LayoutRect);
    ~TVelkGPTextLayout();
    TVelkGPTextLayout(const TVelkGPTextLayout&) = delete;
    TVelkGPTextLayout& operator=(const TVelkGPTextLayout&) = delete;

    // The box the classic MeasureString reports, as (Left, Top, Right, Bottom): the
    // lines shown, with their padding, one line spacing each; (Left, Top, Left, Top) for
    // no text.
    TRectF Bounds() const;
    // The number of lines shown.
    int LineCount() const;
    // The glyph outlines of the lines shown (with underline and strike-out bars), in
    // the coordinates of the layout rectangle; non-zero fill.
    QPainterPath Outline() const;
    // Fills the outlines with Brush under Painter's transform, clipped as stated above.
    void Draw(QPainter& Painter, const QBrush& Brush) const;

private:
    struct TData;
    std::unique_ptr<TData> FData;
};

// One-call forms.
TRectF MeasureString(const QString& Text, const TVelkGPFont& Font, const TVelkGPStringFormat* Format,
                     const TRectF& LayoutRect);
QPainterPath TextOutline(const QString& Text, const TVelkGPFont& Font, const TVelkGPStringFormat* Format,
                         const TRectF& LayoutRect);
void DrawString(QPainter& Painter, const QBrush& Brush, const QString& Text, const TVelkGPFont& Font,
                const TVelkGPStringFormat* Format, const TRectF& LayoutRect);

} // namespace velk
