#pragma once

#include "DayDate.h"

#include <cstdint>

namespace gyrodex::test {

// A date written as the files and the hints write it: month, day, year.
inline DayDate D(int m, int d, int y) {
    return MakeDayDate(static_cast<std::uint16_t>(d), static_cast<std::uint16_t>(m),
                       static_cast<std::uint16_t>(y));
}

} // namespace gyrodex::test
