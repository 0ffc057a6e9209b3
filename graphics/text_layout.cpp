#include "graphics/text_layout.h"

#include "graphics/font.h"
#include "graphics/gp_exception.h"
#include "graphics/string_format.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <QTextBoundaryFinder>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace velk {

namespace {

// Layout works in the units of the font at TVelkGPFont::LayoutPixelSize. Qt keeps
// positions in 26.6 fixed point (up to 2^25): every line, unwrapped ones too, is broken
// at this width (about 39 000 em), and tab stops stay inside it.
constexpr qreal MaxLineWidth = 1e7;
constexpr QChar Ellipsis(0x2026);

// The text as laid out: CR LF, CR and LF become line separators; hotkey prefixes are
// resolved. Marked holds the positions of the characters a '&' marked.
struct TPreparedText {
    QString Text;
    std::vector<int> Marked;
};

TPreparedText PrepareText(const QString& Text, TVelkGPHotkeyPrefix HotkeyPrefix)
{
    TPreparedText result;
    result.Text.reserve(Text.size());
    const qsizetype count = Text.size();
    for (qsizetype i = 0; i < count; ++i) {
        const QChar c = Text[i];
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < count && Text[i + 1] == u'\n')
                ++i;
            result.Text += QChar::LineSeparator;
        } else if (c == u'&' && HotkeyPrefix != hpNone) {
            if (i + 1 < count && Text[i + 1] == u'&') {
                result.Text += c;
                ++i;
            } else if (HotkeyPrefix == hpShow && i + 1 < count && Text[i + 1] != u'\r' && Text[i + 1] != u'\n') {
                result.Marked.push_back(static_cast<int>(result.Text.size()));
            }
        } else {
            result.Text += c;
        }
    }
    return result;
}

// The signed area of a path's polygon of element points: its sign tells the
// orientation of the outer contours of glyph outlines.
qreal SignedArea(const QPainterPath& Path)
{
    qreal area = 0;
    QPointF start;
    QPointF previous;
    for (int i = 0; i < Path.elementCount(); ++i) {
        const QPainterPath::Element e = Path.elementAt(i);
        const QPointF p(e.x, e.y);
        if (e.isMoveTo()) {
            area += previous.x() * start.y() - start.x() * previous.y();
            start = p;
        } else {
            area += previous.x() * p.y() - p.x() * previous.y();
        }
        previous = p;
    }
    return area + previous.x() * start.y() - start.x() * previous.y();
}

// A bar from X1 to X2 between Top and Bottom, wound like the glyph outlines (Clockwise
// as the path's y-down coordinates show it), so that a non-zero fill unites them.
void AddBar(QPainterPath& Path, qreal X1, qreal X2, qreal Top, qreal Bottom, bool Clockwise)
{
    if (X2 <= X1 || Bottom <= Top)
        return;
    Path.moveTo(X1, Top);
    if (Clockwise) {
        Path.lineTo(X2, Top);
        Path.lineTo(X2, Bottom);
        Path.lineTo(X1, Bottom);
    } else {
        Path.lineTo(X1, Bottom);
        Path.lineTo(X2, Bottom);
        Path.lineTo(X2, Top);
    }
    Path.closeSubpath();
}

} // namespace

// One line shown: the Qt layout holding it (the paragraph layout, or a layout of its own
// when trimming rewrote it), its index there, its text range and its natural width.
// Qt keeps line positions in 26.6 fixed point, so lines stay at Qt's origin and are
// placed here (Origin: where that origin goes, in layout units).
struct TShownLine {
    QTextLayout* Layout = nullptr;
    int Index = 0;
    int Start = 0;
    int Length = 0;
    qreal Width = 0;
    // Trailing white space Qt counts in the line but the box leaves out: its width, and
    // where it shows (left of the text in a right-to-left line).
    qreal Lead = 0;
    QPointF Origin;
};

