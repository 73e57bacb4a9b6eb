#include "CalendarState.h"

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
    CentreX = imageWidth / 2 + CentreOffsetX;
    CentreY = imageHeight / 2 + CentreOffsetY;
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
