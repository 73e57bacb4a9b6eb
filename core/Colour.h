#pragma once

#include <cstdint>

namespace gyrodex {

// A colour as stored in designs and files: 0x00BBGGRR, or 0x80000000 plus a system colour index.
using Colour = std::uint32_t;

constexpr Colour kWindowText = 0x80000008u;

constexpr bool IsSystemColour(Colour c) {
    return (c & 0xFF000000u) == 0x80000000u;
}
constexpr Colour Rgb(unsigned r, unsigned g, unsigned b) {
    return (r & 0xFFu) | ((g & 0xFFu) << 8) | ((b & 0xFFu) << 16);
}

// Resolves system colours (by index, with the classic desktop defaults) and returns 0x00BBGGRR.
Colour ResolveColour(Colour c);

} // namespace gyrodex