namespace {

// Line Index of Layout, its trailing white space counted only when IncludeTrailing.
TShownLine ShownLine(QTextLayout& Layout, int Index, bool IncludeTrailing)
{
    const QTextLine line = Layout.lineAt(Index);
    TShownLine result{&Layout, Index, line.textStart(), line.textLength(), line.naturalTextWidth(), 0, {}};
    if (IncludeTrailing)
        return result;
    const QString& text = Layout.text();
    int end = line.textStart() + line.textLength();
    while (end > line.textStart() && text[end - 1].isSpace())
        --end;
    const qreal trailing = std::abs(line.cursorToX(line.textStart() + line.textLength()) - line.cursorToX(end));
    result.Width = std::max<qreal>(0, result.Width - trailing);
    if (Layout.textOption().textDirection() == Qt::RightToLeft)
        result.Lead = trailing;
    return result;
}

} // namespace

struct TVelkGPTextLayout::TData {
    TRectF LayoutRect;
    qreal Scale = 1;         // device units per layout unit
    qreal Padding = 0;       // layout units at each end of a line
    qreal LineSpacing = 0;   // layout units
    qreal Ascent = 0;        // layout units
    bool Clip = false;
    bool Underline = false;
    bool StrikeOut = false;
    TVelkGPFont::TDecorationLine UnderlineLine; // layout units
    TVelkGPFont::TDecorationLine StrikeOutLine; // layout units
    TPreparedText Prepared;
    QTextOption Option;
    QFont Font;
    std::vector<std::unique_ptr<QTextLayout>> Layouts;
    std::vector<TShownLine> Lines;
    QRectF Box; // layout units; empty without lines

    void Build(const QString& Text, const TVelkGPFont& AFont, const TVelkGPStringFormat& Format);
    TShownLine Trim(const QString& Rest, TVelkGPStringTrimming Trimming, qreal Available, bool IncludeTrailing);
    QTextLayout& NewLayout(const QString& Text);
};

QTextLayout& TVelkGPTextLayout::TData::NewLayout(const QString& Text)
{
    Layouts.push_back(std::make_unique<QTextLayout>(Text, Font));
    QTextLayout& layout = *Layouts.back();
    layout.setTextOption(Option);
    layout.setCacheEnabled(true);
    return layout;
}

// The longest start of Rest that fits Available: at a character or word boundary,
// followed by an ellipsis, or elided in the middle, as Trimming says.
TShownLine TVelkGPTextLayout::TData::Trim(const QString& Rest, TVelkGPStringTrimming Trimming, qreal Available,
                                          bool IncludeTrailing)
{
    QString shown;
    if (Trimming == stEllipsisPath) {
        shown = QFontMetricsF(Font).elidedText(Rest, Qt::ElideMiddle, Available);
    } else {
        const bool ellipsis = Trimming == stEllipsisCharacter || Trimming == stEllipsisWord;
        const bool words = Trimming == stWord || Trimming == stEllipsisWord;
        const qreal budget = Available - (ellipsis ? QFontMetricsF(Font).horizontalAdvance(Ellipsis) : 0);
        QTextLayout& measure = NewLayout(Rest);
        measure.beginLayout();
        QTextLine line = measure.createLine();
        line.setLineWidth(MaxLineWidth);
        measure.endLayout();
        const bool rightToLeft = Option.textDirection() == Qt::RightToLeft;
        const auto prefixWidth = [&](int Position) {
            const qreal x = line.cursorToX(Position);
            return rightToLeft ? line.naturalTextWidth() - x : x;
        };
        // The last boundary that fits, by words first when asked, else by characters.
        int best = 0;
        for (const auto type : {QTextBoundaryFinder::Word, QTextBoundaryFinder::Grapheme}) {
            if (type == QTextBoundaryFinder::Word && !words)
                continue;
            QTextBoundaryFinder finder(type, Rest);
            for (qsizetype position = finder.toNextBoundary(); position > 0; position = finder.toNextBoundary()) {
                if (type == QTextBoundaryFinder::Word && !(finder.boundaryReasons() & QTextBoundaryFinder::EndOfItem))
                    continue;
                if (position > line.textLength() || prefixWidth(static_cast<int>(position)) > budget)
                    break;
                best = static_cast<int>(position);
            }
            if (best > 0)
                break;
        }
        if (best == 0 && budget < 0)
            return {};
        shown = Rest.left(best);
        if (ellipsis)
            shown += Ellipsis;
    }
    QTextLayout& layout = NewLayout(shown);
    layout.beginLayout();
    layout.createLine().setLineWidth(MaxLineWidth);
    layout.endLayout();
    return ShownLine(layout, 0, IncludeTrailing);
}

