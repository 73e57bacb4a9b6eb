#pragma once

#include <QDate>
#include <QString>
#include <cstdint>

namespace gyrodex {

// One calendar day. All fields zero is the no-date value carried by cells that hold no day.
struct DayDate {
    std::uint16_t Day = 0;
    std::uint16_t Month = 0;
    std::uint16_t Year = 0;

    bool isNoDate() const { return Day == 0 && Month == 0 && Year == 0; }
    friend bool operator==(const DayDate&, const DayDate&) = default;
};

DayDate MakeDayDate(std::uint16_t day, std::uint16_t month, std::uint16_t year);

// Gregorian leap rule: divisible by 4, except centuries not divisible by 400.
bool IsLeapYear(int year);
// Length of a month (1..12) in a year; months outside 1..12 count as 31 days so that
// malformed dates never index outside the table.
int MonthLength(int month, int year);
// True when the fields name a real day of the Gregorian calendar (year 1 or later).
bool IsRealDate(const DayDate& d);

// Day count with 1 January 1980 = 1; earlier days count backwards (31 December 1979 = 0).
std::int32_t DayNumber(const DayDate& d);
// 0 Sunday, 1 Monday, ... 6 Saturday.
int Weekday(const DayDate& d);
void NextDay(DayDate& d);
void PrevDay(DayDate& d);
// DayNumber(a) - DayNumber(b).
std::int32_t CompareDays(const DayDate& a, const DayDate& b);
bool SameDay(const DayDate& a, const DayDate& b);
// The fixed text form mm/dd/yyyy.
QString DateText(const DayDate& d);
// Decimal digits right-aligned in `width` characters, padded with "0"; longer values in full.
QString PaddedNumber(long long value, int width);

// Conversions to and from an OLE Automation date (days since 30 December 1899).
DayDate FromDateTime(double oleDate);
double ToDateTime(const DayDate& d);
// The same day as a QDate, for date fields and the system clock: an invalid QDate for the
// no-date value or fields that name no real day.
QDate ToQDate(const DayDate& d);
// The day of a QDate; the no-date value for an invalid QDate or a year a DayDate can't hold
// (before 1 or after 65535).
DayDate FromQDate(const QDate& date);
// The same day n days later (n may be negative).
DayDate AddDays(const DayDate& d, int n);

} // namespace gyrodex
