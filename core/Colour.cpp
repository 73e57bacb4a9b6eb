#include "Colour.h"

namespace gyrodex {

Colour ResolveColour(Colour c) {
    if (!IsSystemColour(c))
        return c & 0x00FFFFFFu;
    // The classic desktop scheme, indexed by system colour number.
    static constexpr Colour kSystem[] = {
        Rgb(212, 208, 200), // 0 scroll bar
        Rgb(58, 110, 165),  // 1 background
        Rgb(10, 36, 106),   // 2 active caption
        Rgb(128, 128, 128), // 3 inactive caption
        Rgb(212, 208, 200), // 4 menu
        Rgb(255, 255, 255), // 5 window
        Rgb(0, 0, 0),       // 6 window frame
        Rgb(0, 0, 0),       // 7 menu text
        Rgb(0, 0, 0),       // 8 window text
        Rgb(255, 255, 255), // 9 caption text
        Rgb(212, 208, 200), // 10 active border
        Rgb(212, 208, 200), // 11 inactive border
        Rgb(128, 128, 128), // 12 application workspace
        Rgb(10, 36, 106),   // 13 highlight
        Rgb(255, 255, 255), // 14 highlight text
        Rgb(212, 208, 200), // 15 button face
        Rgb(128, 128, 128), // 16 button shadow
        Rgb(128, 128, 128), // 17 grey text
        Rgb(0, 0, 0),       // 18 button text
        Rgb(212, 208, 200), // 19 inactive caption text
        Rgb(255, 255, 255), // 20 button highlight
        Rgb(64, 64, 64),    // 21 3D dark shadow
        Rgb(212, 208, 200), // 22 3D light
        Rgb(0, 0, 0),       // 23 info text
        Rgb(255, 255, 225), // 24 info background
    };
    const unsigned index = c & 0xFFu;
    return index < sizeof kSystem / sizeof kSystem[0] ? kSystem[index] : 0u;
}

} // namespace gyrodex
