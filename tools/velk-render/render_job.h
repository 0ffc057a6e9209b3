#pragma once
// One document to one image: loading with the options that affect reading (resolution,
// languages), the output size rules, drawing, and writing the PNG. Every function that
// touches fonts needs a QGuiApplication (fonts.h sets up the process).
//
//   TRenderOptions options;
//   options.Width = 300;                       // 300 px wide, height in proportion
//   SavePNG(RenderFile(u"in.svg"_qs, options), u"out.png"_qs);

#include "graphics/geometry.h"
#include "tools/velk-render/render_options.h"

#include <QImage>
#include <QSize>
#include <QString>

namespace velk {

class TSVGDocument;
class TSVGGraphicElement;

// Where a drawing lands: the image's pixel size and, inside it, the rectangle the
// drawing is fitted into (the whole image unless both sides were given with another
// aspect ratio).
struct TRenderGeometry {
    QSize ImageSize;
    TRectF DrawRect;
};

// The output geometry for a drawing whose own size is OwnSize (pixels at the document's
// resolution). Own size: OwnSize x Zoom. Width or Height alone: that side, the other in
// proportion. Both: exactly that size, the drawing scaled uniformly to fit and centred.
// Fractions round up. Raises ERenderError when the own size is needed but is not a
// positive finite size, or when the result exceeds MaxBitmapSide / MaxBitmapPixels.
TRenderGeometry RenderGeometry(const TSizeF& OwnSize, const TRenderOptions& Options);

// The document's own size in pixels: its width and height as the document resolves
// them (an absent one is 100%; a percentage is of the view box, else of 100). Not
// positive or not finite when the document gives no usable size.
TSizeF DocumentOwnSize(const TSVGDocument& Document);

// A new document set up for Options (DPI; with Languages, those as PreferredLanguage and
// the user's locale no longer consulted), before anything is loaded into it.
void PrepareDocument(TSVGDocument& Document, const TRenderOptions& Options);

// The element with that id anywhere in Document's tree (the document itself included),
// as a drawable element. Raises
// ERenderError "no element with id "X"" or "element "X" (<class>) cannot be drawn".
TSVGGraphicElement& RenderElement(TSVGDocument& Document, const QString& ID);

// Draws a loaded document (or, with Options.ID, that element alone) into a new
// premultiplied ARGB image of the size RenderGeometry gives, over Options.Background.
QImage RenderDocument(TSVGDocument& Document, const TRenderOptions& Options);

// PrepareDocument, LoadFromFile, RenderDocument. Load errors arrive as the library
// raises them (velk::Exception and its kinds).
QImage RenderFile(const QString& FileName, const TRenderOptions& Options);

// Writes Image as a PNG file. Raises ERenderError "cannot write FILE: REASON".
void SavePNG(const QImage& Image, const QString& FileName);

} // namespace velk
