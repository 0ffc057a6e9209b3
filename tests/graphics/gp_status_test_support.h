#pragma once
// The status of the EGDIPException an action raises, for tests of the drawing backend.

#include "graphics/gp_exception.h"

#include <functional>

namespace velk::testing {

// gpsOk when Action raises nothing.
inline TVelkGPStatus StatusOf(const std::function<void()>& Action)
{
    try {
        Action();
    } catch (const EGDIPException& e) {
        return e.Status();
    }
    return gpsOk;
}

} // namespace velk::testing
