#pragma once

#include "Colour.h"
#include "DayDate.h"
#include "LabelSettings.h"

#include <QString>
#include <array>
#include <cstdint>
#include <utility>

namespace gyrodex {

constexpr int kSpokes = 52;
constexpr int kRings = 7;

// What one cell of the wheel shows; rebuilt by every full repaint.
struct DayCell {
    DayDate date;
    Colour fill = 0;
    QString description; // at most 40 characters
};

// 52 spokes x 7 rings, indexed by spoke 0..51 and ring 1..7.
class CellGrid {
public:
    DayCell& at(int spoke, int ring) { return cells_[index(spoke, ring)]; }
    const DayCell& at(int spoke, int ring) const { return cells_[index(spoke, ring)]; }
    void clear();

private:
    static std::size_t index(int spoke, int ring) {
        return static_cast<std::size_t>(spoke) * kRings + static_cast<std::size_t>(ring - 1);
    }
    std::array<DayCell, kSpokes * kRings> cells_{};
};

// The font of the day numbers: only name and size are stored in calendar files. Its defaults
// are also the font a canvas starts with and what a calendar file without the keys gives.
struct DayFont {
    static QString defaultName() { return QStringLiteral("MS Sans Serif"); }
    static constexpr int kDefaultSize = 8; // points; 8 points are 11 pixels at 96 dpi

    QString name = defaultName();
    int size = kDefaultSize;
    unsigned style = 0; // FontStyle bits
    Colour colour = kWindowText;
};

enum class PaintTool : std::uint8_t {
    Pointer = 0,
    Picker = 1,
    PickDate = 2,
    Fill = 3,
    Text = 4,
    Erase = 5
};

// What a calendar file holds: the wheel's geometry, period, colours, pens, day font and
// switches.
struct CalendarDesign {
    // Geometry and period (properties panel).
    std::int32_t StartWeek = 21;
    std::int32_t Radius = 360;
    std::int32_t DayHeight = 24;
    std::int32_t CentreOffsetX = 0;
    std::int32_t CentreOffsetY = 0;
    bool Clockwise = true;
    bool WeekendInside = true;
    DayDate StartDate;
    DayDate EndDate;

    // Colours, pens, font and switches (colours panel).
    Colour BackColour = 0xD15C6F;
    Colour BackTextColour = 0x800000;
    Colour DayColour = 0x80FFFF;
    Colour DayTextColour = kWindowText;
    Colour WeekendColour = 0x0080FF;
    Colour WeekendTextColour = kWindowText;
    Colour PastColour = 0x676767;
    Colour PastTextColour = kWindowText;
    Colour ThinColour = 0;
    std::int32_t ThinWidth = 1;
    Colour ThickColour = 0;
    std::int32_t ThickWidth = 3;
    DayFont Font;
    bool RepaintAll = true;
    bool PaintWeekends = true;
    bool PaintPast = true;
    bool TodayAsPast = true;
    // "Today as Past" can be changed only while PaintPast is on.
    bool TodayAsPastEnabled = true;

    // Month names, week numbers, title, colour key and agenda (labels panel).
    LabelSettings Labels;

    // The period of a first show: ten days before today through 250 days after it.
    void setDefaultPeriod(const DayDate& today);
    // Switches PaintPast with the colours panel's coupling: when it changes, TodayAsPast is
    // cleared if PaintPast went off, and TodayAsPastEnabled follows PaintPast.
    void setPaintPast(bool on);
};

// The session's values: program switches, the pointer and the files of this run.
struct SessionValues {
    bool AutoPreview = true;
    bool RepaintSuspended = false;
    PaintTool CurrentTool = PaintTool::Pointer;
    // The day a canvas tool works on (the day under the release point), and after a repaint
    // the day its walk stopped on.
    DayDate CurrentDate;
    std::int32_t HoverSpoke = 0;
    std::int32_t HoverRing = -1;
    std::int32_t PressX = 0, PressY = 0;
    std::int32_t ReleaseX = 0, ReleaseY = 0;
    QString CalendarFileName;
    QString BitmapFileName;
    // The words of the labels in the user's language and date format.
    LabelTexts LabelWords = LabelTexts::English();
};

// What a repaint computes from the design, the image's size and today: only the painter writes
// it.
struct RepaintResult {
    std::int32_t CentreX = 0;
    std::int32_t CentreY = 0;
    // The period as the last repaint took it: its first day, and the day after its last day.
    DayDate PaintStart;
    DayDate PaintEnd;
    DayDate Today; // today's date as the last repaint was given it
    // The day the walk stopped on: the day after the period, or the day whose highlight
    // stopped the paint.
    DayDate StopDay;
    CellGrid Cells;

    // Centre of the wheel of `design` for an image of the given size.
    void updateCentre(const CalendarDesign& design, int imageWidth, int imageHeight);
};

// The one calendar state of a program: the design, the session's values and what the last
// repaint computed, each of which the code that needs only one part takes by itself.
struct CalendarState : CalendarDesign, SessionValues, RepaintResult {
    // Centre of the wheel for an image of the given size.
    void updateCentre(int imageWidth, int imageHeight) {
        RepaintResult::updateCentre(*this, imageWidth, imageHeight);
    }
};

// Sets RepaintSuspended for a batch of changes whose handlers would each repaint (loading a
// calendar file, the first show, dragging the wheel) and puts the flag back as it was when the
// batch ends, however it ends. The batch's one repaint comes after the guard is gone:
//     { const SuspendRepaint batch(state); /* change fields */ }
//     RepaintCalendar(state, …);
class SuspendRepaint {
public:
    explicit SuspendRepaint(CalendarState& state)
        : state_(state), before_(std::exchange(state.RepaintSuspended, true)) {}
    ~SuspendRepaint() { state_.RepaintSuspended = before_; }
    SuspendRepaint(const SuspendRepaint&) = delete;
    SuspendRepaint& operator=(const SuspendRepaint&) = delete;

private:
    CalendarState& state_;
    bool before_;
};

} // namespace gyrodex
