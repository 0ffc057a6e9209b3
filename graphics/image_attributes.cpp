#include "graphics/image_attributes.h"

#include <algorithm>
#include <cmath>

namespace velk {

namespace {

// A matrix holding NaN or infinities yields NaN, which std::clamp passes through and
// which would be undefined to convert: it counts as 0.
int ToByte(float Value)
{
    if (!(Value > 0))
        return 0;
    return static_cast<int>(std::min(Value, 1.0f) * 255.0f + 0.5f);
}

bool InRange(int Value, int Low, int High)
{
    return Value >= Low && Value <= High;
}

// The colour matrix and everything after it in Apply's order, on one pixel.
struct TPixelAdjuster {
    const TVelkGPImageAttributesAdjustTypeRec& Rec;
    bool Matrix;
    bool Gamma;
    bool Threshold;

    QRgb operator()(QRgb Pixel) const
    {
        std::array<float, 4> in{qRed(Pixel) / 255.0f, qGreen(Pixel) / 255.0f, qBlue(Pixel) / 255.0f,
                                qAlpha(Pixel) / 255.0f};
        if (Matrix) {
            std::array<float, 4> out{};
            for (int column = 0; column < 4; ++column) {
                float sum = Rec.ColorMatrix(4, column);
                for (int row = 0; row < 4; ++row)
                    sum += in[std::size_t(row)] * Rec.ColorMatrix(row, column);
                out[std::size_t(column)] = std::clamp(sum, 0.0f, 1.0f);
            }
            in = out;
        }
        for (int channel = 0; channel < 3; ++channel) {
            float& c = in[std::size_t(channel)];
            if (Gamma)
                c = std::pow(c, Rec.Gamma);
            if (Threshold)
                c = c > Rec.Threshold ? 1.0f : 0.0f;
        }
        return qRgba(ToByte(in[0]), ToByte(in[1]), ToByte(in[2]), ToByte(in[3]));
    }
};

} // namespace

const TClassInfo& TVelkGPImageAttributes::StaticClass()
{
    using C = TVelkGPImageAttributes;
    static const TClassInfo info(u"TVelkGPImageAttributes"_qs, &TVelkGPGraphicsObject::StaticClass(),
                                 &CreateInstance<C>,
                                 TPublished<C>()
                                     .Enumeration(u"WrapMode"_qs, &C::WrapMode, &C::SetWrapMode, wmClamp)
                                     .Boolean(u"WrapModeClamp"_qs, &C::WrapModeClamp, &C::SetWrapModeClamp, false)
                                     .Take());
    return info;
}

TVelkGPImageAttributes::TVelkGPImageAttributes(TVelkGPCanvas* AOwner) : TVelkGPGraphicsObject(AOwner)
{
    Reset();
}

TVelkGPImageAttributes::~TVelkGPImageAttributes() = default;

std::unique_ptr<TVelkGPGraphicsObject> TVelkGPImageAttributes::CreateSame(TVelkGPCanvas* AOwner) const
{
    return std::make_unique<TVelkGPImageAttributes>(AOwner);
}

void TVelkGPImageAttributes::Assign(const TPersistent* Source)
{
    if (const auto* source = dynamic_cast<const TVelkGPImageAttributes*>(Source)) {
        FRec = source->FRec;
        FOn = source->FOn;
        Changed();
        return;
    }
    TVelkGPGraphicsObject::Assign(Source);
}

void TVelkGPImageAttributes::Reset(TVelkGPColorAdjustType Index)
{
    FRec.Adjustments[Index] = {};
    FOn[Index] = {};
}

void TVelkGPImageAttributes::Reset()
{
    for (int index = catDefault; index <= catText; ++index)
        Reset(static_cast<TVelkGPColorAdjustType>(index));
    FRec.WrapModeClamp = false;
    FRec.WrapModeColor = 0xFF000000;
    FRec.WrapMode = wmClamp;
}

void TVelkGPImageAttributes::SwitchOn(TVelkGPColorAdjustType Index, TAdjustment Adjustment)
{
    FOn[Index].Include(Adjustment);
    Changed();
}

void TVelkGPImageAttributes::SetEnabled(TVelkGPColorAdjustType Index, bool Value)
{
    FRec.Adjustments[Index].Enabled = Value;
    Changed();
}

void TVelkGPImageAttributes::SetColorAdjustments(TVelkGPColorAdjustType Index, const TVelkGPColorMatrix& Value)
{
    FRec.Adjustments[Index].ColorMatrix = Value;
    SwitchOn(Index, adColorMatrix);
}

void TVelkGPImageAttributes::SetGrayScaleAdjustments(TVelkGPColorAdjustType Index, const TVelkGPColorMatrix& Value)
{
    FRec.Adjustments[Index].GrayScaleMatrix = Value;
    SwitchOn(Index, adColorMatrix);
}

void TVelkGPImageAttributes::SetColorKeys(TVelkGPColorAdjustType Index, const TVelkGPColorKey& Value)
{
    FRec.Adjustments[Index].ColorKey = Value;
    SwitchOn(Index, adColorKey);
}

void TVelkGPImageAttributes::SetGammas(TVelkGPColorAdjustType Index, float Value)
{
    FRec.Adjustments[Index].Gamma = Value;
    Changed();
}

void TVelkGPImageAttributes::SetGammasEnabled(TVelkGPColorAdjustType Index, bool Value)
{
    FRec.Adjustments[Index].GammaEnabled = Value;
    Changed();
}

void TVelkGPImageAttributes::SetThresholds(TVelkGPColorAdjustType Index, float Value)
{
    FRec.Adjustments[Index].Threshold = Value;
    SwitchOn(Index, adThreshold);
}

void TVelkGPImageAttributes::SetColorChannels(TVelkGPColorAdjustType Index, TVelkGPColorChannelFlag Value)
{
    FRec.Adjustments[Index].ColorChannel = Value;
    SwitchOn(Index, adChannel);
}

void TVelkGPImageAttributes::SetColorProfiles(TVelkGPColorAdjustType Index, const QString& Value)
{
    FRec.Adjustments[Index].ColorProfile = Value;
    SwitchOn(Index, adProfile);
}

void TVelkGPImageAttributes::SetRemapTable(TVelkGPColorAdjustType Index, const TVelkGPColorMaps& Value)
{
    FRec.Adjustments[Index].RemapTable = Value;
    SwitchOn(Index, adRemap);
}

void TVelkGPImageAttributes::SetWrapMode(TVelkGPWrapMode Value)
{
    if (Value == FRec.WrapMode)
        return;
    FRec.WrapMode = Value;
    Changed();
}

void TVelkGPImageAttributes::SetWrapModeClamp(bool Value)
{
    if (Value == FRec.WrapModeClamp)
        return;
    FRec.WrapModeClamp = Value;
    Changed();
}

void TVelkGPImageAttributes::SetWrapModeColor(TVelkGPColor Value)
{
    if (Value == FRec.WrapModeColor)
        return;
    FRec.WrapModeColor = Value;
    Changed();
}

bool TVelkGPImageAttributes::HasAdjustments(TVelkGPColorAdjustType Type) const
{
    const TVelkGPImageAttributesAdjustTypeRec& rec = FRec.Adjustments[Type];
    return !FOn[Type].Empty() || (rec.GammaEnabled && rec.Gamma > 0);
}

TVelkGPColorAdjustType TVelkGPImageAttributes::Effective(TVelkGPColorAdjustType Type) const
{
    return HasAdjustments(Type) ? Type : catDefault;
}

std::optional<float> TVelkGPImageAttributes::PlainOpacity(TVelkGPColorAdjustType Type) const
{
    const TVelkGPColorAdjustType type = Effective(Type);
    const TVelkGPImageAttributesAdjustTypeRec& rec = FRec.Adjustments[type];
    if (!rec.Enabled || !HasAdjustments(type))
        return 1.0f;
    if (FOn[type] != TAdjustments{adColorMatrix} || (rec.GammaEnabled && rec.Gamma > 0))
        return std::nullopt;
    TVelkGPColorMatrix matrix = rec.ColorMatrix;
    const float opacity = matrix(3, 3);
    matrix(3, 3) = 1;
    if (matrix != TVelkGPColorMatrix::IdentityMatrix())
        return std::nullopt;
    return opacity;
}

QImage TVelkGPImageAttributes::Apply(const QImage& Source, TVelkGPColorAdjustType Type) const
{
    const TVelkGPColorAdjustType type = Effective(Type);
    const TVelkGPImageAttributesAdjustTypeRec& rec = FRec.Adjustments[type];
    if (!rec.Enabled || !HasAdjustments(type) || Source.isNull())
        return Source;
    const TAdjustments on = FOn[type];
    const bool remap = on.Contains(adRemap) && !rec.RemapTable.empty();
    const bool colorKey = on.Contains(adColorKey);
    const TPixelAdjuster adjust{rec, on.Contains(adColorMatrix), rec.GammaEnabled && rec.Gamma > 0,
                                on.Contains(adThreshold)};
    const QRgb low = rec.ColorKey.LowColor;
    const QRgb high = rec.ColorKey.HighColor;

    QImage result = Source.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            QRgb pixel = line[x];
            if (remap) {
                const auto entry = std::find_if(rec.RemapTable.begin(), rec.RemapTable.end(),
                                                [pixel](const TVelkGPColorMap& map) { return map.OldColor == pixel; });
                if (entry != rec.RemapTable.end())
                    pixel = entry->NewColor;
            }
            if (colorKey && InRange(qRed(pixel), qRed(low), qRed(high)) &&
                InRange(qGreen(pixel), qGreen(low), qGreen(high)) && InRange(qBlue(pixel), qBlue(low), qBlue(high)))
                pixel = 0;
            line[x] = adjust(pixel);
        }
    }
    result.convertTo(QImage::Format_ARGB32_Premultiplied);
    return result;
}

} // namespace velk