void TVelkGPTextLayout::TData::Build(const QString& Text, const TVelkGPFont& AFont, const TVelkGPStringFormat& Format)
{
    const qreal boxWidth = LayoutRect.Width();
    const qreal boxHeight = LayoutRect.Height();
    const TVelkGPStringFormatRec& rec = Format.Rec();
    TVelkGPStringFormatFlags flags = rec.Flags;
    // The typographic format neither pads, nor clips, nor shows partial lines.
    if (Format.IsTypographic())
        flags += TVelkGPStringFormatFlags{sffNoClip, sffLineLimit};
    const qreal em = TVelkGPFont::LayoutPixelSize;
    const qreal fromDesign = em / AFont.EmHeight();
    Scale = AFont.PixelSize() / em;
    Padding = Format.IsTypographic() ? 0 : em / 6;
    LineSpacing = AFont.LineSpacing() * fromDesign;
    Ascent = AFont.CellAscent() * fromDesign;
    Underline = AFont.Style().Contains(fsUnderline);
    StrikeOut = AFont.Style().Contains(fsStrikeOut);
    UnderlineLine = {float(AFont.UnderlineLine().Position * fromDesign),
                     float(AFont.UnderlineLine().Thickness * fromDesign)};
    StrikeOutLine = {float(AFont.StrikeOutLine().Position * fromDesign),
                     float(AFont.StrikeOutLine().Thickness * fromDesign)};
    Clip = !flags.Contains(sffNoClip) && (boxWidth > 0 || boxHeight > 0);
    Font = AFont.LayoutFont();

    // Alignment is done here (Qt's would need the line width), and so is keeping lines
    // unwrapped (a line width no text reaches); tabs scale to the layout size.
    Option = Format.Handle();
    Option.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
    Option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    QList<QTextOption::Tab> tabs = Option.tabs();
    for (QTextOption::Tab& tab : tabs)
        tab.position = std::clamp(tab.position / Scale, 0.0, MaxLineWidth);
    Option.setTabs(tabs);
    Option.setTabStopDistance(std::min(Option.tabStopDistance() / Scale, MaxLineWidth));

    Prepared = PrepareText(Text, rec.HotkeyPrefix);
    if (Prepared.Text.isEmpty())
        return;

    const qreal width = boxWidth / Scale;
    const qreal height = boxHeight / Scale;
    const bool wrap = boxWidth > 0 && !flags.Contains(sffNoWrap);
    const qreal available = boxWidth > 0 ? std::clamp<qreal>(width - 2 * Padding, 0, MaxLineWidth) : MaxLineWidth;

    QTextLayout& paragraph = NewLayout(Prepared.Text);
    paragraph.beginLayout();
    for (QTextLine line = paragraph.createLine(); line.isValid(); line = paragraph.createLine())
        line.setLineWidth(wrap ? available : MaxLineWidth);
    paragraph.endLayout();

    // Lines below a bounded rectangle are dropped; a partly visible one stays unless the
    // line limit asks for whole lines only.
    int shown = paragraph.lineCount();
    if (boxHeight > 0) {
        const bool wholeLines = flags.Contains(sffLineLimit);
        shown = 0;
        while (shown < paragraph.lineCount() &&
               (wholeLines ? (shown + 1) * LineSpacing <= height * (1 + 1e-9) : shown * LineSpacing < height))
            ++shown;
    }
    const auto paragraphEnd = [&](int From) {
        const qsizetype end = Prepared.Text.indexOf(QChar::LineSeparator, From);
        return static_cast<int>(end < 0 ? Prepared.Text.size() : end);
    };
    const bool includeTrailing = flags.Contains(sffMeasureTrailingSpaces);
    for (int i = 0; i < shown; ++i) {
        const QTextLine line = paragraph.lineAt(i);
        TShownLine shownLine = ShownLine(paragraph, i, includeTrailing);
        const int end = paragraphEnd(line.textStart());
        const bool cutBelow = i == shown - 1 && shown < paragraph.lineCount() && line.textStart() + line.textLength() < end;
        const bool tooWide = boxWidth > 0 && !wrap && shownLine.Width > available;
        if ((cutBelow || tooWide) && rec.Trimming != stNone && !(cutBelow && rec.Trimming == stWord && !tooWide))
            shownLine = Trim(Prepared.Text.mid(line.textStart(), end - line.textStart()), rec.Trimming, available,
                             includeTrailing);
        if (shownLine.Layout)
            Lines.push_back(shownLine);
        else
            Lines.push_back({});
    }

    // Placement: along the line by Align in the reading direction, across by LineAlign;
    // an unbounded axis places the text around the rectangle's corner.
    const bool rightToLeft = flags.Contains(sffDirectionRightToLeft);
    const auto factor = [](TVelkGPStringAlignment Align, bool Reversed) {
        switch (Align) {
        case saLeading:
            return Reversed ? 1.0 : 0.0;
        case saCenter:
            return 0.5;
        case saTrailing:
            return Reversed ? 0.0 : 1.0;
        }
        return 0.0;
    };
    const qreal alongFactor = factor(rec.Align, rightToLeft);
    const qreal textHeight = static_cast<qreal>(Lines.size()) * LineSpacing;
    const qreal top = factor(rec.LineAlign, false) * ((boxHeight > 0 ? height : 0) - textHeight);
    const qreal lineRoom = (boxWidth > 0 ? width : 0) - 2 * Padding;
    for (std::size_t i = 0; i < Lines.size(); ++i) {
        TShownLine& shownLine = Lines[i];
        const qreal lineTop = top + static_cast<qreal>(i) * LineSpacing;
        const qreal x = Padding + alongFactor * (lineRoom - shownLine.Width);
        if (shownLine.Layout) {
            const qreal lineAscent = shownLine.Layout->lineAt(shownLine.Index).ascent();
            shownLine.Origin = {x - shownLine.Lead, lineTop + Ascent - lineAscent};
        }
        Box |= QRectF(x - Padding, lineTop, shownLine.Width + 2 * Padding, LineSpacing);
    }
    // The box stays inside the bounded axes of the rectangle.
    if (boxWidth > 0)
        Box &= QRectF(0, Box.top(), width, Box.height());
    if (boxHeight > 0)
        Box &= QRectF(Box.left(), 0, Box.width(), height);
}

