// The calendar loader on any file content; what loads must save and load again unchanged.
#include "CalendarFile.h"
#include "Error.h"
#include "FieldRanges.h"
#include "FuzzCommon.h"

using namespace gyrodex;

namespace {

QString SaveText(const CalendarState& s, const HighlightList& h) {
    IniFile ini;
    WriteCalendar(ini, s, h);
    return ini.text();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const IniFile ini = IniFile::fromBytes(
        QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    CalendarState state;
    HighlightList list;
    try {
        ReadCalendar(ini, state, list);
    } catch (const Error&) {
        Require(!state.RepaintSuspended);
        return 0;
    }
    Require(!state.RepaintSuspended);
    Require(list.size() <= kMaxHighlights);
    Require(kRadiusRange.contains(state.Radius));
    Require(kDayHeightRange.contains(state.DayHeight));
    Require(kStartWeekRange.contains(state.StartWeek));
    Require(kPenWidthRange.contains(state.ThinWidth) && kPenWidthRange.contains(state.ThickWidth));
    Require(IsRealDate(state.StartDate) && IsRealDate(state.EndDate));

    // The first save may still carry line breaks the file can't hold; from then on a design
    // saves and loads to itself.
    CalendarState s2, s3;
    HighlightList h2, h3;
    ReadCalendar(IniFile::fromText(SaveText(state, list)), s2, h2);
    const QString t2 = SaveText(s2, h2);
    ReadCalendar(IniFile::fromText(t2), s3, h3);
    Require(SaveText(s3, h3) == t2);
    return 0;
}
