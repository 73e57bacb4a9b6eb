#pragma once

#include "CalendarState.h"
#include "HighlightList.h"
#include "LabelSettings.h"
#include "RasterCanvas.h"

#include <QPointF>
#include <array>
#include <vector>

namespace gyrodex {

// The ISO 8601 week of a day: weeks run Monday to Sunday, and week 1 of a year is the one that
// holds its first Thursday, so a week belongs to the year of its Thursday.
struct IsoWeek {
    int year;
    int week; // 1..53
};
IsoWeek IsoWeekOf(const DayDate& d);

// The week-number label of each spoke of the period's wheel: the ISO number of the week painted
// there, numbered by its Monday. A spoke that holds two weeks (the 53rd week of a period comes
// back to the first spoke) shows the later one first: "53/1". Spokes without a week are empty.
std::array<QString, kSpokes> SpokeWeekLabels(const CalendarDesign& design);

// One highlighted day of the period as the wheel paints it: the last of its entries gives the
// colour and the description.
struct AgendaEntry {
    DayDate date;
    Colour colour;
    QString description; // whole, up to the 255 characters an entry holds
};
// The highlighted days of the period in date order. Entries whose colour is no number are left
// out (the repaint reports them).
std::vector<AgendaEntry> PeriodAgenda(const CalendarDesign& design,
                                      const HighlightList& highlights);

// One line of the colour key: each colour the period's highlights use, once, in the order of
// the first day using it, named by the design's table or else by that day's description.
struct LegendEntry {
    Colour colour;
    QString name;
};
std::vector<LegendEntry> PeriodLegend(const LabelSettings& labels,
                                      const std::vector<AgendaEntry>& agenda);

// The title line: the user's text, and the period's years after it when asked for.
QString TitleLine(const CalendarDesign& design);

// One label as placed on the image.
struct PlacedLabel {
    enum class Kind { Month, Week, Title, Swatch, Text, More };
    Kind kind;
    QString text;                 // empty for a swatch
    QPoint origin;                // the top-left corner of the unturned text, as textOut takes it
    int escapement = 0;           // tenths of a degree, counter-clockwise
    int points = 0;               // the font size
    unsigned style = 0;           // FontStyle bits
    Colour colour = 0;            // of the swatch; text is drawn in the background text colour
    std::array<QPointF, 4> box{}; // the corners of what the label covers, in order round it
};

// Where the labels of the design go on an image of the given size, for the centre `result`
// holds. Texts are measured in the label font as the canvases draw it. Labels that would overlap
// each other or the wheel are moved (week numbers outside the month names, the title to a corner)
// or left out (month names that would collide; agenda lines that don't fit, counted in a last "…
// and N more").
std::vector<PlacedLabel> LayoutLabels(const CalendarDesign& design, const HighlightList& highlights,
                                      const RepaintResult& result, const LabelTexts& words,
                                      QSize image);

// Lays out and draws the design's labels onto the canvas; nothing when none is switched on.
void PaintLabels(const CalendarDesign& design, const HighlightList& highlights,
                 const RepaintResult& result, const LabelTexts& words, RasterCanvas& canvas);

// Whether two convex quadrilaterals (corners in order round each) overlap in more than an edge.
bool BoxesOverlap(const std::array<QPointF, 4>& a, const std::array<QPointF, 4>& b);

} // namespace gyrodex
