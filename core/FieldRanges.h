#pragma once

#include <algorithm>
#include <cstdint>

namespace gyrodex {

// The limits of one number field of the design. The spin fields of the panels, the calendar
// file loader and the command line all take them from here; a value read from a file is held at
// the nearer limit, as a spin field holds what is typed into it.
struct FieldRange {
    std::int32_t min;
    std::int32_t max;
    std::int32_t step = 1; // what one click of the spin field's arrows adds

    constexpr bool contains(std::int64_t value) const { return value >= min && value <= max; }
    constexpr std::int32_t clamp(std::int64_t value) const {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, min, max));
    }
};

inline constexpr FieldRange kStartWeekRange{0, 51};     // the spoke of the first week
inline constexpr FieldRange kRadiusRange{60, 2048, 10}; // outer radius in pixels
inline constexpr FieldRange kDayHeightRange{1, 128};    // ring height in pixels
inline constexpr FieldRange kPenWidthRange{1, 9};       // thin and thick pen widths

// The end date lies at most this many days after the start date, so a period holds at most
// 365 days.
inline constexpr int kMaxPeriodDays = 364;

} // namespace gyrodex
