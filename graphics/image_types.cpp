#include "graphics/image_types.h"

namespace velk {

TVelkGPPixelFormat TVelkGPPixelFormatRec::Format() const
{
    const std::uint32_t ordinal = PixelFormat & 0xFF;
    return ordinal <= pf64bppPARGB ? static_cast<TVelkGPPixelFormat>(ordinal) : pfUndefined;
}

void TVelkGPColorMatrix::Identity()
{
    for (int row = 0; row < 5; ++row)
        for (int column = 0; column < 5; ++column)
            M[row][column] = row == column ? 1.0f : 0.0f;
}

TVelkGPColorMatrix TVelkGPColorMatrix::IdentityMatrix()
{
    TVelkGPColorMatrix result;
    result.Identity();
    return result;
}

} // namespace velk
