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

void CalendarDesign::setDefaultPeriod(const DayDate& today) {
    StartDate = AddDays(today, -10);
    EndDate = AddDays(today, 250);
}

void RepaintResult::updateCentre(const CalendarDesign& design, int imageWidth, int imageHeight) {
    // In 64 bits, then held in 32: an offset near the limits of its field must not wrap the
    // centre around to the other side.
    const auto held = [](std::int64_t v) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(
            v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
    };
    CentreX = held(std::int64_t{imageWidth} / 2 + design.CentreOffsetX);
    CentreY = held(std::int64_t{imageHeight} / 2 + design.CentreOffsetY);
}

void CalendarDesign::setPaintPast(bool on) {
    if (on == PaintPast)
        return;
    PaintPast = on;
    if (!on)
        TodayAsPast = false;
    TodayAsPastEnabled = on;
}

} // namespace gyrodex
