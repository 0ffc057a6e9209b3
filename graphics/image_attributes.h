#pragma once
// TVelkGPImageAttributes: the colour adjustments and wrap settings an image is drawn
// with, per adjustment category (bitmap, brush, pen, text, and a default for categories
// without their own). Qt has no such object: the settings are kept here and Apply does
// the per-pixel work; the canvas draws an image through Apply, or, when the only
// adjustment is an alpha scale, with the painter's opacity (PlainOpacity).

#include "graphics/graphics_object.h"
#include "graphics/image_types.h"

#include <QImage>
#include <QString>

#include <array>
#include <optional>

namespace velk {

struct TVelkGPImageAttributesAdjustTypeRec {
    bool Enabled = true;
    TVelkGPColorMatrix ColorMatrix = TVelkGPColorMatrix::IdentityMatrix();
    TVelkGPColorMatrix GrayScaleMatrix = TVelkGPColorMatrix::IdentityMatrix();
    TVelkGPColorMatrixFlag ColorMatrixFlag = cmfDefault;
    TVelkGPColorKey ColorKey;
    float Gamma = 0;
    bool GammaEnabled = false;
    float Threshold = 1;
    TVelkGPColorChannelFlag ColorChannel = ccfC;
    QString ColorProfile;
    TVelkGPColorMaps RemapTable;
};
using TVelkGPImageAttributesAdjustTypeRecs = std::array<TVelkGPImageAttributesAdjustTypeRec, 5>;

struct TVelkGPImageAttributesRec {
    TVelkGPWrapMode WrapMode = wmClamp;
    TVelkGPColor WrapModeColor = 0xFF000000;
    bool WrapModeClamp = false;
    TVelkGPImageAttributesAdjustTypeRecs Adjustments;
};

class TVelkGPImageAttributes : public TVelkGPGraphicsObject {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // Reset: every category at its defaults, wrap mode wmClamp with opaque black.
    explicit TVelkGPImageAttributes(TVelkGPCanvas* AOwner = nullptr);
    ~TVelkGPImageAttributes() override;

    const TVelkGPImageAttributesRec& Rec() const { return FRec; }

    // The category's defaults, every adjustment of it switched off. No change event.
    void Reset(TVelkGPColorAdjustType Index);
    // All five categories, then the wrap settings.
    void Reset();

    // Each setter stores the value, switches that adjustment on for the category (only
    // Reset switches it off again) and raises the change event.
    // A category that is not Enabled is drawn without adjustments.
    bool GetEnabled(TVelkGPColorAdjustType Index) const { return FRec.Adjustments[Index].Enabled; }
    void SetEnabled(TVelkGPColorAdjustType Index, bool Value);
    const TVelkGPColorMatrix& GetColorAdjustments(TVelkGPColorAdjustType Index) const
    {
        return FRec.Adjustments[Index].ColorMatrix;
    }
    void SetColorAdjustments(TVelkGPColorAdjustType Index, const TVelkGPColorMatrix& Value);
    // Kept for the classic gray-scale matrix flag; with cmfDefault (the only flag set
    // here) the colour matrix applies to every pixel.
    const TVelkGPColorMatrix& GetGrayScaleAdjustments(TVelkGPColorAdjustType Index) const
    {
        return FRec.Adjustments[Index].GrayScaleMatrix;
    }
    void SetGrayScaleAdjustments(TVelkGPColorAdjustType Index, const TVelkGPColorMatrix& Value);
    // Pixels whose red, green and blue all lie within LowColor ... HighColor become
    // transparent.
    const TVelkGPColorKey& GetColorKeys(TVelkGPColorAdjustType Index) const { return FRec.Adjustments[Index].ColorKey; }
    void SetColorKeys(TVelkGPColorAdjustType Index, const TVelkGPColorKey& Value);
    // Colour channels become c^Gamma (in 0..1) while gamma is enabled; Gamma <= 0 does
    // nothing.
    float GetGammas(TVelkGPColorAdjustType Index) const { return FRec.Adjustments[Index].Gamma; }
    void SetGammas(TVelkGPColorAdjustType Index, float Value);
    bool GetGammasEnabled(TVelkGPColorAdjustType Index) const { return FRec.Adjustments[Index].GammaEnabled; }
    void SetGammasEnabled(TVelkGPColorAdjustType Index, bool Value);
    // Colour channels above Threshold (0..1) become full, the others zero.
    float GetThresholds(TVelkGPColorAdjustType Index) const { return FRec.Adjustments[Index].Threshold; }
    void SetThresholds(TVelkGPColorAdjustType Index, float Value);
    // Output channel and colour profile are stored only: Qt draws no CMYK separations
    // and applies no colour profiles.
    TVelkGPColorChannelFlag GetColorChannels(TVelkGPColorAdjustType Index) const
    {
        return FRec.Adjustments[Index].ColorChannel;
    }
    void SetColorChannels(TVelkGPColorAdjustType Index, TVelkGPColorChannelFlag Value);
    const QString& GetColorProfiles(TVelkGPColorAdjustType Index) const
    {
        return FRec.Adjustments[Index].ColorProfile;
    }
    void SetColorProfiles(TVelkGPColorAdjustType Index, const QString& Value);
    // A pixel equal to an OldColor (all four channels) becomes its NewColor; the first
    // entry that matches wins.
    const TVelkGPColorMaps& GetRemapTable(TVelkGPColorAdjustType Index) const
    {
        return FRec.Adjustments[Index].RemapTable;
    }
    void SetRemapTable(TVelkGPColorAdjustType Index, const TVelkGPColorMaps& Value);

    // Published (WrapMode, WrapModeClamp) and public (WrapModeColor); stored for the
    // classic interface, images are drawn clamped to their pixels.
    TVelkGPWrapMode WrapMode() const { return FRec.WrapMode; }
    void SetWrapMode(TVelkGPWrapMode Value);
    bool WrapModeClamp() const { return FRec.WrapModeClamp; }
    void SetWrapModeClamp(bool Value);
    TVelkGPColor WrapModeColor() const { return FRec.WrapModeColor; }
    void SetWrapModeColor(TVelkGPColor Value);

    void Assign(const TPersistent* Source) override;

    // Source with the adjustments of Type applied, per pixel, in this order: remap
    // table, colour key, colour matrix, gamma, threshold. A category with no adjustment
    // switched on uses catDefault's. The result is premultiplied ARGB (Source itself
    // when nothing applies).
    QImage Apply(const QImage& Source, TVelkGPColorAdjustType Type = catBitmap) const;
    // The alpha scale (m44) when the only adjustment for Type is a colour matrix that is
    // the identity apart from m44, 1 when nothing applies; nothing otherwise.
    std::optional<float> PlainOpacity(TVelkGPColorAdjustType Type = catBitmap) const;

protected:
    std::unique_ptr<TVelkGPGraphicsObject> CreateSame(TVelkGPCanvas* AOwner) const override;

private:
    // The adjustments switched on per category.
    enum TAdjustment { adRemap, adColorKey, adColorMatrix, adThreshold, adChannel, adProfile };
    using TAdjustments = TSet<TAdjustment>;
    // The category Apply uses for Type.
    TVelkGPColorAdjustType Effective(TVelkGPColorAdjustType Type) const;
    bool HasAdjustments(TVelkGPColorAdjustType Type) const;
    void SwitchOn(TVelkGPColorAdjustType Index, TAdjustment Adjustment);

    TVelkGPImageAttributesRec FRec;
    std::array<TAdjustments, 5> FOn{};
};

} // namespace velk
