#include "svg/features.h"

namespace velk {

int SVGFeatureIndex(QStringView Feature)
{
    const QStringView prefix(SVGFeaturePrefix.data(), static_cast<qsizetype>(SVGFeaturePrefix.size()));
    if (!Feature.startsWith(prefix))
        return 0;
    const QStringView name = Feature.sliced(prefix.size());
    for (std::size_t i = 1; i < SVGFeatures.size(); ++i)
        if (name == QStringView(SVGFeatures[i].Name.data(), static_cast<qsizetype>(SVGFeatures[i].Name.size())))
            return static_cast<int>(i);
    return 0;
}

bool SVGSupportsFeature(QStringView Feature)
{
    return SVGFeatures[static_cast<std::size_t>(SVGFeatureIndex(Feature))].Supported;
}

} // namespace velk
