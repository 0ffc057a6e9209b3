#include "tools/velk-render/render_job.h"

#include "graphics/bitmap_size.h"
#include "graphics/canvas.h"
#include "svg/document.h"
#include "svg/graphic_element.h"

#include <QImageWriter>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <vector>

namespace velk {

namespace {

bool IsPositiveSize(double Width, double Height)
{
    return std::isfinite(Width) && std::isfinite(Height) && Width > 0 && Height > 0;
}

} // namespace

TSizeF DocumentOwnSize(const TSVGDocument& Document)
{
    return {Document.Width(), Document.Height()};
}

TRenderGeometry RenderGeometry(const TSizeF& OwnSize, const TRenderOptions& Options)
{
    const double ownWidth = OwnSize.Width;
    const double ownHeight = OwnSize.Height;
    const bool hasOwnSize = IsPositiveSize(ownWidth, ownHeight);
    const bool both = Options.Width && Options.Height;
    if (!both && !hasOwnSize)
        throw ERenderError(u"the drawing has no usable size (%1 x %2); give --width and --height"_qs.arg(
            double(OwnSize.Width)).arg(double(OwnSize.Height)));

    double width = 0;
    double height = 0;
    if (both) {
        width = *Options.Width;
        height = *Options.Height;
    } else if (Options.Width) {
        width = *Options.Width;
        height = ownHeight * width / ownWidth;
    } else if (Options.Height) {
        height = *Options.Height;
        width = ownWidth * height / ownHeight;
    } else {
        width = ownWidth * Options.Zoom;
        height = ownHeight * Options.Zoom;
    }
    const bool fits = IsPositiveSize(width, height) && std::ceil(width) <= MaxBitmapSide &&
                      std::ceil(height) <= MaxBitmapSide && std::ceil(width) * std::ceil(height) <= MaxBitmapPixels;
    if (!fits)
        throw ERenderError(
            u"the image would be %1 x %2 pixels; the largest is %3 pixels a side and %4 pixels in all"_qs.arg(width)
                .arg(height)
                .arg(MaxBitmapSide)
                .arg(MaxBitmapPixels));

    TRenderGeometry geometry;
    geometry.ImageSize = CheckedBitmapSize(width, height);
    geometry.DrawRect = MakeRectF(0, 0, float(width), float(height));
    if (both && hasOwnSize) {
        // Fitted and centred, as preserveAspectRatio's xMidYMid meet would place it.
        const double scale = std::min(width / ownWidth, height / ownHeight);
        const double drawWidth = ownWidth * scale;
        const double drawHeight = ownHeight * scale;
        const double left = (width - drawWidth) / 2;
        const double top = (height - drawHeight) / 2;
        geometry.DrawRect = MakeRectF(float(left), float(top), float(left + drawWidth), float(top + drawHeight));
    }
    return geometry;
}

void PrepareDocument(TSVGDocument& Document, const TRenderOptions& Options)
{
    Document.SetDPI(Options.DPI);
    if (Options.Languages) {
        Document.SetPreferredLanguage(Options.Languages->join(u','));
        TSVGOptions options = Document.Options();
        options.Exclude(soUseLocaleForLanguage);
        Document.SetOptions(options);
    }
}

TSVGGraphicElement& RenderElement(TSVGDocument& Document, const QString& ID)
{
    // Nested svg elements keep their own ID tables: walk the whole tree instead (with
    // a stack of its own, since a tree can be deep).
    std::vector<TSVGElement*> pending{&Document};
    while (!pending.empty()) {
        TSVGElement* element = pending.back();
        pending.pop_back();
        if (element->ID() == ID) {
            if (auto* graphic = dynamic_cast<TSVGGraphicElement*>(element))
                return *graphic;
            throw ERenderError(u"element \"%1\" (%2) cannot be drawn"_qs.arg(ID, element->ClassName()));
        }
        for (int i = element->Count() - 1; i >= 0; --i)
            pending.push_back(element->Child(i));
    }
    throw ERenderError(u"no element with id \"%1\""_qs.arg(ID));
}

QImage RenderDocument(TSVGDocument& Document, const TRenderOptions& Options)
{
    TSVGGraphicElement* element = Options.ID.isEmpty() ? nullptr : &RenderElement(Document, Options.ID);
    // The root's own id names the whole drawing.
    if (element == &Document)
        element = nullptr;
    // An element alone: its bounds in its parent's space (its own transform applied)
    // are mapped onto the image.
    const TRectF bounds = element ? element->GetBoundsRect(IdentityMatrix) : TRectF{};
    const TSizeF ownSize = element ? TSizeF{bounds.Width(), bounds.Height()} : DocumentOwnSize(Document);
    const TRenderGeometry geometry = RenderGeometry(ownSize, Options);

    QImage image(geometry.ImageSize, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        throw ERenderError(u"not enough memory for a %1 x %2 image"_qs.arg(geometry.ImageSize.width())
                               .arg(geometry.ImageSize.height()));
    image.fill(Options.Background);
    TVelkGPCanvas canvas(image);
    if (element)
        element->Draw(TSVGElement::FitToRect(geometry.DrawRect, bounds), canvas, geometry.DrawRect);
    else
        Document.Draw(canvas, geometry.DrawRect);
    return image;
}

QImage RenderFile(const QString& FileName, const TRenderOptions& Options)
{
    TSVGDocument document;
    PrepareDocument(document, Options);
    document.LoadFromFile(FileName);
    return RenderDocument(document, Options);
}

void SavePNG(const QImage& Image, const QString& FileName)
{
    // Through a temporary file that replaces FileName only when the image was written
    // whole, so that a failed write leaves no truncated PNG behind.
    QSaveFile file(FileName);
    if (!file.open(QIODevice::WriteOnly))
        throw ERenderError(u"cannot write %1: %2"_qs.arg(FileName, file.errorString()));
    QImageWriter writer(&file, "png");
    if (!writer.write(Image)) {
        const QString reason = writer.errorString();
        file.cancelWriting();
        throw ERenderError(u"cannot write %1: %2"_qs.arg(FileName, reason));
    }
    if (!file.commit())
        throw ERenderError(u"cannot write %1: %2"_qs.arg(FileName, file.errorString()));
}

} // namespace velk
