#include "DayDate.h"

#include <cmath>

namespace gyrodex {

namespace {

constexpr int kMonthLengths[13] = {31, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Days since 1 January 1970 of a proleptic Gregorian date (H. Hinnant's algorithm).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& y, unsigned& m, unsigned& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2 ? 1 : 0));
}

const std::int64_t kDay1980 = DaysFromCivil(1980, 1, 1);
// 30 December 1899, day 0 of OLE Automation dates.
const std::int64_t kOleEpoch = DaysFromCivil(1899, 12, 30);

} // namespace

DayDate MakeDayDate(std::uint16_t day, std::uint16_t month, std::uint16_t year) {
    return DayDate{day, month, year};
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int MonthLength(int month, int year) {
    if (month < 1 || month > 12)
        return 31;
    return month == 2 && IsLeapYear(year) ? 29 : kMonthLengths[month];
}

bool IsRealDate(const DayDate& d) {
    return d.Year >= 1 && d.Month >= 1 && d.Month <= 12 && d.Day >= 1 &&
           d.Day <= MonthLength(d.Month, d.Year);
}

std::int32_t DayNumber(const DayDate& d) {
    // Months outside 1..12 (never given by the program) are clamped so the count stays defined.
    const unsigned m = d.Month < 1 ? 1u : (d.Month > 12 ? 12u : d.Month);
    return static_cast<std::int32_t>(DaysFromCivil(d.Year, m, 1) - kDay1980 + d.Day);
}

int Weekday(const DayDate& d) {
    const int r = (DayNumber(d) + 8) % 7;
    return r < 0 ? r + 7 : r;
}

void NextDay(DayDate& d) {
    const int length = MonthLength(d.Month, d.Year);
    ++d.Day;
    if (d.Day > length) {
        d.Day = 1;
        ++d.Month;
    }
    if (d.Month > 12) {
        d.Month = 1;
        ++d.Year;
    }
}

void PrevDay(DayDate& d) {
    if (d.Day > 1) {
        --d.Day;
        return;
    }
    if (d.Month <= 1) {
        d.Month = 12;
        --d.Year;
    } else {
        --d.Month;
    }
    d.Day = static_cast<std::uint16_t>(MonthLength(d.Month, d.Year));
}

std::int32_t CompareDays(const DayDate& a, const DayDate& b) {
    return DayNumber(a) - DayNumber(b);
}

bool SameDay(const DayDate& a, const DayDate& b) {
    return a == b;
}

QString PaddedNumber(long long value, int width) {
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

QString DateText(const DayDate& d) {
    // Built in place: the painter asks for one per cell on every repaint.
    if (d.Month > 99 || d.Day > 99 || d.Year > 9999)
        return PaddedNumber(d.Month, 2) + QLatin1Char('/') + PaddedNumber(d.Day, 2) +
               QLatin1Char('/') + PaddedNumber(d.Year, 4);
    QString text(10, Qt::Uninitialized);
    QChar* c = text.data();
    auto digit = [](int v) { return QChar(static_cast<char16_t>(u'0' + v)); };
    c[0] = digit(d.Month / 10);
    c[1] = digit(d.Month % 10);
    c[2] = u'/';
    c[3] = digit(d.Day / 10);
    c[4] = digit(d.Day % 10);
    c[5] = u'/';
    c[6] = digit(d.Year / 1000);
    c[7] = digit(d.Year / 100 % 10);
    c[8] = digit(d.Year / 10 % 10);
    c[9] = digit(d.Year % 10);
    return text;
}

DayDate FromDateTime(double oleDate) {
    int y = 0;
    unsigned m = 0;
    unsigned day = 0;
    CivilFromDays(static_cast<std::int64_t>(std::floor(oleDate)) + kOleEpoch, y, m, day);
    return DayDate{static_cast<std::uint16_t>(day), static_cast<std::uint16_t>(m),
                   static_cast<std::uint16_t>(y)};
}

double ToDateTime(const DayDate& d) {
    return static_cast<double>(DaysFromCivil(d.Year, d.Month, d.Day) - kOleEpoch);
}

QDate ToQDate(const DayDate& d) {
    return IsRealDate(d) ? QDate(d.Year, d.Month, d.Day) : QDate();
}

DayDate FromQDate(const QDate& date) {
    if (!date.isValid() || date.year() < 1 || date.year() > 65535)
        return DayDate{};
    return MakeDayDate(static_cast<std::uint16_t>(date.day()),
                       static_cast<std::uint16_t>(date.month()),
                       static_cast<std::uint16_t>(date.year()));
}

DayDate AddDays(const DayDate& d, int n) {
    return FromDateTime(ToDateTime(d) + n);
}

} // namespace gyrodex
