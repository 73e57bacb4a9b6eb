#pragma once

#include "Colour.h"
#include "DayDate.h"

#include <QString>
#include <array>
#include <functional>
#include <map>

namespace gyrodex {

// What the wheel shows around its cells for a reader on paper: month names, week numbers, a
// title, a colour key and an agenda of the highlighted days. All off by default, so a design
// without them paints as it always did.
struct LabelSettings {
    static QString defaultFontName() { return QStringLiteral("Arial"); }
    static constexpr int kDefaultFontSize = 10; // points
    // Sizes painted, as for the day numbers: others are held at the nearer limit.
    static constexpr int kMinFontSize = 1;
    static constexpr int kMaxFontSize = 512;

    bool Months = false;
    bool Weeks = false;
    bool Title = false;
    bool TitleYears = false; // the period's years after the title text
    bool Legend = false;
    bool Agenda = false;
    QString TitleText;
    QString FontName = defaultFontName();
    int FontSize = kDefaultFontSize;
    // The colour key's names of highlight colours; a colour without one shows the first
    // description that uses it.
    std::map<Colour, QString> ColourNames;

    bool anyShown() const { return Months || Weeks || Title || Legend || Agenda; }
    friend bool operator==(const LabelSettings&, const LabelSettings&) = default;
};

// The words the labels are written in, which the program takes from the user's locale and date
// format: month names (January first) and the date text of an agenda entry. Without them the
// labels are in English with dates as "Mon 9/6/2027".
struct LabelTexts {
    std::array<QString, 12> longMonthNames;
    std::array<QString, 12> shortMonthNames;
    std::function<QString(const DayDate&)> agendaDate;

    static const LabelTexts& English();
};

} // namespace gyrodex