TVelkGPTextLayout::TVelkGPTextLayout(const QString& Text, const TVelkGPFont& Font, const TVelkGPStringFormat* Format,
                                     const TRectF& LayoutRect)
    : FData(std::make_unique<TData>())
{
    for (const float side : {LayoutRect.Left, LayoutRect.Top, LayoutRect.Right, LayoutRect.Bottom})
        if (!std::isfinite(side))
            throw EGDIPException(gpsInvalidParameter);
    FData->LayoutRect = LayoutRect;
    if (Format) {
        FData->Build(Text, Font, *Format);
    } else {
        const TVelkGPStringFormat defaultFormat;
        FData->Build(Text, Font, defaultFormat);
    }
}

TVelkGPTextLayout::~TVelkGPTextLayout() = default;

int TVelkGPTextLayout::LineCount() const
{
    return static_cast<int>(FData->Lines.size());
}

TRectF TVelkGPTextLayout::Bounds() const
{
    const TRectF& r = FData->LayoutRect;
    if (FData->Lines.empty())
        return {r.Left, r.Top, r.Left, r.Top};
    const QRectF& box = FData->Box;
    const qreal s = FData->Scale;
    return {float(r.Left + box.left() * s), float(r.Top + box.top() * s), float(r.Left + box.right() * s),
            float(r.Top + box.bottom() * s)};
}

