#include "CalendarState.h"

#include <algorithm>
#include <limits>

namespace gyrodex {

void CellGrid::clear() {
    for (DayCell& c : cells_) {
        c.date = DayDate{};
        c.fill = 0;
        c.description.clear();
    }
}

void CalendarState::setDefaultPeriod(const DayDate& today) {
    StartDate = AddDays(today, -10);
    EndDate = AddDays(today, 250);
}

void CalendarState::updateCentre(int imageWidth, int imageHeight) {
    // Offsets take any 32-bit number: the sum is held inside the range.
    const auto sum = [](int half, std::int32_t offset) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(
            std::int64_t{half} + offset, std::numeric_limits<std::int32_t>::min(),
            std::numeric_limits<std::int32_t>::max()));
    };
    CentreX = sum(imageWidth / 2, CentreOffsetX);
    CentreY = sum(imageHeight / 2, CentreOffsetY);
}

void CalendarState::setPaintPast(bool on) {
    if (on == PaintPast)
        return;
    PaintPast = on;
    if (!on)
        TodayAsPast = false;
    TodayAsPastEnabled = on;
}

} // namespace gyrodex