QPainterPath TVelkGPTextLayout::Outline() const
{
    const TData& d = *FData;
    QPainterPath glyphs;
    std::vector<std::pair<const TShownLine*, qreal>> baselines;
    for (const TShownLine& shownLine : d.Lines) {
        if (!shownLine.Layout)
            continue;
        const QTextLine line = shownLine.Layout->lineAt(shownLine.Index);
        for (const QGlyphRun& run : line.glyphRuns()) {
            const QRawFont raw = run.rawFont();
            const QList<quint32> indexes = run.glyphIndexes();
            const QList<QPointF> positions = run.positions();
            for (qsizetype i = 0; i < indexes.size() && i < positions.size(); ++i)
                glyphs.addPath(raw.pathForGlyph(indexes[i]).translated(shownLine.Origin + positions[i]));
        }
        baselines.emplace_back(&shownLine, shownLine.Origin.y() + line.ascent());
    }

    // Underline, strike-out and hotkey bars, wound like the glyphs.
    QPainterPath bars;
    const bool clockwise = SignedArea(glyphs) >= 0;
    for (const auto& entry : baselines) {
        // Plain variables: clang 14 cannot capture structured bindings in lambdas.
        const auto* shownLine = entry.first;
        const qreal baseline = entry.second;
        const QTextLine line = shownLine->Layout->lineAt(shownLine->Index);
        const qreal x1 = shownLine->Origin.x() + shownLine->Lead;
        const qreal x2 = x1 + shownLine->Width;
        const auto bar = [&](const TVelkGPFont::TDecorationLine& Line, qreal From, qreal To) {
            const qreal middle = baseline - Line.Position;
            AddBar(bars, From, To, middle - Line.Thickness / 2, middle + Line.Thickness / 2, clockwise);
        };
        if (d.Underline)
            bar(d.UnderlineLine, x1, x2);
        if (d.StrikeOut)
            bar(d.StrikeOutLine, x1, x2);
        if (shownLine->Layout == d.Layouts.front().get()) {
            for (const int marked : d.Prepared.Marked) {
                if (marked < shownLine->Start || marked >= shownLine->Start + shownLine->Length)
                    continue;
                const qreal a = shownLine->Origin.x() + line.cursorToX(marked);
                const qreal b = shownLine->Origin.x() + line.cursorToX(marked + 1);
                bar(d.UnderlineLine, std::min(a, b), std::max(a, b));
            }
        }
    }
    glyphs.addPath(bars);
    glyphs.setFillRule(Qt::WindingFill);

    QTransform toDevice;
    toDevice.translate(d.LayoutRect.Left, d.LayoutRect.Top);
    toDevice.scale(d.Scale, d.Scale);
    QPainterPath result = toDevice.map(glyphs);
    result.setFillRule(Qt::WindingFill);
    return result;
}

void TVelkGPTextLayout::Draw(QPainter& Painter, const QBrush& Brush) const
{
    if (FData->Lines.empty())
        return;
    const QPainterPath outline = Outline();
    Painter.save();
    if (FData->Clip) {
        // Clip along the bounded axes only.
        const TRectF& r = FData->LayoutRect;
        constexpr qreal unbounded = 1e9;
        const qreal left = r.Width() > 0 ? r.Left : -unbounded;
        const qreal right = r.Width() > 0 ? r.Right : unbounded;
        const qreal top = r.Height() > 0 ? r.Top : -unbounded;
        const qreal bottom = r.Height() > 0 ? r.Bottom : unbounded;
        Painter.setClipRect(QRectF(QPointF(left, top), QPointF(right, bottom)), Qt::IntersectClip);
    }
    Painter.fillPath(outline, Brush);
    Painter.restore();
}

TRectF MeasureString(const QString& Text, const TVelkGPFont& Font, const TVelkGPStringFormat* Format,
                     const TRectF& LayoutRect)
{
    return TVelkGPTextLayout(Text, Font, Format, LayoutRect).Bounds();
}

QPainterPath TextOutline(const QString& Text, const TVelkGPFont& Font, const TVelkGPStringFormat* Format,
                         const TRectF& LayoutRect)
{
    return TVelkGPTextLayout(Text, Font, Format, LayoutRect).Outline();
}

void DrawString(QPainter& Painter, const QBrush& Brush, const QString& Text, const TVelkGPFont& Font,
                const TVelkGPStringFormat* Format, const TRectF& LayoutRect)
{
    TVelkGPTextLayout(Text, Font, Format, LayoutRect).Draw(Painter, Brush);
}

} // namespace velk
